// Registers chars.dat and maps the program's font name onto its family.
#include "core/chinese_font.h"

#include "core/app_state.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace tavi {

bool addChineseFont(const QString& fontFile)
{
    const int id = QFontDatabase::addApplicationFont(fontFile);
    if (id < 0)
        return false;
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty())
        return false;
    // The vocabularies are written in simplified characters: prefer the mainland face
    // of a font collection.
    QString family = families.first();
    for (const QString& f : families) {
        if (f.endsWith(QLatin1String(" CN"))) {
            family = f;
            break;
        }
    }
    QFont::insertSubstitution(QStringLiteral("MS Song"), family);
    return true;
}

void ensureChineseFont()
{
    static QString added;
    const QString file = programFile(QStringLiteral("chars.dat"));
    if (added == file)
        return;
    added = file;
    addChineseFont(file);
}

} // namespace tavi
