// Message boxes with the classic codes, behind a hook so that tests can answer them.
#pragma once

#include <QString>

namespace tavi {

// Flags: buttons plus icon, as the program has always used them.
enum MsgBoxStyle : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbYesNo = 4,
    vbCritical = 16,
    vbExclamation = 48,
    vbInformation = 64,
};

// The button pressed.
enum MsgBoxResult : int { vbOK = 1, vbCancel = 2, vbYes = 6, vbNo = 7 };

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    virtual int show(const QString& text, int flags, const QString& title) = 0;
};

// Installs the service every MsgBox goes through (not owned). Without one, a box is
// written to standard error and answered with its first button.
void setMessageBoxService(MessageBoxService* service);

// Shows a message box; an empty title means the application's title ("Tavi").
int MsgBox(const QString& text, int flags = vbOKOnly, const QString& title = QString());

} // namespace tavi
