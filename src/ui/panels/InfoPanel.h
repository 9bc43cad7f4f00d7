#pragma once

#include "imaging/ResourceImages.h"
#include "ui/framework/Window.h"

// The date and time readout at the top of the right column.
class InfoPanel : public Window {
public:
    explicit InfoPanel(QWidget* parent);

protected:
    bool handleMessage(QEvent* event) override;

private:
    AlphaImage background_{10026};
};
