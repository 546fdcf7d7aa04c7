#pragma once

#include <QDialog>
#include <QStringList>

#include <functional>

class QLineEdit;
class QListWidget;
class QPushButton;

// The friends: a list of names and "*" patterns. "Add" takes the name in the field below
// the list (a name the list compares equal to one in it, or one that is nothing but stars,
// is not taken), "Remove" drops the selected entries, "OK" saves the list and closes the
// dialog only once it is saved, "Cancel" leaves the list as it was. A file that could not
// be read is said, and the dialog only shows it: it is never saved over.
class CFriendsDlg : public QDialog
{
    Q_OBJECT

public:
    CFriendsDlg(const QStringList& entries, const QString& problem, QWidget* parent = nullptr);

    // What "OK" runs with the entries; false keeps the dialog open.
    void SetSave(std::function<bool(const QStringList&)> save) { m_save = std::move(save); }

    QStringList Entries() const;
    QLineEdit& NameField() { return *m_name; }
    QListWidget& List() { return *m_list; }

    void AddName();
    void RemoveSelected();
    void accept() override;

private:
    void UpdateButtons();

    std::function<bool(const QStringList&)> m_save;
    QListWidget* m_list = nullptr;
    QLineEdit* m_name = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_ok = nullptr;
    bool m_readOnly = false;
};
