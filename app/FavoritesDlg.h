#pragma once

#include "lattix/view/TableCtrl.h"
#include "panlo/Resizer.h"

#include <QDialog>
#include <QString>

class CSettingsKey;

// The favorites: one row a favorite with its name, address and password. "New" adds a
// row, "Delete" removes the selected one, "OK" checks every address and saves the file,
// "Cancel" leaves it alone. The grid shows the file's last line first. A file that cannot
// be read whole is said so when the dialog opens, and is only shown: it is never saved over.
// The passwords show as dots unless "Show passwords" is checked; the in-place editor shows
// a password's text while editing.
class CFavoritesDlg : public QDialog
{
    Q_OBJECT

public:
    enum : int
    {
        IDC_FAVORITES = 1044,
        IDC_NEW = 1018,
        IDC_DELETE = 1019,
        IDC_SHOW_PASSWORDS = 1020,
    };
    static constexpr int kNameColumn = 0;
    static constexpr int kAddressColumn = 1;
    static constexpr int kPasswordColumn = 2;

    CFavoritesDlg(QString path, CSettingsKey& settings, QWidget* parent = nullptr);

    void NewFavorite();
    void DeleteFavorite();
    void accept() override;

    Lattix::CTableCtrl& Grid() { return m_grid; }
    // Why the file cannot be changed here; empty when it can.
    const QString& Problem() const { return m_problem; }

protected:
    void done(int result) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Load();

    QString m_path;
    CSettingsKey& m_settings;
    CResizer m_resizer;
    Lattix::CTableCtrl m_grid;
    QSize m_initialSize;
    QString m_problem;
};
