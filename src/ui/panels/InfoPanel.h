#pragma once

#include "imaging/ResourceImages.h"
#include "ui/framework/Window.h"

class VideoPlayer;

// The date and time readout at the top of the right column.
class InfoPanel : public Window {
public:
    InfoPanel(QWidget* parent, const VideoPlayer& player);

protected:
    bool handleMessage(QEvent* event) override;

private:
    const VideoPlayer& player_;
    AlphaImage background_{10026};
};
