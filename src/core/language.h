// Interface texts from language.ini, one section per language.
#pragma once

#include <QLocale>
#include <QString>

namespace tavi {

// The text of key in LanguageSection. A missing or empty entry is written into the
// file as key=key (ready to be translated) and reads as empty this once.
QString LangText(const QString& key);

// Dates and numbers as the interface language writes them (1,234 or 1.234); a language
// of the learner's own (NEW) takes the desktop's.
QLocale interfaceLocale();

// The help page of a language section: help.htm, help_d.htm or help_n.htm.
QString helpPageFor(const QString& languageSection);

} // namespace tavi
