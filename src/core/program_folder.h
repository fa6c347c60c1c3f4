// Where the program keeps its files. A folder holding language.ini beside the
// executable (a build folder, an unpacked copy) is the program folder, as it always was.
// An installed program (the executable in P/bin, its files in P/share/tavi) keeps each
// user's own files in $XDG_DATA_HOME/tavi instead: settings, the language file and the
// vocabularies there survive upgrades, and the large read-only files are used from
// P/share/tavi.
#pragma once

#include <QString>

namespace tavi {

struct ProgramLayout {
    QString program; // ProgramFolder: what the program writes and the user may change
    QString shared;  // the read-only files; the program folder itself when not installed
    bool perUser = false;
};

// The layout for an executable in that folder; dataHome is $XDG_DATA_HOME (by default
// ~/.local/share).
ProgramLayout programLayout(const QString& executableFolder, const QString& dataHome);

// Creates the per-user folder and copies into it, from the shared folder, each file the
// user may change that it does not hold yet (language.ini, the help pages, the sample
// vocabularies). Never replaces a file. Returns an empty text, or what went wrong.
QString prepareUserFolder(const ProgramLayout& layout);

} // namespace tavi
