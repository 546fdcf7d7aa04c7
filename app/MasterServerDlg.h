#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;

// Edits the master server's address. "OK" takes only an address that resolves; a text
// without a port keeps the port of the address shown. Otherwise the dialog says what is
// wrong and stays open.
class CMasterServerDlg : public QDialog
{
    Q_OBJECT

public:
    static constexpr int IDC_MASTER = 1046;
    static constexpr int IDC_HINT = 1047;

    CMasterServerDlg(const QString& master, QWidget* parent = nullptr);

    // "host:port" as confirmed.
    const QString& Master() const { return m_master; }

    void accept() override;

private:
    // Places the hint with room for all its lines, and the edit and the buttons around it.
    void Arrange();

    QString m_master;
    QLineEdit* m_edit = nullptr;
    QLabel* m_hint = nullptr;
};
