#pragma once

#include "format/Format.h"
#include "format/NumberFmt.h"

#include <string>

// A format for numbers: the value written the way the settings' locale writes numbers,
// then padded. It keeps a private copy of the settings' number conventions, so that the
// number of fraction digits can differ per format.
class CNumberFormat : public CFormat
{
public:
    // Bound to the user's shared settings.
    explicit CNumberFormat(bool colorNegatives = false);
    CNumberFormat(const CNumberSettings& settings, bool colorNegatives);

    // Binds other settings and takes a fresh copy of their number conventions.
    void SetSettings(const CNumberSettings& settings) override;

    // Fraction digits; n < 0 takes the settings' value.
    void SetDigits(int n);
    int GetDigits() const { return m_numberFmt.numDigits; }
    const NumberFmt& GetNumberFmt() const { return m_numberFmt; }

    void SetColorNegatives(bool on) { m_bColorNegatives = on; }
    bool ColorsNegatives() const { return m_bColorNegatives; }

    std::string FormatInt(int value) const;
    // Rounded to the number of fraction digits; an infinite or NaN value gives "".
    std::string FormatDouble(double value) const;

private:
    NumberFmt m_numberFmt;
    bool m_bColorNegatives;
};
