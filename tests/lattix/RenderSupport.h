#pragma once

#include "lattix/model/Table.h"
#include "lattix/view/ColDef.h"
#include "lattix/view/DrawState.h"

#include <QImage>
#include <QPainter>
#include <QRect>

#include <initializer_list>
#include <memory>
#include <string>

namespace LattixTest {

// A table of one column made from a column definition, with rows holding values.
template <class T>
std::unique_ptr<Lattix::CTable> OneColumnTable(const Lattix::CColDef& def,
                                               std::initializer_list<T> values)
{
    auto table = std::make_unique<Lattix::CTable>();
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

    void Draw(Lattix::CCellOutput& output, const Lattix::CCellData& data, bool selected,
              QRect rect = {})
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
    // Leftmost and rightmost columns with ink; -1 when blank.
    int LeftInk() const;
    int RightInk() const;

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

inline int Canvas::LeftInk() const
{
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                return x;
    return -1;
}

inline int Canvas::RightInk() const
{
    for (int x = image.width() - 1; x >= 0; --x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                return x;
    return -1;
}

} // namespace LattixTest
