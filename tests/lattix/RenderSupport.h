#pragma once

#include "lattix/model/Table.h"
#include "lattix/view/ColDef.h"
#include "lattix/view/DrawState.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRect>

#include <gtest/gtest.h>

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
    int LeftInk() const { return InkBox().isValid() ? InkBox().left() : -1; }
    int RightInk() const { return InkBox().isValid() ? InkBox().right() : -1; }
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
    template <class Out = Lattix::CCellOutput>
    std::unique_ptr<Out> Output(const Lattix::CColDef& def)
    {
        std::unique_ptr<Lattix::CCellOutput> out = def.CreateOutput();
        out->SetDrawState(&state);
        return std::unique_ptr<Out>(static_cast<Out*>(out.release()));
    }
    int Width(const std::string& text) const
    {
        return QFontMetrics(state.GetFont()).horizontalAdvance(QString::fromStdString(text));
    }

    Lattix::CDrawState state;
};

} // namespace LattixTest
