#include "lattix/view/IntCol.h"
#include "lattix/view/IntOut.h"
#include "lattix/view/StringCol.h"
#include "lattix/view/TextFlags.h"

#include <gtest/gtest.h>

namespace {

using namespace Lattix;

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
