// The installed sound output.
#include "sound/audio_output.h"

namespace tavi {

namespace {
AudioOutput* g_output = nullptr;
}

void setAudioOutput(AudioOutput* output)
{
    g_output = output;
}

AudioOutput* audioOutput()
{
    return g_output;
}

} // namespace tavi
