// Check boxes kept in the settings file as 1 (ticked) or 0.
#pragma once

#include <QString>
#include <QVariant>
#include <initializer_list>

class QCheckBox;

namespace tavi {

struct CheckBoxSetting {
    QCheckBox* box;
    const char* key;
    QVariant fallback; // the state when the settings file has none
};

// Reads ("R") or writes ("W") each box's state through gkey.
void exchangeCheckBoxes(const QString& mode, std::initializer_list<CheckBoxSetting> boxes);

} // namespace tavi
