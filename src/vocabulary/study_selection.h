// Building the study selection from the selection window's three filters.
#pragma once

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

} // namespace tavi
