// Saves without end, for the crash test to kill at any moment.
//
//   save_loop words FOLDER START   saves generation START, START+1, ... of FOLDER/v.txt
//                                  and FOLDER/tavi.ini; before each generation its
//                                  number goes into FOLDER/status
//   save_loop once FOLDER N        saves generation N once and ends
//   save_loop keys FILE PREFIX N   writes N values to the keys PREFIX0 ... PREFIX9 of
//                                  FILE, each value the number of the write
//   save_loop reviews FILE         logs answers into the review log FILE without end;
//                                  after each the row's id goes into FILE.status
#include "core/app_state.h"
#include "core/settings.h"
#include "generation.h"
#include "training/review_log.h"
#include "vocabulary/voc_file.h"

#include <QCoreApplication>
#include <QFile>
#include <fcntl.h>
#include <unistd.h>

using namespace tavi;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    SettingsSection = QStringLiteral("Tavi");
    if (args.size() == 4 && args[1] == u"once") {
        SettingsFile = args[2] + QStringLiteral("/tavi.ini");
        WriteSetting(QStringLiteral("generation"), args[3]);
        return WriteVocFile(args[2] + QStringLiteral("/v.txt"), test::generationText(args[3].toLong())) ? 0
                                                                                                        : 3;
    }
    if (args.size() == 4 && args[1] == u"words") {
        const QString folder = args[2];
        SettingsFile = folder + QStringLiteral("/tavi.ini");
        const int status = ::open(QFile::encodeName(folder + QStringLiteral("/status")).constData(),
                                  O_WRONLY | O_CREAT, 0644);
        for (long n = args[3].toLong();; ++n) {
            const QByteArray number = QByteArray::number(qlonglong(n)).rightJustified(12, ' ');
            if (pwrite(status, number.constData(), size_t(number.size()), 0) != number.size())
                return 2;
            if (!WriteVocFile(folder + QStringLiteral("/v.txt"), test::generationText(n)))
                return 3;
            WriteSetting(QStringLiteral("generation"), QString::number(n));
        }
    }
    if (args.size() == 5 && args[1] == u"keys") {
        SettingsFile = args[2];
        const int count = args[4].toInt();
        for (int i = 0; i < count; ++i)
            WriteSetting(args[3] + QString::number(i % 10), QString::number(i));
        return 0;
    }
    if (args.size() == 3 && args[1] == u"reviews") {
        ReviewLog log(args[2]);
        if (log.open().how == ReviewLog::Opened::Failed)
            return 4;
        const int status = ::open(QFile::encodeName(args[2] + QStringLiteral(".status")).constData(),
                                  O_WRONLY | O_CREAT, 0644);
        for (;;) {
            const auto id = log.append({QDateTime::currentDateTimeUtc(), QStringLiteral("你好"),
                                        QStringLiteral("ni3hao3"), QStringLiteral("v.txt"), true, 1, 2, 900});
            const QByteArray number = QByteArray::number(id.value_or(-1)).rightJustified(12, ' ');
            if (!id || pwrite(status, number.constData(), size_t(number.size()), 0) != number.size())
                return 2;
        }
    }
    qWarning("usage: save_loop words FOLDER START | once FOLDER N | keys FILE PREFIX COUNT | reviews FILE");
    return 1;
}
