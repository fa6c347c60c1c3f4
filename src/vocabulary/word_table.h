// The loaded vocabulary and the study selection: process-wide state that the
// selection window fills and every trainer reads.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

namespace tavi {

// Columns of a word row, named by the words of the file's header.
enum VocColumn : int { CTR = 0, PINYIN = 1, CHAR = 2, TRANSLATION = 3, CHAPTER = 4, SELECTION = 5 };
inline constexpr int VocColumns = 6;

// One word's six cells, kept one after another in a single piece of memory: a table of
// millions of words then costs little more than their text. A cell is read as a copy
// (row[PINYIN]) or a view (row.view(PINYIN)) and changed with set().
class VocRow {
public:
    VocRow() = default;
    VocRow(QStringView level, QStringView pinyin, QStringView characters, QStringView translation,
           QStringView chapter, QStringView selection);
    // The same from texts, so that a row can be written as {"1", "ni3", "你", ...}.
    VocRow(const QString& level, const QString& pinyin, const QString& characters, const QString& translation,
           const QString& chapter, const QString& selection);

    // A const copy: VocTable[r][CTR] = x would change nothing, so it does not compile.
    const QString operator[](int column) const { return view(column).toString(); }
    QStringView view(int column) const;
    void set(int column, QStringView value);
    QStringList cells() const;

    bool operator==(const VocRow&) const = default;

private:
    QString m_text;                               // the six cells one after another
    std::array<quint32, VocColumns - 1> m_ends{}; // where each cell but the last ends
};

// Rows 0 to VocCount hold the current words; rows after it keep whatever an earlier,
// longer file left there, and nothing reads them. The table grows with the file.
inline std::vector<VocRow> VocTable;
inline int VocCount = -1; // index of the last word; -1 when none

// Entries 0 to StudyCount name VocTable rows as decimal text ("17" is row 17).
inline QStringList StudyList;
inline int StudyCount = -1;

// Counts every change of the word table or the study selection, so that a view can see
// whether it is still up to date.
inline int VocTableVersion = 0;

// The file the word table was read from in this run; empty while nothing was read.
inline QString VocTableSource;
// contentStamp of that file when it was read or last saved.
inline QByteArray VocTableStamp;

// A row without a word: only blanks after the level (what a blank line of a file gives).
bool isBlankRow(const VocRow& row);

// No words, no selection, no source: as at the start of a run.
void resetWordTable();

// Whether a save may replace path with the word table: only a table read from that
// very file in this run, holding at least one word. A save after a failed or missing
// load would otherwise replace the user's words with an empty list.
bool tableReadFrom(const QString& path);

// The row that study entry i names, or -1 when the entry is no valid row.
int studyRow(int i);

} // namespace tavi
