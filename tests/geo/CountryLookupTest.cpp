#include "geo/CountryDatabase.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace {

namespace fs = std::filesystem;

// A country database in MaxMind DB format, IPv4 only, made here: a complete search tree over
// the first eight bits with 24-bit records, and one data record per country.
class CTinyMmdb
{
public:
    static std::string Bytes(const std::map<int, std::string>& firstOctets,
                             const std::string& type = "Test-Country")
    {
        std::string data;
        std::map<std::string, std::size_t> offsets;
        for (const auto& [octet, code] : firstOctets) {
            if (offsets.contains(code))
                continue;
            offsets[code] = data.size();
            data += Map(1) + Text("country") + Map(1) + Text("iso_code") + Text(code);
        }
        // Node n leads to nodes 2n + 1 and 2n + 2; past the last node, the records of the
        // last level stand for the /8 networks: their data, or the node count for none.
        const std::uint32_t count = 255;
        std::string bytes;
        for (std::uint32_t child = 1; child < 2 * count + 1; ++child) {
            const auto network = firstOctets.find(static_cast<int>(child - count));
            const std::uint32_t value =
                child < count ? child
                : network == firstOctets.end()
                    ? count
                    : count + 16 + static_cast<std::uint32_t>(offsets[network->second]);
            bytes += static_cast<char>(value >> 16);
            bytes += static_cast<char>(value >> 8);
            bytes += static_cast<char>(value);
        }
        bytes += std::string(16, '\0') + data + "\xAB\xCD\xEFMaxMind.com";
        bytes += Map(9) + Text("binary_format_major_version") + Uint(5, 2) +
                 Text("binary_format_minor_version") + Uint(5, 0) + Text("build_epoch") +
                 "\x01\x02\x01" + Text("database_type") + Text(type) + Text("description") +
                 Map(1) + Text("en") + Text("test") + Text("ip_version") + Uint(5, 4) +
                 Text("languages") + std::string("\x01\x04", 2) + Text("en") + Text("node_count") +
                 Uint(6, count) + Text("record_size") + Uint(5, 24);
        return bytes;
    }

private:
    static std::string Map(int size) { return std::string(1, static_cast<char>(0xE0 | size)); }
    static std::string Text(const std::string& text)
    {
        return static_cast<char>(0x40 | text.size()) + text;
    }
    // An unsigned number of type 5 (16 bits) or 6 (32 bits) in as few bytes as it needs.
    static std::string Uint(int type, std::uint32_t value)
    {
        std::string digits;
        for (; value != 0; value >>= 8)
            digits.insert(digits.begin(), static_cast<char>(value & 0xFF));
        return static_cast<char>(type << 5 | static_cast<int>(digits.size())) + digits;
    }
};

class CountryLookupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() /
                ("fs-country-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                 "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }
    std::string Write(const std::string& name, const std::string& bytes) const
    {
        const fs::path path = m_dir / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    fs::path m_dir;
};

TEST_F(CountryLookupTest, AMaxMindDatabaseIsPreferredAndThePackagedOnePlacesPublicAddresses)
{
    const std::string bytes = CTinyMmdb::Bytes({{8, "US"}, {81, "DE"}, {200, "br"}});
    const std::string named = Write("named.mmdb", bytes);
    const CCountryDatabase database(named, {});
    ASSERT_EQ(database.Source(), named) << database.Problem();
    EXPECT_EQ(database.CountryOf("8.1.2.3"), "US");
    EXPECT_EQ(database.CountryOf("81.169.145.1:27960"), "DE");
    EXPECT_EQ(database.CountryOf("200.1.1.1"), "BR");
    EXPECT_EQ(database.CountryOf("::ffff:81.0.0.1"), "DE");
    EXPECT_EQ(database.CountryOf("9.9.9.9"), ""); // not in the data
    EXPECT_EQ(database.CountryOf("127.0.0.1"), "");

    // Found in a system folder: the first by name that holds countries, not one of
    // autonomous systems.
    fs::create_directories(m_dir / "GeoIP");
    Write("GeoIP/A-ASN.mmdb", CTinyMmdb::Bytes({{8, "ZZ"}}, "GeoLite2-ASN"));
    Write("GeoIP/B-Country.mmdb", bytes);
    const CCountryDatabase found({}, {(m_dir / "missing").string(), (m_dir / "GeoIP").string()},
                                 (m_dir / "missing").string());
    EXPECT_EQ(found.Source(), (m_dir / "GeoIP" / "B-Country.mmdb").string());
    EXPECT_EQ(found.CountryOf("8.8.8.8"), "US");

    // A named file that is not a database is said; the search goes on without it.
    const CCountryDatabase broken(Write("broken.mmdb", "not a database"),
                                  {(m_dir / "GeoIP").string()});
    EXPECT_FALSE(broken.Problem().empty());
    EXPECT_EQ(broken.CountryOf("81.0.0.1"), "DE");
    // Nothing at all: no country for anyone.
    const CCountryDatabase none((m_dir / "missing.mmdb").string(), {},
                                (m_dir / "missing").string());
    EXPECT_FALSE(none.Problem().empty());
    EXPECT_TRUE(none.Source().empty());
    EXPECT_EQ(none.CountryOf("8.8.8.8"), "");

    // Debian's geoip-database, as the program finds it with no MaxMind DB file around.
    const CCountryDatabase packaged({}, {});
    ASSERT_FALSE(packaged.Source().empty()) << "geoip-database is not installed";
    EXPECT_TRUE(packaged.Problem().empty());
    for (const char* address : {"8.8.8.8", "8.8.4.4:27960", "2001:4860:4860::8888",
                                "[2001:4860:4860::8888]:27960", "::ffff:8.8.8.8"})
        EXPECT_EQ(packaged.CountryOf(address), "US") << address;
    // Private, reserved and documentation ranges, host names and no address at all.
    for (const char* address :
         {"127.0.0.1", "::1", "10.1.2.3", "172.20.0.1", "192.168.1.1:27960", "100.64.0.1",
          "169.254.1.1", "fd00::1", "fe80::1", "224.0.0.1", "0.0.0.0", "192.0.2.1", "2001:db8::1",
          "wolfmaster.idsoftware.com", "8.8.8", ""})
        EXPECT_EQ(packaged.CountryOf(address), "") << address;
}

} // namespace
