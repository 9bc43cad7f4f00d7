#pragma once

class IVideoInfo;
class VideoPlayer;

// What the displays that follow the play position read while painting: the
// open recording (none when nothing is open) and the frame on screen.
class IShownRecording {
public:
    virtual ~IShownRecording() = default;
    virtual const IVideoInfo* info() const = 0;
    virtual int currentFrame() const = 0;
};

// The player as that source.
class PlayerShownRecording : public IShownRecording {
public:
    explicit PlayerShownRecording(const VideoPlayer& player) : player_(player) {}
    const IVideoInfo* info() const override;
    int currentFrame() const override;

private:
    const VideoPlayer& player_;
};
