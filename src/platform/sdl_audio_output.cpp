// SDL is used for its audio subsystem only. Its signal handlers stay off so that Qt
// keeps the process's signals. A WAV file is held to its declared length: a truncated
// or corrupt file is refused as a whole rather than played in part.
#include "platform/sdl_audio_output.h"

#include "core/msgbox.h"

#include <QByteArray>
#include <QFile>
#include <SDL.h>
#include <cstring>

namespace tavi {

namespace {

constexpr int DeviceRate = 22050; // the rate of the sound pack; other files are converted
constexpr Uint16 DeviceSamples = 512;

struct WavBuffer {
    Uint8* data = nullptr;
    Uint32 length = 0;
    ~WavBuffer() { SDL_FreeWAV(data); }
};

} // namespace

SdlAudioOutput::~SdlAudioOutput()
{
    if (m_device)
        SDL_CloseAudioDevice(m_device);
    if (m_subsystemStarted)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlAudioOutput::ensureDevice()
{
    if (m_device)
        return true;
    if (m_failed)
        return false;
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_WAVE_TRUNCATION, "strict");
    SDL_SetHint(SDL_HINT_APP_NAME, "Tavi");
    QString error;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        error = QString::fromUtf8(SDL_GetError());
    } else {
        m_subsystemStarted = true;
        SDL_AudioSpec want{};
        want.freq = DeviceRate;
        want.format = AUDIO_S16SYS;
        want.channels = 1;
        want.samples = DeviceSamples;
        SDL_AudioSpec have{};
        m_device = SDL_OpenAudioDevice(nullptr, 0, &want, &have,
                                       SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
        if (m_device == 0) {
            error = QString::fromUtf8(SDL_GetError());
        } else {
            m_freq = have.freq;
            m_format = have.format;
            m_channels = have.channels;
            m_bufferMs = have.freq > 0 ? int(have.samples * 1000 / have.freq) + 1 : 0;
            SDL_PauseAudioDevice(m_device, 0);
            return true;
        }
    }
    m_failed = true;
    MsgBox(QStringLiteral("No sound output could be opened (") + error +
               QStringLiteral(").\nTavi goes on without sound."),
           vbExclamation);
    return false;
}

bool SdlAudioOutput::queue(const QString& path)
{
    if (!ensureDevice())
        return false;
    SDL_AudioSpec file{};
    WavBuffer wav;
    if (!SDL_LoadWAV(QFile::encodeName(path).constData(), &file, &wav.data, &wav.length))
        return false;
    if (file.freq == m_freq && file.format == m_format && file.channels == m_channels)
        return SDL_QueueAudio(m_device, wav.data, wav.length) == 0;

    // SDL_AudioCVT rather than SDL_AudioStream: the stream of this SDL version loses
    // most of a resampled file at the final flush.
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, file.format, file.channels, file.freq, m_format, Uint8(m_channels), m_freq) <
        0)
        return false;
    QByteArray converted(qsizetype(wav.length) * cvt.len_mult, Qt::Uninitialized);
    std::memcpy(converted.data(), wav.data, wav.length);
    cvt.buf = reinterpret_cast<Uint8*>(converted.data());
    cvt.len = int(wav.length);
    if (SDL_ConvertAudio(&cvt) != 0)
        return false;
    return SDL_QueueAudio(m_device, cvt.buf, Uint32(cvt.len_cvt)) == 0;
}

void SdlAudioOutput::drain()
{
    if (!m_device)
        return;
    while (SDL_GetQueuedAudioSize(m_device) > 0)
        SDL_Delay(2);
    // An empty queue means the last block has gone to the device, not that it has been
    // heard: give it the time of one device buffer.
    SDL_Delay(Uint32(m_bufferMs));
}

void SdlAudioOutput::clear()
{
    if (m_device)
        SDL_ClearQueuedAudio(m_device);
}

bool SdlAudioOutput::play(const QString& path)
{
    if (!queue(path))
        return false;
    drain();
    return true;
}

} // namespace tavi
