// Counting the word table for the progress view.
#include "vocabulary/progress.h"

#include "vocabulary/voc_file.h"
#include "vocabulary/word_table.h"

#include <QHash>
#include <algorithm>
#include <numeric>

namespace tavi {

namespace {

int levelIndex(const QString& level)
{
    bool ok = false;
    const int n = levelOf(level).toInt(&ok);
    return ok ? std::clamp(n, 0, ProgressLevels - 1) : 0;
}

} // namespace

int ChapterCounts::total() const
{
    return std::accumulate(levels.begin(), levels.end(), 0);
}

Progress currentProgress()
{
    Progress p;
    const int last = std::min(VocCount, static_cast<int>(VocTable.size()) - 1);
    for (int r = 0; r <= last; ++r) {
        ++p.allByLevel[levelIndex(VocTable[r][CTR])];
        ++p.words;
    }
    QHash<QString, int> index;
    for (int i = 0; i <= StudyCount && i < StudyList.size(); ++i) {
        const int row = studyRow(i);
        if (row < 0)
            continue;
        const QString chapter = VocTable[row][CHAPTER].trimmed();
        auto it = index.constFind(chapter);
        if (it == index.constEnd()) {
            it = index.insert(chapter, static_cast<int>(p.selectedByChapter.size()));
            p.selectedByChapter.append({chapter, {}});
        }
        ++p.selectedByChapter[*it].levels[levelIndex(VocTable[row][CTR])];
        ++p.selected;
    }
    std::stable_sort(p.selectedByChapter.begin(), p.selectedByChapter.end(),
                     [](const ChapterCounts& a, const ChapterCounts& b) {
                         bool na = false;
                         bool nb = false;
                         const double x = a.chapter.toDouble(&na);
                         const double y = b.chapter.toDouble(&nb);
                         if (na != nb)
                             return na; // numbered chapters first
                         return na ? x < y : a.chapter < b.chapter;
                     });
    return p;
}

} // namespace tavi
