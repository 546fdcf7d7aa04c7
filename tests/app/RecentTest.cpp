// The recent servers: remembered at each join, kept across restarts, scanned by "Query Recent";
// and the Country column, from the lookup the window is given or the database the options name.
#include "FakeGame.h"
#include "WindowFixture.h"

#include "app/CountryFlags.h"
#include "app/CountryOption.h"
#include "app/JoinFlow.h"
#include "app/OptionsDlg.h"
#include "app/RecentServers.h"
#include "app/ScanBridge.h"
#include "geo/CountryLookup.h"
#include "tests/support/TestNetProcess.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTimeZone>
#include <QTimer>

#include <gtest/gtest.h>
#include <sys/stat.h>

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

// Server n: address 10.0.0.n, joined on the n-th minute.
RecentServer At(int n)
{
    return {QStringLiteral("10.0.0.%1:27960").arg(n), QByteArray("^1S") + QByteArray::number(n),
            QDateTime(QDate(2026, 12, 1), QTime(0, 0), QTimeZone::utc()).addSecs(60 * n)};
}

std::vector<int> Range(int first, int last, std::vector<int> before = {})
{
    for (int n = first; n <= last; ++n)
        before.push_back(n);
    return before;
}

TEST(RecentTest, AJoinGoesOnTopOnceAndTheOldestFallOffAtFifty)
{
    struct Case
    {
        std::vector<int> before; // newest first
        int joined;
        std::vector<int> after;
    };
    for (const Case& c : {Case{{}, 1, {1}}, Case{{1, 2, 3}, 4, {4, 1, 2, 3}},
                          Case{{1, 2, 3}, 3, {3, 1, 2}}, Case{Range(1, 50), 99, Range(1, 49, {99})},
                          Case{Range(1, 50), 25, Range(26, 50, Range(1, 24, {25}))}}) {
        std::vector<RecentServer> servers;
        for (const int n : c.before)
            servers.push_back(At(n));
        RecentServer joined = At(c.joined);
        joined.time = joined.time.addDays(1);
        CRecentServers::Remember(servers, joined);
        std::vector<RecentServer> expected = {joined};
        for (const int n : std::vector<int>(c.after.begin() + 1, c.after.end()))
            expected.push_back(At(n));
        EXPECT_EQ(servers, expected) << c.joined;
    }
}

class RecentWindowTest : public CWindowFixture
{
protected:
    QString RecentPath() const { return m_dir.filePath(QStringLiteral("recent.dat")); }
};

TEST_F(RecentWindowTest, CountriesAreShownAndAJoinedServerIsListedByQueryRecentAfterARestart)
{
    CTestNetProcess net({"--count", "3", "--seed", "5"});
    std::vector<std::string> addresses;
    for (const auto& server : net.Manifest()["servers"])
        addresses.push_back(AddressOf(server).toStdString());
    ASSERT_EQ(addresses.size(), 3u);
    const std::string& address = addresses[0];
    std::string name; // as the record holds it
    QTemporaryDir games;
    CFakeGame game(games);
    Set("RTCW", game.Path());
    UseNetwork(net, 1);
    {
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
        // No join yet: nothing to scan, the window says so, and the rows stay.
        Click(*dialog, D::IDC_QUERY_RECENT);
        EXPECT_EQ(StatusOf(*dialog), "No server has been joined yet.");
        EXPECT_FALSE(dialog->Bridge().IsRunning());
        ASSERT_EQ(servers.GetRowCount(), 3);
        const int row = RowOf(servers, address);
        ASSERT_LT(row, 3);
        servers.SelectRow(row);
        name = dialog->Lists().ServerOfServerRow(row)->name;
        ASSERT_FALSE(name.empty());
        // The game starts and the window closes (AutoClose).
        Click(*dialog, D::IDC_JOIN);
        ASSERT_FALSE(game.WaitForStart().isEmpty());
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_TRUE(CPrompts::Shown().isEmpty());
    }
    auto dialog = Open();
    ASSERT_TRUE(Scan(*dialog, D::IDC_QUERY_RECENT));
    Lattix::CTableCtrl& servers = dialog->ServerList();
    ASSERT_EQ(servers.GetRowCount(), 1);
    EXPECT_EQ(servers.GetCellText(0, CResultLists::kServerAddressColumn), address);
    // The file keeps the name's bytes in the game's code page, as the record holds them.
    const CRecentServers::Content recent = CRecentServers(RecentPath()).Load();
    ASSERT_EQ(recent.servers.size(), 1u);
    EXPECT_EQ(recent.servers[0].name.toStdString(), name);
    EXPECT_LE(recent.servers[0].time.secsTo(QDateTime::currentDateTimeUtc()), 60);

    // A list that cannot be saved is said, the game still starts; an unreadable one is not scanned.
    Set("AutoClose", 0);
    dialog->Joining().ReadOptions();
    ASSERT_TRUE(QFile::remove(RecentPath()));
    ASSERT_EQ(mkfifo(QFile::encodeName(RecentPath()).constData(), 0600), 0);
    servers.SelectRow(0);
    dialog->JoinServer();
    EXPECT_FALSE(game.WaitForStart().isEmpty());
    ASSERT_EQ(CPrompts::Shown().size(), 1);
    EXPECT_TRUE(CPrompts::Shown()[0].startsWith("Cannot save the recent servers to " +
                                                QDir::toNativeSeparators(RecentPath())))
        << CPrompts::Shown()[0].toStdString();
    Click(*dialog, D::IDC_QUERY_RECENT);
    ASSERT_EQ(CPrompts::Shown().size(), 2);
    EXPECT_TRUE(CPrompts::Shown()[1].startsWith("Cannot read the recent servers file"));
    EXPECT_EQ(servers.GetRowCount(), 1);

    // A scan of no servers (an empty favorites file) ends at once, with empty lists.
    WriteFavorites({});
    ASSERT_TRUE(Scan(*dialog, D::IDC_QUERY_FAVORITES));
    EXPECT_EQ(servers.GetRowCount(), 0);

    // Without a given lookup, a database named in the options that cannot be used is said.
    const QString broken = m_dir.filePath(QStringLiteral("broken.mmdb"));
    WriteAll(broken, "not a database");
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
