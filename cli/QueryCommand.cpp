#include "cli/QueryCommand.h"

#include "cli/AddressArgument.h"
#include "cli/ProgressLine.h"
#include "cli/ResultSet.h"
#include "cli/ScanDriver.h"
#include "cli/TerminalText.h"
#include "geo/CountryDatabase.h"
#include "net/Error.h"
#include "query/Favorites.h"
#include "query/MasterQuery.h"

#include <optional>

CQueryCommand::CQueryCommand(const CQueryOptions& options, std::ostream& out, std::ostream& err,
                             bool showProgress)
    : m_options(options), m_out(out), m_err(err), m_showProgress(showProgress)
{
}

int CQueryCommand::Run()
{
    const CQueryOptions& o = m_options;

    // Every address is checked before anything is sent.
    std::optional<CSockAddr> master;
    std::vector<CSockAddr> servers;
    std::optional<CSockAddr> info;
    if (o.source == ScanSource::Master) {
        master = ParseAddressArgument(o.master, CQueryOptions::kDefaultMasterPort, "--master");
    }
    for (const std::string& text : o.servers) {
        servers.push_back(
            ParseAddressArgument(text, CQueryOptions::kDefaultServerPort, "server address"));
    }
    if (o.view == OutputView::Info) {
        info = ParseAddressArgument(o.infoAddress, CQueryOptions::kDefaultServerPort, "--info");
    }

    // A country database that the user named must be usable before anything is sent.
    const CCountryDatabase countries(o.countryDatabase);
    if (!countries.Problem().empty()) {
        Report("Cannot use the country database '" + o.countryDatabase +
               "': " + countries.Problem());
        return kExitFailure;
    }

    std::optional<CProgressLine> progress;
    if (m_showProgress) {
        progress.emplace(m_err);
    }
    CScanDriver driver(o.includeEmpty, o.includeFull);
    CServerMap& map = driver.Servers();
    try {
        switch (o.source) {
        case ScanSource::Master: {
            if (progress) {
                progress->Show("Asking the master server " + master->ToString() + " ...");
            }
            const std::string request =
                BuildMasterRequest(o.protocol, o.includeFull, o.includeEmpty);
            MasterQueryStats stats;
            if (QueryMaster(*master, request, map, {}, &stats) == MasterResult::NoResponse) {
                progress.reset();
                Report(kNoMasterResponse);
                return kExitFailure;
            }
            if (stats.capped) {
                Report("The master server listed more than " + std::to_string(kMaxListedServers) +
                       " servers; only the first " + std::to_string(kMaxListedServers) +
                       " are scanned.");
            }
            break;
        }
        case ScanSource::Favorites: {
            FavoritesLoad load;
            try {
                load = LoadFavoritesForScan(o.favorites, map);
            } catch (const CFavoritesError& e) {
                progress.reset();
                Report("Cannot read the favorites file '" + o.favorites + "': " + e.what());
                return kExitFailure;
            }
            for (const std::string& notice : DescribeFavoritesLoad(load, o.favorites)) {
                Report(notice);
            }
            break;
        }
        case ScanSource::Servers:
            for (const CSockAddr& address : servers) {
                map.insert_or_assign(address, CServer(address));
            }
            break;
        }
        if (info && !map.contains(*info)) {
            map.emplace(*info, CServer(*info));
        }

        std::optional<std::string> error;
        if (progress) {
            error = driver.Run(o.limit, [&](const CScanDriver::Progress& p) { progress->Show(p); });
            progress->Finish();
        } else {
            error = driver.Run(o.limit);
        }
        if (error) {
            Report(*error);
            return kExitSocket;
        }
    } catch (const CError& e) {
        progress.reset();
        Report(e.Message());
        return kExitSocket;
    }

    RowDetail detail;
    detail.players = o.format == OutputFormat::Json || o.view == OutputView::Players;
    detail.vars = o.format == OutputFormat::Json;
    detail.countries = &countries;
    const CResultSet results(driver.Reported(), o.includeEmpty, o.includeFull, detail);
    const auto format = MakeResultFormat(o.format);
    int code = kExitSuccess;
    switch (o.view) {
    case OutputView::Servers:
        format->WriteServers(m_out, results.Servers());
        break;
    case OutputView::Players:
        format->WritePlayers(m_out, results.Players());
        break;
    case OutputView::Info: {
        const CServer& server = map.at(*info);
        format->WriteInfo(m_out, CResultSet::MakeInfoRow(server));
        if (!IsAnswered(server)) {
            Report("No response from server " + info->ToString() + ".");
            code = kExitFailure;
        }
        break;
    }
    }
    m_out.flush();
    if (!m_out) {
        Report("Cannot write the results.");
        return kExitFailure;
    }
    return code;
}

void CQueryCommand::Report(std::string_view text)
{
    m_err << TerminalSafe(text) << '\n';
}
