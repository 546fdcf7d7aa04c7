#pragma once

#include <QString>

#include <functional>

// What the window asks of the desktop's notifications: show one with a summary and a
// body (plain text), and run onClick when the user clicks it. A desktop without a
// notification service shows nothing, and nothing is said about it.
class IDesktopNotifier
{
public:
    virtual ~IDesktopNotifier() = default;
    virtual void Notify(const QString& summary, const QString& body,
                        std::function<void()> onClick) = 0;
};
