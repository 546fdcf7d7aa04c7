// Google Benchmark cases of the grid as screen readers see it: reading every cell of the
// visible page of the 30,000-row server list through Qt's accessibility interfaces, with the
// cells already made and with every cell made afresh. Runs without a screen (offscreen).
#include "bench/lattix/model/Workload.h"
#include "bench/lattix/view/ServerGrid.h"

#include "lattix/view/TableAccessible.h"

#include <QAccessible>

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

using namespace Lattix;

constexpr int kAccessibleBenchRows = 30000;

// A shown 1280 x 800 server grid scrolled to the middle of its rows.
class PageFixture
{
public:
    PageFixture() : m_gameTypes(Workload::kGameTypeText)
    {
        m_window.resize(1280, 800);
        m_grid.Create(0x10000000, 0, 0, 1280, 800, &m_window, 1);
        m_window.show();
        BuildServerGrid(m_grid, m_gameTypes, kAccessibleBenchRows);
        m_grid.SetScrollPos(0, kAccessibleBenchRows / 2 * m_grid.GetRowHeight());
        m_table = QAccessible::queryAccessibleInterface(&m_grid)->tableInterface();
    }

    // Reads the name of every cell of the visible rows; returns the characters read.
    std::size_t ReadPage() const
    {
        const int first = m_grid.GetScrollY() / m_grid.GetRowHeight();
        const int last = std::min(m_table->rowCount(), first + m_grid.GetRowsPerPage());
        const int columns = m_table->columnCount();
        std::size_t characters = 0;
        for (int row = first; row < last; ++row) {
            for (int column = 0; column < columns; ++column)
                characters += m_table->cellAt(row, column)->text(QAccessible::Name).size();
        }
        return characters;
    }
    int CellsPerPage() const { return m_grid.GetRowsPerPage() * m_table->columnCount(); }
    CTableCtrl& Grid() { return m_grid; }

private:
    CEnum m_gameTypes;
    QWidget m_window;
    CTableCtrl m_grid;
    QAccessibleTableInterface* m_table = nullptr;
};

void BM_ReadVisiblePage(benchmark::State& state)
{
    PageFixture page;
    page.ReadPage(); // makes the cells
    for (auto _ : state)
        benchmark::DoNotOptimize(page.ReadPage());
    state.SetItemsProcessed(state.iterations() * page.CellsPerPage());
}
BENCHMARK(BM_ReadVisiblePage)->Unit(benchmark::kMicrosecond);

// Every read makes its cells, as after a sort gave the old ones back.
void BM_ReadVisiblePageMakingCells(benchmark::State& state)
{
    PageFixture page;
    for (auto _ : state) {
        state.PauseTiming();
        CTableAccessible::RowsReset(page.Grid());
        state.ResumeTiming();
        benchmark::DoNotOptimize(page.ReadPage());
    }
    state.SetItemsProcessed(state.iterations() * page.CellsPerPage());
}
BENCHMARK(BM_ReadVisiblePageMakingCells)->Unit(benchmark::kMicrosecond);

} // namespace
