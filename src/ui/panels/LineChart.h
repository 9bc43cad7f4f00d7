#pragma once

#include "imaging/ResourceImages.h"
#include "ui/framework/Window.h"

class VideoPlayer;

// The G-value chart along the bottom of the main window.
class LineChart : public Window {
public:
    LineChart(QWidget* parent, const VideoPlayer& player);

    // Discards the drawn picture (when enabled and there is one), so the next
    // paint draws the open recording anew.
    void clearPicture();
    bool hasPicture() const;

protected:
    bool handleMessage(QEvent* event) override;

private:
    void paintFrame(QPainter& painter);

    const VideoPlayer& player_;
    AlphaImage leftEnd_{359};
    AlphaImage middle_{360};
    AlphaImage rightEnd_{361};
};
