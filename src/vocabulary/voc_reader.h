// Reading a vocabulary file one stretch at a time: the bytes are decoded, every line
// end is made a CR, and the text is cut into the pieces the parser reads as word lines
// and the lines the editor shows, without ever holding the whole file or its whole
// text. A file of 250 MB thus loads in little more memory than its words take.
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

namespace tavi {

// What a file holds, to see later whether somebody else changed it: a hash of its bytes
// in blocks of StampBlock bytes, and its size. Equal for equal bytes, however they were
// read.
class ContentStamp {
public:
    static constexpr qsizetype StampBlock = 1 << 20;
    void add(QByteArrayView block); // every block but the last one is StampBlock long
    QByteArray result() const;
    static QByteArray of(QByteArrayView bytes);

private:
    size_t m_hash = 0;
    qint64 m_size = 0;
};

// Reads bytes at an offset into a buffer; returns how many (0 at the end, -1 on error).
using ReadAt = std::function<qint64(qint64 offset, char* buffer, qint64 size)>;
using TextTake = std::function<void(QStringView)>;

// Fills buffer with the bytes from offset on; the count, short only at the end, or -1.
qint64 readFull(const ReadAt& read, qint64 offset, QByteArray& buffer);

// Decodes the vocabulary file of size bytes that read gives, as ReadVocFile describes,
// and hands its text on in stretches whose line ends are all CR. stamp (when given)
// gets the content stamp; progress is told the bytes done after each stretch. False
// when the file could not be read to its end.
bool decodeVocBytes(const ReadAt& read, qint64 size, const TextTake& text, ContentStamp* stamp = nullptr,
                    const std::function<void(qint64 done)>& progress = {});

// Makes every line end of a text handed on in stretches a single CR: CR LF and LF alone
// become CR, so that a file reads the same whatever system wrote it.
class LineEnds {
public:
    void normalise(QString& stretch);

private:
    bool m_afterCr = false;
};

// Cuts a text of CR line ends, handed on in stretches, into the parser's pieces: a CR
// is a break only five characters or more after the previous one, and a piece (the
// break in front of it included) of five characters or fewer is no line of its own.
// When asked, it also hands on every line as the editor shows it (without its CR).
class VocCutter {
public:
    explicit VocCutter(TextTake piece, TextTake line = {});
    void add(QStringView stretch);
    void finish();

private:
    TextTake m_takePiece;
    TextTake m_takeLine;
    QString m_text;        // from the earliest piece or line not yet handed on
    qsizetype m_piece = 0; // start of the current piece in m_text
    qsizetype m_scan = 5;  // where the search for the current piece's end goes on
    qsizetype m_line = 0;  // start of the current line
    qsizetype m_lineScan = 0;
};

} // namespace tavi
