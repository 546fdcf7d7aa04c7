#pragma once

#include "format/NumberFmt.h"

#include <clocale>
#include <string>
#include <string_view>

// The number, currency and time conventions of one locale, read once. The user's
// conventions are shared by every format (User()); a format may be bound to another
// instance, which must then outlive it.
class CNumberSettings
{
public:
    // The conventions of the "C" locale.
    CNumberSettings();
    CNumberSettings(std::string localeName, NumberFmt number, CurrencyFmt currency,
                    std::string timeSeparator);

    // Reads the conventions of the named locale; "" names the user's locale as the
    // environment sets it (LC_ALL, LC_NUMERIC, LANG). A locale that the system does not
    // have reads as "C".
    static CNumberSettings FromLocale(const char* localeName);

    // Builds the settings from a locale's conventions (localeconv) and its time format
    // (nl_langinfo(T_FMT)). Values the locale leaves unspecified read as 0, texts as empty.
    static CNumberSettings FromConventions(std::string localeName, const std::lconv& conv,
                                           std::string_view timeFormat);

    // The user's conventions, read the first time they are asked for and never changed.
    static const CNumberSettings& User();

    const std::string& LocaleName() const { return m_strLocale; }
    const NumberFmt& Number() const { return m_number; }
    const CurrencyFmt& Currency() const { return m_currency; }
    const std::string& TimeSeparator() const { return m_strTimeSep; }

private:
    std::string m_strLocale;
    NumberFmt m_number;
    CurrencyFmt m_currency;
    std::string m_strTimeSep;
};
