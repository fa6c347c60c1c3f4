// The vocabulary file's bytes to text, stretch by stretch. Every decision that needs
// the whole file (is it UTF-8? does it hold NUL bytes?) is taken in a first pass that
// only looks; the second pass decodes.
#include "vocabulary/voc_reader.h"

#include "core/text_codec.h"

#include <QHashFunctions>
#include <QtEndian>
#include <algorithm>

namespace tavi {

namespace {

enum class Encoding { Utf16Le, Utf16Be, Utf8, Windows1252, Utf16LeNoMark };

constexpr qint64 Chunk = ContentStamp::StampBlock; // even, so UTF-16 units stay whole

// The length of the bytes' longest beginning that ends with a whole UTF-8 sequence: a
// sequence cut off by the end of a stretch waits for the next one.
qsizetype wholeUtf8(QByteArrayView bytes)
{
    const qsizetype size = bytes.size();
    for (qsizetype i = size - 1; i >= 0 && i >= size - 4; --i) {
        const auto c = static_cast<uchar>(bytes[i]);
        if ((c & 0xC0) == 0x80)
            continue; // a continuation byte: its lead comes before it
        const qsizetype needed = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        return size - i < needed ? i : size;
    }
    return size;
}

// The UTF-8 bytes of a stretch that end with a whole sequence, the cut-off sequence of
// the stretch before put in front; what the stretch cuts off goes into cut. The last
// stretch is taken whole.
QByteArray wholeUtf8Stretch(QByteArrayView bytes, bool last, QByteArray& cut)
{
    QByteArray joined = cut + bytes.toByteArray();
    const qsizetype whole = last ? joined.size() : wholeUtf8(joined);
    cut = joined.sliced(whole);
    joined.truncate(whole);
    return joined;
}

void fromUtf16(QByteArrayView bytes, bool bigEndian, QString& out)
{
    const qsizetype units = bytes.size() / 2; // a trailing odd byte is ignored
    out.resize(units);
    char16_t* to = reinterpret_cast<char16_t*>(out.data());
    const auto* in = reinterpret_cast<const uchar*>(bytes.data());
    for (qsizetype i = 0; i < units; ++i)
        to[i] = bigEndian ? qFromBigEndian<quint16>(in + 2 * i) : qFromLittleEndian<quint16>(in + 2 * i);
}

} // namespace

void ContentStamp::add(QByteArrayView block)
{
    m_hash = qHash(block, m_hash);
    m_size += block.size();
}

QByteArray ContentStamp::result() const
{
    return QByteArray::number(qulonglong(m_hash)) + '/' + QByteArray::number(m_size);
}

QByteArray ContentStamp::of(QByteArrayView bytes)
{
    ContentStamp stamp;
    for (qsizetype at = 0; at < bytes.size(); at += StampBlock)
        stamp.add(bytes.sliced(at, std::min<qsizetype>(StampBlock, bytes.size() - at)));
    return stamp.result();
}

qint64 readFull(const ReadAt& read, qint64 offset, QByteArray& buffer)
{
    qint64 got = 0;
    while (got < buffer.size()) {
        const qint64 n = read(offset + got, buffer.data() + got, buffer.size() - got);
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        got += n;
    }
    return got;
}

bool decodeVocBytes(const ReadAt& read, qint64 size, const TextTake& take, ContentStamp* stamp,
                    const std::function<void(qint64)>& progress)
{
    // A stretch of Chunk bytes, or the whole of a smaller file (an even count all the same).
    QByteArray buffer((std::clamp<qint64>(size, 2, Chunk) + 1) & ~qint64(1), Qt::Uninitialized);
    // Fills the buffer from offset; the count, short only at the end, or -1.
    auto chunkAt = [&](qint64 offset) { return readFull(read, offset, buffer); };

    qint64 first = chunkAt(0);
    if (first < 0)
        return false;
    const QByteArrayView head(buffer.constData(), first);
    Encoding encoding = Encoding::Utf8;
    qsizetype skip = 0;
    if (head.startsWith("\xFF\xFE")) {
        encoding = Encoding::Utf16Le;
        skip = 2;
    } else if (head.startsWith("\xFE\xFF")) {
        encoding = Encoding::Utf16Be;
        skip = 2;
    } else if (head.startsWith("\xEF\xBB\xBF")) {
        skip = 3;
    } else {
        // Text without NUL bytes is no UTF-16 (its Latin letters would hold them):
        // UTF-8, or the Windows code page of older files that are not valid UTF-8.
        // Anything else is taken as UTF-16 whose first unit is a mark.
        bool valid = true;
        QByteArray cut; // a sequence that the previous stretch cut off
        qint64 offset = 0;
        for (qint64 n = first; n > 0 && encoding != Encoding::Utf16LeNoMark;) {
            QByteArrayView bytes(buffer.constData(), n);
            if (bytes.contains('\0')) {
                encoding = Encoding::Utf16LeNoMark;
                skip = 2; // the first unit is dropped, whatever it is
            } else if (valid) {
                valid = isValidUtf8(wholeUtf8Stretch(bytes, offset + n >= size, cut));
            }
            offset += n;
            if (offset >= size)
                break;
            n = chunkAt(offset);
            first = -1; // the buffer holds a later stretch now
            if (n < 0)
                return false;
        }
        if (encoding != Encoding::Utf16LeNoMark)
            encoding = valid ? Encoding::Utf8 : Encoding::Windows1252;
    }

    LineEnds lineEnds;
    QString text;
    QByteArray cut;
    for (qint64 offset = 0; offset < size; offset += buffer.size()) {
        const qint64 n = offset == 0 && first >= 0 ? first : chunkAt(offset);
        if (n < 0)
            return false;
        if (n == 0)
            break; // the file became shorter while it was read
        QByteArrayView bytes(buffer.constData(), n);
        if (stamp)
            stamp->add(bytes);
        if (offset == 0)
            bytes = bytes.sliced(std::min<qsizetype>(skip, bytes.size()));
        switch (encoding) {
        case Encoding::Utf16Le:
        case Encoding::Utf16LeNoMark:
        case Encoding::Utf16Be:
            fromUtf16(bytes, encoding == Encoding::Utf16Be, text);
            break;
        case Encoding::Utf8:
            text = QString::fromUtf8(wholeUtf8Stretch(bytes, offset + n >= size, cut));
            break;
        case Encoding::Windows1252:
            text = decodeWindows1252(bytes);
            break;
        }
        lineEnds.normalise(text);
        if (!text.isEmpty())
            take(text);
        if (progress)
            progress(offset + n);
    }
    if (!cut.isEmpty()) { // the file became shorter while it was read
        QString rest = QString::fromUtf8(cut);
        lineEnds.normalise(rest);
        take(rest);
    }
    return true;
}

void LineEnds::normalise(QString& stretch)
{
    const qsizetype lf = stretch.indexOf(u'\n');
    if (lf < 0) {
        if (!stretch.isEmpty())
            m_afterCr = stretch.back() == u'\r';
        return;
    }
    char16_t* units = reinterpret_cast<char16_t*>(stretch.data());
    bool afterCr = lf > 0 ? units[lf - 1] == u'\r' : m_afterCr;
    qsizetype to = lf;
    for (qsizetype from = lf; from < stretch.size(); ++from) {
        const char16_t c = units[from];
        if (c == u'\n') {
            if (!afterCr)
                units[to++] = u'\r'; // an LF alone ends a line
            afterCr = false;         // the LF of a CR LF is dropped
            continue;
        }
        afterCr = c == u'\r';
        units[to++] = c;
    }
    stretch.truncate(to);
    m_afterCr = afterCr;
}

VocCutter::VocCutter(TextTake piece, TextTake line)
    : m_takePiece(std::move(piece)), m_takeLine(std::move(line))
{}

void VocCutter::add(QStringView stretch)
{
    m_text.append(stretch);
    const QStringView all(m_text);
    for (;;) {
        const qsizetype from = std::max(m_scan, m_piece + 5);
        const qsizetype cr = from < all.size() ? all.indexOf(u'\r', from) : -1;
        if (cr < 0) {
            m_scan = std::max(from, all.size());
            break;
        }
        if (cr - m_piece > 5)
            m_takePiece(all.sliced(m_piece, cr - m_piece));
        m_piece = cr;
        m_scan = cr + 5;
    }
    if (m_takeLine) {
        for (qsizetype cr; (cr = all.indexOf(u'\r', m_lineScan)) >= 0;) {
            m_takeLine(all.sliced(m_line, cr - m_line));
            m_line = m_lineScan = cr + 1;
        }
        m_lineScan = all.size();
    }
    // What was handed on is no longer needed.
    const qsizetype done = m_takeLine ? std::min(m_piece, m_line) : m_piece;
    if (done > 0) {
        m_text.remove(0, done);
        m_piece -= done;
        m_scan -= done;
        m_line = std::max<qsizetype>(0, m_line - done);
        m_lineScan = std::max<qsizetype>(0, m_lineScan - done);
    }
}

void VocCutter::finish()
{
    const QStringView all(m_text);
    if (all.size() - m_piece > 5)
        m_takePiece(all.sliced(m_piece));
    if (m_takeLine && m_line < all.size())
        m_takeLine(all.sliced(m_line));
    m_text.clear();
    m_piece = m_line = m_lineScan = 0;
    m_scan = 5;
}

} // namespace tavi
