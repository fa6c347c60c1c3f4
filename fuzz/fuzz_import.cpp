// libFuzzer entry for importing words: any bytes detected and read with the guessed
// choices (and with other choices, which must not fail either); a preview that agrees with
// the whole reading; and the words read exported and read again. Through Anki's text every
// field comes back (a chapter's underscores read as blanks; with tone marks the pinyin
// aside); through Pleco's text the characters, pinyin, translation and chapter do, unless
// characters look like Pleco's own simplified[traditional].
#include "vocabulary/word_exchange.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace tavi;

namespace {

QString show(const QStringList& fields)
{
    QStringList quoted;
    for (const QString& f : fields)
        quoted << QStringLiteral("\"%1\"").arg(f);
    return quoted.join(u'|');
}

[[noreturn]] void fail(const char* what, const QStringList& expected, const QStringList& found)
{
    std::fprintf(stderr, "%s: %lld rows, read again %lld\n", what, qlonglong(expected.size()),
                 qlonglong(found.size()));
    for (qsizetype i = 0; i < std::max(expected.size(), found.size()); ++i)
        if (expected.value(i) != found.value(i)) {
            std::fprintf(stderr, "row %lld:\n  was   %s\n  again %s\n", qlonglong(i),
                         qUtf8Printable(expected.value(i)), qUtf8Printable(found.value(i)));
            break;
        }
    std::abort();
}

QString tagChapter(QString chapter)
{
    for (QChar& c : chapter)
        if (c == u'_' || c.isSpace())
            c = u' ';
    return chapter.trimmed();
}

QStringList fieldsOf(const std::vector<VocRow>& rows, bool pleco, bool pinyin)
{
    QStringList out;
    for (const VocRow& row : rows) {
        QStringList f =
            pleco ? QStringList{row[CHAR], row[PINYIN], row[TRANSLATION], row[CHAPTER]} : row.cells();
        if (!pleco)
            f[CHAPTER] = tagChapter(f[CHAPTER]);
        if (!pinyin)
            f[pleco ? 1 : PINYIN].clear();
        out << show(f);
    }
    if (pleco) // Pleco's export groups the words by chapter
        out.sort();
    return out;
}

std::vector<VocRow> readAgain(const QByteArray& bytes, const ImportChoices* choices)
{
    const ImportDetection d = detectImport(bytes);
    if (!choices && d.refusal != ImportRefusal::None) {
        std::fprintf(stderr, "an export was refused: %s\n", qPrintable(importRefusalKey(d.refusal)));
        std::abort();
    }
    return convertImport(bytes, choices ? *choices : d.choices).rows(true);
}

bool plecoCanHold(const VocRow& row)
{
    const QStringView c = row.view(CHAR);
    return !(c.contains(u'[') && c.endsWith(u']'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const ImportDetection d = detectImport(bytes);
    ImportChoices other = d.choices;
    other.format = other.format == ImportFormat::Pleco ? ImportFormat::Delimited : ImportFormat::Pleco;
    other.encoding = ImportEncoding((int(other.encoding) + 1 + size % 4) % 5);
    other.html = !other.html;
    other.headerRow = !other.headerRow;
    other.separator = size ? QChar(char16_t(data[0])) : QChar(u'"');
    other.roles = {ColumnRole::Pinyin, ColumnRole::Chapter, ColumnRole::Characters, ColumnRole::Level};
    other.tagsColumn = 1;
    convertImport(bytes, other);
    importRecords(bytes, other, 5);
    if (d.refusal != ImportRefusal::None)
        return 0;

    const ImportResult all = convertImport(bytes, d.choices);
    const ImportResult preview = convertImport(bytes, d.choices, {}, 5);
    bool prefix = preview.words.size() <= all.words.size() && preview.skipped.size() <= all.skipped.size() &&
                  preview.words.size() + size_t(preview.skipped.size()) <= 5;
    for (size_t i = 0; prefix && i < preview.words.size(); ++i)
        prefix = preview.words[i].row == all.words[i].row && preview.words[i].line == all.words[i].line;
    prefix = prefix && std::equal(preview.skipped.begin(), preview.skipped.end(), all.skipped.begin());
    if (!prefix) {
        std::fprintf(stderr, "the preview differs from the start of the whole reading\n");
        std::abort();
    }
    const std::vector<VocRow> rows = all.rows(true);
    if (rows.empty())
        return 0;

    for (const bool marks : {false, true}) {
        const QStringList was = fieldsOf(rows, false, !marks);
        const QStringList again =
            fieldsOf(readAgain(exportWords(rows, ExportFormat::AnkiText, marks), nullptr), false, !marks);
        if (again != was)
            fail(marks ? "Anki with tone marks" : "Anki", was, again);
    }
    if (std::all_of(rows.begin(), rows.end(), plecoCanHold)) {
        ImportChoices pleco;
        pleco.format = ImportFormat::Pleco;
        const QStringList was = fieldsOf(rows, true, true);
        const QStringList again =
            fieldsOf(readAgain(exportWords(rows, ExportFormat::PlecoText, false), &pleco), true, true);
        if (again != was)
            fail("Pleco", was, again);
    }
    return 0;
}
