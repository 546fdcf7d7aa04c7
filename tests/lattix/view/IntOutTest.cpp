#include "lattix/view/IntOut.h"

#include "lattix/view/IntCol.h"
#include "lattix/view/TextFlags.h"
#include "tests/lattix/RenderSupport.h"

namespace {

using namespace Lattix;
using LattixTest::OneColumnTable;

using IntOutTest = LattixTest::OutputTest;

// The special value is the largest number but shows as "-": the best width is that of
// 12, not of 9,999,999; a long special text counts only where the value occurs.
TEST_F(IntOutTest, SpecialValueCountsByItsTextNotByItsNumberAndNegativesAreRed)
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

    // Without a special value: negative numbers are red, selected or not.
    auto normal = Output<CIntOut>(CIntCol(TextFlags::kRight));
    EXPECT_EQ(normal->GetColor(CDInt(-42), true), kDefaultNegativeColor);
    EXPECT_EQ(normal->GetColor(CDInt(42), false), kNormalColor);
    EXPECT_EQ(normal->GetMinWidth(), Width("0..."));
    EXPECT_EQ(normal->GetDefaultWidth(), Width(normal->GetText(CDInt(1073741823))));
    EXPECT_EQ(normal->GetHeight(), QFontMetrics(state.GetFont()).height() + 2);
}

} // namespace
