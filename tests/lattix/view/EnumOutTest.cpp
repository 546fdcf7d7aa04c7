#include "lattix/view/EnumOut.h"

#include "lattix/model/Enum.h"
#include "lattix/model/EnumCompare.h"
#include "lattix/view/EnumCol.h"
#include "lattix/view/TextFlags.h"
#include "tests/lattix/RenderSupport.h"

namespace {

using namespace Lattix;
using LattixTest::Canvas;
using LattixTest::OneColumnTable;

// Game types with 10 x 10 images: red, green inside an orange (masked) border, blue; and a
// text-only enumeration.
class EnumOutTest : public LattixTest::OutputTest
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

TEST_F(EnumOutTest, TextsTooltipsAndClipping)
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
    EXPECT_GE(canvas.LeftInk(), 0);
    EXPECT_LE(canvas.RightInk(), narrow.right());
    // Without images every mode shows text.
    auto image = Out(CEnumOut::ImageOnly, CEnumCol::kDefaultFlags, false);
    EXPECT_EQ(static_cast<CEnumOut&>(*image).GetMode(), CEnumOut::TextOnly);
}

TEST_F(EnumOutTest, SizesInTheThreeModes)
{
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
        auto out = Out(c[0]);
        EXPECT_EQ(out->GetHeight(), c[1]) << c[0];
        EXPECT_EQ(out->GetMinWidth(), c[2]) << c[0];
        EXPECT_EQ(out->GetDefaultWidth(), c[3]) << c[0];
        EXPECT_EQ(out->GetCellWidth(CDInt(1)), c[4]) << c[0];
        EXPECT_EQ(out->GetMaxWidth(*rows->GetColData(0), 3), c[5]) << c[0];
        EXPECT_EQ(out->GetMaxWidth(*empty->GetColData(0), 0), c[6]) << c[0];
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
