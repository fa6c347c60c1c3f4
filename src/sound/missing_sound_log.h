// Settings of the log of words and syllables that have no recording.
#pragma once

#include <QString>

namespace tavi {

inline bool LogEnabled = false;
inline QString LogFilePath;

// The log's default path: tavi_logfile.csv in the user's home folder.
QString defaultLogFilePath();

// Reads ("R") or stores ("W") LogFilePath and LogEnabled through gkey. Public so that
// every initialisation of the main window puts the log settings in force.
void do_settings(const QString& mode);

} // namespace tavi
