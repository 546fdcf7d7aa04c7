#include "app/OptionsDlg.h"

#include "app/CountryOption.h"
#include "app/Prompts.h"
#include "app/SettingsKey.h"
#include "panlo/ControlId.h"
#include "panlo/DialogUnits.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace {

// Units for the dialog's font, widened (by at most half again) where a check box's text in
// the user's language would not fit the width that the template gives it.
CDialogUnits FittedUnits(const QFont& font, std::initializer_list<std::pair<QString, int>> boxes)
{
    const CDialogUnits units(font);
    double ratio = 1.0;
    for (const auto& [text, width] : boxes)
        ratio = std::max(ratio, (QFontMetrics(font).horizontalAdvance(text) + 24.0) /
                                    std::max(1, units.X(width)));
    ratio = std::min(ratio, 1.5);
    return CDialogUnits(static_cast<int>(units.BaseWidth() * ratio + 0.999), units.BaseHeight());
}

} // namespace

COptionsDlg::COptionsDlg(CSettingsKey& settings, QWidget* parent)
    : QDialog(parent), m_settings(settings)
{
    setWindowTitle(tr("Options ..."));
    const QString autoClose = tr("Close after joining");
    const QString autoRequery = tr("Requery server data in background ");
    const CDialogUnits units = FittedUnits(font(), {{autoClose, 120}, {autoRequery, 140}});
    setFixedSize(units.ToPixels(0, 0, 204, 115).size());

    m_autoClose = new QCheckBox(autoClose, this);
    m_autoClose->setGeometry(units.ToPixels(7, 7, 120, 10));
    SetControlId(m_autoClose, IDC_AUTO_CLOSE);
    m_autoRequery = new QCheckBox(autoRequery, this);
    m_autoRequery->setGeometry(units.ToPixels(7, 19, 140, 10));
    SetControlId(m_autoRequery, IDC_AUTO_REQUERY);
    connect(m_autoRequery, &QCheckBox::clicked, this, [this] {
        CPrompts::Show(this, QMessageBox::Information,
                       tr("To reduce lag, it is strongly recommended to also check "
                          "the 'Close after joining' option when checking this "
                          "option!"));
    });

    auto* group = new QGroupBox(tr("Start up query"), this);
    group->setGeometry(units.ToPixels(7, 33, 132, 48));
    auto* buttons = new QButtonGroup(this);
    buttons->setExclusive(false); // so that no button may be set at all
    const auto radio = [&](int id, const char* text, int y) {
        auto* button = new QRadioButton(tr(text), this);
        button->setGeometry(units.ToPixels(14, y, 100, 10));
        SetControlId(button, id);
        buttons->addButton(button);
        return button;
    };
    m_nothing = radio(IDC_STARTUP_NOTHING, QT_TR_NOOP("nothing"), 44);
    m_favorites = radio(IDC_STARTUP_FAVORITES, QT_TR_NOOP("favorites"), 56);
    m_master = radio(IDC_STARTUP_MASTER, QT_TR_NOOP("master"), 68);
    connect(buttons, &QButtonGroup::buttonClicked, this, [this, buttons](QAbstractButton* clicked) {
        for (QAbstractButton* button : buttons->buttons())
            button->setChecked(button == clicked);
    });

    auto* countryLabel = new QLabel(tr("Country database (MaxMind DB):"), this);
    countryLabel->setGeometry(units.ToPixels(7, 86, 190, 8));
    m_countryDatabase = new QLineEdit(this);
    m_countryDatabase->setGeometry(units.ToPixels(7, 96, 168, 12));
    m_countryDatabase->setPlaceholderText(tr("the system's"));
    SetControlId(m_countryDatabase, IDC_COUNTRY_DATABASE);
    countryLabel->setBuddy(m_countryDatabase);
    auto* browse = new QPushButton(QStringLiteral("..."), this);
    browse->setGeometry(units.ToPixels(180, 95, 17, 14));
    SetControlId(browse, IDC_COUNTRY_BROWSE);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString path =
            CPrompts::OpenFileName(this, tr("Country database"), m_countryDatabase->text(),
                                   {tr("MaxMind DB (*.mmdb)"), tr("All files (*)")});
        if (!path.isEmpty())
            m_countryDatabase->setText(path);
    });

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setGeometry(units.ToPixels(147, 7, 50, 14));
    ok->setDefault(true);
    SetControlId(ok, 1);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setGeometry(units.ToPixels(147, 24, 50, 14));
    SetControlId(cancel, 2);
    connect(ok, &QPushButton::clicked, this, &COptionsDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &COptionsDlg::reject);

    m_autoClose->setChecked(m_settings.GetInt(QStringLiteral("AutoClose"), 1) != 0);
    m_autoRequery->setChecked(m_settings.GetInt(QStringLiteral("AutoRequery"), 0) != 0);
    m_countryDatabase->setText(m_settings.GetString(QString::fromLatin1(CCountryOption::kSetting)));
    switch (m_settings.GetInt(QStringLiteral("StartupQuery"), 0)) {
    case 0:
        m_nothing->setChecked(true);
        break;
    case 1:
        m_favorites->setChecked(true);
        break;
    case 2:
        m_master->setChecked(true);
        break;
    default:
        break;
    }
}

void COptionsDlg::accept()
{
    m_settings.SetInt(QStringLiteral("AutoClose"), m_autoClose->isChecked() ? 1 : 0);
    m_settings.SetInt(QStringLiteral("AutoRequery"), m_autoRequery->isChecked() ? 1 : 0);
    m_settings.SetInt(QStringLiteral("StartupQuery"),
                      m_master->isChecked() ? 2 : (m_favorites->isChecked() ? 1 : 0));
    // Only a change is stored, so that the settings of a user who never names one stay as
    // they were.
    const QString country = QString::fromLatin1(CCountryOption::kSetting);
    if (m_countryDatabase->text().trimmed() != m_settings.GetString(country))
        m_settings.SetString(country, m_countryDatabase->text().trimmed());
    QDialog::accept();
}
