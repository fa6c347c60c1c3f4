// The WAV reader on files built here chunk by chunk: what it accepts, where it finds
// the samples, and the damaged and lying files it refuses.
#include "sound/wav_file.h"
#include "support/wav_file.h"

#include <QTest>
#include <QtEndian>

using namespace tavi;

namespace {

// The bytes of v, least significant first.
template <typename T> QByteArray le(T v)
{
    char b[sizeof v];
    qToLittleEndian(v, b);
    return QByteArray(b, sizeof v);
}
const auto le16 = le<quint16>;
const auto le32 = le<quint32>;

// A chunk whose header may claim another length than its body has; odd bodies are
// padded as the format wants.
QByteArray chunk(const char* id, const QByteArray& body, qint64 declared = -1)
{
    QByteArray c = QByteArray(id, 4) + le32(quint32(declared < 0 ? body.size() : declared)) + body;
    if (body.size() % 2)
        c.append('\0');
    return c;
}

QByteArray fmt(quint16 tag, quint16 channels, quint32 rate, quint16 bits)
{
    const quint16 align = quint16(channels * bits / 8);
    return le16(tag) + le16(channels) + le32(rate) + le32(rate * align) + le16(align) + le16(bits);
}

// WAVE_FORMAT_EXTENSIBLE around the format code.
QByteArray extensibleFmt(quint16 code, quint16 channels, quint32 rate, quint16 bits)
{
    return fmt(0xFFFE, channels, rate, bits) + le16(22) + le16(bits) + le32(0) + le16(code) +
           QByteArray("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
}

QByteArray riff(const QByteArray& chunks)
{
    return "RIFF" + le32(quint32(4 + chunks.size())) + "WAVE" + chunks;
}

// What the reader found, in one line.
QString describe(const std::optional<WavInfo>& w)
{
    if (!w)
        return QStringLiteral("refused");
    return QString::asprintf("format %d%s, %d ch, %u Hz, %d bit, data %lld+%lld, %lld ms", w->format,
                             w->extensible ? " extensible" : "", w->channels, w->sampleRate, w->bitsPerSample,
                             qlonglong(w->dataOffset), qlonglong(w->dataLength), qlonglong(w->durationMs()));
}

} // namespace

class TstWavFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void files_data();
    void files();
};

void TstWavFile::files_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("found");
    const QByteArray pcm = fmt(1, 1, 22050, 16);
    const QByteArray tenth(4410, '\x11'); // 2205 frames: 100 ms at 22050 Hz

    QTest::newRow("the tests' canonical file") << test::constantWav(22050, 1, 1000, 2205)
                                               << "format 1, 1 ch, 22050 Hz, 16 bit, data 44+4410, 100 ms";
    QTest::newRow("stereo 8 bit, 1.5 s")
        << riff(chunk("fmt ", fmt(1, 2, 8000, 8)) + chunk("data", QByteArray(24000, '\x80')))
        << "format 1, 2 ch, 8000 Hz, 8 bit, data 44+24000, 1500 ms";
    QTest::newRow("float") << riff(chunk("fmt ", fmt(3, 1, 48000, 32)) + chunk("data", QByteArray(192, 0)))
                           << "format 3, 1 ch, 48000 Hz, 32 bit, data 44+192, 1 ms";
    QTest::newRow("extensible PCM") << riff(chunk("fmt ", extensibleFmt(1, 2, 44100, 24)) +
                                            chunk("data", QByteArray(600, 0)))
                                    << "format 1 extensible, 2 ch, 44100 Hz, 24 bit, data 68+600, 2 ms";
    QTest::newRow("odd-sized chunk before data, padded")
        << riff(chunk("fmt ", pcm) + chunk("LIST", "abc") + chunk("data", tenth))
        << "format 1, 1 ch, 22050 Hz, 16 bit, data 56+4410, 100 ms";
    QTest::newRow("streamed: RIFF size 0") << [&] {
        QByteArray b = riff(chunk("fmt ", pcm) + chunk("data", tenth));
        b.replace(4, 4, le32(0));
        return b;
    }() << "format 1, 1 ch, 22050 Hz, 16 bit, data 44+4410, 100 ms";

    QTest::newRow("truncated data") << test::constantWav(22050, 1, 1000, 2205).chopped(1000) << "refused";
    QTest::newRow("data size overflowing 32 bits")
        << riff(chunk("fmt ", pcm) + chunk("data", tenth, 0xFFFFFFFEu)) << "refused";
    QTest::newRow("fmt after data") << riff(chunk("data", tenth) + chunk("fmt ", pcm)) << "refused";
    QTest::newRow("missing data") << riff(chunk("fmt ", pcm)) << "refused";
    QTest::newRow("fmt too short") << riff(chunk("fmt ", pcm.first(14)) + chunk("data", tenth)) << "refused";
    QTest::newRow("zero channels") << riff(chunk("fmt ", fmt(1, 0, 22050, 16)) + chunk("data", tenth))
                                   << "refused";
    QTest::newRow("zero rate") << riff(chunk("fmt ", fmt(1, 1, 0, 16)) + chunk("data", tenth)) << "refused";
    QTest::newRow("block align not channels x bits") << [&] {
        QByteArray f = fmt(1, 2, 22050, 16);
        f.replace(12, 2, le16(2));
        return riff(chunk("fmt ", f) + chunk("data", tenth));
    }() << "refused";
    QTest::newRow("half a frame at the end")
        << riff(chunk("fmt ", fmt(1, 2, 22050, 16)) + chunk("data", QByteArray(4410, 0))) << "refused";
    QTest::newRow("ADPCM") << riff(chunk("fmt ", fmt(2, 1, 22050, 16)) + chunk("data", tenth)) << "refused";
    QTest::newRow("extensible of another subformat")
        << riff(chunk("fmt ", extensibleFmt(2, 1, 22050, 16)) + chunk("data", tenth)) << "refused";
    QTest::newRow("data behind the RIFF size") << [&] {
        QByteArray b = riff(chunk("fmt ", pcm) + chunk("data", tenth));
        b.replace(4, 4, le32(4 + 24));
        return b;
    }() << "refused";
    QTest::newRow("not RIFF") << QByteArray("RIFX") + test::constantWav(22050, 1, 0, 10).sliced(4)
                              << "refused";
    QTest::newRow("empty") << QByteArray() << "refused";
    QTest::newRow("over the size limit")
        << riff(chunk("fmt ", pcm) + chunk("data", QByteArray(MaxWavFileSize, 0))) << "refused";
}

void TstWavFile::files()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, found);
    QCOMPARE(describe(parseWav(bytes)), found);
}

QTEST_GUILESS_MAIN(TstWavFile)
#include "tst_wav_file.moc"
