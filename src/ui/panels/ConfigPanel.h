#pragma once

#include "imaging/ResourceImages.h"
#include "ui/framework/Window.h"

// The picture and sound panel: volume, brightness, open file.
class ConfigPanel : public Window {
public:
    explicit ConfigPanel(QWidget* parent);

protected:
    bool handleMessage(QEvent* event) override;

private:
    AlphaImage background_{10024};
};
