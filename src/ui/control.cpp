// Controls that several windows build alike.
#include "ui/control.h"

#include <QLineEdit>

namespace tavi {

QLineEdit* cardField(QWidget* parent, const char* name, int points)
{
    auto* f = newControl<QLineEdit>(parent, name);
    f->setReadOnly(true);
    f->setAlignment(Qt::AlignCenter);
    QFont font = f->font();
    font.setPointSize(points);
    f->setFont(font);
    return f;
}

} // namespace tavi
