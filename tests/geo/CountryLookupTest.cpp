#include "geo/CountryDatabase.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A country database in MaxMind DB format, IPv4 only, made here: a search tree with 24-bit
// records over the given /8 networks and one data record per country.
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
        // Nodes 0..7 walk the first eight bits; node i's records lead to node i + 1 or to
        // the data of the /8 networks that branch off there.
        struct Node
        {
            std::int64_t records[2] = {-1, -1};
        };
        std::vector<Node> tree(1);
        for (const auto& [octet, code] : firstOctets) {
            std::size_t node = 0;
            for (int bit = 7; bit >= 0; --bit) {
                const int side = (octet >> bit) & 1;
                if (bit == 0) {
                    tree[node].records[side] = -2 - static_cast<std::int64_t>(offsets[code]);
                } else {
                    if (tree[node].records[side] < 0) {
                        tree[node].records[side] = static_cast<std::int64_t>(tree.size());
                        tree.emplace_back();
                    }
                    node = static_cast<std::size_t>(tree[node].records[side]);
                }
            }
        }
        const auto count = static_cast<std::uint32_t>(tree.size());
        std::string bytes;
        for (const Node& node : tree) {
            for (const std::int64_t record : node.records) {
                const std::uint32_t value =
                    record == -1  ? count
                    : record < -1 ? count + 16 + static_cast<std::uint32_t>(-2 - record)
                                  : static_cast<std::uint32_t>(record);
                bytes += static_cast<char>(value >> 16);
                bytes += static_cast<char>(value >> 8);
                bytes += static_cast<char>(value);
            }
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

TEST_F(CountryLookupTest, ThePackagedDatabasePlacesPublicAddressesOnly)
{
    // Debian's geoip-database, as the program finds it with no MaxMind DB file around.
    const CCountryDatabase packaged({}, {});
    ASSERT_FALSE(packaged.Source().empty()) << "geoip-database is not installed";
    EXPECT_TRUE(packaged.Problem().empty());
    struct Case
    {
        const char* address;
        const char* country;
    };
    for (const Case& c : {Case{"8.8.8.8", "US"},
                          Case{"8.8.4.4:27960", "US"},
                          Case{"2001:4860:4860::8888", "US"},
                          Case{"[2001:4860:4860::8888]:27960", "US"},
                          Case{"::ffff:8.8.8.8", "US"},
                          Case{"127.0.0.1", ""},
                          Case{"::1", ""},
                          Case{"10.1.2.3", ""},
                          Case{"172.20.0.1", ""},
                          Case{"192.168.1.1:27960", ""},
                          Case{"100.64.0.1", ""},
                          Case{"169.254.1.1", ""},
                          Case{"fd00::1", ""},
                          Case{"fe80::1", ""},
                          Case{"224.0.0.1", ""},
                          Case{"0.0.0.0", ""},
                          Case{"192.0.2.1", ""},
                          Case{"2001:db8::1", ""},
                          Case{"wolfmaster.idsoftware.com", ""},
                          Case{"8.8.8", ""},
                          Case{"", ""}})
        EXPECT_EQ(packaged.CountryOf(c.address), c.country) << c.address;
}

TEST_F(CountryLookupTest, AMaxMindDatabaseIsPreferredNamedOrFound)
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
}

} // namespace
