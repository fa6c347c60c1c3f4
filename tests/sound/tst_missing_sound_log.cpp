// The missing-sound log: its lines, the header once per run, a log that cannot be
// written, and the two settings.
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
    void offNeverTouchesTheFile();
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
    QTest::addColumn<QStringList>("recorded");
    QTest::newRow("two words, none recorded") << "Ni3hao3 wo3"
                                              << "none"
                                              << QByteArray("\"Word\",\"Ni3hao3\",\"none\"\r\n"
                                                            "\"Syllable\",\"Ni3\",\"-\"\r\n"
                                                            "\"Syllable\",\"hao3\",\"-\"\r\n"
                                                            "\"Word\",\"wo3\",\"none\"\r\n"
                                                            "\"Syllable\",\"wo3\",\"-\"\r\n")
                                              << QStringList();
    QTest::newRow("empty pinyin") << ""
                                  << "x" << QByteArray("\"Word\",\"\",\"x\"\r\n") << QStringList();
    QTest::newRow("quotes kept as they are")
        << "a\"b"
        << "\"q\"" << QByteArray("\"Word\",\"a\"b\",\"\"q\"\"\r\n\"Syllable\",\"a\"b\",\"-\"\r\n")
        << QStringList();
    QTest::newRow("characters in UTF-8") << "xue2"
                                         << "学"
                                         << QByteArray("\"Word\",\"xue2\",\"\xe5\xad\xa6\"\r\n"
                                                       "\"Syllable\",\"xue2\",\"-\"\r\n")
                                         << QStringList();
    QTest::newRow("recorded syllables give no line")
        << "ni3hao3"
        << "你好" << QByteArray("\"Word\",\"ni3hao3\",\"\xe4\xbd\xa0\xe5\xa5\xbd\"\r\n")
        << QStringList{"ni3.wav", "hao3.wav"};
}

void TstMissingSoundLog::lines()
{
    QFETCH(QString, text);
    QFETCH(QString, character);
    QFETCH(QByteArray, lines);
    QFETCH(QStringList, recorded);
    SoundFixture f;
    f.addSounds(recorded + QStringList{"wait.wav"});
    LogEnabled = true;
    CurrentCharacter = character;
    SpeakPinyin(text);
    QCOMPARE(f.log(), Header + lines);
}

void TstMissingSoundLog::offNeverTouchesTheFile()
{
    SoundFixture f;
    SpeakPinyin(QStringLiteral("wo3"));
    QVERIFY(!QFile::exists(LogFilePath));
    QVERIFY(!log_header_written);
}

void TstMissingSoundLog::headerOncePerRun()
{
    SoundFixture f;
    f.folder.write("log.csv", "earlier\r\n");
    LogEnabled = true;
    SpeakPinyin(QStringLiteral("a1"));
    LogEnabled = false; // the check box off and on again
    SpeakPinyin(QStringLiteral("b1"));
    LogEnabled = true;
    SpeakPinyin(QStringLiteral("c1"));
    log_header_written = false; // the next program run
    SpeakPinyin(QStringLiteral("d1"));
    const QByteArray log = f.log();
    QCOMPARE(log.count(Header), 2);
    QVERIFY(log.startsWith("earlier\r\n" + Header));
    QVERIFY(!log.contains("\"b1\""));
    QVERIFY(log.lastIndexOf(Header) > log.indexOf("\"c1\""));
    QVERIFY(log.lastIndexOf(Header) < log.indexOf("\"d1\""));
}

void TstMissingSoundLog::unwritableLogIsReportedOnce_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("missing folder") << "missing/log.csv";
    QTest::newRow("a folder") << ".";
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
    QCOMPARE(LogFilePath, defaultLogFilePath());
    QCOMPARE(defaultLogFilePath(), QDir::homePath() + "/tavi_logfile.csv");

    LogEnabled = true;
    LogFilePath = QStringLiteral("relative/log.csv"); // kept as it stands
    do_settings("W");
    QCOMPARE(ini::read(SettingsFile, "Tavi", "tools_do_logging"), QString("True"));
    QCOMPARE(ini::read(SettingsFile, "Tavi", "tools_logfile"), QString("relative/log.csv"));
}

QTEST_GUILESS_MAIN(TstMissingSoundLog)
#include "tst_missing_sound_log.moc"
