// The missing-sound log: its lines, the header once per run, a log that cannot be
// written, and the two settings. Which recordings are missing is tst_speech's.
#include "core/ini_store.h"
#include "core/settings.h"
#include "sound/speech.h"
#include "sound_fixture.h"

#include <QTest>

using namespace tavi;
using namespace tavi::test;

namespace {

const QByteArray Header = "\"Type\",\"Pinyin\",\"Character\"\r\n";

} // namespace

class TstMissingSoundLog : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lines_data();
    void lines();
    void headerOncePerRun();
    void unwritableLogIsReportedOnce_data();
    void unwritableLogIsReportedOnce();
    void settingsDefaultAndStore();
};

void TstMissingSoundLog::lines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("character");
    QTest::addColumn<QByteArray>("lines");
    // clang-format off
    QTest::newRow("two words, none recorded") << "Ni3hao3 wo3" << "none"
        << QByteArray("\"Word\",\"Ni3hao3\",\"none\"\r\n"
                      "\"Syllable\",\"Ni3\",\"-\"\r\n"
                      "\"Syllable\",\"hao3\",\"-\"\r\n"
                      "\"Word\",\"wo3\",\"none\"\r\n"
                      "\"Syllable\",\"wo3\",\"-\"\r\n");
    QTest::newRow("empty pinyin") << "" << "x" << QByteArray("\"Word\",\"\",\"x\"\r\n");
    QTest::newRow("quotes kept as they are") << "a\"b" << "\"q\""
        << QByteArray("\"Word\",\"a\"b\",\"\"q\"\"\r\n\"Syllable\",\"a\"b\",\"-\"\r\n");
    // clang-format on
}

void TstMissingSoundLog::lines()
{
    QFETCH(QString, text);
    QFETCH(QString, character);
    QFETCH(QByteArray, lines);
    SoundFixture f;
    f.addSounds({"wait.wav"});
    LogEnabled = true;
    CurrentCharacter = character;
    SpeakPinyin(text);
    QCOMPARE(f.log(), Header + lines);
}

// Logging off never creates the file; on, the header goes in once per program run.
void TstMissingSoundLog::headerOncePerRun()
{
    SoundFixture f;
    SpeakPinyin(QStringLiteral("wo3"));
    QVERIFY(!QFile::exists(LogFilePath));
    f.folder.write("log.csv", "earlier\r\n");
    LogEnabled = true;
    SpeakPinyin(QStringLiteral("a1"));
    SpeakPinyin(QStringLiteral("b1"));
    log_header_written = false; // the next program run
    SpeakPinyin(QStringLiteral("c1"));
    const auto missing = [](QByteArray p) {
        return "\"Word\",\"" + p + "\",\"\"\r\n\"Syllable\",\"" + p + "\",\"-\"\r\n";
    };
    QCOMPARE(f.log(), "earlier\r\n" + Header + missing("a1") + missing("b1") + Header + missing("c1"));
}

void TstMissingSoundLog::unwritableLogIsReportedOnce_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("missing folder") << "missing/log.csv";
    QTest::newRow("empty path") << "";
    if (QFile::exists("/dev/full"))
        QTest::newRow("full disk") << "/dev/full";
}

void TstMissingSoundLog::unwritableLogIsReportedOnce()
{
    QFETCH(QString, path);
    SoundFixture f;
    f.addSounds({"wait.wav"});
    LogEnabled = true;
    LogFilePath = path.startsWith(u'/') || path.isEmpty() ? path : f.folder.file(path);
    SpeakPinyin(QStringLiteral("ni3 hao3"));
    SpeakPinyin(QStringLiteral("wo3"));
    QCOMPARE(f.audio.played, QStringList({"wait.wav", "wait.wav", "wait.wav"}));
    QCOMPARE(f.boxes.calls.size(), 1);
    QCOMPARE(f.boxes.calls[0].flags, int(vbExclamation));
    QVERIFY2(f.boxes.calls[0].text.contains(LogFilePath), qPrintable(f.boxes.calls[0].text));
}

void TstMissingSoundLog::settingsDefaultAndStore()
{
    SoundFixture f;
    LogEnabled = true;
    LogFilePath = QStringLiteral("somewhere");
    do_settings("R"); // nothing stored: the defaults
    QCOMPARE(LogEnabled, false);
    QCOMPARE(LogFilePath, QDir::homePath() + "/tavi_logfile.csv");

    LogEnabled = true;
    LogFilePath = QStringLiteral("relative/log.csv"); // kept as it stands
    do_settings("W");
    QCOMPARE(ini::read(SettingsFile, "Tavi", "tools_do_logging"), QString("True"));
    QCOMPARE(ini::read(SettingsFile, "Tavi", "tools_logfile"), QString("relative/log.csv"));
}

QTEST_GUILESS_MAIN(TstMissingSoundLog)
#include "tst_missing_sound_log.moc"
