#include "lattix/view/IntOut.h"

#include "lattix/view/IntCol.h"
#include "lattix/view/TextFlags.h"
#include "tests/lattix/RenderSupport.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {

using namespace Lattix;
using LattixTest::Canvas;
using LattixTest::OneColumnTable;

class IntOutTest : public ::testing::Test
{
protected:
    IntOutTest() { m_state.SetTextColor(Qt::black); }

    std::unique_ptr<CIntOut> Output(const CIntCol& def)
    {
        auto out = def.CreateOutput();
        out->SetDrawState(&m_state);
        return std::unique_ptr<CIntOut>(static_cast<CIntOut*>(out.release()));
    }
    int Width(const std::string& text) const
    {
        return QFontMetrics(m_state.GetFont()).horizontalAdvance(QString::fromUtf8(text));
    }
    // The widest formatted value, measured row by row.
    int WidestRow(CIntOut& out, const CTable& table) const
    {
        int widest = 0;
        for (int row = 0; row < table.GetRowCount(); ++row)
            widest = std::max(widest, Width(out.GetText(*table.GetCell(row, 0))));
        return widest;
    }

    CDrawState m_state;
};

TEST_F(IntOutTest, BestWidthIsThatOfTheWidestValueWhereverItStands)
{
    CIntCol def(TextFlags::kRight);
    auto out = Output(def);

    // The widest value in the middle, at the start and at the end of the column.
    for (auto values :
         {std::initializer_list<int>{5, -123456, 7, 99}, std::initializer_list<int>{1234567, -5, 3},
          std::initializer_list<int>{-5, 12, 1234567}}) {
        auto table = OneColumnTable<int>(def, values);
        const int best = out->GetMaxWidth(*table->GetColData(0), table->GetRowCount());
        EXPECT_EQ(best, WidestRow(*out, *table));
        EXPECT_GT(best, Width("99"));
    }

    auto empty = OneColumnTable<int>(def, {});
    EXPECT_EQ(out->GetMaxWidth(*empty->GetColData(0), 0), 0);
}

TEST_F(IntOutTest, SpecialValueCountsByItsTextNotByItsNumber)
{
    CIntCol def(TextFlags::kRight);
    def.GetFormat().SetSpecial(true);
    def.GetFormat().SetSpecialValue(9999999);
    def.GetFormat().SetSpecialText("-");
    auto out = Output(def);

    // The special value is the largest number but shows as "-": the best width is that
    // of 12, not of 9,999,999.
    auto table = OneColumnTable<int>(def, {12, 9999999, 3});
    EXPECT_EQ(out->GetText(*table->GetCell(1, 0)), "-");
    EXPECT_EQ(out->GetMaxWidth(*table->GetColData(0), 3), std::max(Width("12"), Width("-")));

    // A long special text is wider than any value and counts when the value occurs...
    def.GetFormat().SetSpecialText("no reply at all");
    out = Output(def);
    EXPECT_EQ(out->GetMaxWidth(*table->GetColData(0), 3), Width("no reply at all"));
    // ...and not when it does not.
    auto plain = OneColumnTable<int>(def, {12, 3});
    EXPECT_EQ(out->GetMaxWidth(*plain->GetColData(0), 2), Width("12"));
}

TEST_F(IntOutTest, NegativeNumbersAreRedSelectedOrNot)
{
    CIntCol def(TextFlags::kRight);
    auto out = Output(def);
    const CDInt negative(-42);
    const CDInt positive(42);

    EXPECT_EQ(out->GetColor(negative, false), kDefaultNegativeColor);
    EXPECT_EQ(out->GetColor(negative, true), kDefaultNegativeColor);
    EXPECT_EQ(out->GetColor(positive, false), kNormalColor);

    Canvas red;
    red.Draw(*out, negative, true);
    EXPECT_GT(red.CountNear(QColor(255, 0, 0)), 0);
    Canvas black;
    black.Draw(*out, positive, false);
    EXPECT_EQ(black.CountNear(QColor(255, 0, 0)), 0);
    EXPECT_GT(black.CountNear(Qt::black), 0);
}

TEST_F(IntOutTest, WidthsAndPlacement)
{
    auto out = Output(CIntCol(TextFlags::kRight));
    EXPECT_EQ(out->GetMinWidth(), Width("0..."));
    EXPECT_EQ(out->GetDefaultWidth(), Width(out->GetText(CDInt(1073741823))));
    EXPECT_EQ(out->GetHeight(), QFontMetrics(m_state.GetFont()).height() + 2);

    Canvas canvas;
    canvas.Draw(*out, CDInt(7), false);
    EXPECT_GT(canvas.LeftInk(), Canvas::kWidth / 2); // right aligned
    EXPECT_GE(canvas.RightInk(), Canvas::kWidth - 12);
}

} // namespace
