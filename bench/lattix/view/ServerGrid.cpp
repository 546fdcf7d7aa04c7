#include "bench/lattix/view/ServerGrid.h"

#include "bench/lattix/model/Workload.h"

#include "lattix/view/BoolCol.h"
#include "lattix/view/EnumCol.h"
#include "lattix/view/IntCol.h"
#include "lattix/view/StringCol.h"
#include "lattix/view/TextFlags.h"

#include <vector>

using namespace Lattix;

void BuildServerGrid(CTableCtrl& grid, CEnum& gameTypes, int rows)
{
    grid.Clear();
    grid.AddColumn(CStringCol(TextFlags::kLeft), "Name", 220);
    grid.AddColumn(CEnumCol(gameTypes.Get(), 1), "Type", 110);
    grid.AddColumn(CStringCol(TextFlags::kLeft), "Mod", 60);
    grid.AddColumn(CBoolCol(TextFlags::kCentred, "yes", "no", true), "FF", 36);
    grid.AddColumn(CIntCol(TextFlags::kRight), "Ping", 50);
    grid.AddColumn(CStringCol(TextFlags::kCentred), "Players", 60);
    grid.AddColumn(CBoolCol(TextFlags::kCentred, "yes", "no", true), "PB", 36);
    grid.AddColumn(CIntCol(TextFlags::kRight), "Num", 50);
    grid.AddColumn(CIntCol(TextFlags::kRight), "Max", 50);
    grid.AddColumn(CStringCol(TextFlags::kLeft), "Map", 110);
    grid.AddColumn(CIntCol(TextFlags::kRight), "Lives", 50);
    grid.AddColumn(CStringCol(TextFlags::kLeft), "Address", 150);
    grid.AddColumn(CIntCol(TextFlags::kRight), "Handle", 60);
    grid.CreateRowLayout();
    const std::vector<Workload::Server> servers = Workload::MakeServers(rows, 0, 7);
    for (const Workload::Server& s : servers)
        Workload::AddServerRow(grid, s);
    grid.MarkRows(3, 5, true);
    grid.Update(true);
}
