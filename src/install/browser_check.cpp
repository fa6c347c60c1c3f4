// The web browser component's version test.
#include "install/browser_check.h"

#include "install/file_version_info.h"
#include "sound/speech.h"

#include <QDir>

namespace tavi {

namespace {

// "4.72", "5.00", "5", ".5": digits and at most one point, at least one digit. Blanks,
// signs, commas and exponents are not part of a version text's number.
bool isPlainDecimal(QStringView text)
{
    int digitCount = 0;
    int points = 0;
    for (QChar c : text) {
        if (c.isDigit() && c.unicode() < 128)
            ++digitCount;
        else if (c == u'.')
            ++points;
        else
            return false;
    }
    return digitCount > 0 && points <= 1;
}

} // namespace

bool browserComponentUsable(const QString& systemFolder)
{
    const QString path = QDir(systemFolder).filePath(QStringLiteral("shdocvw.dll"));
    if (!FileExists(path))
        return false;
    CFileVersionInfo info;
    info.setFullPathName(path);
    const QString version = info.Available() ? info.FileVersion() : QString();
    const QStringView head = QStringView(version).left(4);
    return isPlainDecimal(head) && head.toDouble() > 4.71;
}

} // namespace tavi
