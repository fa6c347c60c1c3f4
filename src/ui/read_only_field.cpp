// Meant for fields that are only read: in one being typed into, moving the cursor home
// would get in the way.
#include "ui/read_only_field.h"

#include <QLineEdit>

namespace tavi {

void showText(QLineEdit* field, const QString& text)
{
    field->setText(text);
    field->setCursorPosition(0);
    field->setToolTip(text);
}

} // namespace tavi
