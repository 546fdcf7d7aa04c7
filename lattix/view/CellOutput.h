#pragma once

#include "format/Format.h"

#include <QFontMetrics>

#include <cstdint>
#include <string>

class QPainter;
class QRect;
class QString;

namespace Lattix {

class CCellData;
class CColData;
class CDrawState;

// The renderer of one column: draws its cells, measures them and gives their texts and
// tooltips. A column definition creates it (CColDef::CreateOutput) and the control's
// column record owns it. A renderer is no widget: the control hands it a painter between
// Begin and End.
//
// Texts are UTF-8. Colours are colour words; kNormalColor stands for the control's text
// colour (or selected text colour). Measuring uses the font of the shared drawing state
// and works with or without Begin.
class CCellOutput
{
public:
    virtual ~CCellOutput();

    CCellOutput(const CCellOutput&) = delete;
    CCellOutput& operator=(const CCellOutput&) = delete;

    // The control's shared look (colours, font), not owned. Until it is set, the
    // renderer uses the system's defaults.
    void SetDrawState(const CDrawState* state) { m_pDrawState = state; }
    const CDrawState& GetDrawState() const;

    // The text format word of the column (TextFlags); also the column's default title
    // alignment.
    std::uint32_t GetFlags() const { return m_nFlags; }

    // The control tells when the column's editable flag changes.
    virtual void SetEditable(bool editable);
    // Saves the painter's state, selects the font and draws with a transparent
    // background; End restores the state. Each Begin is paired with an End.
    virtual void Begin(QPainter& painter);
    virtual void End();
    // Draws the cell into rect (between Begin and End).
    virtual void Draw(const QRect& rect, const CCellData& cell, bool selected) = 0;
    // Height of a cell in pixels: the font's height + 2.
    virtual int GetHeight();
    // Narrowest useful width: that of "W...".
    virtual int GetMinWidth();
    // Width of a new column: 80.
    virtual int GetDefaultWidth();
    // Width that the cell's content needs.
    virtual int GetCellWidth(const CCellData& cell) = 0;
    // The text that the cell shows (also for type-ahead, clipboard and export).
    virtual std::string GetText(const CCellData& cell) = 0;
    // The cell's text when it needs more than availableWidth, else empty.
    virtual std::string GetToolTip(const CCellData& cell, int availableWidth);
    // The largest GetCellWidth over the rows 0..rowCount-1 of column; 0 without rows.
    virtual int GetMaxWidth(const CColData& column, int rowCount);
    // The colour to draw the cell's text in: the selected text colour or the text colour.
    virtual ColorWord GetColor(const CCellData& cell, bool selected);

protected:
    explicit CCellOutput(std::uint32_t flags) : m_nFlags(flags) {}

    // Null outside Begin and End.
    QPainter* GetPainter() const { return m_pPainter; }
    QFontMetrics GetMetrics() const;
    int TextWidth(const QString& text) const;
    int TextWidth(const std::string& text) const;
    // Draws text into rect with flags in the resolved colour.
    void DrawTextIn(const QRect& rect, const QString& text, ColorWord color, bool selected,
                    std::uint32_t flags) const;

    std::uint32_t m_nFlags;

private:
    const CDrawState* m_pDrawState = nullptr;
    QPainter* m_pPainter = nullptr;
};

// A renderer whose text is a string: draws GetText in GetColor (the default colours for
// kNormalColor) and measures it.
class CCellOutputCString : public CCellOutput
{
public:
    void Draw(const QRect& rect, const CCellData& cell, bool selected) override;
    int GetCellWidth(const CCellData& cell) override;

protected:
    using CCellOutput::CCellOutput;
};

// A renderer whose text is a character buffer of its own: GetCharPtr returns a text that
// stays valid until the renderer's next call, so drawing builds no string object.
class CCellOutputCharPtr : public CCellOutput
{
public:
    void Draw(const QRect& rect, const CCellData& cell, bool selected) override;
    int GetCellWidth(const CCellData& cell) override;
    std::string GetText(const CCellData& cell) override;
    virtual const char* GetCharPtr(const CCellData& cell) = 0;

protected:
    using CCellOutput::CCellOutput;
};

} // namespace Lattix
