#pragma once

#include "imaging/ResourceImages.h"
#include "ui/framework/Window.h"
#include "ui/panels/ShownRecording.h"

#include <QImage>
#include <QPoint>
#include <QSize>
#include <cstdint>
#include <memory>

class VideoPlayer;

// Where the chart draws, worked out from the window's size and the sizes of
// the two label texts ("+0.00" and "999") that set the margins. Plot
// coordinates are coordinates inside the chart picture, which stands at
// kPictureAt in the window.
struct ChartGeometry {
    static constexpr QPoint kPictureAt{20, 7};

    int plotLeft = 0;
    int plotTop = 0;
    int plotRight = 0;
    int plotBottom = 0;
    QSize pictureSize;

    static ChartGeometry of(QSize client, QSize valueTextSize, QSize countTextSize);

    // False when the window is too small for a picture with a plot inside.
    bool canDraw() const;
    // The x of frame `index` on the G line: frames spread from plotLeft to
    // plotRight, a single frame at plotLeft.
    int lineX(std::int64_t index, std::int64_t frameCount) const;
    // The x of the play position; the frame is held to the recording, and a
    // recording of one frame has it at plotRight.
    int positionX(std::int64_t frame, std::int64_t frameCount) const;
    // Fixed scale: 2.0 G at plotTop, 0 G at plotBottom.
    int gY(double g) const;
};

// The G-value chart along the bottom of the main window: the magnitude of
// every frame's G vector as one line, drawn once per recording into a cached
// picture, and the play position drawn over it at every refresh.
class LineChart : public Window {
public:
    LineChart(QWidget* parent, const VideoPlayer& player);
    LineChart(QWidget* parent, std::unique_ptr<IShownRecording> shown);

    // Discards the drawn picture, so that the next paint draws the recording
    // open then; repaints at once when the chart is enabled.
    void clearPicture();
    bool hasPicture() const { return !picture_.isNull(); }

    const ChartGeometry& chartGeometry() const { return geometry_; }
    // How many times the picture has been drawn: once per recording and size.
    int picturesDrawn() const { return picturesDrawn_; }

protected:
    bool handleMessage(QEvent* event) override;

private:
    void paintFrame(QPainter& painter);
    void paintChart(QPainter& painter);
    void drawChartPicture(QPainter& painter) const;

    std::unique_ptr<IShownRecording> shown_;
    // The sizes of "+0.00" and "999" in the label font, which set the margins.
    QSize valueTextSize_;
    QSize countTextSize_;
    ChartGeometry geometry_;
    QImage picture_;
    int picturesDrawn_ = 0;
    AlphaImage leftEnd_{359};
    AlphaImage middle_{360};
    AlphaImage rightEnd_{361};
};
