#include "app/Prompts.h"

#include <QFileDialog>
#include <QFileInfo>

#include <deque>

namespace {

// The prompt seam's script: answers queued by a test, and what was shown.
struct Script
{
    bool scripted = false;
    std::deque<std::function<QMessageBox::StandardButton()>> answers;
    std::deque<QString> fileNames;
    QStringList shown;
    QString title = QStringLiteral("Farsighter");
};

Script& TheScript()
{
    static Script script;
    return script;
}

} // namespace

QMessageBox::StandardButton CPrompts::Show(QWidget* parent, QMessageBox::Icon icon,
                                           const QString& text,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton)
{
    Script& script = TheScript();
    script.shown.append(text);
    if (!script.answers.empty()) {
        const auto answer = std::move(script.answers.front());
        script.answers.pop_front();
        return answer();
    }
    if (script.scripted)
        return buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel : QMessageBox::NoButton;
    return static_cast<QMessageBox::StandardButton>(
        Build(parent, icon, text, buttons, defaultButton)->exec());
}

std::unique_ptr<QMessageBox> CPrompts::Build(QWidget* parent, QMessageBox::Icon icon,
                                             const QString& text,
                                             QMessageBox::StandardButtons buttons,
                                             QMessageBox::StandardButton defaultButton)
{
    auto box = std::make_unique<QMessageBox>(icon, TheScript().title, text, buttons, parent);
    if (defaultButton != QMessageBox::NoButton)
        box->setDefaultButton(defaultButton);
    return box;
}

QString CPrompts::OpenFileName(QWidget* parent, const QString& title, const QString& fileName,
                               const QStringList& filters)
{
    Script& script = TheScript();
    script.shown.append(title);
    if (!script.fileNames.empty()) {
        QString path = script.fileNames.front();
        script.fileNames.pop_front();
        return path;
    }
    if (script.scripted)
        return {};
    QFileDialog dialog(parent, title);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(filters);
    const QFileInfo start(fileName);
    if (start.isAbsolute())
        dialog.setDirectory(start.absolutePath());
    dialog.selectFile(start.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front();
}

void CPrompts::SetScripted(bool scripted)
{
    TheScript().scripted = scripted;
}

void CPrompts::SetNextAnswer(QMessageBox::StandardButton answer)
{
    TheScript().answers.push_back([answer] { return answer; });
}

void CPrompts::SetNextAnswer(std::function<QMessageBox::StandardButton()> answer)
{
    TheScript().answers.push_back(std::move(answer));
}

void CPrompts::SetNextFileName(const QString& path)
{
    TheScript().fileNames.push_back(path);
}

QStringList CPrompts::Shown()
{
    return TheScript().shown;
}

void CPrompts::Reset()
{
    Script& script = TheScript();
    script.answers.clear();
    script.fileNames.clear();
    script.shown.clear();
}

void CPrompts::SetTitle(const QString& title)
{
    TheScript().title = title;
}
