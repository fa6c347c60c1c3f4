// The Chinese font shipped beside the program as chars.dat.
#pragma once

#include <QString>

namespace tavi {

// Adds the font file to the application's fonts and lets the name "MS Song" (the
// ChineseFont of every window) stand for it. False when the file is missing or not a
// font; Chinese text then shows in whatever font the system substitutes.
bool addChineseFont(const QString& fontFile);

// Adds ProgramFolder's chars.dat once. Parsing the font file is the costliest step of
// start-up, so the main window does it right after it is first painted; every window
// that shows Chinese text calls this before it does, in case it comes first.
void ensureChineseFont();

} // namespace tavi
