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
#include <QString>
#include <optional>

namespace tavi {

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

    explicit ReviewLog(const QString& path);
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

private:
    bool prepare(QString* error);

    QString m_path;
    QString m_connection;
    bool m_open = false;
};

// The log of the program folder in use, opened at its first use, so that a start without
// training never touches it. opened holds how that went, once; afterwards nothing.
struct SharedReviewLog {
    ReviewLog* log = nullptr;
    std::optional<ReviewLog::OpenResult> opened;
};
SharedReviewLog programReviewLog();

} // namespace tavi
