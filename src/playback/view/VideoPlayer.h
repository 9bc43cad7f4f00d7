#pragma once

#include "ui/framework/Window.h"

class IVideoInfo;

// The video area and playback engine.
class VideoPlayer : public Window {
public:
    enum State { Closed = 0, Playing = 1, Stopped = 2, Paused = 3 };

    explicit VideoPlayer(QWidget* parent);

    State state() const { return state_; }
    const IVideoInfo* info() const { return nullptr; }
    void pause();

protected:
    bool handleMessage(QEvent* event) override;

private:
    State state_ = Closed;
};
