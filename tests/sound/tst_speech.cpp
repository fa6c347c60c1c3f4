// The speaking order of SpeakPinyin through the recording output, the lookup of
// recordings without regard to case, and the names that must not leave the folder.
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
    void namesCannotLeaveTheSoundFolder_data();
    void namesCannotLeaveTheSoundFolder();
    void lookupIgnoresCase_data();
    void lookupIgnoresCase();
    void indexIsKeptUntilTheFolderChanges();
    void fileExists();
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
    QTest::newRow("trailing separator adds a pause")
        << "wo3 " << syllables << QStringList{"wo3.wav", "wait.wav", "wait.wav"};
    QTest::newRow("separator kept in the name")
        << "ma-" << QStringList{"ma-.wav", "ma.wav"} << QStringList{"ma-.wav"};
    QTest::newRow("ende is spoken") << "ende wo3" << QStringList{"ende.wav", "wo3.wav"}
                                    << QStringList{"ende.wav", "wo3.wav"};
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
    f.addSounds({"ni3.wav", "hao3.wav", "wait.wav", "wo3.wav"});
    f.audio.failing = {"hao3.wav"};
    LogEnabled = true;
    CurrentCharacter = QStringLiteral("你好");
    SpeakPinyin(QStringLiteral("ni3hao3"));
    QCOMPARE(f.audio.played, QStringList({"ni3.wav", "wait.wav"}));
    // The word has no recording of its own; hao3 has one, which failed to play.
    QCOMPARE(f.log(), QByteArray("\"Type\",\"Pinyin\",\"Character\"\r\n"
                                 "\"Word\",\"ni3hao3\",\"\xe4\xbd\xa0\xe5\xa5\xbd\"\r\n"));
    // A word's own recording that does not play: its syllables are spoken instead.
    f.addSounds({"xie4xie0.wav", "xie4.wav", "xie0.wav"});
    f.audio.failing << "xie4xie0.wav";
    f.audio.played.clear();
    SpeakPinyin(QStringLiteral("xie4xie0"));
    QCOMPARE(f.audio.played, QStringList({"xie4.wav", "xie0.wav", "wait.wav"}));
    // Without any sound output every recording fails, and none is missing.
    const ServiceScope none({}, ServiceScope::Only);
    SpeakPinyin(QStringLiteral("wo3 lü4"));
    QVERIFY(!f.log().contains("wo3"));
    QVERIFY(f.log().contains("\"lü4\""));
}

void TstSpeech::namesCannotLeaveTheSoundFolder_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("parent folder") << "../outside1";
    QTest::newRow("sub folder") << "sub/inside1";
    QTest::newRow("absolute path") << "/tmp/anything1";
    QTest::newRow("backslash") << "sub\\inside1";
    QTest::newRow("dots") << "..1";
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

void TstSpeech::lookupIgnoresCase_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("name");
    QTest::newRow("capital typed") << "ni3.wav"
                                   << "Ni3";
    QTest::newRow("capital on disk") << "NI3.wav"
                                     << "ni3";
    QTest::newRow("extension in capitals") << "wo3.WAV"
                                           << "wo3";
    QTest::newRow("u with diaeresis") << "lü4.wav"
                                      << "LÜ4";
}

void TstSpeech::lookupIgnoresCase()
{
    QFETCH(QString, file);
    QFETCH(QString, name);
    SoundFixture f;
    f.addSounds({file});
    QVERIFY(PlaySyllable(name));
    QCOMPARE(f.audio.played, QStringList{file});
    QVERIFY(!PlaySyllable(name + "x"));
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
    ageFolder(sound);
    QVERIFY(index.find(SoundFolder, "ni3.wav").isEmpty());
    const int builds = index.builds();
    index.find(SoundFolder, "hao3.wav");
    index.find(SoundFolder, "wo3.wav");
    QCOMPARE(index.builds(), builds);
}

void TstSpeech::fileExists()
{
    SoundFixture f;
    f.folder.write("there.txt", "x");
    QVERIFY(FileExists(f.folder.file("there.txt")));
    QVERIFY(!FileExists(f.folder.file("missing.txt")));
    QVERIFY(!FileExists(f.folder.file("missing/there.txt")));
    QVERIFY(!FileExists(QString()));
}

QTEST_GUILESS_MAIN(TstSpeech)
#include "tst_speech.moc"
