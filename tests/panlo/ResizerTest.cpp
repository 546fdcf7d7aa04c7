#include "panlo/Resizer.h"
#include "panlo/ControlId.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

namespace {

using R = CResizer;

// A 400 x 300 dialog grown to 600 x 450: dx 200, dy 150, both ratios 1.5.
struct EdgeCase
{
    const char* what;
    QRect start;
    unsigned flags;
    std::array<int, 4> anchors; // left, right, top, bottom
    QRect grown;
};

constexpr std::array<int, 4> kWindow{-1, -1, -1, -1};

const std::vector<EdgeCase>& EdgeCases()
{
    static const std::vector<EdgeCase> cases = {
        // 0: wider with the window, same height, follows the bottom edge.
        {"stretch and follow the bottom", QRect(10, 20, 100, 40),
         R::kRightMoves | R::kTopMoves | R::kBottomMoves, kWindow, QRect(10, 170, 300, 40)},
        // 1: the centre scales, the size stays: centre 150 -> 225.
        {"centred keep size", QRect(100, 20, 100, 40), R::kLeftKeepSize | R::kRightKeepSize,
         kWindow, QRect(175, 20, 100, 40)},
        // 2: keep size on the left alone leaves the left edge where it was.
        {"keep size left only", QRect(100, 20, 100, 40), R::kLeftKeepSize | R::kRightMoves, kWindow,
         QRect(100, 20, 300, 40)},
        // 3: all four edges scale.
        {"proportional", QRect(40, 30, 40, 30),
         R::kLeftProportional | R::kRightProportional | R::kTopProportional |
             R::kBottomProportional,
         kWindow, QRect(60, 45, 60, 45)},
        // 4: a pane whose right edge scales: 0..200 -> 0..300.
        {"scaling pane", QRect(0, 100, 200, 40), R::kRightProportional, kWindow,
         QRect(0, 100, 300, 40)},
        // 5: both edges move with the pane's right edge (+100), not the window's (+200).
        {"moves with an anchor",
         QRect(210, 100, 50, 40),
         R::kLeftMoves | R::kRightMoves,
         {4, 4, -1, -1},
         QRect(310, 100, 50, 40)},
        // 6: stays centred under the pane: offset 0 scaled, plus the pane's new half width.
        {"centred under an anchor",
         QRect(80, 150, 40, 20),
         R::kLeftKeepSize | R::kRightKeepSize,
         {4, -1, -1, -1},
         QRect(130, 150, 40, 20)},
        // 7: a fixed edge tied to an anchor follows the anchor's near edge: +20 from 3,
        // whose far edge moves +40.
        {"fixed with an anchor",
         QRect(200, 200, 30, 20),
         R::kLeftFixed | R::kRightFixed,
         {3, 3, -1, -1},
         QRect(220, 200, 30, 20)},
    };
    return cases;
}

struct Dialog
{
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    std::vector<QWidget*> controls; // owned by the window

    QWidget* AddControl(const QRect& rect, int id = -1)
    {
        auto* control = new QWidget(window.get());
        control->setGeometry(rect);
        SetControlId(control, id);
        controls.push_back(control);
        return control;
    }
};

TEST(ResizerTest, EdgeRulesAnchorsAndExactRestore)
{
    Dialog dialog;
    dialog.window->resize(400, 300);
    CResizer resizer;
    resizer.Attach(dialog.window.get(), 8);
    for (const EdgeCase& c : EdgeCases()) {
        QWidget* control = dialog.AddControl(c.start);
        resizer.Add(control, c.flags, c.anchors[0], c.anchors[1], c.anchors[2], c.anchors[3]);
    }

    dialog.window->resize(600, 450);
    ASSERT_TRUE(resizer.Resize());
    for (std::size_t i = 0; i < EdgeCases().size(); ++i)
        EXPECT_EQ(dialog.controls[i]->geometry(), EdgeCases()[i].grown) << EdgeCases()[i].what;

    // Through odd sizes and back: the registered rectangles stay the reference, so no
    // rounding accumulates.
    for (const QSize size : {QSize(233, 177), QSize(1021, 769), QSize(400, 300)}) {
        dialog.window->resize(size);
        ASSERT_TRUE(resizer.Resize());
    }
    for (std::size_t i = 0; i < EdgeCases().size(); ++i)
        EXPECT_EQ(dialog.controls[i]->geometry(), EdgeCases()[i].start) << EdgeCases()[i].what;
}

TEST(ResizerTest, AddAgainClearsOneEdgeAndItsAnchor)
{
    Dialog dialog;
    dialog.window->resize(400, 300);
    CResizer resizer;
    resizer.Attach(dialog.window.get());
    QWidget* pane = dialog.AddControl(QRect(100, 0, 100, 50));
    QWidget* label = dialog.AddControl(QRect(300, 60, 50, 20));
    EXPECT_EQ(resizer.Add(pane, R::kLeftMoves | R::kRightMoves), 0);
    // The right edge first follows the pane's left edge, the left edge the window.
    EXPECT_EQ(resizer.Add(label, R::kLeftMoves | R::kRightFixed | R::kBottomMoves, -1, 0), 1);
    // An anchor to the entry itself or a later one cannot be computed and is ignored.
    EXPECT_EQ(resizer.Add(label, 0, 1, -1, 1, -1), 1);
    EXPECT_EQ(resizer.Add(nullptr, R::kLeftMoves), -1);

    dialog.window->resize(450, 300);
    resizer.Resize();
    EXPECT_EQ(label->geometry(), QRect(350, 60, 50, 20));

    // Reset the right edge only: now it moves with the window and the anchor is gone;
    // the left and bottom rules stay.
    EXPECT_EQ(resizer.Add(label, R::kClearRight | R::kRightMoves), 1);
    dialog.window->resize(500, 330);
    resizer.Resize();
    EXPECT_EQ(label->geometry(), QRect(400, 60, 50, 50));
    resizer.RemoveAll();
    EXPECT_EQ(resizer.FindEntry(label), -1);
}

TEST(ResizerTest, TemplateSizeAndControlsInARectangle)
{
    Dialog dialog;
    dialog.window->resize(500, 400);
    dialog.AddControl(QRect(0, 0, 320, 240), 99); // marks the designed size
    QWidget* frame = dialog.AddControl(QRect(10, 10, 200, 100), 5);
    QWidget* inside = dialog.AddControl(QRect(20, 20, 50, 20));
    QWidget* onMargin = dialog.AddControl(QRect(8, 100, 50, 14)); // 2 px out, 4 px beyond
    QWidget* outside = dialog.AddControl(QRect(220, 20, 50, 20));

    CResizer resizer;
    resizer.Attach(dialog.window.get(), 0, 99);
    EXPECT_EQ(resizer.ReferenceSize(), QSize(320, 240));
    EXPECT_EQ(resizer.MinimumSize(), QSize(320, 240)); // a window not yet shown has no frame
    EXPECT_EQ(FindControl(dialog.window.get(), 99), nullptr);

    EXPECT_EQ(resizer.AddInRect(5, R::kLeftMoves | R::kRightMoves), 2);
    EXPECT_EQ(resizer.FindEntry(frame), 0);
    EXPECT_EQ(resizer.FindEntry(inside), 1);
    EXPECT_EQ(resizer.FindEntry(onMargin), -1);
    EXPECT_EQ(resizer.AddInRect(frame->geometry(), R::kLeftMoves, -1, -1, -1, -1, 4), 3);
    EXPECT_EQ(resizer.FindEntry(onMargin), 2);
    EXPECT_EQ(resizer.FindEntry(outside), -1);

    // The reference is the template size, so the window's present extra 180 px count.
    ASSERT_TRUE(resizer.Resize());
    EXPECT_EQ(inside->geometry(), QRect(200, 20, 50, 20));
}

TEST(ResizerTest, RefusedOverrideMovesNothingAndAcceptedOneBecomesTheReference)
{
    Dialog dialog;
    dialog.window->resize(400, 300);
    QWidget* bar = dialog.AddControl(QRect(200, 0, 6, 300));
    QWidget* left = dialog.AddControl(QRect(0, 0, 200, 300));
    CResizer resizer;
    resizer.Attach(dialog.window.get());
    resizer.Add(bar, 0);
    resizer.Add(left, 0, -1, 0); // right edge follows the bar's left edge

    // Left pane would get no width: refused, nothing moves.
    const R::Overrides squeeze{{bar, QRect(0, 0, 6, 300)}};
    EXPECT_FALSE(resizer.Resize({}, &squeeze));
    EXPECT_EQ(bar->geometry(), QRect(200, 0, 6, 300));

    // A validator has the last word, and sees the computed rectangles.
    QRect seen;
    const R::Overrides move{{bar, QRect(150, 0, 6, 300)}};
    EXPECT_FALSE(resizer.Resize(
        [&](QWidget* first, const R::LayoutInfo& info) {
            EXPECT_EQ(first, bar);
            EXPECT_TRUE(info.valid);
            seen = (*info.rects)[1];
            return false;
        },
        &move));
    EXPECT_EQ(seen, QRect(0, 0, 150, 300));
    EXPECT_EQ(left->geometry(), QRect(0, 0, 200, 300));

    ASSERT_TRUE(resizer.Resize({}, &move));
    EXPECT_EQ(left->geometry(), QRect(0, 0, 150, 300));
    // The moved layout is the new reference: a plain resize keeps the bar where it is.
    ASSERT_TRUE(resizer.Resize());
    EXPECT_EQ(bar->geometry(), QRect(150, 0, 6, 300));
}

} // namespace
