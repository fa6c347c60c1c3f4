// A private program folder with a sound folder, the recording sound output and a
// message box fake, and the missing-sound log reset as at the start of a run.
#pragma once

#include "core/app_state.h"
#include "sound/missing_sound_log.h"
#include "support/fakes.h"
#include "support/test_folder.h"

#include <QDir>

namespace tavi::test {

struct SoundFixture {
    TestProgramFolder folder{TestProgramFolder::Contents::Empty};
    FakeMessageBox boxes;
    FakeAudioOutput audio;

    SoundFixture()
    {
        QDir(folder.path()).mkdir(QStringLiteral("sound"));
        LogFilePath = folder.file(QStringLiteral("log.csv"));
    }
    // The output fake does not read the files, so empty ones will do.
    void addSounds(const QStringList& names) const
    {
        for (const QString& name : names)
            folder.write(QStringLiteral("sound/") + name, QByteArray());
    }
    QByteArray log() const { return folder.read(QStringLiteral("log.csv")); }
};

} // namespace tavi::test
