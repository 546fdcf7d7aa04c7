#include "app/AboutDlg.h"

#include "net/Version.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(const QString& settingsPath, const QString& favoritesPath, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("About Farsighter"));
    auto* layout = new QVBoxLayout(this);
    const QStringList lines = Lines(settingsPath, favoritesPath);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        auto* label = new QLabel(lines[i], this);
        label->setTextFormat(Qt::PlainText);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        if (i == 0) {
            QFont title = label->font();
            title.setBold(true);
            label->setFont(title);
        }
        layout->addWidget(label);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QStringList CAboutDlg::Lines(const QString& settingsPath, const QString& favoritesPath)
{
    return {QStringLiteral("Farsighter %1").arg(QStringLiteral(FARSIGHTER_VERSION)),
            QStringLiteral("Qt %1").arg(QString::fromLatin1(qVersion())),
            tr("Settings: %1").arg(QDir::toNativeSeparators(settingsPath)),
            tr("Favorites: %1").arg(QDir::toNativeSeparators(favoritesPath)),
            tr("Licence: GPL-3.0-or-later"),
            tr("Farsighter comes with no warranty, to the extent permitted by law.")};
}

QUrl CAboutDlg::ReadmeUrl()
{
    const QString installed = QDir(QCoreApplication::applicationDirPath())
                                  .filePath(QStringLiteral(FARSIGHTER_DOC_FROM_BIN "/README.md"));
    const QString readme = QFileInfo::exists(installed) ? QDir::cleanPath(installed)
                                                        : QStringLiteral(FARSIGHTER_SOURCE_README);
    return QUrl::fromLocalFile(readme);
}
