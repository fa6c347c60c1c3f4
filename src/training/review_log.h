// The review log: every Yes and No of the flashcards, one row each, in an SQLite file
// that learners and other programs can read (table reviews). A word's answers follow it
// by its characters and pinyin, whatever file it is in; its schedule is computed from
// them. Each answer is committed on its own, with the write-ahead journal and full
// synchronisation, so that a killed program loses nothing that was answered, and two
// copies of the program may log into one file.
#pragma once

#include "training/fsrs.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QTimeZone>
#include <optional>

namespace tavi {

// The day each answered word is due next, by its key (ReviewLog::wordKey). A word
// without one is new.
using DueDays = QHash<QString, QDate>;

// The answers of one day in the learner's calendar.
struct DayCount {
    int reviews = 0;
    int known = 0;
};
using ReviewDays = QMap<QDate, DayCount>;

// The desired retention of the schedule, 0.70 to 0.97 (default 0.90), kept in tavi.ini
// as a percentage under progress_retention.
double desiredRetention();
void setDesiredRetention(int percent);
inline constexpr int MinRetention = 70;
inline constexpr int MaxRetention = 97;

struct Review {
    QDateTime time; // UTC
    QString characters;
    QString pinyin;
    QString file; // the vocabulary file's name
    bool known = false;
    int levelBefore = 0;
    int levelAfter = 0;
    qint64 answerMs = 0; // from the card being shown to the answer
};

class ReviewLog {
public:
    enum class Opened { Fine, SetAside, Failed };
    struct OpenResult {
        Opened how = Opened::Fine;
        QString setAside; // where a file that was no database was moved
        QString error;
    };

    // Days are counted in the zone given, the learner's own by default.
    explicit ReviewLog(const QString& path, const QTimeZone& zone = QTimeZone::systemTimeZone());
    ~ReviewLog();
    ReviewLog(const ReviewLog&) = delete;
    ReviewLog& operator=(const ReviewLog&) = delete;

    // Opens the file, made if missing. A file that is no database (or a damaged one) is
    // moved aside and a new one begun.
    OpenResult open();
    bool isOpen() const { return m_open; }
    const QString& path() const { return m_path; }

    // The new row's id, or nothing when it could not be written.
    std::optional<qint64> append(const Review& review);
    // Takes an answer back (the flashcards' Undo).
    bool remove(qint64 id);

    // Every answer, per word (wordKey), oldest first.
    QHash<QString, QList<fsrs::Answer>> answersByWord() const;
    static QString wordKey(const QString& characters, const QString& pinyin);
    qint64 count() const;

    // The day each answered word is due at this retention. The log keeps every word's
    // memory up to date as it is answered (table word_states), so this reads one row per
    // word, and only again when another copy of the program has answered since.
    DueDays dueDays(double desiredRetention) const;
    // Answers per day (table review_days, kept up to date like word_states).
    ReviewDays reviewDays() const;
    // The whole log as CSV in UTF-8, a header naming the columns first.
    bool exportCsv(const QString& path, QString* error) const;

private:
    struct WordState {
        fsrs::MemoryState memory;
        qint64 lastDay = 0; // the Julian day of the last answer in the zone
        QDateTime last;
    };
    bool prepare(QString* error);
    bool rebuildDerived();
    bool updateWord(const QString& characters, const QString& pinyin, const fsrs::Answer& answer);
    bool replayWord(const QString& characters, const QString& pinyin);
    bool storeState(const QString& characters, const QString& pinyin, const WordState& state);
    bool countDay(const QDateTime& time, bool known, int step);
    void loadStates() const;
    qint64 dataVersion() const;

    QString m_path;
    QString m_connection;
    QTimeZone m_zone;
    bool m_open = false;
    // The word table as last read (what the due days need of it), with the data version
    // it was read at.
    struct Due {
        double stability = 0;
        qint64 lastDay = 0;
    };
    mutable QHash<QString, Due> m_states;
    mutable qint64 m_statesVersion = -1;
    // The due days computed from it, and at which retention (-1: none yet).
    mutable DueDays m_due;
    mutable double m_dueRetention = -1;
};

// The log of the program folder in use, opened at its first use, so that a start without
// training never touches it. opened holds how that went, once; afterwards nothing.
struct SharedReviewLog {
    ReviewLog* log = nullptr;
    std::optional<ReviewLog::OpenResult> opened;
};
SharedReviewLog programReviewLog();
// The program's log for a window that is about to use it: a log that was set aside or
// cannot be written is said in a box, once. The log may then be closed (isOpen false):
// it logs nothing and answers every question as an empty log would.
ReviewLog* openedReviewLog();

} // namespace tavi
