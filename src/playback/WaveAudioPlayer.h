#pragma once

#include "playback/ISoundPlayer.h"
#include "playback/IWaveOutDevice.h"

#include <QObject>
#include <QPointer>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

// Plays a recording's sound track and serves as the playback clock. The whole
// track is held in memory; the device is fed two alternating buffers of a
// fifth of a second, each sample scaled by the volume while it is copied.
//
// The device reports finished buffers by posting BufferDoneEvent to this
// object; refills, state changes and the Finished event to the notification
// target all happen on the UI thread, always after the call that caused them
// has returned.
class WaveAudioPlayer : public QObject, public ISoundPlayer {
public:
    static constexpr int kUnityVolume = 16;

    // `notifyTarget` receives SoundEvent::Finished (it may be null).
    explicit WaveAudioPlayer(QObject* notifyTarget,
                             std::unique_ptr<IWaveOutDevice> device = createSystemWaveOutDevice());
    ~WaveAudioPlayer() override;
    WaveAudioPlayer(const WaveAudioPlayer&) = delete;
    WaveAudioPlayer& operator=(const WaveAudioPlayer&) = delete;

    // Raises WaveAudioException with the path when the file is not a sound
    // track this player plays, or when no output device opens.
    void open(const QString& path) override;
    void close() override;
    // Raises WaveAudioException (text 5069) when nothing is open; the start
    // time and position are recorded even then, for the wall clock.
    void playFrom(int ms) override;
    void stop() override;
    void pause() override;
    void resume() override;
    int status() const override { return status_; }
    int byteRateX1000() const override { return byteRateX1000_; }
    int positionMs() const override;
    int volume() const override { return volume_; }
    void setVolume(int volume) override;

    // True once the current run has played out to the end of the sound.
    bool isFinished() const { return finished_; }
    // Steady-clock milliseconds (the loader's monotonicMs) of the last
    // playFrom, and the position that run started at: the wall clock for a
    // recording without sound.
    std::uint64_t playStartTick() const { return playStartTick_; }
    int startMs() const { return startMs_; }

    // Bytes handed to the device per buffer (0 when nothing is open).
    int chunkSize() const { return chunkSize_; }

protected:
    bool event(QEvent* event) override;

private:
    int dataLength() const { return static_cast<int>(data_.size()); }
    int clampIndex(std::int64_t index) const;
    int msToByteIndex(int ms) const;
    int byteIndexToMs(std::int64_t index) const;
    int heldCount() const { return int(held_[0]) + int(held_[1]); }

    void requireOpen() const;
    void resetFeed();
    int writeChunk(int index);
    void onBufferDone(WaveBufferTag tag);
    void notifySoundFinished();

    QPointer<QObject> notifyTarget_;
    std::unique_ptr<IWaveOutDevice> device_;
    bool deviceOpen_ = false;

    WaveFormat format_;
    std::vector<std::uint8_t> data_;
    int chunkSize_ = 0;
    std::vector<std::uint8_t> bufferMemory_;   // 2 x chunkSize_

    int status_ = NotOpen;
    int byteRateX1000_ = 0;
    int volume_ = kUnityVolume;
    int startMs_ = 0;
    std::uint64_t playStartTick_ = 0;
    bool finished_ = false;

    // The feed. A run lasts from one device reset to the next; notices of an
    // earlier run only tell that the reset buffers have come back.
    std::uint64_t run_ = 0;
    int nextBuffer_ = 0;
    std::array<bool, 2> held_{};   // the device still reads this buffer
    int returning_ = 0;            // buffers of earlier runs not yet given back
    int chunkEnd_ = 0;             // end (exclusive) of the last chunk written; 0 while nothing is fed
};
