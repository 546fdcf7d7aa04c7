// Google Benchmark cases of in-place editing without a screen: opening an editor over a
// cell of a 30,000-row grid and closing it again, committing the value, for the text,
// integer and check-box editors. Each iteration edits another row, scrolled into view.
#include "bench/lattix/model/Workload.h"

#include "lattix/view/BoolCol.h"
#include "lattix/view/IntCol.h"
#include "lattix/view/StringCol.h"
#include "lattix/view/TableCtrl.h"
#include "lattix/view/TextFlags.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace Lattix;

constexpr int kEditBenchRows = 30000;

// A visible 1280 x 800 grid of the server list's text, integer and boolean columns, every
// column editable, filled with kEditBenchRows servers.
class CEditBenchGrid
{
public:
    CEditBenchGrid()
    {
        m_window.resize(1280, 800);
        m_grid.Create(0x10000000, 0, 0, 1280, 800, &m_window, 1);
        m_grid.AddColumn(CStringCol(TextFlags::kLeft), "Name", 220);
        m_grid.AddColumn(CIntCol(TextFlags::kRight), "Ping", 50);
        m_grid.AddColumn(CBoolCol(TextFlags::kCentred, "yes", "no", true), "PB", 36);
        m_grid.AddColumn(CStringCol(TextFlags::kLeft), "Address", 150);
        m_grid.CreateRowLayout();
        m_grid.SetAllColumnsEditable(true);
        for (const Workload::Server& s : Workload::MakeServers(kEditBenchRows, 0, 7)) {
            CRowData* row = m_grid.AddRow();
            row->GetCell(0)->Set(s.name);
            row->GetCell(1)->Set(s.ping);
            row->GetCell(2)->Set(s.punkBuster);
            row->GetCell(3)->Set(s.address);
        }
        m_grid.Update(true);
        m_window.show();
        QApplication::processEvents();
    }
    CTableCtrl& Grid() { return m_grid; }

private:
    QWidget m_window;
    CTableCtrl m_grid;
};

CEditBenchGrid& EditBenchGrid()
{
    static CEditBenchGrid grid; // built once, after the QApplication
    return grid;
}

// Opens the editor of column state.range(0) and commits it, one row after another.
void BM_EditOpenCommit(benchmark::State& state)
{
    CTableCtrl& grid = EditBenchGrid().Grid();
    const int col = static_cast<int>(state.range(0));
    int row = 0;
    for (auto _ : state) {
        grid.GetCursor().Set(row, col);
        grid.EnsureVisible(row, col);
        if (!grid.BeginEdit(true)) {
            state.SkipWithError("the editor did not open");
            break;
        }
        grid.EndEdit(false);
        row = (row + 7919) % kEditBenchRows; // a prime stride: every row, spread out
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EditOpenCommit)
    ->ArgName("column")
    ->Arg(0) // text
    ->Arg(1) // integer with spin buttons
    ->Arg(2) // check box
    ->Iterations(1000)
    ->Repetitions(3)
    ->Unit(benchmark::kMicrosecond);

} // namespace
