// Temporary program folders for tests.
#include "support/test_folder.h"

#include "core/app_state.h"
#include "core/ini_store.h"
#include "sound/missing_sound_log.h"
#include "vocabulary/dictionary.h"
#include "vocabulary/voc_file.h"
#include "vocabulary/word_table.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace tavi::test {

QString shippedData(const QString& name)
{
    return QStringLiteral(TAVI_DATA_DIR) + u'/' + name;
}

QString shippedText(const QString& section, const QString& key)
{
    return ini::read(shippedData(QStringLiteral("language.ini")), section, key);
}

void buildSmallDictionary(const QString& folder)
{
    const QString lines = QDir(folder).filePath(QStringLiteral("cedict.u8"));
    QFile f(lines);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("# CC-CEDICT\n"
            "你好 你好 [ni3 hao3] /hello; hi/\n"
            "謝謝 谢谢 [xie4 xie5] /to thank/thanks/thank you/\n"
            "再見 再见 [zai4 jian4] /goodbye/see you again later/\n"
            "行 行 [hang2] /row; line/commercial firm/\n"
            "行 行 [heng2] /used in 道行[dao4 heng2]/\n"
            "行 行 [xing2] /to walk; to go; to travel/capable; competent/\n"
            "銀行 银行 [yin2 hang2] /bank/\n"
            "東西 东西 [dong1 xi1] /east and west/\n"
            "東西 东西 [dong1 xi5] /thing; stuff/person/\n");
    f.close();
    QString error;
    QVERIFY2(buildDictionaryIndex(lines, QDir(folder).filePath(QStringLiteral("cedict.idx")), &error),
             qPrintable(error));
}

void rowsOf(const char* column, std::initializer_list<const char*> texts)
{
    QTest::addColumn<QString>(column);
    for (const char* text : texts)
        QTest::newRow(text) << QString::fromUtf8(text);
}

TestProgramFolder::TestProgramFolder(Contents contents)
{
    if (contents == Contents::ShippedData) {
        QDir(path()).mkpath(QStringLiteral("my_vocabulary"));
        QDir(path()).mkpath(QStringLiteral("meine vokabeln"));
        for (const char* name : {"language.ini", "help.htm", "help_d.htm", "help_n.htm",
                                 "my_vocabulary/pcr1-10u.txt", "meine vokabeln/pcr1-10u_d.txt", "cards.jpg"})
            QFile::copy(shippedData(QLatin1String(name)), file(QLatin1String(name)));
    }
    // Every process-wide value as a run starts, so that no test sees another's.
    resetAppState();
    resetWordTable();
    resetMissingSoundLog();
    initProgramPaths(m_dir.path());
}

QString TestProgramFolder::file(const QString& name) const
{
    return m_dir.filePath(name);
}

void TestProgramFolder::write(const QString& name, const QByteArray& bytes) const
{
    QFile f(file(name));
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

void TestProgramFolder::prepareTraining(const QList<VocRow>& words, const QByteArray& settings) const
{
    QFile::copy(QStringLiteral(TAVI_FONT_FILE), file(QStringLiteral("chars.dat")));
    write(QStringLiteral("tavi.ini"), "[Tavi]\n" + settings);
    QDir(path()).mkdir(QStringLiteral("sound"));
    for (const VocRow& w : words)
        write(QStringLiteral("sound/") + w[PINYIN] + QStringLiteral(".wav"), "RIFF");
    write(QStringLiteral("sound/wait.wav"), "RIFF");
    VocTable.assign(words.begin(), words.end());
    VocCount = static_cast<int>(words.size()) - 1;
    VocFilePath = file(QStringLiteral("words.txt"));
    WriteVocFile(VocFilePath, BuildVocText());
    VocTable.clear();
    loadVocabularyFile(VocFilePath);
    StudyList.clear();
    for (int i = 0; i <= VocCount; ++i)
        StudyList << QString::number(i);
    StudyCount = VocCount;
}

QByteArray TestProgramFolder::read(const QString& name) const
{
    QFile f(file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

FileSizeLimit::FileSizeLimit(long bytes)
{
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    m_before[0] = limit.rlim_cur;
    m_before[1] = limit.rlim_max;
    std::signal(SIGXFSZ, SIG_IGN); // the write then fails with EFBIG instead
    if (bytes >= 0)
        limit.rlim_cur = rlim_t(bytes);
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit()
{
    const rlimit limit{m_before[0], m_before[1]};
    setrlimit(RLIMIT_FSIZE, &limit);
}

ReadOnlyFolder::ReadOnlyFolder(const QString& folder) : m_folder(folder)
{
    if (folder.isEmpty())
        return;
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                      QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther);
    m_root = geteuid() == 0;
    if (m_root) {
        // The user "nobody" may pass through the folders above and read, not write.
        for (QDir up(folder); !up.isRoot() && up.cdUp();)
            QFile::setPermissions(up.path(), QFile::permissions(up.path()) | QFileDevice::ExeOther);
        if (seteuid(65534) != 0)
            qFatal("cannot take the id of nobody");
    }
}

ReadOnlyFolder::~ReadOnlyFolder()
{
    if (m_folder.isEmpty())
        return;
    if (m_root && seteuid(0) != 0)
        qFatal("cannot take root's id back");
    QFile::setPermissions(m_folder, QFile::permissions(m_folder) | QFileDevice::WriteOwner);
}

} // namespace tavi::test
