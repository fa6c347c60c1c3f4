// Helpers over the shared word table.
#include "vocabulary/word_table.h"

#include <QDir>

namespace tavi {

VocRow::VocRow(QStringView level, QStringView pinyin, QStringView characters, QStringView translation,
               QStringView chapter, QStringView selection)
{
    const std::array<QStringView, VocColumns> cells{level,       pinyin,  characters,
                                                    translation, chapter, selection};
    qsizetype size = 0;
    for (QStringView c : cells)
        size += c.size();
    m_text.reserve(size);
    for (int column = 0; column < VocColumns; ++column) {
        m_text.append(cells[column]);
        if (column < VocColumns - 1)
            m_ends[column] = quint32(m_text.size());
    }
}

VocRow::VocRow(const QString& level, const QString& pinyin, const QString& characters,
               const QString& translation, const QString& chapter, const QString& selection)
    : VocRow(QStringView(level), QStringView(pinyin), QStringView(characters), QStringView(translation),
             QStringView(chapter), QStringView(selection))
{}

QStringView VocRow::view(int column) const
{
    if (column < 0 || column >= VocColumns)
        return {};
    const qsizetype begin = column == 0 ? 0 : m_ends[column - 1];
    const qsizetype end = column == VocColumns - 1 ? m_text.size() : m_ends[column];
    return QStringView(m_text).sliced(begin, end - begin);
}

void VocRow::set(int column, QStringView value)
{
    if (column < 0 || column >= VocColumns)
        return;
    std::array<QString, VocColumns> cells;
    for (int c = 0; c < VocColumns; ++c)
        cells[c] = c == column ? value.toString() : view(c).toString();
    *this = VocRow(cells[0], cells[1], cells[2], cells[3], cells[4], cells[5]);
}

QStringList VocRow::cells() const
{
    QStringList out;
    for (int column = 0; column < VocColumns; ++column)
        out << view(column).toString();
    return out;
}

bool isBlankRow(const VocRow& row)
{
    for (int column = PINYIN; column <= SELECTION; ++column)
        for (const QChar c : row.view(column))
            if (c != u' ')
                return false;
    return true;
}

void resetWordTable()
{
    VocTable.clear();
    VocCount = -1;
    StudyList.clear();
    StudyCount = -1;
    ++VocTableVersion;
    VocTableSource.clear();
    VocTableStamp.clear();
}

bool tableReadFrom(const QString& path)
{
    return VocCount >= 0 && !VocTableSource.isEmpty() &&
           QDir::cleanPath(VocTableSource) == QDir::cleanPath(path);
}

int studyRow(int i)
{
    if (i < 0 || i > StudyCount || i >= StudyList.size())
        return -1;
    bool ok = false;
    const int row = StudyList[i].toInt(&ok);
    return ok && row >= 0 && row < static_cast<int>(VocTable.size()) ? row : -1;
}

} // namespace tavi
