#pragma once

#include "app/PlayerSearch.h"

#include <QObject>
#include <QStringList>

#include <functional>

class CExComboBox;
class CResultLists;
class CStatusLine;
class QAbstractButton;
class QAbstractItemView;

// The main window's player search: the search field, its history in a list always shown
// below it, and the "Search" and "Del" buttons. A search (the button, Enter in the field,
// or a click on an entry of the history) runs CPlayerSearch, says on the status line when
// it found nobody, and puts its text into the history, which stays sorted with no two
// entries equal but for letter case. Up and Down move in the history without searching;
// "Del" (the button, or the Delete key in the list) deletes the highlighted entry after
// asking. Its stored form is CSearchHistory's, and when it is cut the entries searched in
// this session are the ones kept first.
class CSearchPanel : public QObject
{
public:
    // clock: milliseconds, for the rule that the double-click notice that ends a pick does
    // not search a second time; empty: a monotonic clock.
    CSearchPanel(CExComboBox& box, QAbstractItemView& history, QAbstractButton& search,
                 QAbstractButton& del, CResultLists& lists, CStatusLine& status,
                 std::function<qint64()> clock = {});

    // The history from its stored text, with its first entry shown.
    void Load(const QString& stored);
    // The history's stored text.
    QString Stored() const;
    // Searches for the trimmed text (nothing for an empty one) and adds it to the history.
    void Search(const QString& text);
    // Asks whether to delete the shown entry; deletes it on Yes.
    void DeleteEntry();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QStringList Entries() const;
    void Reload(const QStringList& entries, const QString& select);
    void OnCommand(int code);
    qint64 Now() const;

    CExComboBox& m_box;
    QAbstractItemView& m_history;
    CPlayerSearch m_search;
    CStatusLine& m_status;
    std::function<qint64()> m_clock;
    qint64 m_pickedUntil = -1;         // Now() starts at 0: nothing picked yet
    QStringList m_searchesThisSession; // newest first, for the history's cap
};
