#include "playback/PulseWaveOutDevice.h"

#include <pulse/pulseaudio.h>

#include <algorithm>

namespace {

constexpr pa_usec_t kWaitTimeoutUs = 1000 * PA_USEC_PER_MSEC;  // server or stream not answering
constexpr pa_usec_t kPollIntervalUs = 20 * PA_USEC_PER_MSEC;   // timing reports while buffers are out: well inside a frame
constexpr pa_usec_t kTargetLatencyUs = 60 * PA_USEC_PER_MSEC;  // keeps "done" close to "taken"

class LoopLock {
public:
    explicit LoopLock(pa_threaded_mainloop* loop) : loop_(loop) { pa_threaded_mainloop_lock(loop_); }
    ~LoopLock() { pa_threaded_mainloop_unlock(loop_); }
    LoopLock(const LoopLock&) = delete;
    LoopLock& operator=(const LoopLock&) = delete;

private:
    pa_threaded_mainloop* loop_;
};

bool contextSettled(pa_context* context)
{
    const pa_context_state_t state = pa_context_get_state(context);
    return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
}

bool streamSettled(pa_stream* stream)
{
    const pa_stream_state_t state = pa_stream_get_state(stream);
    return state == PA_STREAM_READY || !PA_STREAM_IS_GOOD(state);
}

bool streamReady(pa_stream* stream)
{
    return stream && pa_stream_get_state(stream) == PA_STREAM_READY;
}

void forget(pa_operation* operation)
{
    if (operation)
        pa_operation_unref(operation);
}

} // namespace

std::unique_ptr<IWaveOutDevice> createSystemWaveOutDevice()
{
    return std::make_unique<PulseWaveOutDevice>();
}

PulseWaveOutDevice::~PulseWaveOutDevice()
{
    close();
}

bool PulseWaveOutDevice::open(const WaveFormat& format, BufferDone onDone)
{
    close();
    const pa_sample_spec sampleSpec{PA_SAMPLE_U8, format.samplesPerSecond, std::uint8_t(format.channels)};
    if (format.formatTag != 1 || format.bitsPerSample != 8 || format.channels > PA_CHANNELS_MAX ||
        !pa_sample_spec_valid(&sampleSpec))
        return false;
    sampleRate_ = sampleSpec.rate;
    channels_ = sampleSpec.channels;
    onDone_ = std::move(onDone);

    loop_ = pa_threaded_mainloop_new();
    if (!loop_)
        return false;
    context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), "KVR viewer");
    if (!context_ || pa_threaded_mainloop_start(loop_) < 0) {
        close();
        return false;
    }
    bool ready;
    {
        LoopLock lock(loop_);
        pa_context_set_state_callback(context_, &signalContext, this);
        ready = pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0 &&
                waitUntil([](const PulseWaveOutDevice& d) { return contextSettled(d.context_); }) &&
                pa_context_get_state(context_) == PA_CONTEXT_READY && connectStream();
    }
    if (!ready)
        close();
    return ready;
}

bool PulseWaveOutDevice::write(WaveBufferTag tag, std::span<const std::uint8_t> bytes)
{
    if (!loop_ || bytes.empty())
        return false;
    LoopLock lock(loop_);
    if (!streamReady(stream_) ||
        pa_stream_write(stream_, bytes.data(), bytes.size(), nullptr, 0, PA_SEEK_RELATIVE) < 0)
        return false;
    runWritten_ += bytes.size();
    pending_.push_back({tag, runWritten_});
    armPoll();
    return true;
}

void PulseWaveOutDevice::reset()
{
    if (!loop_)
        return;
    LoopLock lock(loop_);
    // The flush drops what the server still queues; reports asked for before
    // it come back with the write index marked unusable, so they cannot
    // place the new run.
    if (streamReady(stream_))
        forget(pa_stream_flush(stream_, nullptr, nullptr));
    for (const Pending& p : pending_)
        onDone_(p.tag);
    pending_.clear();
    runWritten_ = 0;
    heard_ = {};
}

bool PulseWaveOutDevice::restart()
{
    // Output is never halted short of a reset, so there is nothing to continue.
    if (!loop_)
        return false;
    LoopLock lock(loop_);
    return streamReady(stream_);
}

std::optional<std::uint64_t> PulseWaveOutDevice::bytesPlayed() const
{
    if (!loop_)
        return std::nullopt;
    LoopLock lock(loop_);
    if (!streamReady(stream_))
        return std::nullopt;
    if (!heard_.valid)
        return 0;   // no report on this run yet
    const std::int64_t played = std::clamp<std::int64_t>(heard_.heardIndex - heard_.runStart, 0, std::int64_t(runWritten_));
    return std::uint64_t(played);
}

void PulseWaveOutDevice::close()
{
    if (!loop_)
        return;
    {
        LoopLock lock(loop_);
        if (poll_)
            pa_threaded_mainloop_get_api(loop_)->time_free(poll_);
        poll_ = nullptr;
        pollArmed_ = false;
        if (stream_) {
            pa_stream_set_state_callback(stream_, nullptr, nullptr);
            if (streamReady(stream_))
                pa_stream_disconnect(stream_);
            pa_stream_unref(stream_);
            stream_ = nullptr;
        }
        pending_.clear();
        runWritten_ = 0;
        heard_ = {};
        timingRequested_ = false;
        if (context_) {
            pa_context_set_state_callback(context_, nullptr, nullptr);
            pa_context_disconnect(context_);
            pa_context_unref(context_);
            context_ = nullptr;
        }
    }
    pa_threaded_mainloop_stop(loop_);
    pa_threaded_mainloop_free(loop_);
    loop_ = nullptr;
    onDone_ = nullptr;
}

bool PulseWaveOutDevice::waitUntil(bool (*ready)(const PulseWaveOutDevice&))
{
    waitExpired_ = false;
    pa_time_event* timer = pa_context_rttime_new(context_, pa_rtclock_now() + kWaitTimeoutUs, &waitTimeout, this);
    if (!timer)
        return false;
    while (!ready(*this) && !waitExpired_)
        pa_threaded_mainloop_wait(loop_);
    pa_threaded_mainloop_get_api(loop_)->time_free(timer);
    return ready(*this);
}

bool PulseWaveOutDevice::connectStream()
{
    const pa_sample_spec sampleSpec{PA_SAMPLE_U8, sampleRate_, channels_};
    stream_ = pa_stream_new(context_, "sound", &sampleSpec, nullptr);
    if (!stream_)
        return false;
    pa_stream_set_state_callback(stream_, &signalStream, this);

    // Playback starts with the first byte (a run may be shorter than any
    // prebuffer), and the latency is kept short so that a buffer is heard
    // soon after the server takes it and a refill is never late.
    pa_buffer_attr attr;
    attr.maxlength = std::uint32_t(-1);
    attr.tlength = std::uint32_t(pa_usec_to_bytes(kTargetLatencyUs, &sampleSpec));
    attr.prebuf = channels_;
    attr.minreq = std::uint32_t(-1);
    attr.fragsize = std::uint32_t(-1);
    return pa_stream_connect_playback(stream_, nullptr, &attr, PA_STREAM_ADJUST_LATENCY, nullptr, nullptr) >= 0 &&
           waitUntil([](const PulseWaveOutDevice& d) { return streamSettled(d.stream_); }) &&
           streamReady(stream_);
}

void PulseWaveOutDevice::armPoll()
{
    if (pollArmed_)
        return;
    const pa_usec_t due = pa_rtclock_now() + kPollIntervalUs;
    if (poll_)
        pa_context_rttime_restart(context_, poll_, due);
    else
        poll_ = pa_context_rttime_new(context_, due, &pollEvent, this);
    pollArmed_ = poll_ != nullptr;
}

void PulseWaveOutDevice::onPoll()
{
    pollArmed_ = false;
    if (!streamReady(stream_) || pending_.empty())
        return;
    if (!timingRequested_) {
        if (pa_operation* op = pa_stream_update_timing_info(stream_, &timingReply, this)) {
            pa_operation_unref(op);
            timingRequested_ = true;
        }
    }
    completeDue(pa_rtclock_now());
    if (!pending_.empty())
        armPoll();
}

// The server reports where it reads (read index) and how long the sink
// takes to play what it has taken (sink latency). The write index, which
// the library keeps current with every write since, places the run: it
// began runWritten_ bytes before it.
void PulseWaveOutDevice::onTiming()
{
    const pa_timing_info* timing = pa_stream_get_timing_info(stream_);
    if (!timing || timing->read_index_corrupt || timing->write_index_corrupt)
        return;
    const pa_sample_spec sampleSpec{PA_SAMPLE_U8, sampleRate_, channels_};
    const auto bytesIn = [&](pa_usec_t us) { return std::int64_t(pa_usec_to_bytes(us, &sampleSpec)); };
    const std::int64_t latency = std::int64_t(timing->sink_usec) - std::int64_t(timing->transport_usec);
    heard_.valid = true;
    heard_.runStart = timing->write_index - std::int64_t(runWritten_);
    heard_.heardIndex = timing->read_index - (latency > 0 ? bytesIn(pa_usec_t(latency)) : 0);

    // A buffer taken by the server is heard once the latency has passed.
    const std::uint64_t nowUs = pa_rtclock_now();
    for (Pending& p : pending_) {
        const std::int64_t endIndex = heard_.runStart + std::int64_t(p.end);
        if (endIndex > timing->read_index)
            break;
        if (p.dueUs != 0)
            continue;
        const std::int64_t takenAgoUs = std::int64_t(pa_bytes_to_usec(std::uint64_t(timing->read_index - endIndex), &sampleSpec));
        p.dueUs = std::uint64_t(std::max<std::int64_t>(1, std::int64_t(nowUs) + latency - takenAgoUs));
    }
    completeDue(nowUs);
}

void PulseWaveOutDevice::completeDue(std::uint64_t nowUs)
{
    while (!pending_.empty() && pending_.front().dueUs != 0 && pending_.front().dueUs <= nowUs) {
        onDone_(pending_.front().tag);
        pending_.pop_front();
    }
}

void PulseWaveOutDevice::signalContext(pa_context*, void* self)
{
    pa_threaded_mainloop_signal(static_cast<PulseWaveOutDevice*>(self)->loop_, 0);
}

void PulseWaveOutDevice::signalStream(pa_stream*, void* self)
{
    pa_threaded_mainloop_signal(static_cast<PulseWaveOutDevice*>(self)->loop_, 0);
}

void PulseWaveOutDevice::pollEvent(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* self)
{
    static_cast<PulseWaveOutDevice*>(self)->onPoll();
}

void PulseWaveOutDevice::waitTimeout(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* self)
{
    auto* device = static_cast<PulseWaveOutDevice*>(self);
    device->waitExpired_ = true;
    pa_threaded_mainloop_signal(device->loop_, 0);
}

void PulseWaveOutDevice::timingReply(pa_stream*, int success, void* self)
{
    auto* device = static_cast<PulseWaveOutDevice*>(self);
    device->timingRequested_ = false;
    if (success)
        device->onTiming();
}
