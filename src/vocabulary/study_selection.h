// Building the study selection from the selection window's three filters.
#pragma once

#include "training/review_log.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>

namespace tavi {

// Splits a comma-separated list: spaces are dropped wherever they stand, a comma ends
// an entry. "1, 2, 3" gives 1, 2, 3; "1 a, 2" gives 1a, 2; "" gives one empty entry.
QStringList SplitList(const QString& text);

struct StudyFilters {
    QString chapters; // comma-separated chapter labels; empty: every chapter
    QString level;    // highest level; empty or not a number: every level
    QString marks;    // comma-separated selection marks; empty: every mark
};

// Fills StudyList and StudyCount with the rows 0 to VocCount that pass all three
// filters, in ascending order. Returns false when the level limit was not a number
// (the window then clears it); it was ignored.
bool selectStudyWords(const StudyFilters& filters);

struct DueOrder {
    bool onlyDue = false; // due words first, most overdue first, then at most newLimit new ones
    int newLimit = 20;
    bool shuffle = false;
    quint32 seed = 0; // for the shuffle
};

struct DueCounts {
    int due = 0;   // selected words due today or before
    int fresh = 0; // selected words never answered
};

// Counts the selection's due and new words and, as asked, keeps only those and orders
// them, and shuffles the result. With neither, StudyList stays exactly as it was.
DueCounts orderByDueDays(const DueDays& due, const QDate& today, const DueOrder& order);

// How many words of the loaded table (rows 0 to VocCount) are due on each of the next
// days: [0] today or before (overdue words included), [i] on today + i.
QList<int> dueForecast(const DueDays& due, const QDate& today, int days);
// The main window's status line: how many words of the loaded table are due today.
QString dueTodayStatus();

} // namespace tavi
