#include "lattix/view/EnumOut.h"

#include "lattix/model/Enum.h"
#include "lattix/model/EnumCompare.h"
#include "lattix/view/EnumCol.h"
#include "lattix/view/TextFlags.h"
#include "tests/lattix/RenderSupport.h"

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
    }
    EXPECT_NE(dynamic_cast<CEnumCompare*>(compare.get()), nullptr);
    out.reset();
    compare.reset();
    EXPECT_EQ(m_enum->GetRefCount(), before);
}

// Game types with 10 x 10 images: red, green inside an orange (masked) border, blue.
class EnumOutImageTest : public EnumOutTest
{
protected:
    static constexpr int kSize = 10;

    EnumOutImageTest()
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
        m_state.SetTextColor(Qt::black);
    }
    std::unique_ptr<CCellOutput> Output(int mode, std::uint32_t flags = CEnumCol::kDefaultFlags)
    {
        auto out = CEnumCol(m_images.Get(), mode, flags).CreateOutput();
        out->SetDrawState(&m_state);
        return out;
    }
    // Bounding box of the pixels near colour; empty when there are none.
    static QRect BoxOf(const Canvas& canvas, const QColor& colour)
    {
        QRect box;
        for (int y = 0; y < canvas.image.height(); ++y)
            for (int x = 0; x < canvas.image.width(); ++x) {
                const QColor p = canvas.image.pixelColor(x, y);
                if (std::abs(p.red() - colour.red()) + std::abs(p.green() - colour.green()) +
                        std::abs(p.blue() - colour.blue()) <
                    60)
                    box |= QRect(x, y, 1, 1);
            }
        return box;
    }
    // Text ink: grey pixels (black text on white, smoothed).
    static QRect TextBox(const Canvas& canvas)
    {
        QRect box;
        for (int y = 0; y < canvas.image.height(); ++y)
            for (int x = 0; x < canvas.image.width(); ++x) {
                const QColor p = canvas.image.pixelColor(x, y);
                if (p != QColor(Qt::white) && p.red() == p.green() && p.green() == p.blue())
                    box |= QRect(x, y, 1, 1);
            }
        return box;
    }

    CEnum m_images{"Objective\nStopwatch\nCheckpoint"};
};

TEST_F(EnumOutImageTest, SizesInTheThreeModes)
{
    const int base = QFontMetrics(m_state.GetFont()).height() + 2;
    const int widest = std::max({Width("W..."), Width("Objective"), Width("Stopwatch"),
                                 Width("Checkpoint"), Width("Far away")});
    CEnumCol def(m_images.Get(), CEnumOut::TextOnly);
    auto rows = OneColumnTable<int>(def, {0, 1, 1});
    const CColData& column = *rows->GetColData(0);
    auto empty = OneColumnTable<int>(def, {});

    auto both = Output(CEnumOut::ImageAndText);
    EXPECT_EQ(both->GetHeight(), std::max(kSize, base));
    EXPECT_EQ(both->GetMinWidth(), kSize);
    EXPECT_EQ(both->GetDefaultWidth(), widest + kSize + 5);
    EXPECT_EQ(both->GetCellWidth(CDInt(1)), Width("Stopwatch") + kSize + 5);
    EXPECT_EQ(both->GetMaxWidth(column, 3),
              std::max(Width("Objective"), Width("Stopwatch")) + kSize + 5);
    EXPECT_EQ(both->GetMaxWidth(*empty->GetColData(0), 0), 0);

    auto text = Output(CEnumOut::TextOnly);
    EXPECT_EQ(text->GetHeight(), base);
    EXPECT_EQ(text->GetMinWidth(), Width("W..."));
    EXPECT_EQ(text->GetDefaultWidth(), widest);
    EXPECT_EQ(text->GetCellWidth(CDInt(1)), Width("Stopwatch"));
    EXPECT_EQ(text->GetMaxWidth(column, 3), std::max(Width("Objective"), Width("Stopwatch")));

    auto image = Output(CEnumOut::ImageOnly);
    EXPECT_EQ(image->GetHeight(), kSize);
    for (int width : {image->GetMinWidth(), image->GetDefaultWidth(), image->GetCellWidth(CDInt(1)),
                      image->GetMaxWidth(column, 3), image->GetMaxWidth(*empty->GetColData(0), 0)})
        EXPECT_EQ(width, kSize);
    // No text is drawn, so the tooltip tells it.
    EXPECT_EQ(image->GetToolTip(CDInt(1), 1000), "Stopwatch");

    // Images taller than the text make the rows taller.
    CEnum tall("a", QImage(4, 3 * base, QImage::Format_RGB32), 4);
    CEnumOut tallOut(tall.Get(), CEnumOut::ImageAndText, TextFlags::kLeft);
    tallOut.SetDrawState(&m_state);
    EXPECT_EQ(tallOut.GetHeight(), 3 * base);
    EXPECT_EQ(tallOut.GetImageWidth(), 4);
}

TEST_F(EnumOutImageTest, ImagePlacedByTheFlagsAndTextBesideIt)
{
    const int top = (Canvas::kHeight - kSize) / 2;
    struct Case
    {
        std::uint32_t flags;
        int imageLeft;
    };
    for (const Case& c :
         {Case{TextFlags::kLeft, 0}, Case{TextFlags::kCentred, (Canvas::kWidth - kSize) / 2},
          Case{TextFlags::kRight, Canvas::kWidth - kSize}}) {
        Canvas imageOnly;
        imageOnly.Draw(*Output(CEnumOut::ImageOnly, c.flags), CDInt(0), false);
        EXPECT_EQ(BoxOf(imageOnly, Qt::red), QRect(c.imageLeft, top, kSize, kSize)) << c.flags;
        EXPECT_FALSE(TextBox(imageOnly).isValid()) << c.flags;

        Canvas both;
        both.Draw(*Output(CEnumOut::ImageAndText, c.flags), CDInt(0), false);
        EXPECT_EQ(BoxOf(both, Qt::red), QRect(c.imageLeft, top, kSize, kSize)) << c.flags;
        const QRect text = TextBox(both);
        ASSERT_TRUE(text.isValid()) << c.flags;
        if (c.flags == TextFlags::kLeft) {
            EXPECT_GE(text.left(), kSize + 5);
            EXPECT_LE(text.left(), kSize + 5 + 2);
        } else if (c.flags == TextFlags::kRight) {
            EXPECT_LE(text.right(), Canvas::kWidth - 1 - kSize - 5);
            EXPECT_GE(text.right(), Canvas::kWidth - 1 - kSize - 5 - 2);
        }
    }

    // Text only draws no image even though the enumeration has them.
    Canvas text;
    text.Draw(*Output(CEnumOut::TextOnly), CDInt(0), false);
    EXPECT_FALSE(BoxOf(text, Qt::red).isValid());
    EXPECT_LE(TextBox(text).left(), 2);
}

TEST_F(EnumOutImageTest, MaskedPixelsShowTheCellAndMissingImagesDrawNothing)
{
    Canvas masked;
    masked.Draw(*Output(CEnumOut::ImageOnly, TextFlags::kLeft), CDInt(1), false);
    const int top = (Canvas::kHeight - kSize) / 2;
    EXPECT_EQ(BoxOf(masked, Qt::green), QRect(2, top + 2, kSize - 4, kSize - 4));
    EXPECT_FALSE(BoxOf(masked, QColor(255, 128, 0)).isValid());

    // An image index past the list, and the default entry's -1: no image, text in place.
    for (int value : {20, 42}) {
        Canvas none;
        none.Draw(*Output(CEnumOut::ImageOnly), CDInt(value), false);
        EXPECT_EQ(none.InkCount(), 0) << value;
        Canvas withText;
        withText.Draw(*Output(CEnumOut::ImageAndText), CDInt(value), false);
        EXPECT_GE(TextBox(withText).left(), kSize + 5) << value;
        EXPECT_EQ(withText.CountIf([](QRgb p) { return qRed(p) != qGreen(p); }), 0) << value;
    }
}

} // namespace
