// The missing-sound log is UTF-8: it has to carry the Chinese characters of field 3,
// and there is no 8-bit code page here that could. A failing log is reported once per
// run rather than at every word, since the trainers speak word after word.
#include "sound/missing_sound_log.h"

#include "core/app_state.h"
#include "core/msgbox.h"
#include "core/settings.h"

#include <QDir>

namespace tavi {

void resetMissingSoundLog()
{
    LogEnabled = false;
    LogFilePath.clear();
    CurrentCharacter.clear();
    log_header_written = false;
    log_failure_reported = false;
}

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

QByteArray MissingSoundLog::line(const QString& type, const QString& pinyin, const QString& character)
{
    const QString text = u'"' + type + QStringLiteral("\",\"") + pinyin + QStringLiteral("\",\"") +
                         character + QStringLiteral("\"\r\n");
    return text.toUtf8();
}

MissingSoundLog::MissingSoundLog()
{
    if (!LogEnabled)
        return;
    m_file.setFileName(LogFilePath);
    if (LogFilePath.isEmpty() || !m_file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        fail();
        return;
    }
    m_open = true;
    if (!log_header_written) {
        log_header_written = true;
        write(line(QStringLiteral("Type"), QStringLiteral("Pinyin"), QStringLiteral("Character")));
    }
}

MissingSoundLog::~MissingSoundLog()
{
    if (!m_open)
        return;
    // Buffered lines reach the disk here, so a full disk shows up at this point.
    if (!m_file.flush())
        fail();
    m_file.close();
}

void MissingSoundLog::writeWord(const QString& pinyin)
{
    write(line(QStringLiteral("Word"), pinyin, CurrentCharacter));
}

void MissingSoundLog::writeSyllable(const QString& pinyin)
{
    write(line(QStringLiteral("Syllable"), pinyin, QStringLiteral("-")));
}

void MissingSoundLog::write(const QByteArray& bytes)
{
    if (m_open && m_file.write(bytes) != bytes.size())
        fail();
}

void MissingSoundLog::fail()
{
    m_open = false;
    if (log_failure_reported)
        return;
    log_failure_reported = true;
    MsgBox(QStringLiteral("The log of missing sounds cannot be written:\n") + LogFilePath +
               QStringLiteral("\n\nCheck the path in the Tools window. Speaking goes on without the log."),
           vbExclamation);
}

} // namespace tavi
