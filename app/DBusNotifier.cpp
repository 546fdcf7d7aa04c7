#include "app/DBusNotifier.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kDefaultAction = QStringLiteral("default");
// The most notifications whose clicks are remembered: a service that never says that it
// closed them does not make the map grow for ever.
constexpr std::size_t kMaxRemembered = 32;
// How long asking whether the service is there may take, once.
constexpr int kLookUpTimeoutMs = 1000;

} // namespace

CDBusNotifier::CDBusNotifier(QDBusConnection bus, QObject* parent)
    : QObject(parent), m_bus(std::move(bus))
{
    if (!m_bus.isConnected()) {
        m_service = Service::Missing;
        return;
    }
    m_bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                  SLOT(OnActionInvoked(uint, QString)));
    m_bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                  SLOT(OnClosed(uint, uint)));
}

bool CDBusNotifier::Available()
{
    if (m_service != Service::Unknown)
        return m_service != Service::Missing;
    m_service = Service::Missing;
    const QDBusConnectionInterface* daemon = m_bus.interface();
    if (!m_bus.isConnected() || !daemon)
        return false;
    const bool running = daemon->isServiceRegistered(kService).value();
    const QStringList startable = daemon->activatableServiceNames().value();
    if (!running && !startable.contains(kService))
        return false;
    QDBusMessage ask = QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                      QStringLiteral("GetCapabilities"));
    const QDBusMessage answer = m_bus.call(ask, QDBus::Block, kLookUpTimeoutMs);
    if (answer.type() != QDBusMessage::ReplyMessage)
        return false;
    const QStringList capabilities = answer.arguments().value(0).toStringList();
    m_service =
        capabilities.contains(QStringLiteral("body-markup")) ? Service::Markup : Service::Plain;
    return true;
}

void CDBusNotifier::Notify(const QString& summary, const QString& body,
                           std::function<void()> onClick)
{
    if (!Available())
        return;
    // Names come from servers: a service that reads markup gets them escaped.
    const QString shownBody = m_service == Service::Markup ? body.toHtmlEscaped() : body;
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("farsighter")}};
    call << QStringLiteral("Farsighter") << uint(0) << QStringLiteral("farsighter") << summary
         << shownBody << QStringList{kDefaultAction, tr("Show server")} << hints << -1;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, click = std::move(onClick)](QDBusPendingCallWatcher* done) {
                const QDBusPendingReply<uint> reply = *done;
                done->deleteLater();
                if (reply.isError() || !click)
                    return;
                if (m_clicks.size() >= kMaxRemembered)
                    m_clicks.erase(m_clicks.begin());
                m_clicks[reply.value()] = click;
            });
}

void CDBusNotifier::OnActionInvoked(uint id, const QString& action)
{
    const auto found = m_clicks.find(id);
    if (found == m_clicks.end() || action != kDefaultAction)
        return;
    const std::function<void()> click = found->second;
    click();
}

void CDBusNotifier::OnClosed(uint id, uint)
{
    m_clicks.erase(id);
}
