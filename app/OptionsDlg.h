#pragma once

#include <QDialog>

class CSettingsKey;
class QCheckBox;
class QLineEdit;
class QRadioButton;

// The options: what to query at start-up, whether to close after joining, the stored
// background-requery flag, and the country database of the server list (empty: the
// system's). Reads and writes the settings directly.
class COptionsDlg : public QDialog
{
    Q_OBJECT

public:
    enum : int
    {
        IDC_AUTO_CLOSE = 1050,
        IDC_AUTO_REQUERY = 1052,
        IDC_STARTUP_NOTHING = 1016,
        IDC_STARTUP_FAVORITES = 1042,
        IDC_STARTUP_MASTER = 1004,
        IDC_COUNTRY_DATABASE = 1060,
        IDC_COUNTRY_BROWSE = 1061,
    };

    COptionsDlg(CSettingsKey& settings, QWidget* parent = nullptr);

    void accept() override;

private:
    CSettingsKey& m_settings;
    QCheckBox* m_autoClose = nullptr;
    QCheckBox* m_autoRequery = nullptr;
    QRadioButton* m_nothing = nullptr;
    QRadioButton* m_favorites = nullptr;
    QRadioButton* m_master = nullptr;
    QLineEdit* m_countryDatabase = nullptr;
};
