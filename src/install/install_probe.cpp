// The desktop's input methods, found by the files their Debian packages install.
#include "install/install_probe.h"

#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>

namespace tavi {

namespace {

// Engines of IBus (ibus-libpinyin, ibus-pinyin, ibus-rime, ibus-chewing, ibus-table-chinese)
// and add-ons of fcitx5 (fcitx5-chinese-addons, fcitx5-rime, fcitx5-chewing).
const QStringList kIbusChinese = {
    QStringLiteral("ibus/component/libpinyin.xml"),
    QStringLiteral("ibus/component/pinyin.xml"),
    QStringLiteral("ibus/component/rime.xml"),
    QStringLiteral("ibus/component/chewing.xml"),
    QStringLiteral("ibus-table/tables/wubi-jidian86.db"),
};
const QStringList kFcitx5Chinese = {
    QStringLiteral("fcitx5/inputmethod/pinyin.conf"),  QStringLiteral("fcitx5/inputmethod/shuangpin.conf"),
    QStringLiteral("fcitx5/inputmethod/rime.conf"),    QStringLiteral("fcitx5/addon/rime.conf"),
    QStringLiteral("fcitx5/inputmethod/chewing.conf"),
};

} // namespace

DesktopInstallProbe::DesktopInstallProbe(QString root, QString qtPlugins)
    : m_root(std::move(root)),
      m_qtPlugins(qtPlugins.isEmpty() ? QLibraryInfo::path(QLibraryInfo::PluginsPath) : std::move(qtPlugins))
{}

bool DesktopInstallProbe::program(const QString& name) const
{
    QStringList folders = qEnvironmentVariable("PATH").split(u':', Qt::SkipEmptyParts);
    folders << QStringLiteral("/usr/bin") << QStringLiteral("/bin");
    for (const QString& folder : folders) {
        const QFileInfo f(m_root + folder + u'/' + name);
        if (f.isFile() && f.isExecutable())
            return true;
    }
    return false;
}

bool DesktopInstallProbe::plugin(const QString& file) const
{
    return QFileInfo(m_root + m_qtPlugins + QStringLiteral("/platforminputcontexts/") + file).isFile();
}

bool DesktopInstallProbe::anyData(const QStringList& files) const
{
    for (const char* share : {"/usr/share/", "/usr/local/share/"})
        for (const QString& file : files)
            if (QFileInfo(m_root + QLatin1String(share) + file).isFile())
                return true;
    return false;
}

bool DesktopInstallProbe::ibus() const
{
    return program(QStringLiteral("ibus-daemon"));
}

bool DesktopInstallProbe::fcitx5() const
{
    return program(QStringLiteral("fcitx5"));
}

bool DesktopInstallProbe::inputConnection() const
{
    return (ibus() && plugin(QStringLiteral("libibusplatforminputcontextplugin.so"))) ||
           (fcitx5() && plugin(QStringLiteral("libfcitx5platforminputcontextplugin.so")));
}

bool DesktopInstallProbe::chineseInputMethod() const
{
    return (ibus() && anyData(kIbusChinese)) || (fcitx5() && anyData(kFcitx5Chinese));
}

} // namespace tavi
