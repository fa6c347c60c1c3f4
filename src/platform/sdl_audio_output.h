// Sound output through SDL's audio subsystem: one device, opened on first use and kept
// for the whole run, fed through SDL's audio queue.
#pragma once

#include "core/services.h"

#include <QtGlobal>

namespace tavi {

struct SdlApi;

class SdlAudioOutput final : public AudioOutput {
public:
    SdlAudioOutput() = default;
    ~SdlAudioOutput() override;
    SdlAudioOutput(const SdlAudioOutput&) = delete;
    SdlAudioOutput& operator=(const SdlAudioOutput&) = delete;

    // queue, then drain.
    bool play(const QString& path) override;

    // Loads the WAV file, converts it to the device's format and queues it; false for a
    // file that cannot be read or decoded, or when there is no device.
    bool queue(const QString& path);
    // Returns when everything queued has been played.
    void drain();
    // Drops whatever is still queued.
    void clear();

    // The device could not be opened; every sound then counts as not played.
    bool unavailable() const { return m_failed; }

private:
    bool ensureDevice();
    bool openDevice(const SdlApi& api, QString* error);

    quint32 m_device = 0;
    bool m_failed = false;
    bool m_subsystemStarted = false;
    int m_freq = 0;
    quint16 m_format = 0;
    int m_channels = 0;
    int m_bufferMs = 0;
};

} // namespace tavi
