// Temporary program folders for tests.
#include "support/test_folder.h"

#include "core/app_state.h"
#include "core/ini_store.h"
#include "vocabulary/voc_file.h"
#include "vocabulary/word_table.h"

#include <QDir>
#include <QFile>

namespace tavi::test {

QString shippedData(const QString& name)
{
    return QStringLiteral(TAVI_DATA_DIR) + u'/' + name;
}

QString shippedText(const QString& section, const QString& key)
{
    return ini::read(shippedData(QStringLiteral("language.ini")), section, key);
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
    initProgramPaths(m_dir.path());
    LanguageSection = QStringLiteral("ENGLISH");
    HelpFile.clear();
    VocFilePath.clear();
    ChineseFont = QStringLiteral("MS Song");
    VocTable.clear();
    VocCount = -1;
    StudyList.clear();
    StudyCount = -1;
    VocTableSource.clear();
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

} // namespace tavi::test
