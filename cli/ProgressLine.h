#pragma once

#include "cli/ScanDriver.h"

#include <ostream>
#include <string>
#include <string_view>

// One status line on a terminal, rewritten in place: what the program is waiting for, then
// the counts of the running scan. Finish leaves the last scan counts on their own line.
class CProgressLine
{
public:
    explicit CProgressLine(std::ostream& out) : m_out(out) {}
    ~CProgressLine() { Clear(); }

    CProgressLine(const CProgressLine&) = delete;
    CProgressLine& operator=(const CProgressLine&) = delete;

    void Show(std::string_view text);
    void Show(const CScanDriver::Progress& progress);
    // Keeps the line that is shown and moves to the next line.
    void Finish();
    // Removes the line that is shown.
    void Clear();

    static std::string Text(const CScanDriver::Progress& progress);

private:
    std::ostream& m_out;
    bool m_shown = false;
};
