#include "cli/ProgressLine.h"

#include "cli/TerminalText.h"

namespace {
// Carriage return, the text, then "erase to the end of the line".
constexpr std::string_view kStart = "\r";
constexpr std::string_view kEraseRest = "\x1B[K";
} // namespace

std::string CProgressLine::Text(const CScanDriver::Progress& progress)
{
    return "Servers to query: " + std::to_string(progress.toQuery) +
           "  Answered: " + std::to_string(progress.answered) +
           "  Listed: " + std::to_string(progress.listed);
}

void CProgressLine::Show(std::string_view text)
{
    m_out << kStart << TerminalSafe(text) << kEraseRest << std::flush;
    m_shown = true;
}

void CProgressLine::Show(const CScanDriver::Progress& progress)
{
    Show(Text(progress));
}

void CProgressLine::Finish()
{
    if (m_shown) {
        m_out << '\n' << std::flush;
        m_shown = false;
    }
}

void CProgressLine::Clear()
{
    if (m_shown) {
        m_out << kStart << kEraseRest << std::flush;
        m_shown = false;
    }
}
