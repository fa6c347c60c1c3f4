// Qt's own texts (the buttons of the standard boxes, the file dialog) in the interface
// language, from the translations that come with Qt.
#pragma once

#include <QString>

namespace tavi {

// Puts Qt's texts into the language of the section (GERMAN German; ENGLISH, and NEW
// whose language the program cannot know, Qt's own English), replacing the translation
// used so far; open windows follow. False when Qt's translation for it is not
// installed: Qt's texts are then in English.
bool useQtTranslation(const QString& languageSection);

} // namespace tavi
