#include "lattix/model/ImageList.h"

#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QString>

namespace Lattix {
namespace {

// The 0xRRGGBB part of a QRgb for a colour word (0xBBGGRR).
QRgb MaskRgb(ColorWord mask)
{
    return qRgb(static_cast<int>(mask & 0xFF), static_cast<int>((mask >> 8) & 0xFF),
                static_cast<int>((mask >> 16) & 0xFF)) &
           RGB_MASK;
}

} // namespace

CImageList::CImageList(const QImage& strip, int imageWidth, ColorWord mask)
{
    Load(strip, imageWidth, mask);
}

void CImageList::Clear() noexcept
{
    m_strip = QImage();
    m_nWidth = 0;
    m_nCount = 0;
}

bool CImageList::Load(const QImage& strip, int imageWidth, ColorWord mask)
{
    Clear();
    if (strip.isNull() || imageWidth < 1 || strip.width() < imageWidth)
        return false;

    const int count = strip.width() / imageWidth;
    QImage pixels =
        strip.copy(0, 0, count * imageWidth, strip.height()).convertToFormat(QImage::Format_ARGB32);
    if (pixels.isNull())
        return false; // out of memory
    if (mask != kNoMask) {
        const QRgb key = MaskRgb(mask);
        for (int y = 0; y < pixels.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(pixels.scanLine(y));
            for (int x = 0; x < pixels.width(); ++x) {
                if ((line[x] & RGB_MASK) == key)
                    line[x] = 0; // fully transparent
            }
        }
    }
    m_strip = pixels.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (m_strip.isNull())
        return false;
    m_nWidth = imageWidth;
    m_nCount = count;
    return true;
}

bool CImageList::Load(const QString& path, int imageWidth, ColorWord mask)
{
    return Load(QImage(path), imageWidth, mask);
}

QImage CImageList::GetImage(int index) const
{
    if (!IsValidImage(index))
        return {};
    return m_strip.copy(index * m_nWidth, 0, m_nWidth, m_strip.height())
        .convertToFormat(QImage::Format_ARGB32);
}

bool CImageList::Draw(QPainter& painter, int index, const QPoint& topLeft) const
{
    if (!IsValidImage(index))
        return false;
    painter.drawImage(topLeft, m_strip, QRect(index * m_nWidth, 0, m_nWidth, m_strip.height()));
    return true;
}

bool CImageList::Draw(QPainter& painter, int index, const QPoint& topLeft, const QRect& clip) const
{
    if (!IsValidImage(index))
        return false;
    const QRect target = QRect(topLeft, QSize(m_nWidth, m_strip.height())) & clip;
    if (!target.isEmpty())
        painter.drawImage(target.topLeft(), m_strip,
                          target.translated(index * m_nWidth - topLeft.x(), -topLeft.y()));
    return true;
}

} // namespace Lattix
