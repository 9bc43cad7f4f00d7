#pragma once

#include "playback/IWaveOutDevice.h"

#include <cstdint>
#include <deque>

struct pa_context;
struct pa_stream;
struct pa_threaded_mainloop;
struct pa_time_event;
struct pa_mainloop_api;

// Sound output through the PulseAudio server. Each run (from one reset to
// the next) gets a fresh playback stream, so the stream's own latency-
// corrected clock counts exactly the bytes of this run that were heard.
// A buffer is reported done once its last byte has been played; the server
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
        std::uint64_t end;        // stream offset just after the buffer
        std::uint64_t dueUs = 0;  // when its last byte is heard; 0 while unknown
    };

    // All below run with the mainloop lock held.
    bool waitUntil(bool (*ready)(const PulseWaveOutDevice&));
    bool connectStream();
    void dropStream();
    void armPoll();
    void onPoll();
    void onTiming();
    void completeDue(std::uint64_t nowUs);

    static void signalLoop(pa_context*, void* self);
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
    std::uint64_t written_ = 0;   // bytes written into the current stream
};
