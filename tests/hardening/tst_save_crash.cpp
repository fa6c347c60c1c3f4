// The saves under a crash at any moment: a second program saves in a loop and is killed
// with SIGKILL at random moments; after every kill the files must read whole, as the
// save before or the save that was cut off left them. TAVI_KILL_COUNT sets the number
// of kills (100 by default; scripts/kill_test.sh runs 1,000).
#include "core/ini_store.h"
#include "generation.h"
#include "training/review_log.h"
#include "vocabulary/voc_file.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <thread>

using namespace tavi;
using namespace tavi::test;

namespace {

const QString Program = QStringLiteral(TAVI_SAVE_LOOP);
const QString Section = QStringLiteral("Tavi");

long numberIn(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll().trimmed().toLong() : 0;
}

} // namespace

class TstSaveCrash : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void killedSavesLeaveWholeFiles();
    void twoCopiesKeepEachOthersKeys();
    void killedLoggingKeepsEveryAnswer();
};

void TstSaveCrash::killedSavesLeaveWholeFiles()
{
    const int asked = qEnvironmentVariableIntValue("TAVI_KILL_COUNT");
    const int kills = asked > 0 ? asked : 100;
    QTemporaryDir dir;
    const QString folder = dir.path();
    const QString ini = folder + QStringLiteral("/tavi.ini");
    const QString status = folder + QStringLiteral("/status"); // the save under way
    QVERIFY(ini::write(ini, Section, QStringLiteral("kept"), QStringLiteral("as it was")));
    const QStringList ours = {"status", "tavi.ini", "v.txt", "v.txt.bak"};
    auto* random = QRandomGenerator::global();

    long start = 1;
    long onDisk = -1;  // the generation the vocabulary file holds (-1: none yet)
    QString iniOnDisk; // the generation tavi.ini holds
    int whole = 0;
    QStringList lost, strays;
    for (int k = 0; k < kills; ++k) {
        QProcess loop;
        loop.start(Program, {QStringLiteral("words"), folder, QString::number(start)});
        QVERIFY2(loop.waitForStarted(), qPrintable(loop.errorString()));
        // Into the loop first, then a moment anywhere within a few saves.
        for (int wait = 0; numberIn(status) < start && wait < 5000; ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::this_thread::sleep_for(std::chrono::microseconds(random->bounded(20000)));
        ::kill(pid_t(loop.processId()), SIGKILL);
        QVERIFY(loop.waitForFinished());
        QCOMPARE(loop.exitStatus(), QProcess::CrashExit);

        const long cut = numberIn(status); // the save that may have been cut off
        const long before = cut > start ? cut - 1 : onDisk;
        const long now = QFile::exists(folder + "/v.txt") ? generationOf(ReadVocFile(folder + "/v.txt")) : -1;
        const QString iniNow = ini::read(ini, Section, QStringLiteral("generation"));
        const QString iniBefore = cut > start ? QString::number(cut - 1) : iniOnDisk;
        const bool backupWhole =
            !QFile::exists(folder + "/v.txt.bak") || generationOf(ReadVocFile(folder + "/v.txt.bak")) > 0;
        if ((now == cut || now == before) && backupWhole &&
            (iniNow == QString::number(cut) || iniNow == iniBefore) &&
            ini::read(ini, Section, QStringLiteral("kept")) == u"as it was")
            ++whole;
        else
            lost << QString::asprintf("kill %d: save %ld cut, file %ld, backup whole %d, settings %s", k, cut,
                                      now, int(backupWhole), qPrintable(iniNow));
        for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
            if (!ours.contains(name) && !strays.contains(name))
                strays << name; // passing files of a cut-off save or lock
        onDisk = now;
        iniOnDisk = iniNow;
        start = cut + 1;
    }
    qInfo("%d kills: %d left whole files, %d lost; last save number %ld", kills, whole, int(lost.size()),
          start - 1);
    QVERIFY2(lost.isEmpty(), qPrintable(lost.join(u'\n')));
    QVERIFY(start > kills); // every run got into its loop

    // What a cut-off save leaves behind does not trip the next one, which clears it
    // away.
    QCOMPARE(QProcess::execute(Program, {QStringLiteral("once"), folder, QString::number(start)}), 0);
    QCOMPARE(generationOf(ReadVocFile(folder + "/v.txt")), start);
    QCOMPARE(ini::read(ini, Section, QStringLiteral("generation")), QString::number(start));
    const QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    QVERIFY2(left == ours, qPrintable(left.join(u' ')));
    qInfo("passing files seen after kills: %s", qPrintable(strays.join(u' ')));
}

void TstSaveCrash::twoCopiesKeepEachOthersKeys()
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("tavi.ini"));
    const int writes = 300;
    QProcess first, second;
    first.start(Program, {QStringLiteral("keys"), ini, QStringLiteral("first"), QString::number(writes)});
    second.start(Program, {QStringLiteral("keys"), ini, QStringLiteral("second"), QString::number(writes)});
    QVERIFY(first.waitForFinished(60000) && second.waitForFinished(60000));
    QCOMPARE(first.exitCode() + second.exitCode(), 0);
    for (const char* who : {"first", "second"})
        for (int key = 0; key < 10; ++key)
            QCOMPARE(ini::read(ini, Section, who + QString::number(key)), QString::number(writes - 10 + key));
}

// Answers logged while the program is killed: the log always opens as a database, and
// every answer that was committed before the kill is in it.
void TstSaveCrash::killedLoggingKeepsEveryAnswer()
{
    const int asked = qEnvironmentVariableIntValue("TAVI_KILL_COUNT");
    const int kills = asked > 0 ? asked : 100;
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("reviews.sqlite"));
    auto* random = QRandomGenerator::global();
    long committed = 0;
    for (int k = 0; k < kills; ++k) {
        QProcess loop;
        loop.start(Program, {QStringLiteral("reviews"), log});
        QVERIFY2(loop.waitForStarted(), qPrintable(loop.errorString()));
        for (int wait = 0; numberIn(log + QStringLiteral(".status")) <= committed && wait < 5000; ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::this_thread::sleep_for(std::chrono::microseconds(random->bounded(10000)));
        ::kill(pid_t(loop.processId()), SIGKILL);
        QVERIFY(loop.waitForFinished());

        committed = numberIn(log + QStringLiteral(".status"));
        ReviewLog reopened(log);
        QCOMPARE(int(reopened.open().how), int(ReviewLog::Opened::Fine));
        // No row is lost, and no row of a cut-off answer is half there.
        QVERIFY2(reopened.count() >= committed && reopened.count() <= committed + 1,
                 qPrintable(
                     QString("kill %1: %2 rows, %3 committed").arg(k).arg(reopened.count()).arg(committed)));
        committed = reopened.count();
        // What the log keeps per day was written with the rows, or not at all.
        int counted = 0;
        for (const DayCount& day : reopened.reviewDays())
            counted += day.reviews;
        QCOMPARE(counted, committed);
    }
    qInfo("%d kills while logging: %ld answers, none lost", kills, committed);
}

QTEST_GUILESS_MAIN(TstSaveCrash)
#include "tst_save_crash.moc"
