#pragma once

#include "ui/about/Label.h"

// A label that reads like a web link (blue, underlined, under the hand
// cursor) and opens the support page when clicked.
class LinkLabel : public Label {
public:
    LinkLabel(QWidget* parent, const QString& text);

protected:
    bool handleMessage(QEvent* event) override;
};
