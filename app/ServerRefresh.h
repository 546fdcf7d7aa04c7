#pragma once

#include "app/RowRefresh.h"
#include "net/SockAddr.h"

#include <QObject>
#include <QString>

#include <functional>
#include <map>
#include <vector>

class CResultLists;
class CScanBridge;
class CScanFlow;
class CServer;
class CStatusLine;

// Asks a few listed servers again without the master: their status, ping and players.
// Each answer goes into the scan's record, and the rows that show it are updated in
// place; a server that does not answer keeps its rows, and the status line says so.
//
// No server is asked more than once in kMinGapMs, however often the user asks. A refresh
// waits for nothing: while a scan runs it is refused with a word on the status line, and
// servers asked for while a refresh runs are asked when it ends.
class CServerRefresh : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 kMinGapMs = 10'000;

    struct Parts
    {
        CScanBridge& bridge;
        CResultLists& lists;
        CStatusLine& status;
        CScanFlow& flow; // shows the counters
    };
    // clock: milliseconds of a monotonic clock.
    CServerRefresh(Parts parts, std::function<qint64()> clock);

    // Asks the servers at the addresses again, leaving out those asked in the last
    // kMinGapMs. quiet: no word on the status line when none is asked (the background
    // requery). Returns how many are asked, now or when the running refresh ends.
    int Refresh(const std::vector<CSockAddr>& addresses, bool quiet = false);

signals:
    // A refresh has ended and its rows are shown.
    void Ended();

private:
    void Start();
    void OnServerRefreshed(const CServer* fresh);
    void OnEnded();

    Parts m_parts;
    std::function<qint64()> m_clock;
    CRowRefresh m_rows;
    std::map<CSockAddr, qint64> m_asked; // when each server was asked last
    std::vector<CSockAddr> m_waiting;    // to ask when the running refresh ends
    int m_asking = 0;                    // servers of the running refresh
    QString m_first;                     // the first of them
    std::vector<QString> m_silent;       // of the running refresh: who did not answer
};
