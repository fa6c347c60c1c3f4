// Fields that are only read, showing texts that may be longer than they are wide, and
// pinyin in them as the pinyin display setting says.
#pragma once

#include <QString>

class QLineEdit;

namespace tavi {

// Shows text from its beginning, however long, with the whole text as the field's tool
// tip (empty for an empty text, so that a cleared card tells nothing). QLineEdit puts
// its cursor after a text it is given, which scrolls a text longer than the field to
// its end.
void showText(QLineEdit* field, const QString& text);

// Shows stored pinyin with tone marks or digits, in tone colours or not, as the setting
// says; the field shows it anew when the setting changes.
void showPinyinText(QLineEdit* field, const QString& stored);
// Shows characters, in the tones of their pinyin when the setting colours characters
// (and there are as many characters as syllables); anew when the setting changes.
void showCharactersText(QLineEdit* field, const QString& characters, const QString& pinyin);

} // namespace tavi
