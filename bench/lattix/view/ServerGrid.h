#pragma once

#include "lattix/model/Enum.h"
#include "lattix/view/TableCtrl.h"

// The server list of the browser as a grid: 13 columns with the program's renderers and
// rows made-up servers (Workload::MakeServers, seed 7), rows 3 to 5 marked.
void BuildServerGrid(Lattix::CTableCtrl& grid, Lattix::CEnum& gameTypes, int rows);
