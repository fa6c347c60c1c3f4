// The review log on Qt SQL's SQLite driver. One connection per log object: Qt's
// connections belong to the thread that made them.
#include "training/review_log.h"

#include "core/app_state.h"
#include "core/language.h"
#include "core/msgbox.h"
#include "core/settings.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QVariant>
#include <algorithm>
#include <memory>
#include <sqlite3.h>

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
    // Kept up to date with every answer, and rebuilt from the reviews when missing or when
    // the days were counted in another time zone: each word's memory, and the answers of
    // each day. Nothing else depends on them.
    "CREATE TABLE IF NOT EXISTS word_states (characters TEXT NOT NULL, pinyin TEXT NOT NULL, "
    "stability REAL NOT NULL, difficulty REAL NOT NULL, last_utc TEXT NOT NULL, last_day INTEGER NOT NULL, "
    "PRIMARY KEY (characters, pinyin)) WITHOUT ROWID",
    "CREATE TABLE IF NOT EXISTS review_days (day INTEGER PRIMARY KEY, reviews INTEGER NOT NULL, "
    "known INTEGER NOT NULL)",
    "CREATE TABLE IF NOT EXISTS derived (name TEXT PRIMARY KEY, value TEXT NOT NULL)",
};

// Runs a statement, waiting while another copy holds the file. SQLite's own wait does not
// cover every statement: switching a new file to the write-ahead journal fails at once
// while another connection is switching it too.
bool execWaiting(QSqlQuery& q, const QString& statement)
{
    QDeadlineTimer deadline(10000);
    while (!q.exec(statement)) {
        if (q.lastError().nativeErrorCode() != u"5" || deadline.hasExpired()) // SQLITE_BUSY
            return false;
        QThread::msleep(10);
    }
    return true;
}

// What the derived tables were computed with; another value rebuilds them.
const QString kDerivedModel = QStringLiteral("fsrs-5 default");

fsrs::Grade gradeOf(bool known)
{
    return known ? fsrs::Grade::Good : fsrs::Grade::Again;
}

QString utcText(const QDateTime& time)
{
    return time.toUTC().toString(Qt::ISODateWithMs);
}

QDateTime fromUtcText(const QString& text)
{
    return QDateTime::fromString(text, Qt::ISODateWithMs);
}

// One write, all of it or nothing. IMMEDIATE takes the write lock at once, so that two
// copies wait for each other (busy timeout) instead of failing halfway.
class WriteTransaction {
public:
    explicit WriteTransaction(const QSqlDatabase& db) : m_query(db)
    {
        m_begun = m_query.exec(QStringLiteral("BEGIN IMMEDIATE"));
    }
    ~WriteTransaction()
    {
        if (m_begun && !m_done)
            m_query.exec(QStringLiteral("ROLLBACK"));
    }
    bool begun() const { return m_begun; }
    bool commit()
    {
        m_done = m_begun && m_query.exec(QStringLiteral("COMMIT"));
        return m_done;
    }

private:
    QSqlQuery m_query;
    bool m_begun = false;
    bool m_done = false;
};

QString csvField(QString text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    return u'"' + text.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

} // namespace

double desiredRetention()
{
    const qint32 percent =
        gkeyValue<qint32>(QStringLiteral("R"), QStringLiteral("progress_retention"), qint32(90), 90);
    return std::clamp(percent, MinRetention, MaxRetention) / 100.0;
}

void setDesiredRetention(int percent)
{
    gkeyValue<qint32>(QStringLiteral("W"), QStringLiteral("progress_retention"),
                      std::clamp(percent, MinRetention, MaxRetention), 90);
}

ReviewLog::ReviewLog(const QString& path, const QTimeZone& zone)
    : m_path(path), m_connection(QStringLiteral("tavi-reviews-%1").arg(g_connections.fetchAndAddRelaxed(1))),
      m_zone(zone)
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
        *error = (q.lastError().isValid() ? q.lastError().text() : q.value(0).toString());
        db.close();
        return false;
    }
    for (const char* statement : kSchema)
        if (!execWaiting(q, QString::fromLatin1(statement))) {
            *error = q.lastError().text();
            db.close();
            return false;
        }
    // The derived tables are rebuilt when they were made for another zone or model, or
    // when someone emptied them.
    QHash<QString, QString> derived;
    if (q.exec(QStringLiteral("SELECT name, value FROM derived")))
        while (q.next())
            derived.insert(q.value(0).toString(), q.value(1).toString());
    const bool emptied = q.exec(QStringLiteral("SELECT EXISTS (SELECT 1 FROM reviews) AND NOT EXISTS "
                                               "(SELECT 1 FROM word_states)")) &&
                         q.next() && q.value(0).toInt() == 1;
    q.finish(); // a statement left open would hold a snapshot that another copy's write makes stale
    if ((emptied || derived.value(QStringLiteral("zone")) != QString::fromUtf8(m_zone.id()) ||
         derived.value(QStringLiteral("model")) != kDerivedModel) &&
        !rebuildDerived()) {
        *error = QSqlDatabase::database(m_connection, false).lastError().text();
        db.close();
        return false;
    }
    return true;
}

bool ReviewLog::rebuildDerived()
{
    const QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    WriteTransaction transaction(db);
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!transaction.begun() ||
        !q.exec(
            QStringLiteral("SELECT characters, pinyin, time_utc, known FROM reviews ORDER BY time_utc, id")))
        return false;
    struct Word {
        QString characters;
        QString pinyin;
        WordState state;
    };
    QHash<QString, Word> words;
    QHash<qint64, DayCount> days;
    const fsrs::Model model;
    while (q.next()) {
        const QString characters = q.value(0).toString();
        const QString pinyin = q.value(1).toString();
        const QDateTime time = fromUtcText(q.value(2).toString());
        const bool known = q.value(3).toInt() == 1;
        const qint64 day = time.toTimeZone(m_zone).date().toJulianDay();
        DayCount& count = days[day];
        ++count.reviews;
        count.known += known ? 1 : 0;
        const QString key = wordKey(characters, pinyin);
        auto word = words.find(key);
        const bool fresh = word == words.end();
        if (fresh)
            word = words.insert(key, {characters, pinyin, {}});
        WordState& state = word->state;
        if (fresh) {
            state.memory = model.first(gradeOf(known));
        } else {
            state.memory =
                model.next(state.memory, int(std::max<qint64>(0, day - state.lastDay)), gradeOf(known));
        }
        state.lastDay = day;
        state.last = time;
    }
    bool fine = q.exec(QStringLiteral("DELETE FROM word_states")) &&
                q.exec(QStringLiteral("DELETE FROM review_days")) &&
                q.exec(QStringLiteral("DELETE FROM derived"));
    m_statesVersion = -1;
    for (auto w = words.cbegin(); fine && w != words.cend(); ++w)
        fine = storeState(w->characters, w->pinyin, w->state);
    QSqlQuery put(db);
    put.prepare(QStringLiteral("INSERT INTO review_days VALUES (?, ?, ?)"));
    for (auto d = days.cbegin(); fine && d != days.cend(); ++d) {
        put.addBindValue(d.key());
        put.addBindValue(d->reviews);
        put.addBindValue(d->known);
        fine = put.exec();
    }
    put.prepare(QStringLiteral("INSERT INTO derived VALUES (?, ?)"));
    for (const auto& [name, value] : {std::pair{QStringLiteral("zone"), QString::fromUtf8(m_zone.id())},
                                      std::pair{QStringLiteral("model"), kDerivedModel}}) {
        put.addBindValue(name);
        put.addBindValue(value);
        fine = fine && put.exec();
    }
    if (!fine || !transaction.commit())
        return false;
    // A rebuild writes the whole table: into the database file with it, rather than have
    // every later read look for its pages in the journal.
    q.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
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
    const QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    WriteTransaction transaction(db);
    QSqlQuery q(db);
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
    if (!transaction.begun() || !q.exec())
        return std::nullopt;
    const qint64 id = q.lastInsertId().toLongLong();
    if (!updateWord(review.characters, review.pinyin, {review.time.toUTC(), review.known}) ||
        !countDay(review.time, review.known, 1) || !transaction.commit()) {
        m_statesVersion = -1; // what was noted of the words may not have been written
        return std::nullopt;
    }
    return id;
}

bool ReviewLog::remove(qint64 id)
{
    if (!m_open)
        return false;
    const QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    WriteTransaction transaction(db);
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT characters, pinyin, time_utc, known FROM reviews WHERE id = ?"));
    q.addBindValue(id);
    if (!transaction.begun() || !q.exec() || !q.next())
        return false;
    const QString characters = q.value(0).toString();
    const QString pinyin = q.value(1).toString();
    const QDateTime time = fromUtcText(q.value(2).toString());
    const bool known = q.value(3).toInt() == 1;
    q.prepare(QStringLiteral("DELETE FROM reviews WHERE id = ?"));
    q.addBindValue(id);
    if (q.exec() && q.numRowsAffected() == 1 && replayWord(characters, pinyin) && countDay(time, known, -1) &&
        transaction.commit())
        return true;
    m_statesVersion = -1;
    return false;
}

// The word's memory after one more answer, from the memory before it; an answer older
// than the last one (another copy's clock) replays the word's whole history.
bool ReviewLog::updateWord(const QString& characters, const QString& pinyin, const fsrs::Answer& answer)
{
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("SELECT stability, difficulty, last_utc, last_day FROM word_states "
                             "WHERE characters = ? AND pinyin = ?"));
    q.addBindValue(characters);
    q.addBindValue(pinyin);
    if (!q.exec())
        return false;
    const fsrs::Model model;
    WordState state{{}, answer.time.toTimeZone(m_zone).date().toJulianDay(), answer.time};
    if (!q.next()) {
        state.memory = model.first(gradeOf(answer.known));
    } else {
        if (fromUtcText(q.value(2).toString()) > answer.time)
            return replayWord(characters, pinyin);
        state.memory = model.next({q.value(0).toDouble(), q.value(1).toDouble()},
                                  int(std::max<qint64>(0, state.lastDay - q.value(3).toLongLong())),
                                  gradeOf(answer.known));
    }
    return storeState(characters, pinyin, state);
}

bool ReviewLog::storeState(const QString& characters, const QString& pinyin, const WordState& state)
{
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("INSERT OR REPLACE INTO word_states VALUES (?, ?, ?, ?, ?, ?)"));
    for (const QVariant& v :
         {QVariant(characters), QVariant(pinyin), QVariant(state.memory.stability),
          QVariant(state.memory.difficulty), QVariant(utcText(state.last)), QVariant(state.lastDay)})
        q.addBindValue(v);
    if (!q.exec())
        return false;
    if (m_statesVersion >= 0)
        m_states.insert(wordKey(characters, pinyin), {state.memory.stability, state.lastDay});
    m_dueRetention = -1;
    return true;
}

// The word's memory from all its answers, as after an Undo.
bool ReviewLog::replayWord(const QString& characters, const QString& pinyin)
{
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("SELECT time_utc, known FROM reviews WHERE characters = ? AND pinyin = ? "
                             "ORDER BY time_utc, id"));
    q.addBindValue(characters);
    q.addBindValue(pinyin);
    if (!q.exec())
        return false;
    QList<fsrs::Answer> answers;
    while (q.next())
        answers.append({fromUtcText(q.value(0).toString()), q.value(1).toInt() == 1});
    const QString key = wordKey(characters, pinyin);
    const auto schedule = fsrs::schedule(answers, 0.9, m_zone);
    if (!schedule) {
        q.prepare(QStringLiteral("DELETE FROM word_states WHERE characters = ? AND pinyin = ?"));
        q.addBindValue(characters);
        q.addBindValue(pinyin);
        if (!q.exec())
            return false;
        m_states.remove(key);
        m_dueRetention = -1;
        return true;
    }
    const WordState state{schedule->memory, answers.back().time.toTimeZone(m_zone).date().toJulianDay(),
                          answers.back().time};
    return storeState(characters, pinyin, state);
}

bool ReviewLog::countDay(const QDateTime& time, bool known, int step)
{
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("INSERT INTO review_days VALUES (?, ?, ?) ON CONFLICT (day) DO UPDATE SET "
                             "reviews = reviews + excluded.reviews, known = known + excluded.known"));
    q.addBindValue(time.toTimeZone(m_zone).date().toJulianDay());
    q.addBindValue(step);
    q.addBindValue(known ? step : 0);
    return q.exec() && q.exec(QStringLiteral("DELETE FROM review_days WHERE reviews <= 0"));
}

qint64 ReviewLog::dataVersion() const
{
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    return q.exec(QStringLiteral("PRAGMA data_version")) && q.next() ? q.value(0).toLongLong() : -2;
}

void ReviewLog::loadStates() const
{
    const qint64 version = dataVersion();
    if (version == m_statesVersion)
        return;
    m_states.clear();
    m_dueRetention = -1;
    m_statesVersion = -1;
    // One row per word, 100,000 for a large file: read with SQLite's own calls on Qt's
    // connection, which take a tenth of the time of a QSqlQuery and its variants.
    const QVariant handle = QSqlDatabase::database(m_connection, false).driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return;
    sqlite3* db = *static_cast<sqlite3* const*>(handle.constData());
    QSqlQuery count(QSqlDatabase::database(m_connection, false));
    const qsizetype rows = count.exec(QStringLiteral("SELECT COUNT(*) FROM word_states")) && count.next()
                               ? count.value(0).toLongLong()
                               : 0;
    count.finish();
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT characters, pinyin, stability, last_day FROM word_states", -1,
                           &statement, nullptr) != SQLITE_OK)
        return;
    const auto text = [statement](int column) {
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        return QUtf8StringView(bytes, sqlite3_column_bytes(statement, column));
    };
    m_states.reserve(rows);
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
        QString key = text(0).toString();
        key.append(u'\t').append(text(1).toString());
        m_states.insert(key, {sqlite3_column_double(statement, 2), sqlite3_column_int64(statement, 3)});
    }
    sqlite3_finalize(statement);
    if (step == SQLITE_DONE)
        m_statesVersion = version;
}

DueDays ReviewLog::dueDays(double desiredRetention) const
{
    if (!m_open)
        return {};
    loadStates();
    if (m_dueRetention != desiredRetention) {
        m_due.clear();
        m_due.reserve(m_states.size());
        for (auto w = m_states.cbegin(); w != m_states.cend(); ++w)
            m_due.insert(w.key(), QDate::fromJulianDay(w->lastDay +
                                                       fsrs::intervalDays(w->stability, desiredRetention)));
        m_dueRetention = desiredRetention;
    }
    return m_due;
}

ReviewDays ReviewLog::reviewDays() const
{
    ReviewDays days;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    if (!m_open || !q.exec(QStringLiteral("SELECT day, reviews, known FROM review_days")))
        return days;
    while (q.next())
        days.insert(QDate::fromJulianDay(q.value(0).toLongLong()), {q.value(1).toInt(), q.value(2).toInt()});
    return days;
}

bool ReviewLog::exportCsv(const QString& path, QString* error) const
{
    QSaveFile out(path);
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.setForwardOnly(true);
    if (!out.open(QIODevice::WriteOnly)) {
        *error = out.errorString();
        return false;
    }
    if (m_open &&
        !q.exec(QStringLiteral("SELECT id, time_utc, characters, pinyin, file, known, level_before, "
                               "level_after, answer_ms FROM reviews ORDER BY id"))) {
        *error = q.lastError().text();
        return false;
    }
    QByteArray text("id,time_utc,characters,pinyin,file,known,level_before,level_after,answer_ms\r\n");
    while (m_open && q.next()) {
        QStringList row;
        for (int i = 0; i < 9; ++i)
            row << csvField(q.value(i).toString());
        text += row.join(u',').toUtf8() + "\r\n";
        if (text.size() > (1 << 20)) {
            out.write(text);
            text.clear();
        }
    }
    out.write(text);
    if (!out.commit()) {
        *error = out.errorString();
        return false;
    }
    return true;
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

ReviewLog* openedReviewLog()
{
    const SharedReviewLog shared = programReviewLog();
    if (shared.opened && shared.opened->how == ReviewLog::Opened::SetAside)
        MsgBox(
            LangText(QStringLiteral("review_log_set_aside")).arg(shared.log->path(), shared.opened->setAside),
            vbExclamation);
    else if (shared.opened && shared.opened->how == ReviewLog::Opened::Failed)
        MsgBox(LangText(QStringLiteral("review_log_failed")).arg(shared.log->path(), shared.opened->error),
               vbExclamation);
    return shared.log;
}

qint64 ReviewLog::count() const
{
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    return m_open && q.exec(QStringLiteral("SELECT COUNT(*) FROM reviews")) && q.next()
               ? q.value(0).toLongLong()
               : 0;
}

} // namespace tavi
