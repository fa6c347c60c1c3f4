// Typed settings in tavi.ini: every window reads and writes its options through gkey,
// so that one routine per window serves both directions.
#pragma once

#include <QString>
#include <QVariant>

namespace tavi {

// The stored text; empty when the file, section or key is missing.
QString ReadIniString(const QString& section, const QString& key, const QString& file);

QString ReadSetting(const QString& key);

// The value that stands for "not a number" (a missing key included).
inline constexpr qint32 NotANumber = -9999;

// The stored value as the nearest whole number (halves to even), or -9999.
qint32 ReadSettingNumber(const QString& key);

// Writes key=value; a refused write shows "WritePrivateProfileString - ERROR".
void WriteSetting(const QString& key, const QString& value);

// mode "R": reads into value by the type it holds (QString, qint16, qint32, float,
// bool), falling back to def; mode "W": stores value. Returns value afterwards.
QVariant gkey(const QString& mode, const QString& key, QVariant& value, const QVariant& def);

// gkey for a plain variable of one of the supported types.
template <typename T>
T gkeyValue(const QString& mode, const QString& key, const T& value, const QVariant& def)
{
    QVariant v = QVariant::fromValue(value);
    gkey(mode, key, v, def);
    return v.template value<T>();
}

} // namespace tavi
