// The real open-file dialog.
#pragma once

#include "core/services.h"

namespace tavi {

class QtOpenFileDialog final : public OpenFileDialogService {
public:
    QString getOpenFileName(const QString& title, const QString& initialFile,
                            const QStringList& filters) override;
    QString getSaveFileName(const QString& title, const QString& initialFile,
                            const QStringList& filters) override;
};

} // namespace tavi
