#include "cli/QueryCommand.h"
#include "cli/QueryOptions.h"
#include "cli/TerminalText.h"
#include "net/LibraryVersions.h"
#include "net/Version.h"

#include <exception>
#include <iostream>
#include <string_view>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv)
{
    constexpr std::string_view program = "farsighter-query";
    const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    try {
        const CQueryOptions options = CQueryOptions::Parse(args);
        if (options.help) {
            std::cout << CQueryOptions::Usage() << std::flush;
            return kExitSuccess;
        }
        if (options.version) {
            std::cout << VersionReport(program, FARSIGHTER_VERSION) << std::flush;
            return kExitSuccess;
        }
        CQueryCommand command(options, std::cout, std::cerr, isatty(STDERR_FILENO) == 1);
        return command.Run();
    } catch (const CUsageError& e) {
        std::cerr << program << ": " << TerminalSafe(e.what()) << "\nTry '" << program
                  << " --help' for more information.\n";
        return kExitUsage;
    } catch (const std::exception& e) {
        std::cerr << program << ": " << TerminalSafe(e.what()) << '\n';
        return kExitFailure;
    }
}
