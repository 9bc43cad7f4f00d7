#pragma once

#include "imaging/ResourceImages.h"
#include "ui/framework/Window.h"

class MainWindow;

// The picture and sound panel: volume, brightness, open file.
class ConfigPanel : public Window {
public:
    ConfigPanel(QWidget* parent, MainWindow& owner);

    void setAllEnabled(bool enabled);
    void setVolumeEnabled(bool enabled);

protected:
    bool handleMessage(QEvent* event) override;

private:
    MainWindow& owner_;
    AlphaImage background_{10024};
};
