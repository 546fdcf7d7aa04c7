#pragma once

#include <QCoreApplication>
#include <QString>

#include <functional>
#include <memory>

class CResultLists;
class CSettingsKey;
class CStatusLine;
class ICountryLookup;

// The country lookup of the server list, as the options name it: the "CountryDatabase"
// setting is the path of a country database in MaxMind DB format; empty, the system's
// databases are used (CCountryDatabase).
class CCountryOption
{
    Q_DECLARE_TR_FUNCTIONS(CCountryOption)

public:
    static constexpr const char* kSetting = "CountryDatabase";
    using Factory = std::function<std::unique_ptr<ICountryLookup>()>;

    // Gives lists the lookup that factory makes or, without a factory, the one the setting
    // names; a named database that cannot be used is said on the status line.
    static void Apply(const Factory& factory, const CSettingsKey& settings, CResultLists& lists,
                      CStatusLine& status);
};
