// The log of words and syllables that have no recording, and its two settings, kept in
// tavi.ini as tools_logfile and tools_do_logging.
#pragma once

#include <QFile>
#include <QString>

namespace tavi {

inline bool LogEnabled = false;
inline QString LogFilePath;
// The characters of the word being spoken; every caller of SpeakPinyin sets it.
inline QString CurrentCharacter;
// Per program run: the header goes into the file once, and a file that cannot be
// written is reported once.
inline bool log_header_written = false;
inline bool log_failure_reported = false;

// Logging off, no path, nothing spoken yet and nothing written in this run.
void resetMissingSoundLog();

// The log's default path: tavi_logfile.csv in the user's home folder.
QString defaultLogFilePath();

// Reads ("R") or stores ("W") LogFilePath and LogEnabled through gkey. Public so that
// every initialisation of the main window puts the log settings in force.
void do_settings(const QString& mode);

// One opening of the log for one spoken text: appends to LogFilePath from construction
// to destruction, and does nothing at all while logging is off. A file that cannot be
// opened or written never stops the speaking; the user is told once per run.
class MissingSoundLog {
public:
    MissingSoundLog();
    ~MissingSoundLog();
    MissingSoundLog(const MissingSoundLog&) = delete;
    MissingSoundLog& operator=(const MissingSoundLog&) = delete;

    // A word whose own recording did not play; carries CurrentCharacter.
    void writeWord(const QString& pinyin);
    // A syllable of such a word without recording.
    void writeSyllable(const QString& pinyin);

    // One line of the file, CR LF included: fields in quotes, quotes inside kept as
    // they are.
    static QByteArray line(const QString& type, const QString& pinyin, const QString& character);

private:
    void write(const QByteArray& bytes);
    void fail();

    QFile m_file;
    bool m_open = false;
};

} // namespace tavi
