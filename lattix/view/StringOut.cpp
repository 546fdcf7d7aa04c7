#include "lattix/view/StringOut.h"

#include "lattix/model/CellData.h"
#include "lattix/model/ColData.h"
#include "lattix/view/DrawState.h"
#include "lattix/view/TextWidth.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace Lattix {

CStringOut::CStringOut(std::uint32_t flags, const CFormat& format)
    : CCellOutputCString(flags), m_format(format)
{
}

std::string CStringOut::GetText(const CCellData& cell)
{
    std::string text = cell.GetString();
    if (m_format.IsSpecial(text))
        return m_format.GetSpecialText();
    return text;
}

ColorWord CStringOut::GetColor(const CCellData& cell, bool)
{
    if (const char* text = cell.GetCharPtr())
        return m_format.GetColor(std::string_view(text));
    return m_format.GetColor(cell.GetString());
}

std::string_view CStringOut::Shown(const CCellData& cell) const
{
    const char* text = cell.GetCharPtr();
    const std::string_view shown = text != nullptr ? std::string_view(text) : std::string_view();
    if (m_format.IsSpecial(shown))
        return m_format.GetSpecialText();
    return shown;
}

int CStringOut::GetMaxWidth(const CColData& column, int rowCount)
{
    if (rowCount <= 0)
        return 0;

    // Estimate every text and shape the ones that are not Latin at once. Then shape the
    // others from the widest estimate down, until no estimate can beat the best width. A
    // column of many texts of one width stops after kExactBudget shapings and takes the
    // upper bound of the estimates left, which is at most a few pixels too wide.
    constexpr std::size_t kExactBudget = 256;
    CTextWidth widths(GetDrawState().GetFont());
    struct Candidate
    {
        double estimate;
        int row;
    };
    std::vector<Candidate> candidates;
    candidates.reserve(static_cast<std::size_t>(rowCount));
    int best = 0;
    for (int row = 0; row < rowCount; ++row) {
        const std::string_view text = Shown(*column.GetCell(row));
        const double estimate = widths.Estimate(text);
        if (estimate < 0)
            best = std::max(best, widths.Exact(text));
        else
            candidates.push_back({estimate, row});
    }
    std::sort(candidates.begin(), candidates.end(),
              [](const Candidate& a, const Candidate& b) { return a.estimate > b.estimate; });
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const double bound = candidates[i].estimate + CTextWidth::Slack(candidates[i].estimate);
        if (bound < best)
            break;
        if (i == kExactBudget) {
            best = std::max(best, static_cast<int>(std::ceil(bound)));
            break;
        }
        best = std::max(best, widths.Exact(Shown(*column.GetCell(candidates[i].row))));
    }
    return best;
}

} // namespace Lattix
