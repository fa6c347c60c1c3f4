// The speaking order of SpeakPinyin through the recording output, the lookup of
// recordings without regard to case, and the names that must not leave the folder.
// Which names a text gives is tst_pinyin_parser's.
#include "sound/sound_index.h"
#include "sound/speech.h"
#include "sound_fixture.h"

#include <QDateTime>
#include <QFile>
#include <QTest>
#include <utime.h>

using namespace tavi;
using namespace tavi::test;

namespace {

// Dates the folder back, as if its last change were long ago.
void ageFolder(const QString& path)
{
    const time_t old = QDateTime::currentSecsSinceEpoch() - 3600;
    const utimbuf times{old, old};
    QVERIFY(::utime(QFile::encodeName(path).constData(), &times) == 0);
}

} // namespace

class TstSpeech : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void playingOrder_data();
    void playingOrder();
    void recordingThatDoesNotPlayIsNotMissing();
    void namesCannotLeaveTheSoundFolder_data()
    {
        rowsOf("text", {"../outside1", "sub/inside1", "/tmp/anything1", "sub\\inside1", "..1"});
    }
    void namesCannotLeaveTheSoundFolder();
    void indexIsKeptUntilTheFolderChanges();
};

void TstSpeech::playingOrder_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("played");

    const QStringList syllables = {"ni3.wav", "hao3.wav", "wo3.wav", "de0.wav",
                                   "ge1.wav", "ge0.wav",  "wait.wav"};
    QTest::newRow("words from their syllables")
        << "Ni3hao3 wo3 de0 ge1ge0" << syllables
        << QStringList{"ni3.wav", "hao3.wav", "wait.wav", "wo3.wav", "wait.wav",
                       "de0.wav", "wait.wav", "ge1.wav",  "ge0.wav", "wait.wav"};
    QTest::newRow("a word's own recording first")
        << "Ni3hao3 wo3" << syllables + QStringList{"ni3hao3.wav"}
        << QStringList{"ni3hao3.wav", "wait.wav", "wo3.wav", "wait.wav"};
    QTest::newRow("missing syllables are skipped")
        << "ni3hao3 xie4xie0" << QStringList{"hao3.wav", "xie0.wav", "wait.wav"}
        << QStringList{"hao3.wav", "wait.wav", "xie0.wav", "wait.wav"};
    QTest::newRow("no pause without wait.wav")
        << "ni3 hao3" << QStringList{"ni3.wav", "hao3.wav"} << QStringList{"ni3.wav", "hao3.wav"};
    QTest::newRow("empty text plays the pause") << "" << syllables << QStringList{"wait.wav"};
    QTest::newRow("found in any case") << "ni3 LÜ4 wo3" << QStringList{"NI3.wav", "lü4.wav", "wo3.WAV"}
                                       << QStringList{"NI3.wav", "lü4.wav", "wo3.WAV"};
}

void TstSpeech::playingOrder()
{
    QFETCH(QString, text);
    QFETCH(QStringList, files);
    QFETCH(QStringList, played);
    SoundFixture f;
    f.addSounds(files);
    SpeakPinyin(text);
    QCOMPARE(f.audio.played, played);
    QVERIFY(f.boxes.calls.isEmpty());
}

void TstSpeech::recordingThatDoesNotPlayIsNotMissing()
{
    SoundFixture f;
    f.addSounds({"ni3.wav", "hao3.wav", "wait.wav", "wo3.wav", "xie4xie0.wav", "xie4.wav", "xie0.wav"});
    f.audio.failing = {"hao3.wav", "xie4xie0.wav"};
    LogEnabled = true;
    CurrentCharacter = QStringLiteral("你好");
    SpeakPinyin(QStringLiteral("ni3hao3 xie4xie0"));
    // A word's own recording that does not play: its syllables are spoken instead.
    QCOMPARE(f.audio.played, QStringList({"ni3.wav", "wait.wav", "xie4.wav", "xie0.wav", "wait.wav"}));
    // ni3hao3 has no recording of its own; hao3 and xie4xie0 have one, which failed to play.
    QCOMPARE(f.log(), QByteArray("\"Type\",\"Pinyin\",\"Character\"\r\n"
                                 "\"Word\",\"ni3hao3\",\"\xe4\xbd\xa0\xe5\xa5\xbd\"\r\n"));
    // Without any sound output every recording fails, and none is missing.
    const ServiceScope none({}, ServiceScope::Only);
    SpeakPinyin(QStringLiteral("wo3 lü4"));
    QVERIFY(!f.log().contains("wo3"));
    QVERIFY(f.log().contains("\"lü4\""));
}

void TstSpeech::namesCannotLeaveTheSoundFolder()
{
    QFETCH(QString, text);
    SoundFixture f;
    QDir(f.folder.file("sound")).mkdir("sub");
    f.folder.write("outside1.wav", QByteArray());
    f.addSounds({"sub/inside1.wav", "sub\\inside1.wav", "..1.wav", "wait.wav"});
    LogEnabled = true;
    SpeakPinyin(text);
    QCOMPARE(f.audio.played, QStringList{"wait.wav"});
    QVERIFY(f.log().contains("\"Word\",\"" + text.toUtf8() + "\""));
}

void TstSpeech::indexIsKeptUntilTheFolderChanges()
{
    SoundFixture f;
    f.addSounds({"ni3.wav"});
    const QString sound = f.folder.file("sound");
    ageFolder(sound);
    SoundIndex index;
    QVERIFY(!index.find(SoundFolder, "ni3.wav").isEmpty());
    QVERIFY(index.find(SoundFolder, "hao3.wav").isEmpty());
    QCOMPARE(index.builds(), 1);

    f.addSounds({"HAO3.wav"});
    QCOMPARE(index.find(SoundFolder, "hao3.wav"), QDir(sound).filePath("HAO3.wav"));
    QCOMPARE(index.builds(), 2);
    QVERIFY(QFile::remove(QDir(sound).filePath("ni3.wav")));
    QVERIFY(index.find(SoundFolder, "ni3.wav").isEmpty());
    QVERIFY(FileExists(QDir(sound).filePath("HAO3.wav")) && !FileExists(QDir(sound).filePath("ni3.wav")));
    QVERIFY(!FileExists(QString()));
}

QTEST_GUILESS_MAIN(TstSpeech)
#include "tst_speech.moc"
