#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QUrl>

// The About box that the program's name beside the tabs opens: the program's and Qt's
// versions, where the settings and the favorites are kept, and the licence, with a Close
// button. The file paths can be selected and copied.
class CAboutDlg : public QDialog
{
    Q_OBJECT

public:
    CAboutDlg(const QString& settingsPath, const QString& favoritesPath, QWidget* parent = nullptr);

    // The lines the box shows, top to bottom.
    static QStringList Lines(const QString& settingsPath, const QString& favoritesPath);
    // The project's README as a file:// URL: the copy installed in the documentation folder
    // beside the program, else (running from the build tree) the source tree's own.
    static QUrl ReadmeUrl();
};
