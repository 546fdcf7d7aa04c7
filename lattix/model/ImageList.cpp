#include "lattix/model/ImageList.h"

#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QString>

#include <cmath>

namespace Lattix {
namespace {

// The 0xRRGGBB part of a QRgb for a colour word (0xBBGGRR).
QRgb MaskRgb(ColorWord mask)
{
    return qRgb(static_cast<int>(mask & 0xFF), static_cast<int>((mask >> 8) & 0xFF),
                static_cast<int>((mask >> 16) & 0xFF)) &
           RGB_MASK;
}

// The part of strip that holds whole images, with pixels of mask transparent; null when
// memory runs out.
QImage Masked(const QImage& strip, int width, ColorWord mask)
{
    QImage pixels = strip.copy(0, 0, width, strip.height()).convertToFormat(QImage::Format_ARGB32);
    if (pixels.isNull())
        return {};
    if (mask != CImageList::kNoMask) {
        const QRgb key = MaskRgb(mask);
        for (int y = 0; y < pixels.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(pixels.scanLine(y));
            for (int x = 0; x < pixels.width(); ++x) {
                if ((line[x] & RGB_MASK) == key)
                    line[x] = 0; // fully transparent
            }
        }
    }
    return pixels.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

CImageList::CImageList(const QImage& strip, int imageWidth, ColorWord mask)
{
    Load(strip, imageWidth, mask);
}

void CImageList::Clear() noexcept
{
    m_strip = QImage();
    m_strip2x = QImage();
    m_nWidth = 0;
    m_nCount = 0;
}

bool CImageList::Load(const QImage& strip, int imageWidth, ColorWord mask)
{
    Clear();
    if (strip.isNull() || imageWidth < 1)
        return false;
    const qreal ratio = strip.devicePixelRatio();
    if (ratio > 1.0) {
        // Masked at its own density first, so that no mask colour mixes into the halved copy.
        const int height = static_cast<int>(std::lround(strip.height() / ratio));
        const int count = static_cast<int>(strip.width() / ratio) / imageWidth;
        if (count < 1 || height < 1)
            return false;
        QImage dense =
            Masked(strip, static_cast<int>(std::lround(count * imageWidth * ratio)), mask);
        if (dense.isNull())
            return false;
        const QSize size(count * imageWidth, height);
        m_strip = dense.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        m_strip2x = ratio == 2.0
                        ? dense
                        : dense.scaled(size * 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        m_strip.setDevicePixelRatio(1);
        m_strip2x.setDevicePixelRatio(2);
        m_nWidth = imageWidth;
        m_nCount = count;
        return !m_strip.isNull();
    }
    if (strip.width() < imageWidth)
        return false;
    const int count = strip.width() / imageWidth;
    m_strip = Masked(strip, count * imageWidth, mask);
    if (m_strip.isNull())
        return false;
    m_strip.setDevicePixelRatio(1);
    m_nWidth = imageWidth;
    m_nCount = count;
    return true;
}

bool CImageList::Load(const QString& path, int imageWidth, ColorWord mask)
{
    if (!Load(QImage(path), imageWidth, mask))
        return false;
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    QString doubled = path;
    doubled.insert(dot > slash ? dot : path.size(), QLatin1String("@2x"));
    AddDoubleDensity(QImage(doubled), mask);
    return true;
}

void CImageList::AddDoubleDensity(const QImage& strip, ColorWord mask)
{
    if (strip.isNull() || strip.width() < 2 * m_strip.width() ||
        strip.height() != 2 * m_strip.height())
        return;
    m_strip2x = Masked(strip, 2 * m_strip.width(), mask);
    m_strip2x.setDevicePixelRatio(2);
}

const QImage& CImageList::StripFor(const QPainter& painter) const
{
    const QPaintDevice* device = painter.device();
    const bool dense = device && device->devicePixelRatioF() > 1.0;
    return dense && !m_strip2x.isNull() ? m_strip2x : m_strip;
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
    return Draw(painter, index, topLeft, QRect(topLeft, QSize(m_nWidth, m_strip.height())));
}

bool CImageList::Draw(QPainter& painter, int index, const QPoint& topLeft, const QRect& clip) const
{
    if (!IsValidImage(index))
        return false;
    const QRect target = QRect(topLeft, QSize(m_nWidth, m_strip.height())) & clip;
    if (target.isEmpty())
        return true;
    const QImage& strip = StripFor(painter);
    const qreal ratio = strip.devicePixelRatio();
    const QRect source = target.translated(index * m_nWidth - topLeft.x(), -topLeft.y());
    painter.drawImage(QRectF(target), strip,
                      QRectF(source.x() * ratio, source.y() * ratio, source.width() * ratio,
                             source.height() * ratio));
    return true;
}

} // namespace Lattix
