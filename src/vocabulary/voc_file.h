// The vocabulary file: reading it into text, parsing the text into the word table,
// building the canonical text from the table, and writing it back.
//
// The canonical file is UTF-16 little-endian with the mark FF FE; a header line
// "CTR + PINYIN + CHAR + TRANSLATION + CHAPTER + SELECTION", then one word per line,
// six fields joined by " + ", every line ended by a single CR.
#pragma once

#include "vocabulary/word_table.h"

#include <QString>
#include <functional>
#include <span>

namespace tavi {

inline const QString VocHeader = QStringLiteral("CTR + PINYIN + CHAR + TRANSLATION + CHAPTER + SELECTION");

// A larger file is no vocabulary file: it is refused rather than read whole.
inline constexpr qint64 MaxVocFileSize = 256LL * 1024 * 1024;
// The text of a vocabulary file's bytes without its byte-order mark, read as
// ReadVocFile says.
QString vocTextFromBytes(QByteArrayView bytes);
// The file's text without its byte-order mark; empty when it cannot be opened or is
// larger than MaxVocFileSize. Reads UTF-16 LE (FF FE), UTF-16 BE (FE FF), UTF-8 (EF BB
// BF, or valid UTF-8 without NUL bytes), Windows-1252 (no NUL bytes, not UTF-8);
// anything else as UTF-16 LE whose first code unit is dropped. Every line end, CR LF
// and LF alone as well, becomes a CR.
QString ReadVocFile(const QString& path);

// Makes VocTable the words of the text (rows 0 to VocCount) and sets VocCount.
void ParseVocText(const QString& text);

// The text with the header line put in front when its first line is a word line (the
// header was deleted), so that ParseVocText does not take that word as the header.
QString withHeader(const QString& text);

// The next field of a line: from the "+" (or line start) at position (1-based) to the
// next "+", trimmed of spaces. position moves to that "+", or to 0 after the last field.
QString NextField(int& position, const QString& line);

// The level a level field stands for, as decimal text.
QString levelOf(const QString& field);

// The canonical text of the rows, and of VocTable rows 0 to VocCount.
QString vocText(std::span<const VocRow> rows);
QString BuildVocText();

// Narrows a text to the system's 8-bit code page. That code page is UTF-8 here, so
// every character is kept; only what UTF-8 cannot hold (a lone surrogate) becomes "?".
QString NarrowToAnsi(const QString& text);

// Replaces the file with FF FE and the text as UTF-16 LE, atomically, keeping the
// previous file as <name>.bak. A failure is shown in an exclamation box naming the
// file; the old file then stays as it was. Returns whether the file was written.
bool WriteVocFile(const QString& path, const QString& text);

// What a file holds, to see later whether somebody else changed it: a hash of its
// bytes, or a mark for a missing or unreadable file.
QByteArray contentStamp(const QString& path);
// Saves the word text over path, the table's own file. When that file changed on disk
// since the table was read from it or last saved there (another program or another
// copy of Tavi wrote it, or it was deleted), it is not replaced: a box names the file
// and offers to save under another name, which then becomes the file in use
// (VocFilePath). Returns whether the words were written somewhere.
bool saveVocabulary(const QString& path, const QString& text);
// Makes an empty table the table of path (a new file that a save will create).
void startNewTable(const QString& path);

enum class LoadResult { Loaded, Missing, Unreadable, Empty, TooLarge };

// What a caller of readVocabulary may ask for while the file is read.
struct VocReading {
    std::function<void(qint64 done, qint64 total)> progress; // bytes, after each stretch
    std::function<void(QStringView line)> line; // every line of the text, as the editor shows them
};

// ReadVocFile and, when it gave text, ParseVocText, in one pass over the file that
// never holds the whole file or its text; remembers the file as the table's source.
// Loaded when the file held at least one word. A header without words leaves an empty
// table read from that file; a file that is missing, unreadable, too large or holds no
// text at all leaves the table as it was.
LoadResult readVocabulary(const QString& path, const VocReading& reading = {});
// What a box says of a file that gave Unreadable or TooLarge, from language.ini.
QString loadFailureText(LoadResult result);
// readVocabulary gave Loaded.
inline bool loadVocabularyFile(const QString& path)
{
    return readVocabulary(path) == LoadResult::Loaded;
}

} // namespace tavi
