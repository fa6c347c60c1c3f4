// The review log: rows as other tools read them, Undo, two writers at once, a damaged
// file set aside, a folder that cannot take the file.
#include "training/review_log.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <random>
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
    void dueDaysFollowTheAnswers();
    void exportedCsv();
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

// What the log keeps of each word and day as it is answered must be what its whole history
// gives: after answers in and out of order, Undo, another copy's answers, and when the days
// are counted in another time zone.
void TstReviewLog::dueDaysFollowTheAnswers()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("reviews.sqlite");
    const QTimeZone berlin("Europe/Berlin");
    const auto replayed = [](const ReviewLog& log, const QTimeZone& zone) {
        DueDays due;
        ReviewDays days;
        const auto words = log.answersByWord();
        for (auto w = words.cbegin(); w != words.cend(); ++w) {
            due.insert(w.key(), fsrs::schedule(*w, 0.85, zone)->due);
            for (const fsrs::Answer& a : *w) {
                DayCount& d = days[a.time.toTimeZone(zone).date()];
                ++d.reviews;
                d.known += a.known;
            }
        }
        return std::pair{due, days};
    };
    const auto same = [](const ReviewDays& a, const ReviewDays& b) {
        return a.keys() == b.keys() && std::equal(a.begin(), a.end(), b.begin(), [](DayCount x, DayCount y) {
                   return x.reviews == y.reviews && x.known == y.known;
               });
    };
    ReviewLog log(path, berlin), other(path, berlin);
    QVERIFY(log.open().how == ReviewLog::Opened::Fine && other.open().how == ReviewLog::Opened::Fine);
    QVERIFY(log.dueDays(0.85).isEmpty()); // read once: from now on what it keeps must follow
    std::mt19937 random(7);
    const QDateTime start = QDateTime::fromString("2026-03-20T21:30:00Z", Qt::ISODate);
    QList<qint64> ids;
    for (int i = 0; i < 120; ++i) {
        // Mostly forward in time, across the change to summer time, sometimes back (another
        // copy's clock); a few answers taken back.
        const QDateTime at = start.addSecs(qint64(i) * 5 * 3600 - (random() % 5 == 0 ? 40 * 3600 : 0));
        const char* words[] = {"你好", "谢谢", "再见"};
        Review r = answer(words[random() % 3], random() % 3 != 0);
        r.time = at;
        ReviewLog& writer = i % 4 == 0 ? other : log;
        const auto id = writer.append(r);
        QVERIFY(id);
        ids << *id;
        if (random() % 6 == 0)
            QVERIFY(writer.remove(ids.takeAt(int(random() % ids.size()))));
    }
    auto [due, days] = replayed(log, berlin);
    QCOMPARE(due.size(), 3);
    QCOMPARE(log.dueDays(0.85), due);
    QCOMPARE(other.dueDays(0.85), due);
    QVERIFY(same(log.reviewDays(), days));

    // Opened where the days are counted in another zone, the log counts them anew.
    const QTimeZone tokyo("Asia/Tokyo");
    ReviewLog far(path, tokyo);
    QVERIFY(far.open().how == ReviewLog::Opened::Fine);
    std::tie(due, days) = replayed(far, tokyo);
    QCOMPARE(far.dueDays(0.85), due);
    QVERIFY(same(far.reviewDays(), days));
    // and so it does when another program emptied what it keeps.
    {
        QSqlQuery q(QSqlDatabase::database(QSqlDatabase::connectionNames().first()));
        QVERIFY(q.exec("DELETE FROM word_states"));
    }
    ReviewLog again(path, tokyo);
    QVERIFY(again.open().how == ReviewLog::Opened::Fine);
    QCOMPARE(again.dueDays(0.85), due);
}

void TstReviewLog::exportedCsv()
{
    QTemporaryDir dir;
    ReviewLog log(dir.filePath("reviews.sqlite"));
    log.open();
    Review odd = answer("一,二", true);
    odd.file = "my \"words\".txt";
    QVERIFY(log.append(odd) && log.append(answer("你好", false)));
    QString error;
    QVERIFY(log.exportCsv(dir.filePath("log.csv"), &error));
    QFile csv(dir.filePath("log.csv"));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(csv.readAll()),
             QString("id,time_utc,characters,pinyin,file,known,level_before,level_after,answer_ms\r\n"
                     "1,2026-12-08T10:00:00.000Z,\"一,二\",ni3hao3,\"my \"\"words\"\".txt\",1,3,4,1234\r\n"
                     "2,2026-12-08T10:00:00.000Z,你好,ni3hao3,words.txt,0,3,2,1234\r\n"));
    QVERIFY(!log.exportCsv(dir.filePath("log.csv/x"), &error));
    QVERIFY(!error.isEmpty());
}

QTEST_GUILESS_MAIN(TstReviewLog)
#include "tst_review_log.moc"
