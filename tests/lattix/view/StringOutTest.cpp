#include "lattix/view/StringOut.h"

#include "lattix/view/PasswordCol.h"
#include "lattix/view/PasswordOut.h"
#include "lattix/view/StringCol.h"
#include "lattix/view/TextFlags.h"
#include "tests/lattix/RenderSupport.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

#include <random>

namespace {

using namespace Lattix;
using LattixTest::Canvas;
using LattixTest::OneColumnTable;

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

TEST_F(StringOutTest, PasswordCellsPaintAndReadOneDotACharacterUntilUnmasked)
{
    auto out = Output(CPasswordCol(TextFlags::kLeft));
    auto plain = Output(CStringCol(TextFlags::kLeft));
    const CDString cell("p\xC3\xA4ss"); // four characters, five bytes
    const std::string dots = "\u25CF\u25CF\u25CF\u25CF";
    EXPECT_EQ(out->GetText(cell), dots);
    EXPECT_EQ(out->GetToolTip(cell, 0), dots);
    Canvas masked;
    masked.Draw(*out, cell, false);
    Canvas expected;
    expected.Draw(*plain, CDString(dots), false);
    EXPECT_GT(masked.InkCount(), 0);
    EXPECT_EQ(masked.image, expected.image);

    static_cast<CPasswordOut&>(*out).SetMasked(false);
    EXPECT_EQ(out->GetText(cell), "p\xC3\xA4ss");
    EXPECT_EQ(out->GetCellWidth(cell), Width("p\xC3\xA4ss"));
}

// Texts of many lengths, with kerning pairs, ligatures, accents and signs that Latin
// fonts do not cache.
std::vector<std::string> ServerNames(int count, std::uint32_t seed)
{
    static const char* const pieces[] = {
        "AV", "WA",   "To",       "ff",       "fi", "LT",     "Yo",   "W",  "i",  ".",
        "^1", "[EU]", "\xC3\x84", "\xC3\x9F", "  ", "Server", "wolf", "r.", "y,", "7"};
    std::mt19937 rng(seed);
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        std::string name;
        const int n = static_cast<int>(rng() % 30) + 1;
        for (int k = 0; k < n; ++k)
            name += pieces[rng() % std::size(pieces)];
        names.push_back(name);
    }
    return names;
}

TEST_F(StringOutTest, BestWidthMatchesMeasuringEveryRow)
{
    auto out = Output(CStringCol(TextFlags::kLeft));
    const CStringCol def(TextFlags::kLeft);

    auto widest = [&](const CTable& table) {
        int w = 0;
        for (int row = 0; row < table.GetRowCount(); ++row)
            w = std::max(w, out->GetCellWidth(*table.GetCell(row, 0)));
        return w;
    };
    auto fill = [&](const std::vector<std::string>& texts) {
        auto table = OneColumnTable<std::string>(def, {});
        for (const std::string& text : texts)
            table->AddRow()->GetCell(0)->Set(text);
        return table;
    };

    // Texts of many widths: exactly the widest.
    for (std::uint32_t seed : {1u, 2u, 3u}) {
        auto table = fill(ServerNames(2000, seed));
        EXPECT_EQ(out->GetMaxWidth(*table->GetColData(0), table->GetRowCount()), widest(*table));
    }
    // The widest text holds signs outside the Latin range.
    std::vector<std::string> texts = ServerNames(500, 4);
    texts.push_back(std::string(60, 'W') + "\xE2\x82\xAC\xE4\xB8\xAD"); // euro, CJK
    auto mixed = fill(texts);
    EXPECT_EQ(out->GetMaxWidth(*mixed->GetColData(0), mixed->GetRowCount()), widest(*mixed));

    // Thousands of texts of one width: never narrower than the widest, at most a few
    // pixels wider.
    std::vector<std::string> same;
    for (int i = 0; i < 3000; ++i)
        same.push_back("Server " + std::to_string(10000 + i) + " objective");
    auto uniform = fill(same);
    const int exact = widest(*uniform);
    const int best = out->GetMaxWidth(*uniform->GetColData(0), uniform->GetRowCount());
    EXPECT_GE(best, exact);
    EXPECT_LE(best, exact + 2 + exact / 50);

    EXPECT_EQ(out->GetMaxWidth(*fill({})->GetColData(0), 0), 0);
}

} // namespace
