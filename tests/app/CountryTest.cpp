// The Country column: each server's country with its flag, from the lookup the window is
// given, and the database the options name.
#include "WindowFixture.h"

#include "app/CountryFlags.h"
#include "app/CountryOption.h"
#include "app/OptionsDlg.h"
#include "geo/CountryLookup.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>

#include <map>

namespace {

using D = CMainDlg;

// Places servers by their address text; the test network lives on loopback, which has none.
class CFixedCountries final : public ICountryLookup
{
public:
    explicit CFixedCountries(std::map<std::string, std::string> countries)
        : m_countries(std::move(countries))
    {
    }
    std::string CountryOf(std::string_view address) const override
    {
        const auto found = m_countries.find(std::string(address));
        return found == m_countries.end() ? std::string() : found->second;
    }

private:
    std::map<std::string, std::string> m_countries;
};

TEST(CountryFlagsTest, EveryCodeHasAValueAndThePackagedFlagsLoad)
{
    EXPECT_EQ(CCountryFlags::ValueOf("AA"), 1);
    EXPECT_EQ(CCountryFlags::ValueOf("us"), CCountryFlags::ValueOf("US"));
    EXPECT_LT(CCountryFlags::ValueOf("DE"), CCountryFlags::ValueOf("US"));
    for (const char* none : {"", "U", "USA", "1A", "\xC3\x9C"})
        EXPECT_EQ(CCountryFlags::ValueOf(none), 0) << none;
    // famfamfam-flag-png's 16x11 flags.
    EXPECT_GT(CCountryFlags().FlagCount(), 200);
}

using CountryWindowTest = CWindowFixture;

TEST_F(CountryWindowTest, TheServerListShowsEachServersCountryAndTheOptionsNameTheDatabase)
{
    CTestNetProcess net({"--count", "3", "--seed", "11"});
    std::vector<std::string> addresses;
    for (const auto& server : net.Manifest()["servers"])
        addresses.push_back(AddressOf(server).toStdString());
    ASSERT_EQ(addresses.size(), 3u);
    UseNetwork(net, 1);
    MainDlgOptions options;
    options.countryLookup = [&] {
        return std::make_unique<CFixedCountries>(
            std::map<std::string, std::string>{{addresses[0], "US"}, {addresses[1], "DE"}});
    };
    auto dialog = Open(options);
    ASSERT_TRUE(Scan(*dialog, D::IDC_QUERY_MASTER));
    Lattix::CTableCtrl& servers = dialog->ServerList();
    ASSERT_EQ(servers.GetRowCount(), 3);
    constexpr int kCountry = CResultLists::kServerCountryColumn;
    EXPECT_EQ(servers.GetCellText(RowOf(servers, addresses[0]), kCountry), "US");
    EXPECT_EQ(servers.GetCellText(RowOf(servers, addresses[1]), kCountry), "DE");
    EXPECT_EQ(servers.GetCellText(RowOf(servers, addresses[2]), kCountry), "");
    EXPECT_EQ(servers.GetColumnTitle(kCountry), "Country");
    EXPECT_TRUE(servers.Geometry().IsVisible(kCountry));
    // By country: none first, then by code.
    servers.Sort(std::vector<Lattix::CSortKey>{{kCountry, false}});
    EXPECT_EQ(servers.GetCellText(0, kCountry), "");
    EXPECT_EQ(servers.GetCellText(1, kCountry), "DE");
    EXPECT_EQ(servers.GetCellText(2, kCountry), "US");

    // Without a given lookup, a database named in the options that cannot be used is said.
    dialog = Open();
    const QString broken = m_dir.filePath(QStringLiteral("broken.mmdb"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a database");
    file.close();
    QTimer::singleShot(0, [&] {
        auto* options = qobject_cast<COptionsDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(options, nullptr);
        qobject_cast<QLineEdit*>(FindControl(options, COptionsDlg::IDC_COUNTRY_DATABASE))
            ->setText(broken);
        options->accept();
    });
    Click(*dialog, D::IDC_OPTIONS);
    EXPECT_EQ(Store().value(CCountryOption::kSetting).toString(), broken);
    EXPECT_TRUE(StatusOf(*dialog).startsWith("The country database " + broken + " cannot be used"))
        << StatusOf(*dialog).toStdString();
}

} // namespace
