// The chapter and mark filters compare whole texts, case and all; a list is scanned up
// to its first empty entry, so "1,,2" means chapter 1 only. Levels compare as whole
// numbers of any size.
#include "vocabulary/study_selection.h"

#include "core/language.h"
#include "core/numbers.h"
#include "training/review_log.h"
#include "vocabulary/word_table.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace tavi {

namespace {

// The entries before the first empty one.
QStringList leadingEntries(const QString& text)
{
    QStringList entries = SplitList(text);
    const qsizetype empty = entries.indexOf(QString());
    if (empty >= 0)
        entries.resize(empty);
    return entries;
}

double levelValue(QStringView cell)
{
    const auto v = parseNumber(cell);
    return v ? roundHalfEven(*v) : 0.0;
}

} // namespace

QStringList SplitList(const QString& text)
{
    QStringList entries;
    QString current;
    for (QChar c : text) {
        if (c == u' ')
            continue;
        if (c == u',') {
            entries << current;
            current.clear();
            continue;
        }
        current += c;
    }
    entries << current;
    return entries;
}

bool selectStudyWords(const StudyFilters& filters)
{
    ++VocTableVersion;
    const bool allChapters = filters.chapters.isEmpty();
    const bool allMarks = filters.marks.isEmpty();
    const QStringList chapters = leadingEntries(filters.chapters);
    const QStringList marks = leadingEntries(filters.marks);

    bool levelValid = true;
    bool allLevels = filters.level.isEmpty();
    double limit = 0;
    if (!allLevels) {
        if (const auto v = parseNumber(filters.level)) {
            limit = roundHalfEven(*v);
        } else {
            levelValid = false;
            allLevels = true;
        }
    }

    StudyList.clear();
    const int last = std::min(VocCount, static_cast<int>(VocTable.size()) - 1);
    for (int r = 0; r <= last; ++r) {
        const VocRow& row = VocTable[r];
        if (!allChapters && !chapters.contains(row.view(CHAPTER)))
            continue;
        if (!allLevels && !(levelValue(row.view(CTR)) <= limit))
            continue;
        if (!allMarks && !marks.contains(row.view(SELECTION)))
            continue;
        StudyList << QString::number(r);
    }
    StudyCount = static_cast<int>(StudyList.size()) - 1;
    return levelValid;
}

DueCounts orderByDueDays(const DueDays& due, const QDate& today, const DueOrder& order)
{
    DueCounts counts;
    struct Due {
        qint64 overdue;
        QString entry;
    };
    QList<Due> dueWords;
    QStringList fresh;
    for (const QString& entry : std::as_const(StudyList)) {
        const int row = entry.toInt();
        if (row < 0 || row >= static_cast<int>(VocTable.size()))
            continue;
        const auto day = due.constFind(ReviewLog::wordKey(VocTable[row][CHAR], VocTable[row][PINYIN]));
        if (day == due.constEnd()) {
            ++counts.fresh;
            fresh << entry;
        } else if (*day <= today) {
            ++counts.due;
            dueWords.append({day->daysTo(today), entry});
        }
    }
    if (order.onlyDue) {
        std::stable_sort(dueWords.begin(), dueWords.end(),
                         [](const Due& a, const Due& b) { return a.overdue > b.overdue; });
        StudyList.clear();
        for (const Due& d : std::as_const(dueWords))
            StudyList << d.entry;
        StudyList << fresh.mid(0, std::max(0, order.newLimit));
    }
    if (order.shuffle) {
        std::mt19937 random(order.seed);
        std::shuffle(StudyList.begin(), StudyList.end(), random);
    }
    StudyCount = static_cast<int>(StudyList.size()) - 1;
    return counts;
}

QList<int> dueForecast(const DueDays& due, const QDate& today, int days)
{
    QList<int> counts(std::max(days, 1), 0);
    const int last = std::min(VocCount, static_cast<int>(VocTable.size()) - 1);
    for (int r = 0; r <= last; ++r) {
        const auto day = due.constFind(ReviewLog::wordKey(VocTable[r][CHAR], VocTable[r][PINYIN]));
        if (day == due.constEnd())
            continue;
        const qint64 in = std::max<qint64>(0, today.daysTo(*day));
        if (in < counts.size())
            ++counts[in];
    }
    return counts;
}

QString dueTodayStatus()
{
    const int due = dueForecast(openedReviewLog()->dueDays(desiredRetention()), QDate::currentDate(), 1)[0];
    return LangText(QStringLiteral("main_txt_status_due")).arg(due).arg(VocCount + 1);
}

} // namespace tavi
