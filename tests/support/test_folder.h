// A private program folder for one test: a temporary directory that the process-wide
// paths point into, optionally holding copies of the shipped data files.
#pragma once

#include "vocabulary/word_table.h"

#include <QList>
#include <QString>
#include <QTemporaryDir>

namespace tavi::test {

class TestProgramFolder {
public:
    enum class Contents { Empty, ShippedData };
    explicit TestProgramFolder(Contents contents = Contents::ShippedData);

    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const;
    // Writes raw bytes into a file of the folder.
    void write(const QString& name, const QByteArray& bytes) const;
    QByteArray read(const QString& name) const;

    // Ready for a trainer: the Chinese font, these settings, a sound file for each word
    // and the pause, the words written to words.txt and loaded from it (VocFilePath),
    // and every word selected.
    void prepareTraining(const QList<VocRow>& words, const QByteArray& settings = {}) const;

private:
    QTemporaryDir m_dir;
};

// While it lives, no file of this process grows beyond bytes (when not negative): a
// write past the limit fails as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(long bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    unsigned long m_before[2];
};

// While it lives, folder (when not empty) and every file in it refuse to be written,
// for root as well: root then works under an ordinary user's id.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& folder);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

private:
    QString m_folder;
    bool m_root = false;
};

// Words for the trainers, of chapter 1, at levels 8, 1 and 0.
inline const QList<VocRow> kTrainingWords = {{"8", "ni3hao3", "你好", "hello", "1", ""},
                                             {"1", "xie4xie0", "谢谢", "thank you", "1", ""},
                                             {"0", "zai4jian4", "再见", "goodbye", "1", ""}};

// A small dictionary as cedict.idx in the folder, built from real lines: 你好, 谢谢,
// 再见, 行 (three readings), 银行 [銀行], 东西 (dong1xi1 and dong1xi0).
void buildSmallDictionary(const QString& folder);

// A data column of that name, with a row for each text, named by it.
void rowsOf(const char* column, std::initializer_list<const char*> texts);

// The shipped data folder (data/ of the source tree).
QString shippedData(const QString& name);

// A text of the shipped language file.
QString shippedText(const QString& section, const QString& key);
inline QString english(const QString& key)
{
    return shippedText(QStringLiteral("ENGLISH"), key);
}
inline QString german(const QString& key)
{
    return shippedText(QStringLiteral("GERMAN"), key);
}

} // namespace tavi::test
