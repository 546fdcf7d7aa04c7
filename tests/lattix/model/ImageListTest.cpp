#include "lattix/model/ImageList.h"

#include "lattix/model/Enum.h"

#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace Lattix;

constexpr ColorWord kOrangeWord = 0x0080FF; // red in the lowest byte
const QColor kOrange(255, 128, 0);

// count images of w x h, image i filled with colours[i], then a rest column of grey.
QImage Strip(int w, int h, std::initializer_list<QColor> colours)
{
    QImage strip(w * static_cast<int>(colours.size()) + 1, h, QImage::Format_RGB32);
    strip.fill(Qt::gray);
    QPainter painter(&strip);
    int x = 0;
    for (const QColor& c : colours) {
        painter.fillRect(x, 0, w, h, c);
        x += w;
    }
    return strip;
}

TEST(ImageListTest, CutsStripsDrawsDoubleDensityOnesSharpAndEnumerationsLoadThemByNumberPathOrFile)
{
    CImageList list(Strip(5, 3, {Qt::red, Qt::green, Qt::blue}), 5);
    ASSERT_EQ(list.GetImageCount(), 3);
    EXPECT_EQ(list.GetImageHeight(), 3);
    const QColor expected[] = {Qt::red, Qt::green, Qt::blue};
    for (int i = 0; i < 3; ++i) {
        const QImage image = list.GetImage(i);
        ASSERT_EQ(image.size(), QSize(5, 3));
        EXPECT_EQ(image.pixelColor(0, 0), expected[i]) << i;
        EXPECT_EQ(image.pixelColor(4, 2), expected[i]) << i;
    }
    EXPECT_TRUE(list.GetImage(3).isNull());
    EXPECT_TRUE(list.GetImage(-1).isNull());

    // Strips without a whole image leave the list empty.
    EXPECT_FALSE(list.Load(QImage(), 4));
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetImageWidth(), 0);
    EXPECT_EQ(list.GetImageHeight(), 0);
    for (int width : {0, -4, 6}) {
        ASSERT_TRUE(list.Load(Strip(4, 4, {Qt::red}), 4));
        EXPECT_FALSE(list.Load(Strip(4, 4, {Qt::red}), width)) << width;
        EXPECT_TRUE(list.IsEmpty()) << width;
    }

    // A strip drawn for double-density screens (device pixel ratio 2) of red and blue stripes:
    // its own pixels show on a double-density canvas, a smoothly halved image elsewhere.
    QImage strip(16, 8, QImage::Format_RGB32);
    for (int x = 0; x < 16; ++x)
        for (int y = 0; y < 8; ++y)
            strip.setPixelColor(x, y, x % 2 ? Qt::blue : Qt::red);
    strip.setPixelColor(8, 0, kOrange);
    strip.setDevicePixelRatio(2);
    const CImageList sharp(strip, 4, kOrangeWord);
    ASSERT_EQ(sharp.GetImageCount(), 2);
    ASSERT_EQ(sharp.GetImageWidth(), 4);
    QImage dense(20, 20, QImage::Format_RGB32);
    dense.setDevicePixelRatio(2);
    dense.fill(Qt::white);
    QImage plain(10, 10, QImage::Format_RGB32);
    plain.fill(Qt::white);
    for (QImage* canvas : {&dense, &plain}) {
        QPainter painter(canvas);
        sharp.Draw(painter, 1, QPoint(2, 2));
    }
    EXPECT_EQ(dense.pixelColor(4, 4), QColor(Qt::white)); // masked
    EXPECT_EQ(dense.pixelColor(5, 4), QColor(Qt::blue));
    EXPECT_EQ(dense.pixelColor(6, 5), QColor(Qt::red));
    EXPECT_GT(std::min(plain.pixelColor(3, 3).red(), plain.pixelColor(3, 3).blue()), 60);

    // The test resource ":/bitmap/130": three 4 x 2 images (red, green with an orange top left
    // corner, blue) and a rest column; enumerations load it by number and path, and files.
    CEnum byNumber("a\nb\nc", 130, 4, kOrangeWord);
    const CImageList& images = byNumber->GetImageList();
    ASSERT_EQ(images.GetImageCount(), 3);
    EXPECT_EQ(images.GetImageHeight(), 2);
    EXPECT_EQ(images.GetImage(1).pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(images.GetImage(2).pixelColor(3, 1), QColor(Qt::blue));

    EXPECT_TRUE(CEnum("a", 0)->GetImageList().IsEmpty());
    EXPECT_TRUE(CEnum("a", 131)->GetImageList().IsEmpty()); // no such resource

    CEnum byPath("a");
    EXPECT_TRUE(byPath->LoadImages(QStringLiteral(":/bitmap/130"), 2));
    EXPECT_EQ(byPath->GetImageList().GetImageCount(), 6);

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = QDir(dir.path()).filePath("types.png");
    ASSERT_TRUE(Strip(8, 8, {Qt::red, Qt::green}).save(file));
    EXPECT_TRUE(byPath->LoadImages(file, 8));
    EXPECT_EQ(byPath->GetImageList().GetImageCount(), 2);
    EXPECT_EQ(byPath->GetImageList().GetImage(1).pixelColor(7, 7), QColor(Qt::green));

    // A failed load leaves no earlier images.
    CEnum types("MP\nSW\nCP", Strip(6, 6, {Qt::red, Qt::green, Qt::blue}), 6);
    ASSERT_EQ(types->GetImageList().GetImageCount(), 3);
    EXPECT_FALSE(types->LoadImages(QStringLiteral(":/no/such/strip"), 3));
    EXPECT_TRUE(types->GetImageList().IsEmpty());
    EXPECT_TRUE(types->LoadImages(Strip(3, 9, {Qt::blue}), 3));
    EXPECT_FALSE(types->LoadImages(0u, 3, CImageList::kNoMask));
    EXPECT_TRUE(types->GetImageList().IsEmpty());
}

} // namespace
