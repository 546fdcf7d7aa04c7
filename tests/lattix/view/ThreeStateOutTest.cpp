#include "lattix/view/ThreeStateOut.h"

#include "lattix/view/BoolCol.h"
#include "lattix/view/TextFlags.h"
#include "tests/lattix/RenderSupport.h"

namespace {

using namespace Lattix;
using LattixTest::Canvas;

// Renderers of the states 0, 1 and 2 (anything else is faulty data).
class ThreeStateOutTest : public LattixTest::OutputTest
{
protected:
    std::unique_ptr<C3StateOut> Make(std::uint32_t flags, bool glyphs)
    {
        auto out = std::make_unique<C3StateOut>(
            flags, std::array<std::string, 3>{"no", "yes", "maybe"}, glyphs);
        out->SetDrawState(&state);
        return out;
    }
    static Canvas Drawn(C3StateOut& out, int value)
    {
        Canvas canvas;
        canvas.Draw(out, CDInt(value), false);
        return canvas;
    }
};

TEST_F(ThreeStateOutTest, GlyphsDrawAMarkForTrueAGreyMarkForTheThirdStateAndNothingForFalse)
{
    auto out = Make(TextFlags::kCentred, true);
    ASSERT_EQ(out->GetMode(), C3StateOut::Glyphs);
    EXPECT_EQ(Drawn(*out, 0).InkCount(), 0);
    EXPECT_GT(Drawn(*out, 1).InkCount(), 0);
    const Canvas grey = Drawn(*out, 2);
    EXPECT_GT(grey.CountNear(CDrawState::ToQColor(C3StateOut::kGreyedMark)), 0);
    EXPECT_EQ(grey.CountNear(Qt::black), 0);
    // The label is the tooltip whatever the width; faulty states read "#Error#".
    EXPECT_EQ(out->GetToolTip(CDInt(0), 0), "no");
    EXPECT_EQ(out->GetToolTip(CDInt(3), 1000), "#Error#");
    EXPECT_EQ(out->GetText(CDInt(-1)), "#Error#");
}

TEST_F(ThreeStateOutTest, EditableColumnsShowBoxesAndReadOnlyAgainShowsMarks)
{
    auto out = Make(TextFlags::kCentred, false);
    ASSERT_EQ(out->GetMode(), C3StateOut::Labels);
    const QImage label = Drawn(*out, 1).image;
    out->SetEditable(true);
    EXPECT_EQ(out->GetMode(), C3StateOut::CheckBoxes);
    const Canvas emptyBox = Drawn(*out, 0);
    EXPECT_GT(emptyBox.InkCount(), 0); // an unchecked box is still drawn
    EXPECT_NE(emptyBox.image, Drawn(*out, 1).image);
    EXPECT_NE(Drawn(*out, 1).image, label);
    // Read-only again: check marks, not the labels it started with.
    out->SetEditable(false);
    EXPECT_EQ(out->GetMode(), C3StateOut::Glyphs);
    EXPECT_EQ(Drawn(*out, 0).InkCount(), 0);
    EXPECT_NE(Drawn(*out, 1).image, label);
    out->SetEditable(false); // a read-only glyph column stays as it is
    EXPECT_EQ(out->GetMode(), C3StateOut::Glyphs);
}

TEST_F(ThreeStateOutTest, WidthsFollowTheMode)
{
    auto out = Make(TextFlags::kLeft, false);
    EXPECT_EQ(out->GetDefaultWidth(), Width("maybe"));
    EXPECT_EQ(out->GetCellWidth(CDInt(1)), Width("yes"));
    EXPECT_GE(out->GetHeight(), QFontMetrics(state.GetFont()).height() + 2);
    auto glyphs = Make(TextFlags::kLeft, true);
    const QSize check = C3StateOut::CheckSize();
    EXPECT_EQ(glyphs->GetMinWidth(), check.width() + 4);
    EXPECT_EQ(glyphs->GetDefaultWidth(), check.width() + 4);
    EXPECT_EQ(glyphs->GetHeight(), check.height() + 2);
}

TEST(BoolColTest, RendererKeepsItsLabelsAfterTheDefinitionIsGone)
{
    std::unique_ptr<CCellOutput> out =
        CBoolCol(TextFlags::kCentred, "yes", "no", false).CreateOutput();
    EXPECT_EQ(out->GetText(CDBool(true)), "yes");
    EXPECT_EQ(out->GetText(CDBool(false)), "no");
}

} // namespace
