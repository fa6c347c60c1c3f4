// What the installation check asks of the desktop: whether Chinese can be typed into
// the program (an input-method framework with its Qt connection) and whether a Chinese
// input method is there for it. Only files are looked at, so a check is quick and never
// waits for a daemon.
#pragma once

#include "core/services.h"

#include <QString>
#include <QStringList>

namespace tavi {

// IBus (its daemon and Qt's IBus input-context plugin) or fcitx5 (its daemon and its
// Qt 6 front-end plugin), and a Chinese input method of a framework whose daemon is
// there. The files the packages of this desktop install, below a root folder ("" for the
// machine itself; a test gives a folder of its own).
class DesktopInstallProbe final : public InstallProbe {
public:
    // qtPlugins: Qt's plugin folder; empty for the one this program loads from.
    explicit DesktopInstallProbe(QString root = QString(), QString qtPlugins = QString());

    bool inputConnection() const override;
    bool chineseInputMethod() const override;

private:
    bool program(const QString& name) const;
    bool plugin(const QString& file) const;
    bool anyData(const QStringList& files) const;
    bool ibus() const;
    bool fcitx5() const;

    QString m_root;
    QString m_qtPlugins;
};

} // namespace tavi
