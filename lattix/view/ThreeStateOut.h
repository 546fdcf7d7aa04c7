#pragma once

#include "lattix/view/CellOutput.h"

#include <QSize>

#include <array>
#include <string>

namespace Lattix {

// Renders boolean and three-state cells (state = the cell's GetInt: 0, 1, 2) as one of
// three labels, as a check mark, or as a check box.
class C3StateOut : public CCellOutputCString
{
public:
    enum Mode
    {
        Labels = 0,
        Glyphs = 1, // a check mark for 1, a grey one for 2, nothing for 0
        CheckBoxes = 2,
    };

    // labels: the texts of states 0, 1 and 2. Mode Glyphs when glyphs, else Labels.
    C3StateOut(std::uint32_t flags, const std::array<std::string, 3>& labels, bool glyphs);

    int GetMode() const { return m_nMode; }
    const std::array<std::string, 3>& GetLabels() const { return m_strLabels; }

    // Editable columns show check boxes; read-only again, check marks.
    void SetEditable(bool editable) override;
    void Draw(const QRect& rect, const CCellData& cell, bool selected) override;
    int GetHeight() override;
    int GetMinWidth() override;
    int GetDefaultWidth() override;
    int GetCellWidth(const CCellData& cell) override;
    // The state's label; a state outside 0..2 reads "#Error#".
    std::string GetText(const CCellData& cell) override;
    // With marks or boxes the label whatever the width ("#Error#" for states from 3 on).
    std::string GetToolTip(const CCellData& cell, int availableWidth) override;
    int GetMaxWidth(const CColData& column, int rowCount) override;

    // The size of a check mark or box: the style's indicator size.
    static QSize CheckSize();

    // State 2 check marks: unselected and selected colour words.
    static constexpr ColorWord kGreyedMark = 0xB48246;
    static constexpr ColorWord kGreyedMarkSelected = 0xF5F5F5;

private:
    int WidestLabel() const;
    void DrawMark(const QRect& rect, int state, bool selected);
    void DrawBox(const QRect& rect, int state);

    int m_nMode;
    std::array<std::string, 3> m_strLabels;
};

} // namespace Lattix
