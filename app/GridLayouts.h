#pragma once

#include <QString>

class CSettingsKey;

namespace Lattix {
class CTableCtrl;
}

// A grid's column layout stored as one binary setting: its layout words, two bytes each,
// low byte first. Restoring starts from the grid's own words and overwrites as many as were
// stored, so a missing or short value leaves the rest of the grid's layout; the grid
// ignores words that do not fit its columns. A layout stored before columns were added at
// the grid's end keeps its columns; the added ones follow them. True when a stored layout
// was applied.
bool RestoreGridLayout(const CSettingsKey& settings, Lattix::CTableCtrl& grid, const QString& name);
void SaveGridLayout(CSettingsKey& settings, const Lattix::CTableCtrl& grid, const QString& name);
