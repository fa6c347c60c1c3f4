// The Chinese font shipped beside the program as chars.dat.
#pragma once

#include <QString>

namespace tavi {

// Adds the font file to the application's fonts and lets the name ChineseFont
// ("MS Song") stand for it. False when the file is missing or not a font; Chinese
// text then shows in whatever font the system substitutes.
bool addChineseFont(const QString& fontFile);

} // namespace tavi
