#pragma once

#include <QLocale>
#include <QTranslator>

// The program's texts in the user's language: its own translation, built into the program,
// and Qt's for the standard buttons and dialogs, chosen by the locale. English is the
// language of the sources and needs neither; a language without a translation stays English.
class CTranslations
{
public:
    // Installs the translations for locale on the application while this object lives.
    explicit CTranslations(const QLocale& locale = QLocale::system());
    ~CTranslations();
    CTranslations(const CTranslations&) = delete;
    CTranslations& operator=(const CTranslations&) = delete;

    // Whether the program's own texts are translated.
    bool IsTranslated() const { return m_appInstalled; }

private:
    QTranslator m_app;
    QTranslator m_qt;
    bool m_appInstalled = false;
    bool m_qtInstalled = false;
};
