// The log settings, kept in tavi.ini as tools_logfile and tools_do_logging.
#include "sound/missing_sound_log.h"

#include "core/app_state.h"
#include "core/settings.h"

#include <QDir>

namespace tavi {

QString defaultLogFilePath()
{
    return joinPath(QDir::homePath(), QStringLiteral("tavi_logfile.csv"));
}

void do_settings(const QString& mode)
{
    LogFilePath =
        gkeyValue<QString>(mode, QStringLiteral("tools_logfile"), LogFilePath, defaultLogFilePath());
    LogEnabled =
        gkeyValue<bool>(mode, QStringLiteral("tools_do_logging"), LogEnabled, QStringLiteral("False"));
}

} // namespace tavi
