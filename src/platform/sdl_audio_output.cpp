// SDL is used for its audio subsystem only. Its signal handlers stay off so that Qt
// keeps the process's signals. A WAV file is read and checked by parseWav first
// (wav_file.h) and SDL's loader gets only the bytes checked there, from memory: a
// truncated, corrupt or oversized file is refused as a whole rather than played in
// part, and SDL never reads a byte of a file that was not looked at before.
//
// SDL and the thirty libraries it pulls in (sound servers, Wayland) are loaded at the
// first sound rather than linked: linking them cost a tenth of the time the program
// takes to show its main window. Without the library the program stays silent.
#include "platform/sdl_audio_output.h"

#include "core/msgbox.h"
#include "sound/wav_file.h"

#include <QByteArray>
#include <QFile>
#include <QLibrary>
#include <SDL.h>
#include <cstring>

namespace tavi {

// The SDL functions the output uses.
struct SdlApi {
    decltype(&::SDL_SetHint) SetHint = nullptr;
    decltype(&::SDL_InitSubSystem) InitSubSystem = nullptr;
    decltype(&::SDL_QuitSubSystem) QuitSubSystem = nullptr;
    decltype(&::SDL_GetError) GetError = nullptr;
    decltype(&::SDL_OpenAudioDevice) OpenAudioDevice = nullptr;
    decltype(&::SDL_CloseAudioDevice) CloseAudioDevice = nullptr;
    decltype(&::SDL_PauseAudioDevice) PauseAudioDevice = nullptr;
    decltype(&::SDL_RWFromConstMem) RWFromConstMem = nullptr;
    decltype(&::SDL_LoadWAV_RW) LoadWAV_RW = nullptr;
    decltype(&::SDL_FreeWAV) FreeWAV = nullptr;
    decltype(&::SDL_BuildAudioCVT) BuildAudioCVT = nullptr;
    decltype(&::SDL_ConvertAudio) ConvertAudio = nullptr;
    decltype(&::SDL_QueueAudio) QueueAudio = nullptr;
    decltype(&::SDL_GetQueuedAudioSize) GetQueuedAudioSize = nullptr;
    decltype(&::SDL_ClearQueuedAudio) ClearQueuedAudio = nullptr;
    decltype(&::SDL_Delay) Delay = nullptr;
};

namespace {

constexpr int DeviceRate = 22050; // the rate of the sound pack; other files are converted
constexpr Uint16 DeviceSamples = 512;

// The SDL functions, resolved once; nullptr when the library cannot be loaded.
const SdlApi* sdl(QString* error = nullptr)
{
    static QString loadError;
    static const SdlApi* api = []() -> const SdlApi* {
        static QLibrary library(QStringLiteral("SDL2-2.0"), 0);
        if (!library.load()) {
            loadError = library.errorString();
            return nullptr;
        }
        static SdlApi a;
        bool complete = true;
        auto resolve = [&](auto& function, const char* name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(library.resolve(name));
            complete = complete && function;
        };
        resolve(a.SetHint, "SDL_SetHint");
        resolve(a.InitSubSystem, "SDL_InitSubSystem");
        resolve(a.QuitSubSystem, "SDL_QuitSubSystem");
        resolve(a.GetError, "SDL_GetError");
        resolve(a.OpenAudioDevice, "SDL_OpenAudioDevice");
        resolve(a.CloseAudioDevice, "SDL_CloseAudioDevice");
        resolve(a.PauseAudioDevice, "SDL_PauseAudioDevice");
        resolve(a.RWFromConstMem, "SDL_RWFromConstMem");
        resolve(a.LoadWAV_RW, "SDL_LoadWAV_RW");
        resolve(a.FreeWAV, "SDL_FreeWAV");
        resolve(a.BuildAudioCVT, "SDL_BuildAudioCVT");
        resolve(a.ConvertAudio, "SDL_ConvertAudio");
        resolve(a.QueueAudio, "SDL_QueueAudio");
        resolve(a.GetQueuedAudioSize, "SDL_GetQueuedAudioSize");
        resolve(a.ClearQueuedAudio, "SDL_ClearQueuedAudio");
        resolve(a.Delay, "SDL_Delay");
        if (!complete) {
            loadError = QStringLiteral("the SDL library lacks a function");
            return nullptr;
        }
        return &a;
    }();
    if (error)
        *error = loadError;
    return api;
}

struct WavBuffer {
    Uint8* data = nullptr;
    Uint32 length = 0;
    ~WavBuffer()
    {
        if (data)
            sdl()->FreeWAV(data);
    }
};

} // namespace

SdlAudioOutput::~SdlAudioOutput()
{
    const SdlApi* api = m_subsystemStarted ? sdl() : nullptr;
    if (!api)
        return;
    if (m_device)
        api->CloseAudioDevice(m_device);
    if (m_subsystemStarted)
        api->QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlAudioOutput::ensureDevice()
{
    if (m_device)
        return true;
    if (m_failed)
        return false;
    QString error;
    if (const SdlApi* api = sdl(&error); api && openDevice(*api, &error))
        return true;
    m_failed = true;
    MsgBox(QStringLiteral("No sound output could be opened (") + error +
               QStringLiteral(").\nTavi goes on without sound."),
           vbExclamation);
    return false;
}

bool SdlAudioOutput::openDevice(const SdlApi& api, QString* error)
{
    api.SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    api.SetHint(SDL_HINT_WAVE_TRUNCATION, "strict");
    api.SetHint(SDL_HINT_APP_NAME, "Tavi");
    if (api.InitSubSystem(SDL_INIT_AUDIO) != 0) {
        *error = QString::fromUtf8(api.GetError());
        return false;
    }
    m_subsystemStarted = true;
    SDL_AudioSpec want{};
    want.freq = DeviceRate;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = DeviceSamples;
    SDL_AudioSpec have{};
    m_device = api.OpenAudioDevice(nullptr, 0, &want, &have,
                                   SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (m_device == 0) {
        *error = QString::fromUtf8(api.GetError());
        return false;
    }
    m_freq = have.freq;
    m_format = have.format;
    m_channels = have.channels;
    m_bufferMs = have.freq > 0 ? int(have.samples * 1000 / have.freq) + 1 : 0;
    api.PauseAudioDevice(m_device, 0);
    return true;
}

bool SdlAudioOutput::queue(const QString& path)
{
    if (!ensureDevice())
        return false;
    QFile source(path);
    if (!source.open(QIODevice::ReadOnly) || source.size() > MaxWavFileSize)
        return false;
    const QByteArray bytes = source.read(MaxWavFileSize + 1);
    const std::optional<WavInfo> info = parseWav(bytes);
    if (!info)
        return false;
    // Up to the end of the samples: what follows them was not checked.
    const qint64 checked = info->dataOffset + info->dataLength;

    const SdlApi* api = sdl();
    SDL_AudioSpec file{};
    WavBuffer wav;
    if (!api->LoadWAV_RW(api->RWFromConstMem(bytes.constData(), int(checked)), 1, &file, &wav.data,
                         &wav.length))
        return false;
    if (file.freq == m_freq && file.format == m_format && file.channels == m_channels)
        return api->QueueAudio(m_device, wav.data, wav.length) == 0;

    // SDL_AudioCVT rather than SDL_AudioStream: the stream of this SDL version loses
    // most of a resampled file at the final flush.
    SDL_AudioCVT cvt;
    if (api->BuildAudioCVT(&cvt, file.format, file.channels, file.freq, m_format, Uint8(m_channels), m_freq) <
        0)
        return false;
    QByteArray converted(qsizetype(wav.length) * cvt.len_mult, Qt::Uninitialized);
    std::memcpy(converted.data(), wav.data, wav.length);
    cvt.buf = reinterpret_cast<Uint8*>(converted.data());
    cvt.len = int(wav.length);
    if (api->ConvertAudio(&cvt) != 0)
        return false;
    return api->QueueAudio(m_device, cvt.buf, Uint32(cvt.len_cvt)) == 0;
}

void SdlAudioOutput::drain()
{
    if (!m_device)
        return;
    const SdlApi* api = sdl();
    while (api->GetQueuedAudioSize(m_device) > 0)
        api->Delay(2);
    // An empty queue means the last block has gone to the device, not that it has been
    // heard: give it the time of one device buffer.
    api->Delay(Uint32(m_bufferMs));
}

void SdlAudioOutput::clear()
{
    if (m_device)
        sdl()->ClearQueuedAudio(m_device);
}

bool SdlAudioOutput::play(const QString& path)
{
    if (!queue(path))
        return false;
    drain();
    return true;
}

} // namespace tavi
