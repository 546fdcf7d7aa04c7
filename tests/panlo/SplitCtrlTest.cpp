#include "panlo/SplitCtrl.h"
#include "panlo/ControlId.h"
#include "panlo/Resizer.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

constexpr int kSplitId = 1010;

// A 600 x 400 dialog with two panes and a vertical bar between them, laid out the way a
// dialog's initialisation does it: placeholder, resizer entries, splitter attached last.
struct SplitDialog
{
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    QWidget* left = nullptr;
    QWidget* right = nullptr;
    CSplitCtrl* bar = nullptr; // owned by the window
    CResizer resizer;
    std::vector<int> codes;

    explicit SplitDialog(unsigned alignment = CSplitCtrl::kAlignNear)
    {
        window->resize(600, 400);
        left = new QWidget(window.get());
        left->setGeometry(0, 0, 295, 400);
        auto* placeholder = new QWidget(window.get());
        placeholder->setGeometry(295, 0, 5, 400);
        placeholder->setProperty("windowStyle", alignment);
        SetControlId(placeholder, kSplitId);
        right = new QWidget(window.get());
        right->setGeometry(310, 0, 290, 400);

        bar = new CSplitCtrl(window.get());
        EXPECT_TRUE(bar->CreateFromControl(kSplitId, window.get()));
        QObject::connect(bar, &CSplitCtrl::Command, [this](int id, int code) {
            EXPECT_EQ(id, kSplitId);
            codes.push_back(code);
        });
        resizer.Attach(window.get());
        const int barEntry =
            resizer.Add(bar, CResizer::kLeftProportional | CResizer::kRightProportional |
                                 CResizer::kBottomMoves);
        resizer.Add(left, CResizer::kBottomMoves, -1, barEntry);
        resizer.Add(right, CResizer::kLeftMoves | CResizer::kRightMoves | CResizer::kBottomMoves,
                    barEntry);
        bar->Attach(&resizer, 15, 65);
        window->show();
    }

    void Drag(int fromX, std::initializer_list<int> toX)
    {
        const QPoint from(fromX, 200);
        QTest::mousePress(bar, Qt::LeftButton, {}, bar->mapFrom(window.get(), from));
        for (const int x : toX) {
            const QPoint local = bar->mapFrom(window.get(), QPoint(x, 200));
            QMouseEvent move(QEvent::MouseMove, local, bar->mapToGlobal(local), Qt::NoButton,
                             Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(bar, &move);
        }
        QTest::mouseRelease(bar, Qt::LeftButton, {}, bar->mapFrom(window.get(), from));
    }
};

TEST(SplitCtrlTest, PlaceholderBecomesASixPixelBarAtItsAlignment)
{
    struct Case
    {
        unsigned alignment;
        int left;
    };
    // The placeholder spans 295..300; Create insets it by a pixel to 296..299.
    for (const Case c : {Case{CSplitCtrl::kAlignNear, 296}, Case{CSplitCtrl::kAlignFar, 293},
                         Case{CSplitCtrl::kAlignCentre, 294}}) {
        SplitDialog dialog(c.alignment);
        EXPECT_TRUE(dialog.bar->IsVertical());
        EXPECT_EQ(dialog.bar->geometry(), QRect(c.left, 1, 6, 398)) << c.alignment;
        EXPECT_EQ(FindControl(dialog.window.get(), kSplitId), dialog.bar);
        EXPECT_EQ(dialog.bar->cursor().shape(), Qt::SizeHorCursor);
    }
}

TEST(SplitCtrlTest, DraggingAndSetPosMoveThePanesWithinTheLimits)
{
    SplitDialog dialog;
    // Press 3 px into the bar, move 100 px left: everything tied to the bar follows.
    dialog.Drag(299, {250, 199});
    EXPECT_EQ(dialog.bar->geometry().x(), 196);
    EXPECT_EQ(dialog.left->geometry(), QRect(0, 0, 195, 400));
    EXPECT_EQ(dialog.right->geometry().x(), 210);
    EXPECT_EQ(dialog.codes, (std::vector<int>{0, 1, 1, 2}));
    EXPECT_FALSE(dialog.bar->IsDragging());

    // Far to the left stops at 15 % of 600 and far right at 65 %.
    dialog.codes.clear();
    dialog.Drag(199, {-500});
    EXPECT_EQ(dialog.bar->geometry().x(), 90);
    EXPECT_EQ(dialog.bar->GetPos(), 15);
    dialog.Drag(93, {5000});
    EXPECT_EQ(dialog.bar->geometry().x(), 390);
    // A second step to the same place is not tried again.
    dialog.codes.clear();
    dialog.Drag(393, {393, 393});
    EXPECT_EQ(dialog.codes, (std::vector<int>{0, 1, 2}));

    // The dragged layout is the reference for window resizing from now on.
    dialog.window->resize(1200, 400);
    dialog.resizer.Resize();
    EXPECT_EQ(dialog.bar->geometry().x(), 780);
    EXPECT_EQ(dialog.left->geometry().width(), 780 - 1);

    // Set by program, the position is clamped too and reads back at least the percent.
    EXPECT_EQ(dialog.bar->SetPos(10), 15);
    EXPECT_EQ(dialog.bar->geometry().x(), 181); // 15 % of 1200, inset by a pixel
    for (const int percent : {17, 33, 50, 64}) {
        const int got = dialog.bar->SetPos(percent);
        EXPECT_GE(got, percent);
        EXPECT_EQ(got, dialog.bar->GetPos());
    }
    EXPECT_EQ(dialog.bar->SetPos(99), 65);
}

TEST(SplitCtrlTest, AStepThatSqueezesAPaneIsRefused)
{
    SplitDialog dialog;
    dialog.bar->SetLimits(0, 100);
    // The right pane (its left edge 8 px past the bar's right edge) would get no width.
    dialog.Drag(299, {590});
    EXPECT_EQ(dialog.bar->geometry().x(), 296);
    EXPECT_EQ(dialog.right->geometry(), QRect(310, 0, 290, 400));
    // The left pane would get no width.
    dialog.Drag(299, {3});
    EXPECT_EQ(dialog.left->geometry(), QRect(0, 0, 295, 400));
    EXPECT_EQ(dialog.codes, (std::vector<int>{0, 2, 0, 2}));
}

} // namespace
