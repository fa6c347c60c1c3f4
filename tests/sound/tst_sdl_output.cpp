// Real sound output: SDL's disk driver writes what the device would have played into a
// file, which is read back here to see which recordings played, in which order. Each
// recording holds one constant sample value, so a run of that value is that file.
#include "platform/sdl_audio_output.h"
#include "sound/speech.h"
#include "sound_fixture.h"
#include "support/wav_file.h"

#include <QTest>
#include <QtEndian>

using namespace tavi;
using namespace tavi::test;

namespace {

struct Run {
    qint16 value;
    int length;
};

// Runs of one sample level (to the nearest hundred: a converted file is not exact);
// the device fills gaps between files with silence. The few samples where a
// converted file rings at its edges are not runs of their own.
QList<Run> runsOf(const QByteArray& raw)
{
    QList<Run> runs;
    qint16 previous = 0;
    for (qsizetype i = 0; i + 1 < raw.size(); i += 2) {
        const int sample = qFromLittleEndian<qint16>(raw.constData() + i);
        const auto level = qint16((sample + 50) / 100 * 100);
        if (level != 0) {
            if (level == previous)
                ++runs.last().length;
            else
                runs.append({level, 1});
        }
        previous = level;
    }
    runs.removeIf([](const Run& r) { return r.length < 20; });
    return runs;
}

} // namespace

class TstSdlOutput : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void playsInOrderThroughTheDevice();
};

void TstSdlOutput::playsInOrderThroughTheDevice()
{
    SoundFixture f;
    const QString raw = f.folder.file("device.raw");
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(raw));
    qputenv("SDL_DISKAUDIODELAY", "5"); // faster than real time, slow enough to leave gaps

    const QString sound = f.folder.file("sound/");
    QVERIFY(writeFile(sound + "ni3.wav", constantWav(22050, 1, 1000, 2205)));
    QVERIFY(writeFile(sound + "HAO3.wav", constantWav(22050, 1, 2000, 2205)));
    QVERIFY(writeFile(sound + "wo3.wav", constantWav(11025, 2, 3000, 1102))); // converted
    QVERIFY(writeFile(sound + "wait.wav", constantWav(22050, 1, 300, 441)));
    QVERIFY(writeFile(sound + "de0.wav", constantWav(22050, 1, 4000, 2205).chopped(1000)));
    QVERIFY(writeFile(sound + "ge1.wav", "RIFF, but nothing that follows"));
    QVERIFY(writeFile(sound + "ge0.wav", constantWav(22050, 1, 5000, 1000)));

    {
        SdlAudioOutput output;
        const ServiceScope sound({.audio = &output});
        LogEnabled = true;
        SpeakPinyin(QStringLiteral("Ni3hao3 wo3 de0 ge1ge0"));
        QVERIFY(!output.unavailable());
    }
    QVERIFY(f.boxes.calls.isEmpty());
    QFile file(raw);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<Run> runs = runsOf(file.readAll());
    QList<qint16> values;
    for (const Run& r : runs)
        values.append(r.value);
    QCOMPARE(values, QList<qint16>({1000, 2000, 300, 3000, 300, 300, 5000, 300}));
    QCOMPARE(runs[0].length, 2205);
    QCOMPARE(runs[2].length, 441);
    QVERIFY2(qAbs(runs[3].length - 2204) < 40, qPrintable(QString::number(runs[3].length)));
    // Broken recordings are there, so they are not logged as missing; only the word
    // recording that does not exist is.
    QVERIFY(f.log().contains("\"Word\",\"ge1ge0\""));
    QVERIFY(!f.log().contains("de0"));
    QVERIFY(!f.log().contains("\"ge1\""));
}

QTEST_GUILESS_MAIN(TstSdlOutput)
#include "tst_sdl_output.moc"
