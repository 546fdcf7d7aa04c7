#pragma once

#include "format/Format.h"

#include <QImage>

class QPainter;
class QPoint;
class QRect;
class QString;

namespace Lattix {

// The small images that an enumeration shows beside its texts: equally sized images cut
// from one horizontal strip, image i being the i-th piece of the strip's width from the
// left. A list holds its pixels as a value (QImage storage, so it needs no running GUI to
// exist or be filled) and copies cheaply. An empty list has no images: renderers then
// draw text only.
class CImageList
{
public:
    // The mask colour that stands for "no mask": the strip is drawn as it is, with the
    // transparency of its own alpha channel if it has one.
    static constexpr ColorWord kNoMask = 0x7FFFFFFF;

    CImageList() = default;
    // Cuts strip as Load does.
    CImageList(const QImage& strip, int imageWidth, ColorWord mask = kNoMask);

    // Replaces the images by those of strip: strip width / imageWidth images (a rest
    // narrower than an image is left out), each as high as the strip. Unless mask is
    // kNoMask, every pixel of that colour word (red in the lowest byte; the highest byte
    // is not part of the colour) becomes transparent. A null strip, an image width below 1
    // or a strip narrower than one image leave the list empty. True when the list has
    // images afterwards. Sizes count in the strip's own pixels divided by its device pixel
    // ratio: a strip of ratio 2 (drawn for double-density screens) gives images of half its
    // pixel size, drawn from the strip itself on double-density screens and from a
    // smoothly halved copy elsewhere.
    bool Load(const QImage& strip, int imageWidth, ColorWord mask = kNoMask);
    // Replaces the images by those of the image file or resource (":/...") at path; a file
    // that cannot be read leaves the list empty. A file of the same name with "@2x" before
    // its extension ("types@2x.png") gives the images for double-density screens.
    bool Load(const QString& path, int imageWidth, ColorWord mask = kNoMask);
    bool HasDoubleDensity() const noexcept { return !m_strip2x.isNull(); }
    void Clear() noexcept;

    bool IsEmpty() const noexcept { return m_nCount == 0; }
    int GetImageCount() const noexcept { return m_nCount; }
    // Size of every image; 0 for an empty list.
    int GetImageWidth() const noexcept { return m_nCount > 0 ? m_nWidth : 0; }
    int GetImageHeight() const noexcept { return m_nCount > 0 ? m_strip.height() : 0; }
    bool IsValidImage(int index) const noexcept { return index >= 0 && index < m_nCount; }

    // A copy of one image (ARGB, transparent where masked); a null image for an index
    // outside the list.
    QImage GetImage(int index) const;
    // Draws image index with its top left corner at topLeft, blending its transparent
    // pixels with what is under them; on a painter of double or higher density its
    // double-density image when there is one. An index outside the list draws nothing and
    // answers false.
    bool Draw(QPainter& painter, int index, const QPoint& topLeft) const;
    // The same, drawing only the part of the image inside clip.
    bool Draw(QPainter& painter, int index, const QPoint& topLeft, const QRect& clip) const;

private:
    // Adds the double-density images from a strip of twice the images' size, cut and
    // masked alike; a strip of another size adds none.
    void AddDoubleDensity(const QImage& strip, ColorWord mask);
    const QImage& StripFor(const QPainter& painter) const;

    QImage m_strip;   // premultiplied ARGB, m_nCount * m_nWidth pixels wide
    QImage m_strip2x; // the same at double density (device pixel ratio 2), or null
    int m_nWidth = 0;
    int m_nCount = 0;
};

} // namespace Lattix
