#pragma once

#include "imaging/ResourceImages.h"
#include "ui/framework/Window.h"

// The transport bar under the picture.
class ConsolePanel : public Window {
public:
    explicit ConsolePanel(QWidget* parent);

protected:
    bool handleMessage(QEvent* event) override;

private:
    void paintBackground(QPainter& painter);

    AlphaImage left_{223};
    AlphaImage middle_{221};
    AlphaImage right_{222};
    AlphaImage disabledMiddle_{424};
    AlphaImage disabledRight_{425};
};
