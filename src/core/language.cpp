// Lookups are not cached: a translation edited while the program runs shows as soon
// as a window loads again.
#include "core/language.h"

#include "core/app_state.h"
#include "core/ini_store.h"
#include "core/settings.h"

namespace tavi {

QString LangText(const QString& key)
{
    const QString t = ReadIniString(LanguageSection, key, LanguageFile);
    if (t.isEmpty())
        ini::write(LanguageFile, LanguageSection, key, key); // a refused write is not reported
    return t;
}

QLocale interfaceLocale()
{
    if (LanguageSection == u"GERMAN")
        return QLocale(QLocale::German, QLocale::Germany);
    if (LanguageSection == u"ENGLISH")
        return QLocale(QLocale::English, QLocale::UnitedKingdom);
    return QLocale::system();
}

QString helpPageFor(const QString& languageSection)
{
    if (languageSection == u"GERMAN")
        return joinPath(ProgramFolder, QStringLiteral("help_d.htm"));
    if (languageSection == u"NEW")
        return joinPath(ProgramFolder, QStringLiteral("help_n.htm"));
    return joinPath(ProgramFolder, QStringLiteral("help.htm"));
}

} // namespace tavi
