// The cell renderers (integer, text and password, three-state, enumeration), the text
// flags they draw with and the draw state's configured look.
#include "lattix/view/DrawState.h"
#include "lattix/view/EnumOut.h"
#include "lattix/view/IntOut.h"
#include "lattix/view/StringOut.h"
#include "lattix/view/ThreeStateOut.h"

#include "lattix/model/Enum.h"
#include "lattix/model/EnumCompare.h"
#include "lattix/model/Table.h"
#include "lattix/view/ColDef.h"
#include "lattix/view/EnumCol.h"
#include "lattix/view/IntCol.h"
#include "lattix/view/PasswordCol.h"
#include "lattix/view/PasswordOut.h"
#include "lattix/view/StringCol.h"
#include "lattix/view/TextFlags.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <random>
#include <string>

namespace {

using namespace Lattix;

// A table of one column made from a column definition, with rows holding values.
template <class T>
std::unique_ptr<CTable> OneColumnTable(const CColDef& def, std::initializer_list<T> values)
{
    auto table = std::make_unique<CTable>();
    table->AddColumn(def.CreateFactory(), def.CreateCompare());
    table->CreateRowLayout();
    for (const T& value : values)
        table->AddRow()->GetCell(0)->Set(value);
    return table;
}

// A white canvas that a renderer draws one cell on.
struct Canvas
{
    static constexpr int kWidth = 120;
    static constexpr int kHeight = 24;

    QImage image{kWidth, kHeight, QImage::Format_RGB32};
    QRect cell{0, 0, kWidth, kHeight};

    Canvas() { image.fill(Qt::white); }

    void Draw(CCellOutput& output, const CCellData& data, bool selected, QRect rect = {})
    {
        QPainter painter(&image);
        output.Begin(painter);
        output.Draw(rect.isNull() ? cell : rect, data, selected);
        output.End();
    }

    // Pixels that are no longer white.
    int InkCount() const
    {
        return CountIf([](QRgb p) { return p != qRgb(255, 255, 255); });
    }
    // Pixels close to colour (antialiased text has a few exact ones).
    int CountNear(const QColor& color) const
    {
        return CountIf([&](QRgb p) {
            return std::abs(qRed(p) - color.red()) < 40 &&
                   std::abs(qGreen(p) - color.green()) < 40 &&
                   std::abs(qBlue(p) - color.blue()) < 40;
        });
    }
    // Bounding box of the pixels for which f holds; empty when there are none.
    template <class F>
    QRect BoxOf(F f) const
    {
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (f(image.pixel(x, y)))
                    box |= QRect(x, y, 1, 1);
        return box;
    }
    QRect InkBox() const
    {
        return BoxOf([](QRgb p) { return p != qRgb(255, 255, 255); });
    }

    template <class F>
    int CountIf(F f) const
    {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += f(image.pixel(x, y)) ? 1 : 0;
        return n;
    }
};

// Renderers drawing black text (white when selected) in the default font.
class OutputTest : public ::testing::Test
{
protected:
    OutputTest()
    {
        state.SetTextColor(Qt::black);
        state.SetSelectedTextColor(Qt::white);
    }
    template <class Out = CCellOutput>
    std::unique_ptr<Out> Output(const CColDef& def)
    {
        std::unique_ptr<CCellOutput> out = def.CreateOutput();
        out->SetDrawState(&state);
        return std::unique_ptr<Out>(static_cast<Out*>(out.release()));
    }
    int Width(const std::string& text) const
    {
        return QFontMetrics(state.GetFont()).horizontalAdvance(QString::fromStdString(text));
    }

    CDrawState state;
};

using StringOutTest = OutputTest;

TEST_F(StringOutTest, SpecialTextsAndValuesPasswordsAndRedNegatives)
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

    // Password cells paint and read one dot a character until unmasked.
    auto password = Output<CPasswordOut>(CPasswordCol(TextFlags::kLeft));
    const CDString cell("p\xC3\xA4ss"); // four characters, five bytes
    const std::string dots = "\u25CF\u25CF\u25CF\u25CF";
    EXPECT_EQ(password->GetText(cell), dots);
    EXPECT_EQ(password->GetToolTip(cell, 0), dots);
    Canvas masked;
    masked.Draw(*password, cell, false);
    Canvas expected;
    expected.Draw(*Output(CStringCol(TextFlags::kLeft)), CDString(dots), false);
    EXPECT_GT(masked.InkCount(), 0);
    EXPECT_EQ(masked.image, expected.image);
    password->SetMasked(false);
    EXPECT_EQ(password->GetText(cell), "p\xC3\xA4ss");
    EXPECT_EQ(password->GetCellWidth(cell), Width("p\xC3\xA4ss"));

    // The special value is the largest number but shows as "-": the best width is that of
    // 12, not of 9,999,999; a long special text counts only where the value occurs.
    CIntCol ints(TextFlags::kRight);
    ints.GetFormat().SetSpecial(true);
    ints.GetFormat().SetSpecialValue(9999999);
    ints.GetFormat().SetSpecialText("-");
    auto intOut = Output(ints);
    auto values = OneColumnTable<int>(ints, {12, 9999999, 3});
    EXPECT_EQ(intOut->GetText(*values->GetCell(1, 0)), "-");
    EXPECT_EQ(intOut->GetMaxWidth(*values->GetColData(0), 3), std::max(Width("12"), Width("-")));

    ints.GetFormat().SetSpecialText("no reply at all");
    intOut = Output(ints);
    EXPECT_EQ(intOut->GetMaxWidth(*values->GetColData(0), 3), Width("no reply at all"));
    auto plain = OneColumnTable<int>(ints, {12, 3});
    EXPECT_EQ(intOut->GetMaxWidth(*plain->GetColData(0), 2), Width("12"));

    // Without a special value: negative numbers are red, selected or not.
    auto normal = Output<CIntOut>(CIntCol(TextFlags::kRight));
    EXPECT_EQ(normal->GetColor(CDInt(-42), true), kDefaultNegativeColor);
    EXPECT_EQ(normal->GetColor(CDInt(42), false), kNormalColor);
    EXPECT_EQ(normal->GetMinWidth(), Width("0..."));
    EXPECT_EQ(normal->GetDefaultWidth(), Width(normal->GetText(CDInt(1073741823))));
    EXPECT_EQ(normal->GetHeight(), QFontMetrics(state.GetFont()).height() + 2);
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
TEST(TextFlagsTest, LongTextsEndInAnEllipsisOrAreClippedWordsAlignAsQtAndTheLookIsConfigured)
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

    // The draw state takes configured values and ignores broken ones.
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("Lattix.ini")), QSettings::IniFormat);
    settings.setValue(CDrawState::kHorzGrid, 2);
    settings.setValue(CDrawState::kVertGrid, QStringLiteral("thick")); // no number
    settings.setValue(CDrawState::kLeparello, 0);
    settings.setValue(CDrawState::kLeparelloColor0, QStringLiteral("ff0080"));   // lower case
    settings.setValue(CDrawState::kLeparelloColor1, QStringLiteral("#00FF00"));  // malformed
    settings.setValue(CDrawState::kGridColor, QStringLiteral("0000FF      00")); // too long
    settings.setValue(CDrawState::kGridWidth, -3);                               // no width
    settings.sync();

    CDrawState state;
    state.Load(settings);
    EXPECT_EQ(state.GetHorzGrid(), 2);
    EXPECT_EQ(state.GetVertGrid(), 1);
    EXPECT_FALSE(state.GetLeparello());
    EXPECT_EQ(state.GetBackColor(0), QColor(255, 0, 128));
    EXPECT_EQ(state.GetBackColor(1), QColor(224, 255, 224));
    EXPECT_EQ(state.GetGridColor(), QColor(128, 160, 128));
    EXPECT_EQ(state.GetGridWidth(), 1);
}

// Renderers of the states 0, 1 and 2 (anything else is faulty data).
class ThreeStateOutTest : public OutputTest
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

TEST_F(ThreeStateOutTest,
       GlyphsDrawMarksForTrueAndTheThirdStateNothingForFalseAndWidthsFollowTheMode)
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

    // Widths follow the mode.
    auto labels = Make(TextFlags::kLeft, false);
    EXPECT_EQ(labels->GetDefaultWidth(), Width("maybe"));
    EXPECT_EQ(labels->GetCellWidth(CDInt(1)), Width("yes"));
    EXPECT_GE(labels->GetHeight(), QFontMetrics(state.GetFont()).height() + 2);
    auto glyphs = Make(TextFlags::kLeft, true);
    const QSize check = C3StateOut::CheckSize();
    EXPECT_EQ(glyphs->GetMinWidth(), check.width() + 4);
    EXPECT_EQ(glyphs->GetDefaultWidth(), check.width() + 4);
    EXPECT_EQ(glyphs->GetHeight(), check.height() + 2);
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

// Game types with 10 x 10 images: red, green inside an orange (masked) border, blue; and a
// text-only enumeration.
class EnumOutTest : public OutputTest
{
protected:
    static constexpr int kSize = 10;

    EnumOutTest()
    {
        QImage strip(3 * kSize, kSize, QImage::Format_RGB32);
        strip.fill(QColor(255, 128, 0));
        QPainter painter(&strip);
        painter.fillRect(0, 0, kSize, kSize, Qt::red);
        painter.fillRect(kSize + 2, 2, kSize - 4, kSize - 4, Qt::green);
        painter.fillRect(2 * kSize, 0, kSize, kSize, Qt::blue);
        painter.end();
        m_images->LoadImages(strip, kSize, 0x0080FF);
        m_images->AddEntry(20, "Far away", "", 7); // past the three images
        m_texts->AddEntry(8, "Tip", "Has a tip of its own");
    }
    std::unique_ptr<CCellOutput> Out(int mode, std::uint32_t flags = CEnumCol::kDefaultFlags,
                                     bool images = true)
    {
        return Output(CEnumCol((images ? m_images : m_texts).Get(), mode, flags));
    }
    static QRect BoxNear(const Canvas& canvas, const QColor& c)
    {
        return canvas.BoxOf([&](QRgb p) {
            return std::abs(qRed(p) - c.red()) + std::abs(qGreen(p) - c.green()) +
                       std::abs(qBlue(p) - c.blue()) <
                   60;
        });
    }
    // Text ink: grey pixels (black text on white, smoothed).
    static QRect TextBox(const Canvas& canvas)
    {
        return canvas.BoxOf([](QRgb p) {
            return p != qRgb(255, 255, 255) && qRed(p) == qGreen(p) && qGreen(p) == qBlue(p);
        });
    }

    CEnum m_images{"Objective\nStopwatch\nCheckpoint"};
    CEnum m_texts{"0 ?\n1 ?\n2 ?\n3 ?\n4 ?\nMP - Objective\nSW - Stopwatch\nCP - Checkpoint"};
};

TEST_F(EnumOutTest, TextsTooltipsClippingAndSizesInTheThreeModes)
{
    auto out = Out(CEnumOut::TextOnly, CEnumCol::kDefaultFlags, false);
    EXPECT_EQ(out->GetText(CDInt(6)), "SW - Stopwatch");
    EXPECT_EQ(out->GetText(CDInt(42)), "#Error#");
    const int width = Width("SW - Stopwatch");
    EXPECT_EQ(out->GetCellWidth(CDInt(6)), width);
    EXPECT_EQ(out->GetToolTip(CDInt(6), width), "");
    EXPECT_EQ(out->GetToolTip(CDInt(6), width - 1), "SW - Stopwatch");
    // An entry's own tip shows even when its text fits.
    EXPECT_EQ(out->GetToolTip(CDInt(8), 1000), "Has a tip of its own");

    Canvas canvas;
    const QRect narrow(0, 0, 30, Canvas::kHeight);
    canvas.Draw(*out, CDInt(7), false, narrow);
    ASSERT_TRUE(canvas.InkBox().isValid());
    EXPECT_GE(canvas.InkBox().left(), 0);
    EXPECT_LE(canvas.InkBox().right(), narrow.right());
    // Without images every mode shows text.
    auto image = Out(CEnumOut::ImageOnly, CEnumCol::kDefaultFlags, false);
    EXPECT_EQ(static_cast<CEnumOut&>(*image).GetMode(), CEnumOut::TextOnly);

    const int base = QFontMetrics(state.GetFont()).height() + 2;
    const int widest = std::max({Width("W..."), Width("Objective"), Width("Stopwatch"),
                                 Width("Checkpoint"), Width("Far away")});
    const int two = std::max(Width("Objective"), Width("Stopwatch"));
    CEnumCol def(m_images.Get(), CEnumOut::TextOnly);
    auto rows = OneColumnTable<int>(def, {0, 1, 1});
    auto empty = OneColumnTable<int>(def, {});
    // Mode, height, minimum, default, width of "Stopwatch", best width of rows and of none.
    const int cases[][7] = {
        {CEnumOut::ImageAndText, std::max(kSize, base), kSize, widest + kSize + 5,
         Width("Stopwatch") + kSize + 5, two + kSize + 5, 0},
        {CEnumOut::TextOnly, base, Width("W..."), widest, Width("Stopwatch"), two, 0},
        {CEnumOut::ImageOnly, kSize, kSize, kSize, kSize, kSize, kSize}};
    for (const auto& c : cases) {
        auto sized = Out(c[0]);
        EXPECT_EQ(sized->GetHeight(), c[1]) << c[0];
        EXPECT_EQ(sized->GetMinWidth(), c[2]) << c[0];
        EXPECT_EQ(sized->GetDefaultWidth(), c[3]) << c[0];
        EXPECT_EQ(sized->GetCellWidth(CDInt(1)), c[4]) << c[0];
        EXPECT_EQ(sized->GetMaxWidth(*rows->GetColData(0), 3), c[5]) << c[0];
        EXPECT_EQ(sized->GetMaxWidth(*empty->GetColData(0), 0), c[6]) << c[0];
    }
    // No text is drawn, so the tooltip tells it.
    EXPECT_EQ(Out(CEnumOut::ImageOnly)->GetToolTip(CDInt(1), 1000), "Stopwatch");

    // Images taller than the text make the rows taller.
    CEnum tall("a", QImage(4, 3 * base, QImage::Format_RGB32), 4);
    CEnumOut tallOut(tall.Get(), CEnumOut::ImageAndText, TextFlags::kLeft);
    tallOut.SetDrawState(&state);
    EXPECT_EQ(tallOut.GetHeight(), 3 * base);
    EXPECT_EQ(tallOut.GetImageWidth(), 4);
}

TEST_F(EnumOutTest, ImagePlacedByTheFlagsMaskedOrMissingAndTextBesideIt)
{
    const int top = (Canvas::kHeight - kSize) / 2;
    for (const auto& [flags, imageLeft] : std::vector<std::pair<std::uint32_t, int>>{
             {TextFlags::kLeft, 0},
             {TextFlags::kCentred, (Canvas::kWidth - kSize) / 2},
             {TextFlags::kRight, Canvas::kWidth - kSize}}) {
        Canvas imageOnly;
        imageOnly.Draw(*Out(CEnumOut::ImageOnly, flags), CDInt(0), false);
        EXPECT_EQ(BoxNear(imageOnly, Qt::red), QRect(imageLeft, top, kSize, kSize)) << flags;
        EXPECT_FALSE(TextBox(imageOnly).isValid()) << flags;

        Canvas both;
        both.Draw(*Out(CEnumOut::ImageAndText, flags), CDInt(0), false);
        EXPECT_EQ(BoxNear(both, Qt::red), QRect(imageLeft, top, kSize, kSize)) << flags;
        const QRect text = TextBox(both);
        ASSERT_TRUE(text.isValid()) << flags;
        if (flags == TextFlags::kLeft) {
            EXPECT_GE(text.left(), kSize + 5);
            EXPECT_LE(text.left(), kSize + 5 + 2);
        } else if (flags == TextFlags::kRight) {
            EXPECT_LE(text.right(), Canvas::kWidth - 1 - kSize - 5);
            EXPECT_GE(text.right(), Canvas::kWidth - 1 - kSize - 5 - 2);
        }
    }
    // Text only draws no image even though the enumeration has them.
    Canvas text;
    text.Draw(*Out(CEnumOut::TextOnly), CDInt(0), false);
    EXPECT_FALSE(BoxNear(text, Qt::red).isValid());
    EXPECT_LE(TextBox(text).left(), 2);

    // Masked pixels show the cell.
    Canvas masked;
    masked.Draw(*Out(CEnumOut::ImageOnly, TextFlags::kLeft), CDInt(1), false);
    EXPECT_EQ(BoxNear(masked, Qt::green), QRect(2, top + 2, kSize - 4, kSize - 4));
    EXPECT_FALSE(BoxNear(masked, QColor(255, 128, 0)).isValid());

    // An image index past the list, and the default entry's -1: no image, text in place.
    for (int value : {20, 42}) {
        Canvas none;
        none.Draw(*Out(CEnumOut::ImageOnly), CDInt(value), false);
        EXPECT_EQ(none.InkCount(), 0) << value;
        Canvas withText;
        withText.Draw(*Out(CEnumOut::ImageAndText), CDInt(value), false);
        EXPECT_GE(TextBox(withText).left(), kSize + 5) << value;
        EXPECT_EQ(withText.CountIf([](QRgb p) { return qRed(p) != qGreen(p); }), 0) << value;
    }
}

} // namespace
