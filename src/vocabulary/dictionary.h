// The Chinese-English dictionary (CC-CEDICT, CC BY-SA 4.0) for the editor and the
// vocabulary check. The data file's lines are turned at build time into a compact index
// (cedict.idx beside the program), which is mapped into memory at the first look-up: a
// look-up then only searches sorted tables.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <memory>
#include <optional>

namespace tavi {

// One entry, in this program's conventions: pinyin with tone digits, the neutral tone
// as 0 (CC-CEDICT's 5), ü for u:, proper-name capitals kept, the syllables of the entry
// joined into one word as the vocabulary files write words (ni3hao3); a letter or other
// non-syllable token of the reading stays apart, separated by a blank (san1 D da3yin4).
struct DictEntry {
    QString traditional;
    QString simplified;
    QString pinyin;
    QStringList senses;
    friend bool operator==(const DictEntry&, const DictEntry&) = default;
};

// One line of the data file; comments, blank, cut and garbage lines give nothing.
std::optional<DictEntry> parseCedictLine(QStringView line);

// Writes the index of the data file at cedictPath (UTF-8 lines) to indexPath.
bool buildDictionaryIndex(const QString& cedictPath, const QString& indexPath, QString* error);

class Dictionary {
public:
    Dictionary();
    ~Dictionary();
    Dictionary(const Dictionary&) = delete;
    Dictionary& operator=(const Dictionary&) = delete;

    // Maps the index; a missing, cut or damaged file is refused with its reason.
    bool open(const QString& indexPath, QString* error);
    bool isOpen() const;
    int size() const; // entries

    // The entries matching what a learner typed: characters (simplified or traditional),
    // pinyin with or without tone digits and blanks (nihao, ni3hao3, ni hao), or an English
    // word. Best first: the exact headword, then headwords starting with it, then entries
    // whose senses hold the English word as a whole word; at most limit.
    QList<DictEntry> lookup(const QString& query, int limit = 200) const;
    // Every entry whose simplified or traditional headword is exactly characters: its
    // readings, for filling in a line and for the vocabulary check.
    QList<DictEntry> byCharacters(const QString& characters) const;
    // Only the readings of those entries, each once, in their order: what the check needs
    // of every word of a file.
    QStringList readings(const QString& characters) const;

private:
    struct Index;
    std::unique_ptr<Index> m_index;
};

// The dictionary beside the program (cedict.idx in the program's data folder), opened at
// its first use; nullptr with the reason when it cannot be opened.
const Dictionary* programDictionary(QString* error = nullptr);

} // namespace tavi
