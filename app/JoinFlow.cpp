#include "app/JoinFlow.h"

#include "app/GameLauncher.h"
#include "app/JoinCommand.h"
#include "app/Prompts.h"
#include "app/RecentServers.h"
#include "app/SettingsKey.h"
#include "format/Cp1252.h"
#include "query/Server.h"

#include <QDialog>
#include <QDir>

namespace {

// The first join asks where the game is: the title says what to pick.
const char* const kPickerTitle =
    QT_TRANSLATE_NOOP("CJoinFlow", "Where is the game? Pick its program: WolfMP.exe, or the native "
                                   "wolfmp.x86 on Linux");

} // namespace

CJoinFlow::Target CJoinFlow::TargetOf(const CServer& server)
{
    return {QString::fromStdString(server.address.ToString()),
            QString::fromStdString(Cp1252ToUtf8(server.password)),
            QByteArray::fromStdString(server.name)};
}

CJoinFlow::CJoinFlow(QDialog& window, CSettingsKey& settings, QString recentPath)
    : m_window(window), m_settings(settings), m_recentPath(std::move(recentPath))
{
}

void CJoinFlow::ReadOptions()
{
    m_autoClose = m_settings.GetInt(QStringLiteral("AutoClose"), 1) != 0;
}

bool CJoinFlow::Refuse(const QString& password)
{
    const auto refusal = UnsafeJoinText(tr("password"), password);
    if (refusal)
        CPrompts::Show(&m_window, QMessageBox::Warning, *refusal);
    return refusal.has_value();
}

void CJoinFlow::Remember(const Target& target)
{
    QString error;
    if (!CRecentServers(m_recentPath)
             .Add({target.address, target.name, QDateTime::currentDateTimeUtc()}, &error))
        CPrompts::Show(&m_window, QMessageBox::Warning,
                       tr("Cannot save the recent servers to %1: %2")
                           .arg(QDir::toNativeSeparators(m_recentPath), error));
}

bool CJoinFlow::Join(const Target& target, const QString& typed, bool revealed)
{
    QString path = m_settings.GetString(QStringLiteral("RTCW"));
    QString password = typed.trimmed();
    // A password that would add commands to the game's command line is refused before
    // anything else is asked.
    if (Refuse(password))
        return false;
    switch (ChooseJoinPassword(password, target.favorite)) {
    case JoinPasswordChoice::Typed:
        break;
    case JoinPasswordChoice::Favorite:
        password = target.favorite;
        break;
    case JoinPasswordChoice::Ask: {
        const auto answer = CPrompts::Show(
            &m_window, QMessageBox::Question, AmbiguousPasswordQuestion(target.favorite, revealed),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer == QMessageBox::Cancel || answer == QMessageBox::NoButton)
            return false;
        if (answer == QMessageBox::Yes)
            password = target.favorite;
        break;
    }
    }
    if (Refuse(password))
        return false;
    const QStringList arguments = JoinArguments(JoinCommandText(target.address, password));
    const QStringList filters = {QStringLiteral("WolfMP.exe (*.exe)"),
                                 tr("Game programs (wolfmp* iowolfmp* *.x86*)"),
                                 tr("All files (*)")};
    for (;;) {
        const CGameLauncher::Result result = CGameLauncher::Start(path, arguments);
        if (result.started)
            break;
        if (!result.problem.isEmpty())
            CPrompts::Show(&m_window, QMessageBox::Warning, result.problem);
        path =
            CPrompts::OpenFileName(&m_window, tr(kPickerTitle),
                                   path.isEmpty() ? QStringLiteral("WolfMP.exe") : path, filters);
        if (path.isEmpty())
            return false;
        m_settings.SetString(QStringLiteral("RTCW"), path);
    }
    Remember(target);
    if (m_autoClose)
        m_window.reject();
    return true;
}
