// One translator at a time, owned by the application: a language switch removes the
// one before, and installing the new one sends every widget a LanguageChange.
#include "core/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

namespace tavi {

namespace {

QPointer<QTranslator> g_translator;

QString qtLanguageOf(const QString& languageSection)
{
    if (languageSection == u"GERMAN")
        return QStringLiteral("de");
    return {};
}

} // namespace

bool useQtTranslation(const QString& languageSection)
{
    if (g_translator) {
        QCoreApplication::removeTranslator(g_translator);
        delete g_translator;
    }
    const QString language = qtLanguageOf(languageSection);
    if (language.isEmpty())
        return true;
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QLocale(language), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    g_translator = translator;
    return true;
}

} // namespace tavi
