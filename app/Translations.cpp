#include "app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

CTranslations::CTranslations(const QLocale& locale)
{
    Q_INIT_RESOURCE(translations);
    // English needs no file; looking for one would let a translation for another of the
    // user's preferred languages stand in for it.
    if (locale.language() == QLocale::English || locale.language() == QLocale::C)
        return;
    if (m_app.load(locale, QStringLiteral("farsighter"), QStringLiteral("_"),
                   QStringLiteral(":/translations")))
        m_appInstalled = QCoreApplication::installTranslator(&m_app);
    if (m_appInstalled && m_qt.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        m_qtInstalled = QCoreApplication::installTranslator(&m_qt);
}

CTranslations::~CTranslations()
{
    if (m_qtInstalled)
        QCoreApplication::removeTranslator(&m_qt);
    if (m_appInstalled)
        QCoreApplication::removeTranslator(&m_app);
}
