#pragma once

#include "geo/CountryLookup.h"

#include <memory>
#include <string>
#include <vector>

// The countries of addresses from the databases installed on this computer. A country
// database in MaxMind DB format (libmaxminddb) is used when the user names one or one is
// found in the system folders; otherwise Debian's geoip-database (GeoIP.dat and
// GeoIPv6.dat, through libGeoIP). Only files are read.
class CCountryDatabase final : public ICountryLookup
{
public:
    // The folders searched for a *.mmdb country database when none is named, and the
    // folder of the legacy GeoIP files.
    static std::vector<std::string> SystemFolders();
    static constexpr const char* kLegacyFolder = "/usr/share/GeoIP";

    // mmdbPath: the user's country database in MaxMind DB format; empty: the first *.mmdb
    // in folders (by name) whose data are countries or cities. A named file that cannot be
    // opened is said by Problem, and the search goes on as without one.
    explicit CCountryDatabase(const std::string& mmdbPath = {},
                              const std::vector<std::string>& folders = SystemFolders(),
                              const std::string& legacyFolder = kLegacyFolder);
    ~CCountryDatabase() override;
    CCountryDatabase(const CCountryDatabase&) = delete;
    CCountryDatabase& operator=(const CCountryDatabase&) = delete;

    std::string CountryOf(std::string_view address) const override;

    // The files that answer, separated by ", "; empty when there are none (then every
    // lookup is empty).
    const std::string& Source() const;
    // Why the named database is not used (the library's reason, in English); empty when it
    // is, or when none was named.
    const std::string& Problem() const;

private:
    struct Data;
    std::unique_ptr<Data> m_data;
};
