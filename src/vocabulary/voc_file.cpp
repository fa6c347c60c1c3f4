// Reading, parsing, building and writing vocabulary files.
//
// The parser keeps the file's traditional line rule: a CR counts as a line break only
// when it stands at least five characters after the previous one, and a line of five
// characters or fewer (counting the break in front of it) is not a line of its own.
// Files written by older versions and by hand rely on it. It has no size limit.
#include "vocabulary/voc_file.h"

#include "core/app_state.h"
#include "core/file_replace.h"
#include "core/language.h"
#include "core/msgbox.h"
#include "core/numbers.h"
#include "core/services.h"
#include "core/settings.h"
#include "core/text_codec.h"
#include "vocabulary/voc_reader.h"
#include "vocabulary/word_table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <algorithm>
#include <limits>
#include <utility>

namespace tavi {

namespace {

QStringView trimSpaces(QStringView s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && s[b] == u' ')
        ++b;
    while (e > b && s[e - 1] == u' ')
        --e;
    return s.sliced(b, e - b);
}

// NextField over a view; position is 1-based as in NextField.
QStringView nextField(qsizetype& position, QStringView line)
{
    if (position <= 0) {
        position = 0;
        return {};
    }
    if (position > line.size()) {
        position = 0;
        return {};
    }
    const qsizetype plus = line.indexOf(u'+', position);
    QStringView field;
    if (plus >= 0) {
        field = line.sliced(position, plus - position);
        position = plus + 1;
    } else {
        field = line.sliced(position);
        position = 0;
    }
    return trimSpaces(field);
}

QString levelText(QStringView field)
{
    // Most levels are a digit or two: take them without the general number parser.
    const QStringView t = field.trimmed();
    if (!t.isEmpty() && t.size() <= 9) {
        int value = 0;
        bool digits = true;
        for (QChar c : t) {
            if (c < u'0' || c > u'9') {
                digits = false;
                break;
            }
            value = value * 10 + (c.unicode() - u'0');
        }
        if (digits)
            return QString::number(value);
    }
    if (const auto number = parseNumber(t)) {
        // Levels far beyond any real one are held at the 32-bit range.
        const double r = roundHalfEven(*number);
        const double clamped = std::clamp(r, double(std::numeric_limits<qint32>::min()),
                                          double(std::numeric_limits<qint32>::max()));
        return QString::number(static_cast<qint64>(clamped));
    }
    if (!field.isEmpty() && field.back() >= u'0' && field.back() <= u'9')
        return QString(field.back());
    return QStringLiteral("0");
}

// A CR too close to the previous break is no break; in a field it reads as a blank, or
// the longer line that BuildVocText writes would break there.
QString fieldText(QStringView field)
{
    if (!field.contains(u'\r'))
        return field.toString();
    QString text = field.toString();
    text.replace(u'\r', u' ');
    return trimSpaces(text).toString();
}

// The level cell of a level field: the field itself when it is already written as the
// number it stands for (as nearly every level is), without making a text of it.
QStringView levelCell(QStringView field, QString& store)
{
    const QStringView t = field.trimmed();
    const bool plain = !t.isEmpty() && t.size() <= 9 && (t.size() == 1 || t[0] != u'0') &&
                       std::all_of(t.begin(), t.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (plain)
        return t;
    store = levelText(field);
    return store;
}

VocRow rowOf(QStringView piece)
{
    qsizetype position = 1;                // the break that starts the piece
    std::array<QString, VocColumns> store; // for the cells that are not the field as it stands
    std::array<QStringView, VocColumns> cells;
    cells[CTR] = levelCell(nextField(position, piece), store[CTR]);
    for (int column = PINYIN; column <= SELECTION; ++column) {
        const QStringView field = nextField(position, piece);
        if (field.contains(u'\r')) {
            store[column] = fieldText(field);
            cells[column] = store[column];
        } else {
            cells[column] = field;
        }
    }
    return VocRow(cells[0], cells[1], cells[2], cells[3], cells[4], cells[5]);
}

// Fills VocTable with the words of the pieces handed to it, the first one being the
// header.
struct TableFiller {
    bool headerSeen = false;
    bool anyWord = false; // a row that holds more than a level

    void operator()(QStringView piece)
    {
        if (!headerSeen) {
            headerSeen = true; // the header's content is not looked at
            return;
        }
        VocTable.push_back(rowOf(piece));
        anyWord = anyWord || !isBlankRow(VocTable.back());
    }
};

ReadAt readerOf(QFile& file)
{
    return [&file](qint64 offset, char* buffer, qint64 size) -> qint64 {
        return file.seek(offset) ? file.read(buffer, size) : -1;
    };
}

ReadAt readerOf(QByteArrayView bytes)
{
    return [bytes](qint64 offset, char* buffer, qint64 size) -> qint64 {
        const qint64 n = std::clamp<qint64>(bytes.size() - offset, 0, size);
        std::copy_n(bytes.data() + offset, n, buffer);
        return n;
    };
}

QByteArray fileContent(const QString& text)
{
    QByteArray bytes;
    bytes.resize(2 + 2 * text.size());
    bytes[0] = '\xFF';
    bytes[1] = '\xFE';
    qToLittleEndian<quint16>(text.utf16(), text.size(), bytes.data() + 2);
    return bytes;
}

const QByteArray MissingStamp = QByteArrayLiteral("missing");
const QByteArray UnreadableStamp = QByteArrayLiteral("unreadable");

} // namespace

QString ReadVocFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxVocFileSize)
        return {};
    QString text;
    const bool read = decodeVocBytes(readerOf(file), file.size(), [&](QStringView s) { text += s; });
    return read ? text : QString();
}

QString vocTextFromBytes(QByteArrayView bytes)
{
    QString text;
    decodeVocBytes(readerOf(bytes), bytes.size(), [&](QStringView s) { text += s; });
    return text;
}

QString NextField(int& position, const QString& line)
{
    qsizetype p = position;
    const QString field = nextField(p, line).toString();
    position = static_cast<int>(p);
    return field;
}

QString levelOf(const QString& field)
{
    return levelText(field);
}

void ParseVocText(const QString& text)
{
    VocTable.clear();
    TableFiller fill;
    VocCutter cut(std::ref(fill));
    if (text.contains(u'\n')) {
        QString crOnly = text;
        LineEnds().normalise(crOnly);
        cut.add(crOnly);
    } else {
        cut.add(text);
    }
    cut.finish();
    VocCount = static_cast<int>(VocTable.size()) - 1;
    ++VocTableVersion;
}

QString withHeader(const QString& text)
{
    bool first = true;
    bool wordFirst = false;
    VocCutter cut([&](QStringView piece) {
        if (!std::exchange(first, false))
            return;
        // A word line starts with its level: a number, or nothing before the first "+".
        const qsizetype plus = piece.indexOf(u'+');
        if (plus >= 0) {
            const QStringView level = piece.first(plus).trimmed();
            wordFirst = std::all_of(level.begin(), level.end(), [](QChar c) { return c.isDigit(); });
        }
    });
    cut.add(text);
    cut.finish();
    return wordFirst ? VocHeader + u'\r' + text : text;
}

QString NarrowToAnsi(const QString& text)
{
    bool clean = true;
    for (QChar c : text) {
        if (c.isSurrogate()) {
            clean = false;
            break;
        }
    }
    if (clean)
        return text;
    QString out = text;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QChar c = out[i];
        if (c.isHighSurrogate() && i + 1 < out.size() && out[i + 1].isLowSurrogate()) {
            ++i; // a whole pair is a character like any other
            continue;
        }
        if (c.isSurrogate())
            out[i] = u'?';
    }
    return out;
}

namespace {

// NarrowToAnsi(text) appended, without a copy of the text when nothing is narrowed.
void appendNarrowed(QString& out, QStringView text)
{
    if (std::any_of(text.begin(), text.end(), [](QChar c) { return c.isSurrogate(); }))
        out += NarrowToAnsi(text.toString());
    else
        out += text;
}

} // namespace

QString vocText(std::span<const VocRow> rows)
{
    static const QString sep = QStringLiteral(" + ");
    QString out;
    out.reserve(64 + qsizetype(rows.size()) * 48);
    appendNarrowed(out, VocHeader);
    out += u'\r';
    for (const VocRow& row : rows) {
        // Rows that blank lines formed carry no word; every other row is written.
        if (isBlankRow(row))
            continue;
        for (int column = CTR; column <= SELECTION; ++column) {
            if (column > CTR)
                out += sep;
            if (column == CHAR)
                out += row.view(CHAR); // the characters are written as they are
            else
                appendNarrowed(out, row.view(column));
        }
        out += u'\r';
    }
    return out;
}

QString BuildVocText()
{
    const int last = std::min(VocCount, static_cast<int>(VocTable.size()) - 1);
    return vocText(std::span(VocTable.data(), std::size_t(last + 1)));
}

bool WriteVocFile(const QString& path, const QString& text)
{
    auto fail = [&](const QString& reason) {
        MsgBox(QStringLiteral("The vocabulary file could not be saved:\n") + path + QStringLiteral("\n\n") +
                   reason,
               vbExclamation);
        return false;
    };
    const QFileInfo info(savedFile(path));
    if (info.isDir())
        return fail(QStringLiteral("That name belongs to a folder, not to a file."));
    if (info.exists() && !info.isFile())
        return fail(QStringLiteral("That name belongs to a device or a pipe, not to a file."));
    if (info.exists() && !info.isWritable())
        return fail(QStringLiteral("The file is write-protected."));

    QString reason;
    // The backup is touched only when the new file is on the disk: a full disk then
    // leaves both the file and its backup as they were.
    const bool written = replaceFile(path, fileContent(text), &reason, Backup::Keep);
    return written || fail(reason);
}

QByteArray contentStamp(const QString& path)
{
    if (!QFileInfo::exists(path))
        return MissingStamp;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxVocFileSize)
        return UnreadableStamp;
    ContentStamp stamp;
    QByteArray block(ContentStamp::StampBlock, Qt::Uninitialized); // whole blocks, as every stamp
    for (qint64 offset = 0;; offset += block.size()) {
        const qint64 got = readFull(readerOf(file), offset, block);
        if (got < 0)
            return UnreadableStamp;
        if (got > 0)
            stamp.add(QByteArrayView(block).first(got));
        if (got < block.size())
            return stamp.result();
    }
}

QString loadFailureText(LoadResult result)
{
    return LangText(result == LoadResult::TooLarge ? QStringLiteral("load_file_too_large")
                                                   : QStringLiteral("load_file_unreadable"));
}

void startNewTable(const QString& path)
{
    VocCount = -1;
    VocTableSource = path;
    VocTableStamp = contentStamp(path);
}

bool saveVocabulary(const QString& path, const QString& text)
{
    const bool own = QDir::cleanPath(VocTableSource) == QDir::cleanPath(path);
    if (const QByteArray now = own ? contentStamp(path) : VocTableStamp; now != VocTableStamp) {
        const QString what =
            now == MissingStamp ? QStringLiteral("save_file_deleted") : QStringLiteral("save_file_changed");
        if (MsgBox(LangText(what) + QStringLiteral("\n") + path + QStringLiteral("\n\n") +
                       LangText(QStringLiteral("save_file_other_name")),
                   vbYesNo + vbExclamation) != vbYes)
            return false;
        OpenFileDialogService* dialog = services().fileDialog;
        const QFileInfo info(path);
        const QString proposal =
            info.dir().filePath(info.completeBaseName() + QStringLiteral(" (2).") + info.suffix());
        const QString chosen =
            dialog ? dialog->getSaveFileName(
                         LangText(QStringLiteral("save_file_title")), proposal,
                         {QStringLiteral("Text files (*.txt)"), QStringLiteral("All Files (*.*)")})
                   : QString();
        if (chosen.isEmpty() || !WriteVocFile(chosen, text))
            return false;
        VocFilePath = chosen;
        WriteSetting(QStringLiteral("load_vocfilewpath"), chosen); // the next start reads it
        VocTableSource = chosen;
        VocTableStamp = ContentStamp::of(fileContent(text));
        return true;
    }
    if (!WriteVocFile(path, text))
        return false;
    VocTableSource = path;
    VocTableStamp = ContentStamp::of(fileContent(text));
    return true;
}

LoadResult readVocabulary(const QString& path, const VocReading& reading)
{
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        return LoadResult::Missing;
    if (info.size() > MaxVocFileSize)
        return LoadResult::TooLarge;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return LoadResult::Unreadable;
    const qint64 size = file.size();

    // The table is replaced from the first text on; a file without any keeps it.
    bool started = false;
    bool reserved = false;
    TableFiller fill;
    VocCutter cut(std::ref(fill), reading.line);
    ContentStamp stamp;
    const bool read = decodeVocBytes(
        readerOf(file), size,
        [&](QStringView text) {
            if (!std::exchange(started, true)) {
                VocTable.clear();
                VocCount = -1; // what other windows may look at meanwhile
            }
            cut.add(text);
        },
        &stamp,
        [&](qint64 done) {
            // The words of the first stretch tell how many the file holds, near enough
            // to take the table's memory in one piece.
            if (!reserved && started && done < size && !VocTable.empty()) {
                reserved = true;
                VocTable.reserve(size_t(double(VocTable.size()) * double(size) / double(done) * 1.05) + 16);
            }
            if (reading.progress)
                reading.progress(done, size);
        });
    if (!read) {
        if (started) { // half a table is nothing to save over the file
            VocCount = -1;
            VocTableSource.clear();
            ++VocTableVersion;
        }
        return LoadResult::Unreadable;
    }
    if (!started)
        return LoadResult::Empty;
    cut.finish();
    // Lines that hold nothing but a level (what a binary file makes) are no words.
    VocCount = fill.anyWord ? static_cast<int>(VocTable.size()) - 1 : -1;
    ++VocTableVersion;
    VocTableSource = path;
    VocTableStamp = stamp.result();
    return VocCount >= 0 ? LoadResult::Loaded : LoadResult::Empty;
}

} // namespace tavi
