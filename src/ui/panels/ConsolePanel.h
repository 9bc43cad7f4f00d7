#pragma once

#include "imaging/ResourceImages.h"
#include "ui/framework/Window.h"

class MainWindow;

// The transport bar under the picture.
class ConsolePanel : public Window {
public:
    ConsolePanel(QWidget* parent, MainWindow& owner);

    // Buttons and position bar from the player's state and position.
    void refreshControls();
    // With mode 2 the file buttons' tips read "next"/"previous", else
    // "frame forward"/"frame back".
    void setFileButtonTips(int mode);
    void showControls(bool shown);

protected:
    bool handleMessage(QEvent* event) override;

private:
    void paintBackground(QPainter& painter);

    MainWindow& owner_;

    AlphaImage left_{223};
    AlphaImage middle_{221};
    AlphaImage right_{222};
    AlphaImage disabledMiddle_{424};
    AlphaImage disabledRight_{425};
};
