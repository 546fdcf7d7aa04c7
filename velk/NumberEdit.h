#pragma once

#include "format/NumberFormat.h"
#include "velk/SpinEdit.h"

// A spin edit that holds a number within a range and shows it through a number format that
// colours negative numbers (red text while enabled, a darker red while read-only).
//
// While the edit has the focus it shows the number without group separators, so that it is
// easy to type; when the focus leaves, the typed text is read, corrected into the range and
// shown fully formatted again. Each spin step adds its delta to the value.
class CNumberEdit : public CSpinEdit
{
    Q_OBJECT

public:
    static constexpr double kDefaultMinimum = -1000000000.0;
    static constexpr double kDefaultMaximum = 1000000000.0;

    explicit CNumberEdit(int id, QWidget* parent = nullptr);

    void SetRange(double minimum, double maximum);
    double GetMinimum() const { return m_minimum; }
    double GetMaximum() const { return m_maximum; }

    // Shows the value, clamped to the range, through the format; not a number counts as 0.
    void SetValue(double value);
    // Reads the text: group separators are dropped, minus signs anywhere make the number
    // negative, the format's decimal separator reads as a point. Only decimal numbers are
    // read (no "nan", "inf" or hexadecimal). Unreadable text becomes 0 and a value outside
    // the range, also one beyond what a double holds, becomes the nearer limit; both are
    // shown as corrected. The result is never NaN.
    double GetValue();

    // The format; after changing its settings call SetValue again to show them.
    CNumberFormat& Format() { return m_format; }
    const CNumberFormat& Format() const { return m_format; }

    bool IsEditing() const { return m_bEditing; }

protected:
    bool Step(int delta) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void UpdateDescription();

    CNumberFormat m_format{true};
    bool m_bEditing = false;
    double m_minimum = kDefaultMinimum;
    double m_maximum = kDefaultMaximum;
};
