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

// Shows a message box through services().boxes; an empty title means the
// application's title ("Tavi"). Without that service the box is written to standard
// error and answered with its first button.
int MsgBox(const QString& text, int flags = vbOKOnly, const QString& title = QString());

} // namespace tavi
