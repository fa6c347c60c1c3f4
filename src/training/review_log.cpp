// The review log on Qt SQL's SQLite driver. One connection per log object: Qt's
// connections belong to the thread that made them.
#include "training/review_log.h"

#include "core/app_state.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <memory>

namespace tavi {

namespace {

QAtomicInt g_connections;

const char* const kSchema[] = {
    "PRAGMA journal_mode=WAL",
    "PRAGMA synchronous=FULL",
    "CREATE TABLE IF NOT EXISTS reviews (id INTEGER PRIMARY KEY, time_utc TEXT NOT NULL, "
    "characters TEXT NOT NULL, pinyin TEXT NOT NULL, file TEXT NOT NULL, known INTEGER NOT NULL, "
    "level_before INTEGER NOT NULL, level_after INTEGER NOT NULL, answer_ms INTEGER NOT NULL)",
    "CREATE INDEX IF NOT EXISTS reviews_word ON reviews (characters, pinyin, time_utc)",
};

} // namespace

ReviewLog::ReviewLog(const QString& path)
    : m_path(path), m_connection(QStringLiteral("tavi-reviews-%1").arg(g_connections.fetchAndAddRelaxed(1)))
{}

ReviewLog::~ReviewLog()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (db.isValid())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

bool ReviewLog::prepare(QString* error)
{
    QSqlDatabase db = QSqlDatabase::contains(m_connection)
                          ? QSqlDatabase::database(m_connection, false)
                          : QSqlDatabase::addDatabase("QSQLITE", m_connection);
    db.setDatabaseName(m_path);
    // Another copy may be writing: wait for it rather than fail.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    if (!db.open()) {
        *error = db.lastError().text();
        return false;
    }
    QSqlQuery q(db);
    // A file that is no database, or a damaged one, fails here.
    if (!q.exec(QStringLiteral("PRAGMA quick_check")) || !q.next() || q.value(0).toString() != u"ok") {
        *error = q.lastError().isValid() ? q.lastError().text() : q.value(0).toString();
        db.close();
        return false;
    }
    for (const char* statement : kSchema)
        if (!q.exec(QString::fromLatin1(statement))) {
            *error = q.lastError().text();
            db.close();
            return false;
        }
    return true;
}

ReviewLog::OpenResult ReviewLog::open()
{
    OpenResult result;
    const bool existed = QFileInfo::exists(m_path);
    m_open = prepare(&result.error);
    if (m_open)
        return result;
    // A file that is there but could not be read as a database is moved aside, with its
    // journal, and a new one begun; a folder that cannot be written stays a failure.
    if (existed && QFileInfo(m_path).isFile()) {
        const QString aside = m_path + QStringLiteral(".broken-") +
                              QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
        QSqlDatabase::removeDatabase(m_connection);
        if (QFile::rename(m_path, aside)) {
            for (const char* journal : {"-wal", "-shm"})
                QFile::rename(m_path + QLatin1String(journal), aside + QLatin1String(journal));
            QString error;
            m_open = prepare(&error);
            if (m_open)
                return {Opened::SetAside, aside, result.error};
            result.error = error;
        }
    }
    result.how = Opened::Failed;
    return result;
}

std::optional<qint64> ReviewLog::append(const Review& review)
{
    if (!m_open)
        return std::nullopt;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("INSERT INTO reviews (time_utc, characters, pinyin, file, known, level_before, "
                             "level_after, answer_ms) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    q.addBindValue(review.time.toUTC().toString(Qt::ISODateWithMs));
    q.addBindValue(review.characters);
    q.addBindValue(review.pinyin);
    q.addBindValue(review.file);
    q.addBindValue(review.known ? 1 : 0);
    q.addBindValue(review.levelBefore);
    q.addBindValue(review.levelAfter);
    q.addBindValue(review.answerMs);
    if (!q.exec())
        return std::nullopt;
    return q.lastInsertId().toLongLong();
}

bool ReviewLog::remove(qint64 id)
{
    if (!m_open)
        return false;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("DELETE FROM reviews WHERE id = ?"));
    q.addBindValue(id);
    return q.exec() && q.numRowsAffected() == 1;
}

QString ReviewLog::wordKey(const QString& characters, const QString& pinyin)
{
    return characters + u'\t' + pinyin;
}

QHash<QString, QList<fsrs::Answer>> ReviewLog::answersByWord() const
{
    QHash<QString, QList<fsrs::Answer>> words;
    if (!m_open)
        return words;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.setForwardOnly(true);
    if (!q.exec(
            QStringLiteral("SELECT characters, pinyin, time_utc, known FROM reviews ORDER BY time_utc, id")))
        return words;
    while (q.next())
        words[wordKey(q.value(0).toString(), q.value(1).toString())].append(
            {QDateTime::fromString(q.value(2).toString(), Qt::ISODateWithMs), q.value(3).toInt() == 1});
    return words;
}

SharedReviewLog programReviewLog()
{
    static std::unique_ptr<ReviewLog> log;
    // Closed with the application: Qt SQL is gone by the time statics are destroyed.
    static const bool closedAtQuit = [] {
        qAddPostRoutine([] { log.reset(); });
        return true;
    }();
    Q_UNUSED(closedAtQuit);
    const QString path = joinPath(ProgramFolder, QStringLiteral("reviews.sqlite"));
    SharedReviewLog shared;
    if (!log || log->path() != path) {
        log = std::make_unique<ReviewLog>(path);
        shared.opened = log->open();
    }
    shared.log = log.get();
    return shared;
}

qint64 ReviewLog::count() const
{
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    return m_open && q.exec(QStringLiteral("SELECT COUNT(*) FROM reviews")) && q.next()
               ? q.value(0).toLongLong()
               : 0;
}

} // namespace tavi
