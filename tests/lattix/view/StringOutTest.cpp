#include "lattix/view/StringOut.h"

#include "lattix/view/PasswordCol.h"
#include "lattix/view/PasswordOut.h"
#include "lattix/view/StringCol.h"
#include "lattix/view/TextFlags.h"
#include "tests/lattix/RenderSupport.h"

#include <random>

namespace {

using namespace Lattix;
using LattixTest::Canvas;
using LattixTest::OneColumnTable;

using StringOutTest = LattixTest::OutputTest;

TEST_F(StringOutTest, SpecialTextStandsForAnEmptyCellInItsColourEvenWhenSelected)
{
    CStringCol def(TextFlags::kLeft);
    def.GetFormat().SetSpecial(true);
    def.GetFormat().SetSpecialText("(none)");
    def.GetFormat().SetSpecialColor(0x0000FF); // red
    auto out = Output(def);
    EXPECT_EQ(out->GetText(CDString()), "(none)");
    EXPECT_EQ(out->GetText(CDString("Alpha")), "Alpha");
    EXPECT_EQ(out->GetColor(CDString("Alpha"), true), kNormalColor);
    Canvas selected;
    selected.Draw(*out, CDString(), true);
    EXPECT_GT(selected.CountNear(QColor(255, 0, 0)), 0);

    Canvas blank; // without the special text an empty cell is empty
    blank.Draw(*Output(CStringCol(TextFlags::kLeft)), CDString(), false);
    EXPECT_EQ(blank.InkCount(), 0);
}

TEST_F(StringOutTest, PasswordCellsPaintAndReadOneDotACharacterUntilUnmasked)
{
    auto out = Output<CPasswordOut>(CPasswordCol(TextFlags::kLeft));
    const CDString cell("p\xC3\xA4ss"); // four characters, five bytes
    const std::string dots = "\u25CF\u25CF\u25CF\u25CF";
    EXPECT_EQ(out->GetText(cell), dots);
    EXPECT_EQ(out->GetToolTip(cell, 0), dots);
    Canvas masked;
    masked.Draw(*out, cell, false);
    Canvas expected;
    expected.Draw(*Output(CStringCol(TextFlags::kLeft)), CDString(dots), false);
    EXPECT_GT(masked.InkCount(), 0);
    EXPECT_EQ(masked.image, expected.image);
    out->SetMasked(false);
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
    const CStringCol def(TextFlags::kLeft);
    auto out = Output(def);
    const auto fill = [&](const std::vector<std::string>& texts) {
        auto table = OneColumnTable<std::string>(def, {});
        for (const std::string& text : texts)
            table->AddRow()->GetCell(0)->Set(text);
        int widest = 0;
        for (int row = 0; row < table->GetRowCount(); ++row)
            widest = std::max(widest, out->GetCellWidth(*table->GetCell(row, 0)));
        return std::make_pair(out->GetMaxWidth(*table->GetColData(0), table->GetRowCount()),
                              widest);
    };
    // Texts of many widths, also with signs outside the Latin range: exactly the widest.
    std::vector<std::string> mixed = ServerNames(500, 4);
    mixed.push_back(std::string(60, 'W') + "\xE2\x82\xAC\xE4\xB8\xAD"); // euro, CJK
    for (const auto& texts :
         {ServerNames(2000, 1), ServerNames(2000, 2), mixed, std::vector<std::string>{}}) {
        const auto [best, widest] = fill(texts);
        EXPECT_EQ(best, widest);
    }
    // Thousands of texts of one width: never narrower than the widest, at most a few
    // pixels wider.
    std::vector<std::string> same;
    for (int i = 0; i < 3000; ++i)
        same.push_back("Server " + std::to_string(10000 + i) + " objective");
    const auto [best, exact] = fill(same);
    EXPECT_GE(best, exact);
    EXPECT_LE(best, exact + 2 + exact / 50);
}

// Too long texts end in an ellipsis within their rectangle; without it they run on unless
// clipped.
TEST(TextFlagsTest, TooLongTextEndsInAnEllipsisOrIsClippedAndWordsAlignAsQtDoes)
{
    const QRect rect(10, 0, 60, 20);
    const auto inkOf = [&](std::uint32_t flags) {
        Canvas canvas;
        QPainter painter(&canvas.image);
        painter.setPen(Qt::black);
        TextFlags::DrawText(painter, rect, "Return to Castle Wolfenstein Server", flags);
        painter.end();
        return canvas.InkBox();
    };
    const QRect ellipsis = inkOf(TextFlags::kLeft);
    EXPECT_GE(ellipsis.left(), rect.left());
    EXPECT_LE(ellipsis.right(), rect.right());
    EXPECT_GT(inkOf(TextFlags::kLeft & ~TextFlags::EndEllipsis).right(), rect.right());
    const QRect clipped = inkOf(TextFlags::kLeft & ~(TextFlags::EndEllipsis | TextFlags::NoClip));
    EXPECT_LE(clipped.right(), rect.right());
    EXPECT_GT(clipped.right(), rect.right() - 6);

    // The column words map to Qt's alignment.
    EXPECT_EQ(TextFlags::ToAlignment(TextFlags::kCentred), Qt::AlignHCenter | Qt::AlignVCenter);
    EXPECT_EQ(TextFlags::ToAlignment(TextFlags::kRight), Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(TextFlags::ToAlignment(TextFlags::SingleLine | TextFlags::Bottom),
              Qt::AlignLeft | Qt::AlignBottom);
}

} // namespace
