#pragma once

#include "ui/framework/Window.h"

// The thumbnail strip. The main window keeps it hidden and disabled.
class Thumbnail : public Window {
public:
    explicit Thumbnail(QWidget* parent);
};
