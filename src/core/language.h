// Interface texts from language.ini, one section per language.
#pragma once

#include <QString>

namespace tavi {

// The text of key in LanguageSection. A missing or empty entry is written into the
// file as key=key (ready to be translated) and reads as empty this once.
QString LangText(const QString& key);

// The help page of a language section: help.htm, help_d.htm or help_n.htm.
QString helpPageFor(const QString& languageSection);

} // namespace tavi
