// Whether the web browser component that the vocabulary editor needs is usable, judged
// by the version of its library in the system folder.
#pragma once

#include <QString>

namespace tavi {

// test_auf_shdocvw over a folder: true when systemFolder holds "shdocvw.dll" (that
// spelling) and the first four characters of its FileVersion form a plain decimal
// number (digits with at most one point, nothing else) above 4.71.
// On Linux the installation window checks the desktop's input connection in its place.
bool browserComponentUsable(const QString& systemFolder);

} // namespace tavi
