// Helpers over the shared word table.
#include "vocabulary/word_table.h"

#include <QDir>

namespace tavi {

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
