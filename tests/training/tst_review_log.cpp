// The review log: rows as other tools read them, Undo, two writers at once, a damaged
// file set aside, a folder that cannot take the file.
#include "training/review_log.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <thread>

using namespace tavi;

namespace {

Review answer(const char* characters, bool known, const char* time = "2026-12-08T10:00:00Z")
{
    const QDateTime at = QDateTime::fromString(time, Qt::ISODate);
    return {at, characters, "ni3hao3", "words.txt", known, 3, known ? 4 : 2, 1234};
}

} // namespace

class TstReviewLog : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rowsAndUndo();
    void twoWritersAtOnce();
    void damagedFileSetAside();
    void folderThatCannotTakeIt();
};

void TstReviewLog::rowsAndUndo()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("reviews.sqlite");
    {
        ReviewLog log(path);
        QCOMPARE(int(log.open().how), int(ReviewLog::Opened::Fine));
        QVERIFY(log.append(answer("你好", true)));
        const auto undone = log.append(answer("你好", false, "2026-12-09T10:00:00Z"));
        QVERIFY(undone && log.append(answer("谢谢", false)));
        QVERIFY(log.remove(*undone));
        QVERIFY(!log.remove(*undone));
        const auto words = log.answersByWord();
        QCOMPARE(words.size(), 2);
        QCOMPARE(words[ReviewLog::wordKey("你好", "ni3hao3")].size(), 1);
        QVERIFY(words[ReviewLog::wordKey("你好", "ni3hao3")][0].known);
    }
    // What another program sees: the table and its columns, times in ISO 8601 UTC.
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "reader");
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(
            q.exec("SELECT time_utc, characters, pinyin, file, known, level_before, level_after, answer_ms "
                   "FROM reviews ORDER BY id"));
        QVERIFY(q.next());
        QStringList row;
        for (int i = 0; i < 8; ++i)
            row << q.value(i).toString();
        QCOMPARE(row.join(u'|'), QString("2026-12-08T10:00:00.000Z|你好|ni3hao3|words.txt|1|3|4|1234"));
        QVERIFY(q.exec("PRAGMA journal_mode") && q.next());
        QCOMPARE(q.value(0).toString(), QString("wal"));
    }
    QSqlDatabase::removeDatabase("reader");
}

// Two copies of the program answering at the same time lose no row.
void TstReviewLog::twoWritersAtOnce()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("reviews.sqlite");
    const auto writer = [&path](const char* word) {
        ReviewLog log(path);
        log.open();
        for (int i = 0; i < 150; ++i)
            log.append(answer(word, i % 2));
    };
    std::thread a(writer, "你"), b(writer, "好");
    a.join();
    b.join();
    ReviewLog log(path);
    log.open();
    QCOMPARE(log.count(), 300);
}

void TstReviewLog::damagedFileSetAside()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("reviews.sqlite");
    QFile bad(path);
    QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write(QByteArray(8192, 'x')));
    bad.close();
    ReviewLog log(path);
    const ReviewLog::OpenResult opened = log.open();
    QCOMPARE(int(opened.how), int(ReviewLog::Opened::SetAside));
    QFile aside(opened.setAside);
    QVERIFY(aside.open(QIODevice::ReadOnly));
    QCOMPARE(aside.readAll(), QByteArray(8192, 'x')); // kept as it was, for the learner
    QVERIFY(log.append(answer("你好", true)));
    QCOMPARE(log.count(), 1);
}

void TstReviewLog::folderThatCannotTakeIt()
{
    QTemporaryDir dir;
    QFile notAFolder(dir.filePath("file"));
    QVERIFY(notAFolder.open(QIODevice::WriteOnly));
    notAFolder.close();
    ReviewLog log(dir.filePath("file/reviews.sqlite"));
    const ReviewLog::OpenResult opened = log.open();
    QCOMPARE(int(opened.how), int(ReviewLog::Opened::Failed));
    QVERIFY(!opened.error.isEmpty());
    QVERIFY(!log.append(answer("你好", true)));
}

QTEST_GUILESS_MAIN(TstReviewLog)
#include "tst_review_log.moc"
