#include "lattix/StringOut.h"

#include "RenderSupport.h"
#include "lattix/StringCol.h"
#include "lattix/TextFlags.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {

using namespace Lattix;
using LattixTest::Canvas;

class StringOutTest : public ::testing::Test
{
protected:
    StringOutTest()
    {
        m_state.SetTextColor(Qt::black);
        m_state.SetSelectedTextColor(Qt::white);
    }
    std::unique_ptr<CCellOutput> Output(const CStringCol& def)
    {
        auto out = def.CreateOutput();
        out->SetDrawState(&m_state);
        return out;
    }
    int Width(const char* text) const
    {
        return QFontMetrics(m_state.GetFont()).horizontalAdvance(QString::fromUtf8(text));
    }

    CDrawState m_state;
};

TEST_F(StringOutTest, SpecialTextStandsForAnEmptyCellInItsColourEvenWhenSelected)
{
    CStringCol def(TextFlags::kLeft);
    def.GetFormat().SetSpecial(true);
    def.GetFormat().SetSpecialText("(none)");
    def.GetFormat().SetSpecialColor(0x0000FF); // red
    auto out = Output(def);

    const CDString empty;
    const CDString text("Alpha");
    EXPECT_EQ(out->GetText(empty), "(none)");
    EXPECT_EQ(out->GetText(text), "Alpha");
    EXPECT_EQ(out->GetColor(empty, true), 0x0000FFu);
    EXPECT_EQ(out->GetColor(text, true), kNormalColor);

    Canvas selected;
    selected.Draw(*out, empty, true);
    EXPECT_GT(selected.CountNear(QColor(255, 0, 0)), 0);

    // Without the special text an empty cell is empty.
    auto plain = Output(CStringCol(TextFlags::kLeft));
    EXPECT_EQ(plain->GetText(empty), "");
    Canvas blank;
    blank.Draw(*plain, empty, false);
    EXPECT_EQ(blank.InkCount(), 0);
}

TEST_F(StringOutTest, TooltipOnlyForTextsThatDoNotFit)
{
    auto out = Output(CStringCol(TextFlags::kLeft));
    const CDString cell("Wolfenstein Server Number One");
    const int width = Width("Wolfenstein Server Number One");
    EXPECT_EQ(out->GetCellWidth(cell), width);
    EXPECT_EQ(out->GetToolTip(cell, width), "");
    EXPECT_EQ(out->GetToolTip(cell, width - 1), "Wolfenstein Server Number One");
}

TEST_F(StringOutTest, LongTextIsShortenedToItsCell)
{
    auto out = Output(CStringCol(TextFlags::kLeft));
    const CDString cell("A very long server name that cannot fit");
    Canvas canvas;
    const QRect narrow(0, 0, 50, Canvas::kHeight);
    canvas.Draw(*out, cell, false, narrow);
    EXPECT_GT(canvas.InkCount(), 0);
    EXPECT_LT(canvas.RightInk(), narrow.right() + 1);

    // Selected text uses the selected colour.
    Canvas selected;
    selected.image.fill(Qt::black);
    {
        QPainter painter(&selected.image);
        out->Begin(painter);
        out->Draw(selected.cell, CDString("Axis"), true);
        out->End();
    }
    EXPECT_GT(selected.CountNear(Qt::white), 0);
}

} // namespace
