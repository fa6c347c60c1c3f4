#include "ui/check_box_settings.h"

#include "core/settings.h"

#include <QCheckBox>

namespace tavi {

void exchangeCheckBoxes(const QString& mode, std::initializer_list<CheckBoxSetting> boxes)
{
    for (const CheckBoxSetting& s : boxes) {
        const qint16 state = s.box->isChecked() ? 1 : 0;
        s.box->setChecked(gkeyValue<qint16>(mode, QLatin1String(s.key), state, s.fallback) == 1);
    }
}

} // namespace tavi
