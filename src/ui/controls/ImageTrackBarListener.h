#pragma once

class ImageTrackBar;

// What a skinned slider tells its owner. The argument identifies the slider,
// so one listener serves several sliders by comparing pointers.
class ImageTrackBarListener {
public:
    virtual ~ImageTrackBarListener() = default;
    // On press, every 100 ms while held, on release, and from setValue with
    // notification. Moves alone do not notify: the timer throttles costly
    // reactions (seeking, brightness tables) while dragging.
    virtual void valueChanged(ImageTrackBar* bar) = 0;
    virtual void trackStarted(ImageTrackBar* bar) = 0;
    // The drag ended: released, or cut short when the slider lost the mouse.
    virtual void trackEnded(ImageTrackBar* bar) = 0;
};
