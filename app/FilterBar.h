#pragma once

#include "app/ServerFilter.h"

#include <QObject>

#include <functional>
#include <string>
#include <vector>

class CResultLists;
class CSettingsKey;
class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QWidget;

// The filter bar over the result grids: a text, "Hide empty", "Hide full", "Hide
// passworded", the PunkBuster, game-type and mod choices, "Max ping" and "Clear". Each
// change hides at once the server rows that do not pass (CServerFilter) and the player rows
// of those servers; rows a scan adds later are hidden as they come. Selection and focus
// stay on a row that still shows. Nothing of it changes what a scan queries.
class CFilterBar : public QObject
{
    Q_OBJECT

public:
    // The window's bar controls, found by their ids. countsChanged: after each filtering,
    // for the counters.
    CFilterBar(QWidget& window, CResultLists& lists, std::function<void()> countsChanged);

    // The rules as the controls show them.
    ServerFilterRules Rules() const;
    // Shows the rules in the controls and filters by them.
    void SetRules(const ServerFilterRules& rules);
    // Filters the lists by the controls' rules; while they hide nothing, only when always.
    void Apply(bool always = false);
    // The "Clear" button: everything shows again.
    void Clear() { SetRules({}); }
    // The mod choice offers the mods of the listed servers (and the chosen one).
    void ListMods();
    // Listed records changed in place (a refresh): filters again by what they say now.
    void RecordsChanged();

    void Read(const CSettingsKey& settings);
    void Write(CSettingsKey& settings) const;

protected:
    // Enter in the bar's fields has done its work already: it neither searches nor joins.
    // Focus reaching the bar prepares the grids for filtering.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetControls(const ServerFilterRules& rules);
    // Brings the facts and texts up to the lists' records.
    void IndexRecords();

    CResultLists& m_lists;
    std::function<void()> m_countsChanged;
    QLineEdit& m_text;
    QCheckBox& m_hideEmpty;
    QCheckBox& m_hideFull;
    QCheckBox& m_hidePassworded;
    QComboBox& m_punkBuster;
    QComboBox& m_gameType;
    QComboBox& m_mod;
    QLineEdit& m_maxPing;
    bool m_filtering = false; // some rows may be hidden
    // The facts and texts of the lists' records by handle - 1, the texts one after the
    // other, for the filter to run over at each key without visiting the records.
    std::vector<ServerFacts> m_facts;
    std::string m_texts;
    std::vector<std::size_t> m_textEnds;
    unsigned m_generation = 0;
};
