#pragma once

#include "app/Prompts.h"

#include <QSettings>
#include <QTemporaryDir>

#include <cstdlib>

// The profile a benchmark's window runs in: no screen needed, settings and data in a
// folder of its own that goes with it, and prompts answered by script. Made before the
// application object; Settings once it exists.
class CBenchProfile
{
public:
    CBenchProfile()
    {
        if (!std::getenv("QT_QPA_PLATFORM"))
            setenv("QT_QPA_PLATFORM", "offscreen", 0);
        qputenv("XDG_CONFIG_HOME", m_dir.filePath("config").toLocal8Bit());
        qputenv("XDG_DATA_HOME", m_dir.filePath("data").toLocal8Bit());
    }

    // The window's settings in the profile.
    QSettings Settings() const
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.filePath("config"));
        CPrompts::SetScripted(true);
        return {QSettings::NativeFormat, QSettings::UserScope, "Farsighter RTCW"};
    }

private:
    QTemporaryDir m_dir;
};
