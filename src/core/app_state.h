// Process-wide state that every window reads: where the program's files are, the
// interface language and the Chinese font name. Set once by the start-up sequence;
// only LanguageSection, HelpFile and VocFilePath change later.
#pragma once

#include <QString>

namespace tavi {

inline QString ProgramFolder;   // folder of the executable, no trailing separator
inline QString LanguageFile;    // ProgramFolder/language.ini
inline QString SettingsFile;    // ProgramFolder/tavi.ini
inline QString SettingsSection; // "Tavi"
inline QString SoundFolder;     // ProgramFolder/sound/ (with the trailing separator)
// The installed program's read-only files (sound/, chars.dat, cards.jpg, cedict.idx) where the
// program folder has none of its own; the program folder itself in a build folder.
inline QString SharedFolder;
inline QString LanguageSection; // "ENGLISH", "GERMAN" or "NEW"
inline QString ChineseFont;     // font name given to every Chinese text field
inline QString HelpFile;        // help page of the current language
inline QString VocFilePath;     // the current vocabulary file

// The application's title: the default title of message boxes.
inline const QString AppTitle = QStringLiteral("Tavi");

// Every value above as before the start-up sequence, the language ENGLISH and the
// Chinese font "MS Song" (what a test starts from).
void resetAppState();

// Joins a folder and a file name with the native separator.
QString joinPath(const QString& folder, const QString& name);

// Fixes ProgramFolder and the paths derived from it (start-up steps 1 to 5);
// SharedFolder is sharedFolder, or the program folder when that is empty.
void initProgramPaths(const QString& programFolder, const QString& sharedFolder = QString());

// The program folder's file of that name, or else the shared folder's.
QString programFile(const QString& name);

// The start counter after one more start: it stops at the 16-bit maximum instead of
// wrapping round to a negative value (which would eventually show the welcome again).
qint16 nextStartCounter(qint16 counter);

// The counter value that marks the very first start.
inline constexpr qint16 FirstStartCounter = 2137;

} // namespace tavi
