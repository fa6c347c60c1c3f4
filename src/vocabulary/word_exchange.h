// Words in from other programs and out to them: Pleco's flashcard text, delimited text
// (Anki's "Notes in plain text", CSV, TSV) and Anki's import format.
//
// An import goes in steps that a window can show: detectImport guesses the encoding, the
// format and what each column holds from the first part of the file; importRecords and a
// convertImport with a row limit preview it; the user may change any choice; convertImport
// then reads the whole file into rows of the word table, marking the words the table
// already has and listing the lines it could not read, with the reason.
#pragma once

#include "vocabulary/word_table.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <span>
#include <vector>

namespace tavi {

enum class ImportEncoding { Utf8, Utf16LE, Utf16BE, Windows1252, Latin1 };
enum class ImportFormat { Delimited, Pleco };
enum class ColumnRole { Ignore, Characters, Pinyin, Translation, Chapter, Mark, Level };

// Why a file is not imported at all.
enum class ImportRefusal { None, Unreadable, TooLarge, Binary, NoRows };

// What the user may change before the words are read.
struct ImportChoices {
    ImportEncoding encoding = ImportEncoding::Utf8;
    ImportFormat format = ImportFormat::Delimited;
    QChar separator = u'\t';  // of delimited text
    bool html = false;        // fields are HTML: tags dropped, <br> a blank, entities decoded
    bool headerRow = false;   // the first row names the columns and is no word
    QList<ColumnRole> roles;  // per column of delimited text; columns beyond it are ignored
    int tagsColumn = -1;      // 0-based column of Anki tags: the chapter is its first tag, _ a blank
    bool traditional = false; // of Pleco's simplified[traditional], keep the traditional form

    bool operator==(const ImportChoices&) const = default;
};

struct ImportDetection {
    ImportRefusal refusal = ImportRefusal::None;
    ImportChoices choices;   // the guess; Pleco text gets the roles of its three columns
    QStringList columnNames; // from "#columns:", the header row or Anki's "#tags column:" and such
                             // lines (empty names between); empty when the file names none
    int columns = 0;         // the most fields a row of the first part has
};

// Reads a file to import; a file over MaxVocFileSize is refused without reading it.
ImportRefusal readImportFile(const QString& path, QByteArray& bytes);

// The guess, from the first 64 KB of the bytes (the UTF-8 check aside, which looks at all
// of them: a wrong guess would garble the words further down). Refuses bytes over
// MaxVocFileSize, binary data, and a file whose first part gives no word.
ImportDetection detectImport(QByteArrayView bytes);

// Whether the bytes are a vocabulary file of this program's own (its header line, or
// lines of six fields joined by "+"), which is read rather than imported.
bool isVocabularyText(QByteArrayView bytes);

// The text of the bytes without a byte-order mark.
QString importText(QByteArrayView bytes, ImportEncoding encoding);

// Pinyin as the vocabulary files write it: tone marks become digits (nǐhǎo → ni3hao3; in
// a field with marks, a syllable without one is the neutral 0), ü written v or u: becomes
// ü, the apostrophe that marks set before a, e or o goes; a field without any tone mark
// keeps its syllables as they are (with digits or none).
QString importedPinyin(const QString& pinyin);

enum class LineProblem { NoCharactersOrPinyin, NoTab };

struct SkippedLine {
    int line = 0; // 1-based
    LineProblem problem = LineProblem::NoCharactersOrPinyin;
    bool operator==(const SkippedLine&) const = default;
};

struct ImportedWord {
    VocRow row;
    int line = 0;           // 1-based line where its row starts
    bool duplicate = false; // the target has these characters with this pinyin already
};

struct ImportResult {
    ImportRefusal refusal = ImportRefusal::None; // NoRows when no line gave a word
    std::vector<ImportedWord> words;             // in file order, duplicates included
    QList<SkippedLine> skipped;
    int duplicates = 0;
    bool complete = true; // false for a preview that did not reach the end of the file

    // The rows to add to the table: without the duplicates unless they are kept.
    std::vector<VocRow> rows(bool keepDuplicates = false) const;
};

// The words of the bytes read with the choices. Duplicates are judged against target
// (characters and pinyin alike, case and blanks aside). maxRows >= 0 makes a preview:
// only the first megabyte is decoded, and reading stops after that many rows (words and
// skipped lines together).
ImportResult convertImport(QByteArrayView bytes, const ImportChoices& choices,
                           std::span<const VocRow> target = {}, int maxRows = -1);

// The first rows split into fields, before the columns get their roles: the columns a
// preview shows. Pleco's category lines are no rows.
struct ImportRecord {
    int line = 0;
    QStringList fields;
};
QList<ImportRecord> importRecords(QByteArrayView bytes, const ImportChoices& choices, int maxRows);

// Language keys of what a window says about an import.
QString importRefusalKey(ImportRefusal refusal);
QString lineProblemKey(LineProblem problem);
QString columnRoleKey(ColumnRole role);

enum class ExportFormat { AnkiText, PlecoText };

// The rows (blank ones left out) as a UTF-8 file of the format, pinyin with tone marks or
// as stored. A pinyin field without any tone 1 to 4 keeps its digits, so that a lone
// neutral syllable (ma0) comes back as it was.
// Anki: "#" header lines naming the columns Characters, Pinyin, Translation, Level, Mark
// and Tags, then a line a word, quoted where a field needs it; the chapter is the tag,
// blanks written as _. Pleco: words without a chapter first, then each chapter in the
// order it first appears, after its "//" category line; level and mark are not written.
QByteArray exportWords(std::span<const VocRow> rows, ExportFormat format, bool pinyinMarks);

} // namespace tavi
