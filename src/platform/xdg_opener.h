// Opens documents and addresses with the desktop's handler through xdg-open.
#pragma once

#include "core/run_file.h"
#include "core/services.h"

#include <QObject>

namespace tavi {

class XdgOpener final : public QObject, public DesktopOpener {
    Q_OBJECT
public:
    explicit XdgOpener(QString program = QStringLiteral("xdg-open"), QObject* parent = nullptr);
    void open(const QString& target, const QString& directory, std::function<void(int)> done) override;

private:
    QString m_program;
};

} // namespace tavi
