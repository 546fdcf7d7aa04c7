// The program in the user's language: German where the locale asks for it, English, the
// language of the sources, everywhere else.
#include "app/Translations.h"
#include "app/AboutDlg.h"
#include "app/MainDlg.h"
#include "app/ResultLists.h"
#include "panlo/ControlId.h"

#include <QDialogButtonBox>
#include <QPushButton>
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

TEST(TranslationsTest, GermanComesAndGoesWithItsLocale)
{
    {
        const CTranslations german(QLocale(QLocale::German, QLocale::Germany));
        EXPECT_TRUE(german.IsTranslated());
        EXPECT_EQ(ShownTexts(), kGerman);
    }
    EXPECT_EQ(ShownTexts(), kEnglish);
    for (const QLocale& locale : {QLocale(QLocale::English, QLocale::UnitedStates), QLocale::c()}) {
        const CTranslations english(locale);
        EXPECT_FALSE(english.IsTranslated());
        EXPECT_EQ(ShownTexts(), kEnglish);
    }
}

// ctest runs this under LANG=de_DE.UTF-8 and LANG=en_US.UTF-8 too.
TEST(TranslationsTest, ComesUpInTheEnvironmentsLanguage)
{
    const CTranslations translations;
    EXPECT_EQ(ShownTexts(), EnvironmentAsksForGerman() ? kGerman : kEnglish);
}
