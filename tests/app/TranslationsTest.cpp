// The program in the user's language: German where the locale asks for it, English, the
// language of the sources, everywhere else.
#include "app/Translations.h"
#include "app/AboutDlg.h"
#include "app/FavoritesDlg.h"
#include "app/MainDlg.h"
#include "app/MasterServerDlg.h"
#include "app/OptionsDlg.h"
#include "app/ResultLists.h"
#include "panlo/ControlId.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTabBar>

#include <gtest/gtest.h>

#include <string>

namespace {

// What a user sees first: the main window's tab, button and column title, the About box's
// title and its standard button (which Qt's own translation names).
std::string ShownTexts()
{
    MainDlgOptions options;
    CMainDlg window(options);
    window.show();
    CAboutDlg about(QStringLiteral("settings.conf"), QStringLiteral("favorites.dat"));
    const auto* buttons = about.findChild<QDialogButtonBox*>();
    return QStringList{
        qobject_cast<QTabBar*>(FindControl(&window, CMainDlg::IDC_TABS))->tabText(1),
        qobject_cast<QPushButton*>(FindControl(&window, CMainDlg::IDC_QUERY_MASTER))->text(),
        QString::fromStdString(window.Lists().Servers().GetColumnTitle(9)), about.windowTitle(),
        buttons->button(QDialogButtonBox::Close)->text()}
        .join(QStringLiteral(" | "))
        .toStdString();
}

const std::string kEnglish = "Server list | Query Master | Map | About Farsighter | Close";
const std::string kGerman = "Serverliste | Master abfragen | Karte | Über Farsighter | Schließen";

// The texts of window's buttons, check boxes and labels that do not fit them whole.
std::string ClippedTexts(const QWidget& window)
{
    QStringList clipped;
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisible())
            continue;
        const QStyle& style = *widget->style();
        QString text;
        int room = widget->width();
        if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            if (label->wordWrap())
                continue; // takes the lines it needs (DialogsTest)
            text = label->text();
        } else if (const auto* button = qobject_cast<const QPushButton*>(widget)) {
            text = button->text();
            room -= 2 * style.pixelMetric(QStyle::PM_ButtonMargin);
        } else if (widget->inherits("QCheckBox") || widget->inherits("QRadioButton")) {
            text = static_cast<const QAbstractButton*>(widget)->text();
            room -= style.pixelMetric(QStyle::PM_IndicatorWidth) +
                    style.pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
        }
        if (widget->fontMetrics().horizontalAdvance(text.remove(QLatin1Char('&'))) > room)
            clipped << text;
    }
    return clipped.join(QStringLiteral(" | ")).toStdString();
}

// The language the environment asks for, as the C library reads it.
bool EnvironmentAsksForGerman()
{
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QByteArray value = qgetenv(name);
        if (!value.isEmpty())
            return value.startsWith("de");
    }
    return false;
}

} // namespace

// German is longer than English: the fixed layouts widen so that no text is cut off.
TEST(TranslationsTest, GermanTextsFitTheWindowsAndDialogs)
{
    const CTranslations german(QLocale(QLocale::German, QLocale::Germany));
    MainDlgOptions options;
    CMainDlg window(options);
    window.show();
    EXPECT_EQ(ClippedTexts(window), "");
    COptionsDlg dialog(window.Settings(), &window);
    CFavoritesDlg favorites(window.FavoritesPath(), window.Settings(), &window);
    CMasterServerDlg master(window.MasterAddress(), &window);
    for (QDialog* shown : std::initializer_list<QDialog*>{&dialog, &favorites, &master}) {
        shown->show();
        EXPECT_EQ(ClippedTexts(*shown), "") << shown->windowTitle().toStdString();
    }
}

TEST(TranslationsTest, ComesUpInTheEnvironmentsLanguage)
{
    const CTranslations translations;
    EXPECT_EQ(ShownTexts(), EnvironmentAsksForGerman() ? kGerman : kEnglish);
}
