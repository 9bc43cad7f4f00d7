#pragma once

#include "playback/IWaveOutDevice.h"

#include <cstdint>
#include <deque>

struct pa_context;
struct pa_stream;
struct pa_threaded_mainloop;
struct pa_time_event;
struct pa_mainloop_api;

// Sound output through the PulseAudio server: one playback stream per open
// device, flushed by a reset. The played count comes from the server's
// timing reports, polled while buffers are out: the stream position heard
// (read index less the sink's latency) counted from where the current run
// begins. A buffer is reported done once its last byte has been heard; the
// connection's thread only posts those reports.
class PulseWaveOutDevice : public IWaveOutDevice {
public:
    PulseWaveOutDevice() = default;
    ~PulseWaveOutDevice() override;
    PulseWaveOutDevice(const PulseWaveOutDevice&) = delete;
    PulseWaveOutDevice& operator=(const PulseWaveOutDevice&) = delete;

    // Fails within about a second when no server answers.
    bool open(const WaveFormat& format, BufferDone onDone) override;
    bool write(WaveBufferTag tag, std::span<const std::uint8_t> bytes) override;
    void reset() override;
    bool restart() override;
    std::optional<std::uint64_t> bytesPlayed() const override;
    void close() override;

private:
    struct Pending {
        WaveBufferTag tag;
        std::uint64_t end;        // run offset just after the buffer
        std::uint64_t dueUs = 0;  // when its last byte is heard; 0 while unknown
    };

    // The latest usable timing report of the current run.
    struct Heard {
        bool valid = false;
        std::int64_t runStart = 0;   // stream index of the run's first byte
        std::int64_t heardIndex = 0; // stream index being heard at the report
    };

    // All below run with the mainloop lock held.
    bool waitUntil(bool (*ready)(const PulseWaveOutDevice&));
    bool connectStream();
    void armPoll();
    void onPoll();
    void onTiming();
    void completeDue(std::uint64_t nowUs);

    static void signalContext(pa_context*, void* self);
    static void signalStream(pa_stream*, void* self);
    static void pollEvent(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* self);
    static void waitTimeout(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* self);
    static void timingReply(pa_stream*, int success, void* self);

    pa_threaded_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
    pa_time_event* poll_ = nullptr;
    bool pollArmed_ = false;
    bool waitExpired_ = false;
    bool timingRequested_ = false;
    std::uint32_t sampleRate_ = 0;
    std::uint8_t channels_ = 1;   // 8-bit samples: one byte per channel
    BufferDone onDone_;
    std::deque<Pending> pending_;
    std::uint64_t runWritten_ = 0;   // bytes written since the last reset
    Heard heard_;
};
