#include "lattix/BoolCol.h"
#include "lattix/IntCol.h"
#include "lattix/IntOut.h"
#include "lattix/StringCol.h"
#include "lattix/StringOut.h"
#include "lattix/TextFlags.h"
#include "lattix/ThreeStateOut.h"

#include <gtest/gtest.h>

namespace {

using namespace Lattix;

template <class Cell>
bool MakesCells(const CColDef& def)
{
    return dynamic_cast<const Cell*>(def.CreateFactory()->GetPrototype()) != nullptr;
}

TEST(ColDefTest, EachKindMakesItsCellsAndRenderer)
{
    const CIntCol ints(TextFlags::kRight);
    const CStringCol texts(TextFlags::kLeft);
    const CBoolCol bools(TextFlags::kCentred, "yes", "no", true);

    EXPECT_TRUE(MakesCells<CDInt>(ints));
    EXPECT_TRUE(MakesCells<CDString>(texts));
    EXPECT_TRUE(MakesCells<CDBool>(bools));

    auto intOut = ints.CreateOutput();
    auto textOut = texts.CreateOutput();
    auto boolOut = bools.CreateOutput();
    ASSERT_NE(dynamic_cast<CIntOut*>(intOut.get()), nullptr);
    ASSERT_NE(dynamic_cast<CStringOut*>(textOut.get()), nullptr);
    ASSERT_NE(dynamic_cast<C3StateOut*>(boolOut.get()), nullptr);
    EXPECT_EQ(intOut->GetFlags(), TextFlags::kRight);
    EXPECT_EQ(textOut->GetFlags(), TextFlags::kLeft);
    EXPECT_EQ(boolOut->GetFlags(), TextFlags::kCentred);
    EXPECT_EQ(static_cast<C3StateOut&>(*boolOut).GetMode(), C3StateOut::Glyphs);

    // The comparers order by the cells' own order.
    auto compare = ints.CreateCompare();
    EXPECT_LT(compare->Compare(CDInt(-3), CDInt(2)), 0);

    // No column has an in-place editor yet.
    EXPECT_EQ(ints.CreateInput(), nullptr);
    EXPECT_EQ(texts.CreateInput(), nullptr);
    EXPECT_EQ(bools.CreateInput(), nullptr);
}

TEST(ColDefTest, RenderersHoldFormatsOfTheirOwn)
{
    CIntCol def(TextFlags::kRight);
    EXPECT_EQ(def.GetFormat().GetColor(-1), kDefaultNegativeColor); // negatives in red
    EXPECT_FALSE(def.GetFormat().HasSpecial());

    auto first = def.CreateOutput();
    auto second = def.CreateOutput();
    auto& firstFormat = static_cast<CIntOut&>(*first).GetFormat();
    firstFormat.SetSpecial(true);
    firstFormat.SetSpecialValue(9999);
    firstFormat.SetSpecialText("n/a");
    EXPECT_EQ(first->GetText(CDInt(9999)), "n/a");
    EXPECT_NE(second->GetText(CDInt(9999)), "n/a");

    // Changing the definition later reaches only renderers made afterwards.
    def.GetFormat().SetNegativeColor(0x00FF00);
    EXPECT_EQ(second->GetColor(CDInt(-1), false), kDefaultNegativeColor);
    EXPECT_EQ(def.CreateOutput()->GetColor(CDInt(-1), false), 0x00FF00u);

    CStringCol texts(TextFlags::kLeft);
    EXPECT_FALSE(texts.GetFormat().HasSpecial());
    auto textOut = texts.CreateOutput();
    texts.GetFormat().SetSpecial(true);
    texts.GetFormat().SetSpecialText("-");
    EXPECT_EQ(textOut->GetText(CDString()), "");
    EXPECT_EQ(texts.CreateOutput()->GetText(CDString()), "-");
}

} // namespace
