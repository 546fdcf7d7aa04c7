#pragma once

#include "panlo/DialogUnits.h"

#include <QRect>

#include <algorithm>

class QFont;
class QString;
class QWidget;

// Builds a dialog's controls from its template: one entry a control, placed by its
// rectangle in dialog units and carrying its control id, so that the dialog's code and the
// resizer can find it by id.
class CDialogBuilder
{
public:
    enum class Kind
    {
        Placeholder, // an empty widget whose place a grid or a splitter takes
        Frame,       // an invisible frame that only marks an area
        Static,
        Link, // a static text that opens its target (set by the dialog)
        Group,
        Check,
        Button,
        DefaultButton,
        Edit,
        ComboList,   // a list to pick from, no typing
        ComboEdit,   // a list with a field to type in
        ComboSimple, // a field whose list is shown always, below it (see List)
        List,        // the always-shown list of a simple combo box
        Progress,
        TabBar,
    };

    struct Control
    {
        int id; // -1 for controls that code never names
        Kind kind;
        const char* text; // marked QT_TRANSLATE_NOOP("Dialog", ...): shown translated
        QRect units;      // x, y, width, height in dialog units
    };

    // Units for the dialog's font, widened where a template text would not fit its
    // control: a template drawn for a narrow font keeps its proportions, and every text is
    // shown whole with a wider one (by at most half again).
    template <typename Range>
    static CDialogUnits FittedUnits(const QFont& font, const Range& controls)
    {
        const CDialogUnits units(font);
        double ratio = 1.0;
        for (const Control& control : controls)
            ratio = std::max(ratio, WidthNeeded(font, control) /
                                        std::max(1, units.X(control.units.width())));
        ratio = std::min(ratio, 1.5);
        return CDialogUnits(static_cast<int>(units.BaseWidth() * ratio + 0.999),
                            units.BaseHeight());
    }

    CDialogBuilder(QWidget& dialog, const CDialogUnits& units) : m_dialog(dialog), m_units(units) {}

    // Creates the control as a child of the dialog; the dialog owns it.
    QWidget* Add(const Control& control);
    template <typename Range>
    void AddAll(const Range& controls)
    {
        for (const Control& control : controls)
            Add(control);
    }

    QRect Pixels(const QRect& units) const { return m_units.ToPixels(units); }

private:
    // The control's text in the user's language.
    static QString Text(const Control& control);
    // Pixels the control's text needs, with the room its kind draws around the text.
    static double WidthNeeded(const QFont& font, const Control& control);

    QWidget& m_dialog;
    CDialogUnits m_units;
};
