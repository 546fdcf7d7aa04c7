#include "lattix/view/IntOut.h"

#include "lattix/view/IntCol.h"
#include "lattix/view/StringCol.h"
#include "lattix/view/TextFlags.h"
#include "tests/lattix/RenderSupport.h"

namespace {

using namespace Lattix;
using LattixTest::Canvas;
using LattixTest::OneColumnTable;

class IntOutTest : public LattixTest::OutputTest
{
protected:
    // The widest formatted value, measured row by row.
    int WidestRow(CCellOutput& out, const CTable& table) const
    {
        int widest = 0;
        for (int row = 0; row < table.GetRowCount(); ++row)
            widest = std::max(widest, Width(out.GetText(*table.GetCell(row, 0))));
        return widest;
    }
};

// The special value is the largest number but shows as "-": the best width is that of
// 12, not of 9,999,999; a long special text counts only where the value occurs.
TEST_F(IntOutTest, SpecialValueCountsByItsTextNotByItsNumber)
{
    CIntCol def(TextFlags::kRight);
    def.GetFormat().SetSpecial(true);
    def.GetFormat().SetSpecialValue(9999999);
    def.GetFormat().SetSpecialText("-");
    auto out = Output(def);
    auto table = OneColumnTable<int>(def, {12, 9999999, 3});
    EXPECT_EQ(out->GetText(*table->GetCell(1, 0)), "-");
    EXPECT_EQ(out->GetMaxWidth(*table->GetColData(0), 3), std::max(Width("12"), Width("-")));

    def.GetFormat().SetSpecialText("no reply at all");
    out = Output(def);
    EXPECT_EQ(out->GetMaxWidth(*table->GetColData(0), 3), Width("no reply at all"));
    auto plain = OneColumnTable<int>(def, {12, 3});
    EXPECT_EQ(out->GetMaxWidth(*plain->GetColData(0), 2), Width("12"));
}

TEST_F(IntOutTest, NegativeNumbersAreRedSelectedOrNotAndRightAligned)
{
    auto out = Output<CIntOut>(CIntCol(TextFlags::kRight));
    EXPECT_EQ(out->GetColor(CDInt(-42), true), kDefaultNegativeColor);
    EXPECT_EQ(out->GetColor(CDInt(42), false), kNormalColor);
    Canvas red;
    red.Draw(*out, CDInt(-42), true);
    EXPECT_GT(red.CountNear(QColor(255, 0, 0)), 0);
    Canvas black;
    black.Draw(*out, CDInt(7), false);
    EXPECT_EQ(black.CountNear(QColor(255, 0, 0)), 0);
    EXPECT_GT(black.LeftInk(), Canvas::kWidth / 2);
    EXPECT_GE(black.RightInk(), Canvas::kWidth - 12);

    EXPECT_EQ(out->GetMinWidth(), Width("0..."));
    EXPECT_EQ(out->GetDefaultWidth(), Width(out->GetText(CDInt(1073741823))));
    EXPECT_EQ(out->GetHeight(), QFontMetrics(state.GetFont()).height() + 2);
}

} // namespace
