#include "cli/TextTable.h"

#include "cli/TerminalText.h"

#include <algorithm>
#include <utility>

CTextTable::CTextTable(std::vector<Column> columns) : m_columns(std::move(columns))
{
    for (Column& column : m_columns) {
        column.title = TerminalSafe(column.title);
    }
}

void CTextTable::AddRow(std::vector<std::string> cells)
{
    cells.resize(m_columns.size());
    for (std::string& cell : cells) {
        cell = TerminalSafe(CutToWidth(cell, kMaxCellWidth));
    }
    m_rows.push_back(std::move(cells));
}

void CTextTable::Write(std::ostream& out) const
{
    std::vector<std::size_t> widths(m_columns.size());
    std::vector<std::string> titles;
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        titles.push_back(m_columns[i].title);
        widths[i] = DisplayWidth(m_columns[i].title);
    }
    for (const auto& row : m_rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            widths[i] = std::max(widths[i], DisplayWidth(row[i]));
        }
    }

    WriteLine(out, titles, widths);
    std::vector<std::string> rule;
    for (std::size_t width : widths) {
        rule.emplace_back(width, '-');
    }
    WriteLine(out, rule, widths);
    for (const auto& row : m_rows) {
        WriteLine(out, row, widths);
    }
}

void CTextTable::WriteLine(std::ostream& out, const std::vector<std::string>& cells,
                           const std::vector<std::size_t>& widths) const
{
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i != 0) {
            line += "  ";
        }
        const std::size_t pad = widths[i] - DisplayWidth(cells[i]);
        std::size_t before = 0;
        switch (m_columns[i].align) {
        case Align::Left:
            break;
        case Align::Right:
            before = pad;
            break;
        case Align::Center:
            before = pad / 2;
            break;
        }
        line.append(before, ' ');
        line += cells[i];
        line.append(pad - before, ' ');
    }
    // npos + 1 is 0: a line of blanks only becomes empty.
    line.erase(line.find_last_not_of(' ') + 1);
    out << line << '\n';
}
