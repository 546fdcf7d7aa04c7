#include "app/StatusLine.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>

#include <algorithm>

CStatusLine::CStatusLine(QLabel& label) : m_label(label)
{
    m_label.setTextFormat(Qt::PlainText);
    m_label.installEventFilter(this);
}

bool CStatusLine::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_label && event->type() == QEvent::Resize)
        Fit();
    return false;
}

void CStatusLine::Say(const QString& text)
{
    m_text = text;
    m_text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    Fit();
}

void CStatusLine::Fit()
{
    const QString shown =
        m_label.fontMetrics().elidedText(m_text, Qt::ElideRight, std::max(0, m_label.width() - 2));
    m_label.setText(shown);
    m_label.setToolTip(shown == m_text ? QString() : m_text);
}

void CStatusLine::AskingMaster(const QString& master, const QString& version)
{
    m_master = master;
    m_version = version;
    m_label.window()->setCursor(Qt::BusyCursor);
    Say(tr("Asking %1 for the servers of %2 \u2026").arg(master, version));
}

void CStatusLine::EndBusy()
{
    m_label.window()->unsetCursor();
}

void CStatusLine::MasterListed(int servers)
{
    EndBusy();
    if (servers == 0)
        Say(tr("The master server %1 lists no servers of %2.").arg(m_master, m_version));
    else if (servers == 1)
        Say(tr("The master server %1 lists 1 server of %2.").arg(m_master, m_version));
    else
        Say(tr("The master server %1 lists %2 servers of %3.")
                .arg(m_master, QString::number(servers), m_version));
}

void CStatusLine::MasterSilent()
{
    EndBusy();
    Say(tr("The master server %1 did not answer.").arg(m_master));
}

void CStatusLine::MasterDropped()
{
    EndBusy();
    Clear();
}

void CStatusLine::ScanStopped(int queried, int servers)
{
    Say(servers == 1 ? tr("Scan stopped: %1 of 1 server queried.").arg(queried)
                     : tr("Scan stopped: %1 of %2 servers queried.").arg(queried).arg(servers));
}

void CStatusLine::NobodyFound(const QString& searched)
{
    Say(tr("No player found for \"%1\".").arg(searched));
}

void CStatusLine::FavoriteAdded(const QString& address, bool already)
{
    Say(already ? tr("%1 is a favorite already.").arg(address)
                : tr("%1 added to the favorites.").arg(address));
}
