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
#include "core/settings.h"
#include "core/text_codec.h"
#include "vocabulary/open_file_dialog.h"
#include "vocabulary/word_table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <algorithm>
#include <limits>
#include <optional>

namespace tavi {

namespace {

QString fromUtf16(QByteArrayView bytes, bool bigEndian)
{
    const qsizetype units = bytes.size() / 2; // a trailing odd byte is ignored
    QString s(units, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(s.data());
    const auto* in = reinterpret_cast<const uchar*>(bytes.data());
    for (qsizetype i = 0; i < units; ++i)
        out[i] = bigEndian ? qFromBigEndian<quint16>(in + 2 * i) : qFromLittleEndian<quint16>(in + 2 * i);
    return s;
}

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

void fillRow(VocRow& row, QStringView piece)
{
    qsizetype position = 1; // the break that starts the piece
    row[CTR] = levelText(nextField(position, piece));
    for (int column = PINYIN; column <= SELECTION; ++column)
        row[column] = fieldText(nextField(position, piece));
}

// Calls take(piece) for each line the parser sees, the break in front included, while
// take returns true.
template <typename Take> void forEachLine(QStringView all, Take take)
{
    qsizetype pos = 0;
    for (;;) {
        const qsizetype cr = pos + 5 < all.size() ? all.indexOf(u'\r', pos + 5) : -1;
        const QStringView piece = cr < 0 ? all.sliced(pos) : all.sliced(pos, cr - pos);
        // A piece of five characters or fewer is not a line of its own.
        if (piece.size() > 5 && !take(piece))
            return;
        if (cr < 0)
            return;
        pos = cr;
    }
}

bool isBlankRow(const VocRow& row)
{
    for (int column = PINYIN; column <= SELECTION; ++column)
        if (!trimSpaces(row[column]).isEmpty())
            return false;
    return true;
}

// The file's bytes; nullopt when it cannot be opened or is too large.
std::optional<QByteArray> fileBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly) || f.size() > MaxVocFileSize)
        return std::nullopt;
    return f.readAll();
}

// Stamps are compared within one run only, so Qt's fast seeded hash serves.
QByteArray stampOf(QByteArrayView bytes)
{
    return QByteArray::number(qulonglong(qHash(bytes, 0))) + '/' + QByteArray::number(bytes.size());
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
    const auto bytes = fileBytes(path);
    return bytes ? vocTextFromBytes(*bytes) : QString();
}

namespace {

QString decodeVocBytes(QByteArrayView view)
{
    if (view.startsWith("\xFF\xFE"))
        return fromUtf16(view.sliced(2), false);
    if (view.startsWith("\xFE\xFF"))
        return fromUtf16(view.sliced(2), true);
    if (view.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(view.sliced(3));
    // Text without NUL bytes is no UTF-16 (its Latin letters would hold them): UTF-8,
    // or the Windows code page of older files that are not valid UTF-8.
    if (!view.contains('\0'))
        return isValidUtf8(view) ? QString::fromUtf8(view) : decodeWindows1252(view);
    // Anything else is taken as UTF-16 whose first unit is a mark.
    QString text = fromUtf16(view, false);
    return text.isEmpty() ? text : text.sliced(1);
}

} // namespace

QString vocTextFromBytes(QByteArrayView view)
{
    QString text = decodeVocBytes(view);
    // Text editors on this system end lines with LF alone, and the parser's line break
    // is CR: a lone LF becomes a CR, so that such a file reads as the lines it shows.
    char16_t* units = nullptr;
    for (qsizetype i = text.indexOf(u'\n'); i >= 0; i = text.indexOf(u'\n', i + 1)) {
        if (i > 0 && text[i - 1] == u'\r')
            continue;
        if (!units)
            units = reinterpret_cast<char16_t*>(text.data());
        units[i] = u'\r';
    }
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
    bool haveHeader = false;
    size_t row = 0;
    forEachLine(text, [&](QStringView piece) {
        if (!haveHeader) {
            haveHeader = true; // the header's content is not looked at
            return true;
        }
        if (row >= VocTable.size())
            VocTable.emplace_back();
        fillRow(VocTable[row], piece);
        ++row;
        return true;
    });
    VocCount = static_cast<int>(row) - 1;
    ++VocTableVersion;
}

QString withHeader(const QString& text)
{
    bool wordFirst = false;
    forEachLine(text, [&](QStringView piece) {
        // A word line starts with its level: a number, or nothing before the first "+".
        const qsizetype plus = piece.indexOf(u'+');
        if (plus >= 0) {
            const QStringView level = piece.first(plus).trimmed();
            wordFirst = std::all_of(level.begin(), level.end(), [](QChar c) { return c.isDigit(); });
        }
        return false;
    });
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

QString BuildVocText()
{
    static const QString sep = QStringLiteral(" + ");
    QString out;
    const int last = std::min(VocCount, static_cast<int>(VocTable.size()) - 1);
    out.reserve(64 + (last + 1) * 48);
    out += NarrowToAnsi(VocHeader);
    out += u'\r';
    for (int r = 0; r <= last; ++r) {
        const VocRow& row = VocTable[r];
        // Rows that blank lines formed carry no word; every other row is written.
        if (isBlankRow(row))
            continue;
        out += NarrowToAnsi(row[CTR]);
        out += sep;
        out += NarrowToAnsi(row[PINYIN]);
        out += sep;
        out += row[CHAR];
        out += sep;
        out += NarrowToAnsi(row[TRANSLATION]);
        out += sep;
        out += NarrowToAnsi(row[CHAPTER]);
        out += sep;
        out += NarrowToAnsi(row[SELECTION]);
        out += u'\r';
    }
    return out;
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
    const auto bytes = fileBytes(path);
    return bytes ? stampOf(*bytes) : UnreadableStamp;
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
        OpenFileDialogService* dialog = openFileDialogService();
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
        VocTableStamp = stampOf(fileContent(text));
        return true;
    }
    if (!WriteVocFile(path, text))
        return false;
    VocTableSource = path;
    VocTableStamp = stampOf(fileContent(text));
    return true;
}

LoadResult readVocabulary(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        return LoadResult::Missing;
    if (info.size() > MaxVocFileSize)
        return LoadResult::TooLarge;
    const auto bytes = fileBytes(path);
    if (!bytes)
        return LoadResult::Unreadable;
    const QString text = vocTextFromBytes(*bytes);
    if (text.isEmpty())
        return LoadResult::Empty;
    ParseVocText(text);
    // Lines that hold nothing but a level (what a binary file makes) are no words.
    if (std::all_of(VocTable.begin(), VocTable.begin() + (VocCount + 1), isBlankRow))
        VocCount = -1;
    VocTableSource = path;
    VocTableStamp = stampOf(*bytes);
    return VocCount >= 0 ? LoadResult::Loaded : LoadResult::Empty;
}

} // namespace tavi
