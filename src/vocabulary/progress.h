// How far the learner has come: the words of the table by level, and the selected words
// by chapter and level.
#pragma once

#include <QList>
#include <QString>
#include <array>

namespace tavi {

inline constexpr int ProgressLevels = 10; // 0 to 9; a level beyond is counted at its end

using LevelCounts = std::array<int, ProgressLevels>;

struct ChapterCounts {
    QString chapter;
    LevelCounts levels{};
    int total() const;
};

struct Progress {
    LevelCounts allByLevel{};
    QList<ChapterCounts> selectedByChapter; // chapters in number order, then by name
    int words = 0;
    int selected = 0;
};

// The counts of VocTable rows 0 to VocCount and of the study selection.
Progress currentProgress();

} // namespace tavi
