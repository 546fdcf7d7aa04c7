#include "lattix/view/TextFlags.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

using namespace Lattix;

TEST(TextFlagsTest, ColumnWordsMapToQtAlignment)
{
    EXPECT_EQ(TextFlags::ToAlignment(TextFlags::kLeft), Qt::AlignLeft | Qt::AlignVCenter);
    EXPECT_EQ(TextFlags::ToAlignment(TextFlags::kCentred), Qt::AlignHCenter | Qt::AlignVCenter);
    EXPECT_EQ(TextFlags::ToAlignment(TextFlags::kRight), Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(TextFlags::ToAlignment(TextFlags::SingleLine | TextFlags::Bottom),
              Qt::AlignLeft | Qt::AlignBottom);
}

// Columns where something was drawn.
std::pair<int, int> InkSpan(const QImage& image)
{
    int first = -1;
    int last = -1;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
    return {first, last};
}

QImage Drawn(const QString& text, const QRect& rect, std::uint32_t flags)
{
    QImage image(200, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    TextFlags::DrawText(painter, rect, text, flags);
    return image;
}

TEST(TextFlagsTest, TooLongTextEndsInAnEllipsisWithinItsRectangle)
{
    const QString text = QStringLiteral("Return to Castle Wolfenstein Server");
    const QRect rect(10, 0, 60, 20);

    const auto [first, last] = InkSpan(Drawn(text, rect, TextFlags::kLeft));
    EXPECT_GE(first, rect.left());
    EXPECT_LE(last, rect.right());

    // Without the ellipsis and without clipping the text runs on.
    const auto spill = InkSpan(Drawn(text, rect, TextFlags::kLeft & ~TextFlags::EndEllipsis));
    EXPECT_GT(spill.second, rect.right());
    // Clipped, it stops at the edge.
    const auto clipped = InkSpan(
        Drawn(text, rect, TextFlags::kLeft & ~(TextFlags::EndEllipsis | TextFlags::NoClip)));
    EXPECT_LE(clipped.second, rect.right());
    EXPECT_GT(clipped.second, rect.right() - 6);
}

} // namespace
