#include "lattix/view/ThreeStateOut.h"

#include "lattix/view/BoolCol.h"
#include "lattix/view/TextFlags.h"
#include "tests/lattix/RenderSupport.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {

using namespace Lattix;
using LattixTest::Canvas;

// A three-state cell: state 0, 1 or 2 (or anything else for faulty data).
class CState : public CDInt
{
public:
    explicit CState(int state) : CDInt(state) {}
};

class ThreeStateOutTest : public ::testing::Test
{
protected:
    ThreeStateOutTest() { m_state.SetTextColor(Qt::black); }

    std::unique_ptr<C3StateOut> Output(std::uint32_t flags, bool glyphs)
    {
        auto out = std::make_unique<C3StateOut>(
            flags, std::array<std::string, 3>{"no", "yes", "maybe"}, glyphs);
        out->SetDrawState(&m_state);
        return out;
    }
    QImage Drawn(C3StateOut& out, int state, bool selected = false)
    {
        Canvas canvas;
        canvas.Draw(out, CState(state), selected);
        return canvas.image;
    }
    static int Ink(const QImage& image)
    {
        Canvas c;
        c.image = image;
        return c.InkCount();
    }

    CDrawState m_state;
};

TEST_F(ThreeStateOutTest, GlyphsDrawAMarkForTrueAndNothingForFalse)
{
    auto out = Output(TextFlags::kCentred, true);
    ASSERT_EQ(out->GetMode(), C3StateOut::Glyphs);
    EXPECT_EQ(Ink(Drawn(*out, 0)), 0);
    EXPECT_GT(Ink(Drawn(*out, 1)), 0);

    // The third state is a grey-blue mark, light when selected.
    Canvas grey;
    grey.Draw(*out, CState(2), false);
    EXPECT_GT(grey.CountNear(CDrawState::ToQColor(C3StateOut::kGreyedMark)), 0);
    EXPECT_EQ(grey.CountNear(Qt::black), 0);

    // The label is the tooltip whatever the width; faulty states read "#Error#".
    EXPECT_EQ(out->GetToolTip(CState(1), 1000), "yes");
    EXPECT_EQ(out->GetToolTip(CState(0), 0), "no");
    EXPECT_EQ(out->GetToolTip(CState(3), 1000), "#Error#");
    EXPECT_EQ(out->GetText(CState(-1)), "#Error#");
}

TEST_F(ThreeStateOutTest, EditableColumnsShowBoxesAndReadOnlyAgainShowsMarks)
{
    auto out = Output(TextFlags::kCentred, false);
    ASSERT_EQ(out->GetMode(), C3StateOut::Labels);
    const QImage label = Drawn(*out, 1);

    out->SetEditable(true);
    EXPECT_EQ(out->GetMode(), C3StateOut::CheckBoxes);
    const QImage emptyBox = Drawn(*out, 0);
    const QImage checkedBox = Drawn(*out, 1);
    EXPECT_GT(Ink(emptyBox), 0); // an unchecked box is still drawn
    EXPECT_NE(emptyBox, checkedBox);
    EXPECT_NE(checkedBox, label);

    // Read-only again: check marks, not the labels it started with.
    out->SetEditable(false);
    EXPECT_EQ(out->GetMode(), C3StateOut::Glyphs);
    EXPECT_EQ(Ink(Drawn(*out, 0)), 0);
    EXPECT_GT(Ink(Drawn(*out, 1)), 0);
    EXPECT_NE(Drawn(*out, 1), label);
    // A glyph column that is not editable stays as it is.
    out->SetEditable(false);
    EXPECT_EQ(out->GetMode(), C3StateOut::Glyphs);
}

TEST_F(ThreeStateOutTest, BoxesSitWhereTheFlagsSay)
{
    const int check = C3StateOut::CheckSize().width();
    // Flags, and the leftmost and rightmost columns the box may take.
    const int cases[][3] = {
        {TextFlags::kLeft, 2, 2 + check},
        {TextFlags::kRight, Canvas::kWidth - 3 - check, Canvas::kWidth - 3},
        {TextFlags::kCentred, (Canvas::kWidth - check) / 2 - 2, (Canvas::kWidth + check) / 2 + 2}};
    for (const auto& [flags, left, right] : cases) {
        auto out = Output(static_cast<std::uint32_t>(flags), false);
        out->SetEditable(true);
        Canvas canvas;
        canvas.Draw(*out, CState(1), false);
        EXPECT_GE(canvas.LeftInk(), left) << flags;
        EXPECT_LE(canvas.RightInk(), right) << flags;
    }
}

TEST_F(ThreeStateOutTest, WidthsFollowTheMode)
{
    const QFontMetrics metrics(m_state.GetFont());
    auto out = Output(TextFlags::kLeft, false);
    const int widest = metrics.horizontalAdvance(QStringLiteral("maybe"));
    EXPECT_EQ(out->GetDefaultWidth(), widest);
    EXPECT_EQ(out->GetCellWidth(CState(1)), metrics.horizontalAdvance(QStringLiteral("yes")));
    EXPECT_GE(out->GetHeight(), metrics.height() + 2);

    auto glyphs = Output(TextFlags::kLeft, true);
    const QSize check = C3StateOut::CheckSize();
    EXPECT_EQ(glyphs->GetMinWidth(), check.width() + 4);
    EXPECT_EQ(glyphs->GetDefaultWidth(), check.width() + 4);
    EXPECT_EQ(glyphs->GetHeight(), check.height() + 2);
}

TEST(BoolColTest, RendererKeepsItsLabelsAfterTheDefinitionIsGone)
{
    std::unique_ptr<CCellOutput> out;
    {
        CBoolCol def(TextFlags::kCentred, "yes", "no", false);
        out = def.CreateOutput();
    }
    EXPECT_EQ(out->GetText(CDBool(true)), "yes");
    EXPECT_EQ(out->GetText(CDBool(false)), "no");
}

} // namespace
