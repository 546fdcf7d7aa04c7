#include "lattix/EnumOut.h"

#include "RenderSupport.h"
#include "lattix/Enum.h"
#include "lattix/EnumCol.h"
#include "lattix/EnumCompare.h"
#include "lattix/TextFlags.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {

using namespace Lattix;
using LattixTest::Canvas;
using LattixTest::OneColumnTable;

class EnumOutTest : public ::testing::Test
{
protected:
    EnumOutTest()
        : m_enum("0 ?\n1 ?\n2 ?\n3 ?\n4 ?\nMP - Objective\nSW - Stopwatch\nCP - Checkpoint")
    {
        m_enum->AddEntry(8, "Tip", "Has a tip of its own");
        m_state.SetTextColor(Qt::black);
    }
    std::unique_ptr<CCellOutput> Output(int mode, std::uint32_t flags = CEnumCol::kDefaultFlags)
    {
        auto out = CEnumCol(m_enum.Get(), mode, flags).CreateOutput();
        out->SetDrawState(&m_state);
        return out;
    }
    int Width(const char* text) const
    {
        return QFontMetrics(m_state.GetFont()).horizontalAdvance(QString::fromUtf8(text));
    }

    CEnum m_enum;
    CDrawState m_state;
};

TEST_F(EnumOutTest, TextsAndTooltips)
{
    auto out = Output(CEnumOut::TextOnly);
    EXPECT_EQ(out->GetText(CDInt(6)), "SW - Stopwatch");
    EXPECT_EQ(out->GetText(CDInt(42)), "#Error#");

    const int width = Width("SW - Stopwatch");
    EXPECT_EQ(out->GetCellWidth(CDInt(6)), width);
    EXPECT_EQ(out->GetToolTip(CDInt(6), width), "");
    EXPECT_EQ(out->GetToolTip(CDInt(6), width - 1), "SW - Stopwatch");
    // An entry's own tip shows even when its text fits.
    EXPECT_EQ(out->GetToolTip(CDInt(8), 1000), "Has a tip of its own");

    Canvas canvas;
    canvas.Draw(*out, CDInt(5), false);
    EXPECT_GT(canvas.CountNear(Qt::black), 0);
    EXPECT_LT(canvas.LeftInk(), 5); // left aligned by default
}

TEST_F(EnumOutTest, TextIsClippedToItsCell)
{
    auto out = Output(CEnumOut::TextOnly);
    Canvas canvas;
    const QRect narrow(0, 0, 30, Canvas::kHeight);
    canvas.Draw(*out, CDInt(7), false, narrow);
    EXPECT_GT(canvas.InkCount(), 0);
    EXPECT_LE(canvas.RightInk(), narrow.right());
}

TEST_F(EnumOutTest, WidthsOverEntriesAndRows)
{
    auto out = Output(CEnumOut::TextOnly);
    // The widest entry text, at least "W...".
    EXPECT_EQ(out->GetDefaultWidth(),
              std::max(Width("W..."), std::max({Width("MP - Objective"), Width("SW - Stopwatch"),
                                                Width("CP - Checkpoint")})));

    CEnumCol def(m_enum.Get(), CEnumOut::TextOnly);
    auto table = OneColumnTable<int>(def, {5, 0, 6});
    EXPECT_EQ(out->GetMaxWidth(*table->GetColData(0), 3),
              std::max(Width("MP - Objective"), Width("SW - Stopwatch")));
    auto empty = OneColumnTable<int>(def, {});
    EXPECT_EQ(out->GetMaxWidth(*empty->GetColData(0), 0), 0);
}

TEST_F(EnumOutTest, WithoutImagesEveryModeShowsText)
{
    auto out = Output(CEnumOut::ImageOnly);
    EXPECT_EQ(static_cast<CEnumOut&>(*out).GetMode(), CEnumOut::TextOnly);
    EXPECT_EQ(out->GetText(CDInt(7)), "CP - Checkpoint");
    Canvas canvas;
    canvas.Draw(*out, CDInt(7), false);
    EXPECT_GT(canvas.InkCount(), 0);
}

TEST_F(EnumOutTest, ColumnDefaultsFlagsByModeAndSharesTheEnumeration)
{
    EXPECT_EQ(CEnumCol(m_enum.Get(), CEnumOut::ImageOnly).GetFlags(), TextFlags::kCentred);
    EXPECT_EQ(CEnumCol(m_enum.Get(), CEnumOut::ImageAndText).GetFlags(), TextFlags::kLeft);
    EXPECT_EQ(CEnumCol(m_enum.Get(), CEnumOut::TextOnly).GetFlags(), TextFlags::kLeft);
    EXPECT_EQ(CEnumCol(m_enum.Get(), CEnumOut::ImageOnly, TextFlags::kRight).GetFlags(),
              TextFlags::kRight);
    EXPECT_EQ(
        CEnumCol(m_enum.Get(), CEnumOut::TextOnly, TextFlags::kRight).CreateOutput()->GetFlags(),
        TextFlags::kRight);

    const int before = m_enum->GetRefCount();
    std::unique_ptr<CCellOutput> out;
    std::unique_ptr<CCellCompare> compare;
    {
        CEnumCol def(m_enum.Get(), CEnumOut::TextOnly);
        out = def.CreateOutput();
        compare = def.CreateCompare();
        EXPECT_EQ(m_enum->GetRefCount(), before + 3);
    }
    EXPECT_EQ(m_enum->GetRefCount(), before + 2);
    ASSERT_NE(dynamic_cast<CEnumCompare*>(compare.get()), nullptr);
    // Ordered by the enumeration's lines, not by value.
    EXPECT_LT(compare->Compare(CDInt(5), CDInt(6)), 0);
    out.reset();
    compare.reset();
    EXPECT_EQ(m_enum->GetRefCount(), before);
}

} // namespace
