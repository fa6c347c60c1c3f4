// A file given to the program from outside (`tavi FILE`, the desktop's "Open with", or
// a second `tavi FILE` handed to the running copy) goes where it belongs: a vocabulary
// file of the program's own to the selection window, any other file to the import window.
#pragma once

#include <QString>

namespace tavi {

// Opens the window for the file (an absolute path) with the file in it.
void openGivenFile(const QString& path);

} // namespace tavi
