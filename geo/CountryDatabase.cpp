#include "geo/CountryDatabase.h"

#include "geo/NumericAddress.h"

#include <GeoIP.h>
#include <maxminddb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

// A country code as the lookups return it: two letters, upper case; anything else (the
// legacy data's "--", "A1" and "A2" for unknown, anonymous proxies and satellites) is none.
std::string Code(const char* text, std::size_t size)
{
    if (!text || size != 2 || !std::isalpha(static_cast<unsigned char>(text[0])) ||
        !std::isalpha(static_cast<unsigned char>(text[1])))
        return {};
    std::string code{static_cast<char>(std::toupper(static_cast<unsigned char>(text[0]))),
                     static_cast<char>(std::toupper(static_cast<unsigned char>(text[1])))};
    return code;
}

bool HoldsCountries(const MMDB_s& db)
{
    std::string type = db.metadata.database_type ? db.metadata.database_type : "";
    std::transform(type.begin(), type.end(), type.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return type.find("country") != std::string::npos || type.find("city") != std::string::npos;
}

void Join(std::string& list, const std::string& item)
{
    list += (list.empty() ? "" : ", ") + item;
}

} // namespace

struct CCountryDatabase::Data
{
    MMDB_s mmdb{};
    bool mmdbOpen = false;
    GeoIP* v4 = nullptr;
    GeoIP* v6 = nullptr;
    std::string source;
    std::string problem;

    // Opens a MaxMind DB file; false with the reason in why when it cannot be used.
    bool OpenMmdb(const std::string& path, std::string& why)
    {
        const int status = MMDB_open(path.c_str(), MMDB_MODE_MMAP, &mmdb);
        if (status != MMDB_SUCCESS) {
            why = MMDB_strerror(status);
            return false;
        }
        if (!HoldsCountries(mmdb)) {
            why = "it holds no countries";
            MMDB_close(&mmdb);
            return false;
        }
        mmdbOpen = true;
        source = path;
        return true;
    }

    std::string MmdbCountry(const NumericAddress& address) const
    {
        sockaddr_storage storage{};
        const auto mapped = address.v6 ? MappedV4(address.bytes) : std::nullopt;
        if (mapped) {
            auto* in4 = reinterpret_cast<sockaddr_in*>(&storage);
            in4->sin_family = AF_INET;
            in4->sin_addr.s_addr = htonl(*mapped);
        } else if (address.v6) {
            auto* in6 = reinterpret_cast<sockaddr_in6*>(&storage);
            in6->sin6_family = AF_INET6;
            std::memcpy(&in6->sin6_addr, address.bytes.data(), 16);
        } else {
            auto* in4 = reinterpret_cast<sockaddr_in*>(&storage);
            in4->sin_family = AF_INET;
            std::memcpy(&in4->sin_addr, address.bytes.data(), 4);
        }
        int error = MMDB_SUCCESS;
        MMDB_lookup_result_s result = MMDB_lookup_sockaddr(
            const_cast<MMDB_s*>(&mmdb), reinterpret_cast<const sockaddr*>(&storage), &error);
        if (error != MMDB_SUCCESS || !result.found_entry)
            return {};
        for (const char* place : {"country", "registered_country"}) {
            MMDB_entry_data_s data{};
            if (MMDB_get_value(&result.entry, &data, place, "iso_code", nullptr) == MMDB_SUCCESS &&
                data.has_data && data.type == MMDB_DATA_TYPE_UTF8_STRING)
                if (std::string code = Code(data.utf8_string, data.data_size); !code.empty())
                    return code;
        }
        return {};
    }

    std::string LegacyCountry(const NumericAddress& address) const
    {
        const char* code = nullptr;
        if (address.v6) {
            if (const auto mapped = MappedV4(address.bytes); mapped && v4)
                code = GeoIP_country_code_by_ipnum(v4, *mapped);
            else if (v6) {
                geoipv6_t number;
                std::memcpy(&number, address.bytes.data(), 16);
                code = GeoIP_country_code_by_ipnum_v6(v6, number);
            }
        } else if (v4) {
            code = GeoIP_country_code_by_ipnum(v4, address.V4());
        }
        return code ? Code(code, std::strlen(code)) : std::string();
    }

    ~Data()
    {
        if (mmdbOpen)
            MMDB_close(&mmdb);
        if (v4)
            GeoIP_delete(v4);
        if (v6)
            GeoIP_delete(v6);
    }
};

std::vector<std::string> CCountryDatabase::SystemFolders()
{
    return {"/usr/share/GeoIP", "/var/lib/GeoIP", "/usr/local/share/GeoIP"};
}

CCountryDatabase::CCountryDatabase(const std::string& mmdbPath,
                                   const std::vector<std::string>& folders,
                                   const std::string& legacyFolder)
    : m_data(std::make_unique<Data>())
{
    std::string why;
    if (!mmdbPath.empty() && !m_data->OpenMmdb(mmdbPath, why))
        m_data->problem = why;
    for (const std::string& folder : folders) {
        if (m_data->mmdbOpen)
            break;
        std::error_code error;
        std::vector<std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error))
            if (entry.path().extension() == ".mmdb" && entry.is_regular_file(error))
                files.push_back(entry.path().string());
        std::sort(files.begin(), files.end());
        for (const std::string& file : files)
            if (m_data->OpenMmdb(file, why))
                break;
    }
    if (m_data->mmdbOpen)
        return;
    const std::string v4 = legacyFolder + "/GeoIP.dat";
    const std::string v6 = legacyFolder + "/GeoIPv6.dat";
    std::error_code error;
    if (std::filesystem::is_regular_file(v4, error) &&
        (m_data->v4 = GeoIP_open(v4.c_str(), GEOIP_MMAP_CACHE | GEOIP_SILENCE)))
        Join(m_data->source, v4);
    if (std::filesystem::is_regular_file(v6, error) &&
        (m_data->v6 = GeoIP_open(v6.c_str(), GEOIP_MMAP_CACHE | GEOIP_SILENCE)))
        Join(m_data->source, v6);
}

CCountryDatabase::~CCountryDatabase() = default;

std::string CCountryDatabase::CountryOf(std::string_view text) const
{
    if (!IsPublicAddress(text))
        return {};
    const auto address = ParseNumericAddress(text);
    return m_data->mmdbOpen ? m_data->MmdbCountry(*address) : m_data->LegacyCountry(*address);
}

const std::string& CCountryDatabase::Source() const
{
    return m_data->source;
}

const std::string& CCountryDatabase::Problem() const
{
    return m_data->problem;
}
