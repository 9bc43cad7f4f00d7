#pragma once

#include "imaging/ResourceImages.h"
#include "ui/framework/Window.h"

// The G-value chart along the bottom of the main window.
class LineChart : public Window {
public:
    explicit LineChart(QWidget* parent);

protected:
    bool handleMessage(QEvent* event) override;

private:
    void paintFrame(QPainter& painter);

    AlphaImage leftEnd_{359};
    AlphaImage middle_{360};
    AlphaImage rightEnd_{361};
};
