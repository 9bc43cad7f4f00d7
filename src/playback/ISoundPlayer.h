#pragma once

#include <QString>

// What the video player asks of the sound track. Every operation runs on the
// UI thread.
class ISoundPlayer {
public:
    // The values `status` returns.
    enum Status : int {
        NotOpen = 0,
        Playing = 1,
        Idle = 2,   // open, after open, stop or the end of the sound
        Paused = 3,
    };

    virtual void open(const QString& path) = 0;
    virtual void close() = 0;
    virtual void playFrom(int ms) = 0;
    virtual void stop() = 0;
    virtual void pause() = 0;
    virtual void resume() = 0;
    virtual int status() const = 0;
    // Block alignment x sample rate x 1000 of the open sound, 0 when none.
    virtual int byteRateX1000() const = 0;
    virtual int positionMs() const = 0;
    virtual int volume() const = 0;
    // Stored clamped to 0..16; 16 is unity gain.
    virtual void setVolume(int volume) = 0;

protected:
    // The owner deletes the concrete player, never through this interface.
    ~ISoundPlayer() = default;
};
