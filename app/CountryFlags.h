#pragma once

#include "lattix/model/Enum.h"

#include <QString>

#include <string_view>

// The countries of the server list: an enumeration of every two-letter country code,
// shown as the country's flag from the packaged flag set (famfamfam-flag-png) and its code,
// and sorted by code. Value 0 is no country; a code without a flag shows only its text.
class CCountryFlags
{
public:
    static constexpr const char* kFolder = "/usr/share/flags/countries/16x11";
    static constexpr int kFlagWidth = 16;
    static constexpr int kFlagHeight = 11;

    // folder: the flags as "xx.png", kFlagWidth x kFlagHeight pixels each.
    explicit CCountryFlags(const QString& folder = QString::fromLatin1(kFolder));

    // The value of a code of two letters in either case ("US", "de"); 0 for anything else.
    static int ValueOf(std::string_view code);

    Lattix::CEnum& Enum() { return m_enum; }
    int FlagCount() const { return m_flags; }

private:
    int m_flags = 0; // counted while the enumeration is made
    Lattix::CEnum m_enum;
};
