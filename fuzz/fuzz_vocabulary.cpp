// libFuzzer entry for the vocabulary file: any bytes as a file, read and parsed, then
// built into the canonical text and parsed again. The second table must hold the same
// words: the builder leaves out rows without any content and narrows every field but
// the characters to the 8-bit code page; nothing else may change, the levels included.
// Also: the text handed to the line ends and the cutter in stretches of a few
// characters gives the same text, pieces and lines as in one stretch.
#include "vocabulary/voc_file.h"
#include "vocabulary/voc_reader.h"
#include "vocabulary/word_table.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace tavi;

namespace {

std::vector<VocRow> words()
{
    std::vector<VocRow> rows;
    for (int r = 0; r <= VocCount; ++r)
        rows.push_back(VocTable[r]);
    return rows;
}

QString show(const VocRow& row)
{
    QStringList fields;
    for (const QString& f : row.cells())
        fields << QStringLiteral("\"%1\"").arg(f.toHtmlEscaped().replace(u'\r', QStringLiteral("\\r")));
    return fields.join(u'|');
}

// The text's line ends made CR, its pieces and its lines, "|" after each, with the
// text handed on in stretches of the lengths that step gives (0: all at once).
QString cutInStretches(QStringView text, const uint8_t* data, size_t size)
{
    QString out;
    QString pieces;
    QString lines;
    LineEnds ends;
    VocCutter cut(
        [&](QStringView p) {
            pieces += p;
            pieces += u'|';
        },
        [&](QStringView l) {
            lines += l;
            lines += u'|';
        });
    for (qsizetype at = 0, i = 0; at < text.size(); ++i) {
        const qsizetype n = size ? 1 + data[size_t(i) % size] % 7 : text.size();
        QString stretch = text.sliced(at, std::min(n, text.size() - at)).toString();
        at += stretch.size();
        ends.normalise(stretch);
        out += stretch;
        cut.add(stretch);
    }
    cut.finish();
    return out + u'#' + pieces + u'#' + lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    {
        const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
        if (cutInStretches(text, data, size) != cutInStretches(text, nullptr, 0)) {
            std::fprintf(stderr, "cut in stretches differs from one stretch\n");
            std::abort();
        }
    }
    ParseVocText(vocTextFromBytes(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size))));
    std::vector<VocRow> expected;
    for (VocRow row : words()) {
        bool content = false;
        for (int c = PINYIN; c <= SELECTION; ++c)
            content = content || !row[c].isEmpty();
        if (!content)
            continue;
        for (int c = CTR; c <= SELECTION; ++c) {
            if (c != CHAR)
                row.set(c, NarrowToAnsi(row[c]));
        }
        expected.push_back(row);
    }

    ParseVocText(BuildVocText());
    const std::vector<VocRow> again = words();
    if (again == expected)
        return 0;
    std::fprintf(stderr, "%zu words, read again %zu\n", expected.size(), again.size());
    for (size_t i = 0; i < std::max(expected.size(), again.size()); ++i) {
        const QString a = i < expected.size() ? show(expected[i]) : QString();
        const QString b = i < again.size() ? show(again[i]) : QString();
        if (a != b) {
            std::fprintf(stderr, "row %zu:\n  was   %s\n  again %s\n", i, qUtf8Printable(a),
                         qUtf8Printable(b));
            break;
        }
    }
    std::abort();
}
