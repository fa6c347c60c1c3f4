#include "app/open_file.h"

#include "core/window_registry.h"
#include "vocabulary/import_window.h"
#include "vocabulary/load_voc_window.h"
#include "vocabulary/word_exchange.h"

#include <QFile>

namespace tavi {

void openGivenFile(const QString& path)
{
    // The first part tells the program's own files; a file that cannot be read at all is
    // the selection window's to report, as when Browse had chosen it.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || isVocabularyText(file.read(64 * 1024))) {
        file.close();
        windows().open(QStringLiteral("loadvoc"));
        windows().get<LoadVocWindow>(QStringLiteral("loadvoc"))->openFile(path);
        return;
    }
    file.close();
    // A refused file leaves an import window that was already open as it was.
    const bool wasLoaded = windows().find(QStringLiteral("frm_import")) != nullptr;
    if (windows().get<ImportWindow>(QStringLiteral("frm_import"))->openFile(path))
        windows().open(QStringLiteral("frm_import"));
    else if (!wasLoaded)
        windows().unload(QStringLiteral("frm_import"));
}

} // namespace tavi
