#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QWidget;

// The one place where the application asks the user something: message boxes and file
// pickers. A test queues the answer before the prompt opens; with scripted answers on, a
// prompt that finds no queued answer is refused (Cancel, or no file) instead of waiting for
// a person, so a test can never hang in a modal loop. Every prompt shown is recorded with
// its text.
class CPrompts
{
public:
    // A message box with the application's name as its title. Returns the button
    // pressed.
    static QMessageBox::StandardButton
    Show(QWidget* parent, QMessageBox::Icon icon, const QString& text,
         QMessageBox::StandardButtons buttons = QMessageBox::Ok,
         QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    // The message box that Show would run, for pictures of it.
    static std::unique_ptr<QMessageBox>
    Build(QWidget* parent, QMessageBox::Icon icon, const QString& text,
          QMessageBox::StandardButtons buttons,
          QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    // An open-file dialog titled title, starting at fileName with the filters ("Name
    // (*.exe)" entries); the chosen path, or empty when cancelled.
    static QString OpenFileName(QWidget* parent, const QString& title, const QString& fileName,
                                const QStringList& filters);

    // Scripted answers, for tests and for tools that drive the program.
    static void SetScripted(bool scripted);
    static void SetNextAnswer(QMessageBox::StandardButton answer);
    // An answer given by a function that runs while the box would be open, as the events
    // that come in during a person's answer do (a list arriving, a scan ending).
    static void SetNextAnswer(std::function<QMessageBox::StandardButton()> answer);
    static void SetNextFileName(const QString& path); // empty: the picker is cancelled
    // Texts of the message boxes and the titles of the pickers shown so far.
    static QStringList Shown();
    static void Reset();

    // The title of every prompt.
    static void SetTitle(const QString& title);
};
