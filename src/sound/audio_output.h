// Synchronous playback of one sound file, behind a hook so that tests can record what
// would be heard.
#pragma once

#include <QString>

namespace tavi {

class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    // Plays the file to its end; false when it could not be played (unreadable or
    // corrupt file, no sound output).
    virtual bool play(const QString& path) = 0;
};

// Installs the output every sound goes through (not owned). Without one, nothing is
// heard and every sound counts as not played.
void setAudioOutput(AudioOutput* output);
AudioOutput* audioOutput();

} // namespace tavi
