// The open-file dialog behind a hook, so that tests can choose a file without a dialog.
#pragma once

#include <QString>
#include <QStringList>

namespace tavi {

class OpenFileDialogService {
public:
    virtual ~OpenFileDialogService() = default;
    // The chosen file's full path, or an empty text when the user cancelled.
    virtual QString getOpenFileName(const QString& title, const QString& initialFile,
                                    const QStringList& filters) = 0;
    // The path to save to, or an empty text when the user cancelled.
    virtual QString getSaveFileName(const QString& title, const QString& initialFile,
                                    const QStringList& filters) = 0;
};

// Installs the dialog used by the selection window and by saves (not owned).
void setOpenFileDialogService(OpenFileDialogService* service);
OpenFileDialogService* openFileDialogService();

} // namespace tavi
