#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

// A table of text printed with aligned columns: a title line, a rule of dashes, then one
// line per row. Cells are UTF-8 and are made safe for a terminal when added; column widths
// follow the widest cell. Columns are separated by two blanks, and no line ends in blanks.
class CTextTable
{
public:
    enum class Align
    {
        Left,
        Right,
        Center
    };

    struct Column
    {
        std::string title;
        Align align = Align::Left;
    };

    // The widest a column gets, in terminal columns; a longer cell is cut and ends with an
    // ellipsis.
    static constexpr std::size_t kMaxCellWidth = 64;

    explicit CTextTable(std::vector<Column> columns);

    // Adds one row; a row with fewer cells than columns is padded with empty cells, extra
    // cells are ignored.
    void AddRow(std::vector<std::string> cells);

    std::size_t RowCount() const { return m_rows.size(); }

    void Write(std::ostream& out) const;

private:
    void WriteLine(std::ostream& out, const std::vector<std::string>& cells,
                   const std::vector<std::size_t>& widths) const;

    std::vector<Column> m_columns;
    std::vector<std::vector<std::string>> m_rows;
};
