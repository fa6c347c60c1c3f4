// Settings reads and writes over the INI store.
#include "core/settings.h"

#include "core/app_state.h"
#include "core/ini_store.h"
#include "core/msgbox.h"
#include "core/numbers.h"

#include <limits>

namespace tavi {

QString ReadIniString(const QString& section, const QString& key, const QString& file)
{
    return ini::read(file, section, key);
}

QString ReadSetting(const QString& key)
{
    return ReadIniString(SettingsSection, key, SettingsFile);
}

qint32 ReadSettingNumber(const QString& key)
{
    return parseWholeNumber(ReadSetting(key)).value_or(NotANumber);
}

void WriteSetting(const QString& key, const QString& value)
{
    if (!ini::write(SettingsFile, SettingsSection, key, value))
        MsgBox(QStringLiteral("WritePrivateProfileString - ERROR"));
}

namespace {

QString textForm(const QVariant& v)
{
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    return v.toString();
}

// A default given as text ("1", "False") takes the type of the caller's variable.
QVariant converted(const QVariant& def, QMetaType type)
{
    if (type.id() == QMetaType::Bool && def.typeId() == QMetaType::QString) {
        const QString s = def.toString();
        if (s == u"True")
            return true;
        if (s == u"False")
            return false;
    }
    QVariant v = def;
    if (!v.convert(type))
        return QVariant(type);
    return v;
}

} // namespace

QVariant gkey(const QString& mode, const QString& key, QVariant& value, const QVariant& def)
{
    const QString d = textForm(def);
    if (mode == u"W") {
        WriteSetting(key, textForm(value));
        return value;
    }
    if (mode != u"R") {
        MsgBox(QStringLiteral("gkey error"));
        return value;
    }
    switch (value.typeId()) {
    case QMetaType::QString: {
        const QString s = ReadSetting(key);
        value = s.isEmpty() ? d : s;
        break;
    }
    case QMetaType::Short: {
        // A stored number outside the 16-bit range reads as the default.
        const qint32 n = ReadSettingNumber(key);
        const bool fits = n >= std::numeric_limits<qint16>::min() && n <= std::numeric_limits<qint16>::max();
        value = (n == NotANumber || !fits) ? converted(def, value.metaType())
                                           : QVariant::fromValue(static_cast<qint16>(n));
        break;
    }
    case QMetaType::Int:
    case QMetaType::Float: {
        const qint32 n = ReadSettingNumber(key);
        const QMetaType type = value.metaType();
        value = n == NotANumber ? converted(def, type) : converted(QVariant(n), type);
        break;
    }
    case QMetaType::Bool: {
        const QString s = ReadSetting(key);
        if (s == u"True")
            value = true;
        else if (s == u"False")
            value = false;
        else
            value = converted(def, value.metaType());
        break;
    }
    default:
        MsgBox(QStringLiteral("gkey vartype error"));
        break;
    }
    return value;
}

} // namespace tavi
