// Shared by the window benchmarks: a recorder for the sound output, a program folder
// holding the one sound every word speaks with a selection of that many words, and the
// main routine that runs them on the offscreen platform.
#pragma once

#include "core/app_state.h"
#include "core/services.h"
#include "vocabulary/word_table.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace tavi::bench {

struct CountingOutput final : AudioOutput {
    int played = 0;
    bool play(const QString&) override
    {
        ++played;
        return true;
    }
};

// Points the program's paths into dir, lays in ni3hao3 and the pause, and selects
// `words` copies of the same word.
inline void prepareWords(const QTemporaryDir& dir, int words)
{
    initProgramPaths(dir.path());
    QDir(dir.path()).mkdir(QStringLiteral("sound"));
    for (const char* name : {"sound/ni3hao3.wav", "sound/wait.wav"}) {
        QFile f(dir.filePath(QLatin1String(name)));
        if (f.open(QIODevice::WriteOnly))
            f.write("RIFF");
    }
    VocTable.assign(words, VocRow{QStringLiteral("1"), QStringLiteral("ni3hao3"), QStringLiteral("你好"),
                                  QStringLiteral("hello"), QStringLiteral("1"), QString()});
    VocCount = words - 1;
    StudyList.clear();
    for (int i = 0; i < words; ++i)
        StudyList << QString::number(i);
    StudyCount = words - 1;
}

inline int runWindowBenchmarks(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace tavi::bench
