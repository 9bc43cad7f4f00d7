#pragma once

#include "imaging/ResourceImages.h"
#include "ui/framework/Window.h"

#include <QString>
#include <functional>
#include <memory>

class ImageTrackBarListener;
class TrackToolTip;

// The pictures of a slider: thumb and track, and optionally the track as it
// looks left of the thumb.
struct TrackBarImages {
    std::unique_ptr<AlphaImage> thumb;
    std::unique_ptr<AlphaImage> track;
    std::unique_ptr<AlphaImage> filled;
};

// A horizontal slider drawn from pictures. While the left button is held
// the thumb follows the mouse at once, but the listener hears of the value
// only every 100 ms, so that costly reactions keep pace.
class ImageTrackBar : public Window {
public:
    static constexpr int kNotifyTimer = 0;
    static constexpr int kNotifyIntervalMs = 100;
    // The tracking tip stands this far above the slider.
    static constexpr int kTipAbove = 20;

    using LabelFormatter = std::function<QString(int value)>;

    ImageTrackBar(QWidget* parent, int x, int y, int width, int height);
    ~ImageTrackBar() override;

    // Loads thumb and track, and the filled track when its id is not 0.
    // Raises WindowException for a missing resource and then keeps the
    // pictures it had.
    void setImages(int thumbId, int trackId, int filledId);
    void setImages(TrackBarImages images);

    void setListener(ImageTrackBarListener* listener) { listener_ = listener; }
    // Paint the track in three slices across the whole width instead of
    // drawing its picture once at its natural size.
    void setStretchTrack(bool stretch) { stretchTrack_ = stretch; }
    // The tip that shows the label while the mouse is held, or null. The
    // owner registers the slider with it (addTrackingTool).
    void setTrackToolTip(TrackToolTip* tip) { toolTip_ = tip; }
    // Null gives the decimal form.
    void setLabelFormatter(LabelFormatter formatter) { labelFormatter_ = std::move(formatter); }

    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    int value() const { return value_; }
    int thumbX() const { return thumbX_; }
    bool isTracking() const { return tracking_; }
    QString label() const;

    // A maximum below the minimum becomes the minimum. A value outside the
    // new range moves to the nearer bound without notification.
    void setRange(int minimum, int maximum);
    // Clamps v to the range, moves the thumb (repainting when it moved) and,
    // when the value changed and `notify` is set, tells the listener.
    void setValue(int v, bool notify);
    // Left edge of the thumb for value v.
    int valueToPixel(int v) const;
    // Sets the value whose thumb centre lies at x.
    void setValueFromPixel(int x, bool notify);

protected:
    bool handleMessage(QEvent* event) override;
    void onTimer(int id) override;
    // The track in three slices: left cap, filled part up to the thumb,
    // empty part after it, right cap. Called only when thumb and track exist.
    virtual void paintTrack(QPainter& painter, int width, int height);

    bool hasThumbAndTrack() const;
    int thumbWidth() const;

private:
    void placeThumb();
    void press(int x);
    void move(int x);
    void release(int x);
    void interrupt();
    void placeTip(int x);
    void paint();

    ImageTrackBarListener* listener_ = nullptr;
    TrackBarImages images_;
    int thumbX_ = 0;
    int minimum_ = 0;
    int maximum_ = 100;
    int value_ = 0;
    bool stretchTrack_ = false;
    TrackToolTip* toolTip_ = nullptr;
    LabelFormatter labelFormatter_;
    bool tracking_ = false;
};
