// Fields that are only read, showing texts that may be longer than they are wide.
#pragma once

#include <QString>

class QLineEdit;

namespace tavi {

// Shows text from its beginning, however long, with the whole text as the field's tool
// tip (empty for an empty text, so that a cleared card tells nothing). QLineEdit puts
// its cursor after a text it is given, which scrolls a text longer than the field to
// its end.
void showText(QLineEdit* field, const QString& text);

} // namespace tavi
