#pragma once

#include <QString>

#include <functional>
#include <memory>

class ICountryLookup;
class IDesktopNotifier;
struct QueryEngineOptions;

// How a main window is set up beyond its settings; the defaults are the program's.
struct MainDlgOptions
{
    // Where "Query Master" goes when no master is stored.
    QString defaultMaster = QStringLiteral("wolfmaster.idsoftware.com:27950");
    QString favoritesPath; // empty: favorites.dat in the application's data folder
    std::function<QueryEngineOptions()> engineOptions;
    // Time-outs of the master probe; tests shorten them.
    int masterFirstTimeoutMs = 1000;
    int masterTimeoutStepMs = 500;
    // Requests a tick of every scan; 0: by the Speed box. Benchmarks scan unpaced with it.
    int scanLimit = 0;
    // Milliseconds for the search box's double-click rule and the refresh's pacing;
    // empty: a monotonic clock.
    std::function<qint64()> clock;
    // How often the background requery looks whether it is due; 0: never by itself.
    int requeryPollMs = 1000;
    // The query that starts once the window is shown (0 none, 1 favorites, 2 master,
    // 3 the recent servers);
    // -1: as the "StartupQuery" setting says.
    int startupQuery = -1;
    // The country lookup of the server list; empty: the database the options name, else
    // the system's. Pictures and tests place loopback servers in countries with it.
    std::function<std::unique_ptr<ICountryLookup>()> countryLookup;
    // Where friends who turn up are told; none: the desktop's notifications.
    IDesktopNotifier* notifier = nullptr;
};
