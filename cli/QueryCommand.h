#pragma once

#include "cli/QueryOptions.h"

#include <ostream>
#include <string_view>

// Exit codes of farsighter-query.
enum ExitCode : int
{
    kExitSuccess = 0,
    kExitFailure = 1, // no answer from the master or --info server, unknown host, unreadable file
    kExitUsage = 2,   // wrong command line
    kExitSocket = 3,  // a socket error, reported with its text
};

// One run of farsighter-query after its command line is read: fills the server map from the
// master server, a favorites file or the given addresses, scans it with the query engine
// and prints the results to `out`; errors and progress go to `err`.
class CQueryCommand
{
public:
    // showProgress: write the progress line to err (meant for a terminal only).
    CQueryCommand(const CQueryOptions& options, std::ostream& out, std::ostream& err,
                  bool showProgress);

    // Returns the exit code. Throws CUsageError for an address that cannot be used.
    int Run();

private:
    // Writes one line of text to err, made safe for a terminal.
    void Report(std::string_view text);

    const CQueryOptions& m_options;
    std::ostream& m_out;
    std::ostream& m_err;
    bool m_showProgress;
};
