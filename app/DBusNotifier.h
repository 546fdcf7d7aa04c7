#pragma once

#include "app/DesktopNotifier.h"

#include <QDBusConnection>
#include <QObject>

#include <map>

// Notifications through the freedesktop notification service on the session bus
// (org.freedesktop.Notifications). A notification carries the default action, so that a
// click on it sends "ActionInvoked" with "default", which runs its onClick. Without a
// session bus or without the service nothing is shown; calls never block on the service
// once it was found.
class CDBusNotifier : public QObject, public IDesktopNotifier
{
    Q_OBJECT

public:
    explicit CDBusNotifier(QDBusConnection bus = QDBusConnection::sessionBus(),
                           QObject* parent = nullptr);

    void Notify(const QString& summary, const QString& body,
                std::function<void()> onClick) override;
    // Notifications whose click the service has numbered and that are still remembered.
    std::size_t Shown() const { return m_clicks.size(); }

private slots:
    void OnActionInvoked(uint id, const QString& action);
    void OnClosed(uint id, uint reason);

private:
    // Whether the service is there, and whether its bodies are markup; asked once.
    bool Available();

    enum class Service
    {
        Unknown,
        Missing,
        Plain,
        Markup,
    };
    QDBusConnection m_bus;
    Service m_service = Service::Unknown;
    std::map<uint, std::function<void()>> m_clicks; // of the notifications still shown
};
