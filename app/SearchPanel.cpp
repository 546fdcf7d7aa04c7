#include "app/SearchPanel.h"

#include "app/Prompts.h"
#include "app/StatusLine.h"
#include "velk/ExComboBox.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QElapsedTimer>
#include <QKeyEvent>

CSearchPanel::CSearchPanel(CExComboBox& box, QAbstractItemView& history, QAbstractButton& search,
                           QAbstractButton& del, CResultLists& lists, CStatusLine& status,
                           std::function<qint64()> clock)
    : m_box(box), m_history(history), m_search(lists), m_status(status), m_clock(std::move(clock))
{
    m_box.ShowListIn(m_history);
    m_history.installEventFilter(this);
    m_box.m_bAutoSelect = false;
    m_box.SetSorted(true);
    connect(&search, &QAbstractButton::clicked, this, [this] { Search(m_box.currentText()); });
    connect(&del, &QAbstractButton::clicked, this, &CSearchPanel::DeleteEntry);
    connect(&m_box, &CExComboBox::Command, this, [this](int, int code) { OnCommand(code); });
}

bool CSearchPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_history && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        DeleteEntry();
        return true;
    }
    return false;
}

qint64 CSearchPanel::Now() const
{
    if (m_clock)
        return m_clock();
    static const QElapsedTimer started = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    return started.elapsed();
}

void CSearchPanel::OnCommand(int code)
{
    if (code == CExComboBox::kSelEndOk) {
        // A double click that picks an entry also ends in a double-click notice; it must
        // not search a second time.
        m_pickedUntil = Now() + 100;
        Search(m_box.GetSelectedText());
    } else if (code == CExComboBox::kDblClk && Now() > m_pickedUntil) {
        Search(m_box.currentText());
    }
}

QStringList CSearchPanel::Entries() const
{
    QStringList entries;
    for (int i = 0; i < m_box.count(); ++i)
        entries.append(m_box.itemText(i));
    return entries;
}

void CSearchPanel::Reload(const QStringList& entries, const QString& select)
{
    const QSignalBlocker blocker(&m_box);
    m_box.clear();
    for (const QString& entry : entries)
        m_box.AddItem(entry, 1);
    if (!select.isEmpty())
        m_box.setCurrentIndex(CSearchHistory::Find(entries, select));
    // The list heard nothing of the blocked box: it highlights the entry shown now.
    m_history.setCurrentIndex(m_box.model()->index(m_box.currentIndex(), 0));
}

void CSearchPanel::Load(const QString& stored)
{
    Reload(CSearchHistory::Parse(stored), {});
    if (m_box.count() > 0)
        m_box.setCurrentIndex(0);
}

QString CSearchPanel::Stored() const
{
    return CSearchHistory::Format(Entries(), m_searchesThisSession);
}

void CSearchPanel::Search(const QString& rawText)
{
    const QString text = rawText.trimmed();
    if (text.isEmpty())
        return;
    QStringList entries = Entries();
    if (CSearchHistory::Find(entries, text) < 0) {
        entries.append(text);
        entries.sort(Qt::CaseInsensitive);
        Reload(entries, text);
    }
    m_searchesThisSession.removeAll(text);
    m_searchesThisSession.prepend(text);
    if (m_search.Run(text))
        m_status.Clear();
    else
        m_status.NobodyFound(text);
}

void CSearchPanel::DeleteEntry()
{
    const int index = m_box.currentIndex();
    if (index < 0)
        return;
    const QString entry = m_box.itemText(index);
    if (CPrompts::Show(
            m_box.window(), QMessageBox::Question,
            QCoreApplication::translate("CSearchPanel", "Are you sure to delete '%1'?").arg(entry),
            QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    // The question ran an event loop of its own: the entry is found again by its text.
    const int now = m_box.findText(entry, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (now >= 0)
        m_box.removeItem(now);
}
