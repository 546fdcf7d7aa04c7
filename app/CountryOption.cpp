#include "app/CountryOption.h"

#include "app/ResultLists.h"
#include "app/SettingsKey.h"
#include "app/StatusLine.h"
#include "geo/CountryDatabase.h"

#include <QFile>

void CCountryOption::Apply(const Factory& factory, const CSettingsKey& settings,
                           CResultLists& lists, CStatusLine& status)
{
    if (factory) {
        lists.SetCountryLookup(factory());
        return;
    }
    const QString path = settings.GetString(QString::fromLatin1(kSetting)).trimmed();
    auto database = std::make_unique<CCountryDatabase>(QFile::encodeName(path).toStdString());
    if (!database->Problem().empty())
        status.Say(tr("The country database %1 cannot be used (%2); the system's is used instead.")
                       .arg(path, QString::fromStdString(database->Problem())));
    lists.SetCountryLookup(std::move(database));
}
