#pragma once

#include "imaging/ResourceImages.h"
#include "ui/framework/Window.h"

#include <QColor>
#include <QPoint>
#include <QSize>
#include <QString>
#include <memory>

// Where a label puts its text: rows top, middle, bottom; columns left,
// centre, right. Any other value counts as TopLeft.
enum LabelAlignment : int {
    TopLeft = 0,
    TopCentre = 1,
    TopRight = 2,
    MiddleLeft = 3,
    Middle = 4,
    MiddleRight = 5,
    BottomLeft = 6,
    BottomCentre = 7,
    BottomRight = 8,
};

// The top-left corner of a text of `text` size in a client area of `client`
// size (divisions truncate toward zero; a text wider than the area starts
// left of it and is clipped).
QPoint labelTextOrigin(int alignment, QSize client, QSize text);

// A static display: a picture centred in the control, or else one line of
// text placed by its alignment, greyed when the control is disabled.
class Label : public Window {
public:
    explicit Label(QWidget* parent);

    const QString& text() const { return text_; }
    void setText(const QString& text);
    int alignment() const { return alignment_; }
    void setAlignment(int alignment);
    QColor textColour() const { return textColour_; }
    void setTextColour(QColor colour);
    // The picture replaces the text while it is set.
    void setImage(std::unique_ptr<AlphaImage> image);

protected:
    bool handleMessage(QEvent* event) override;

private:
    void paint(QPainter& painter);

    QString text_;
    int alignment_ = MiddleLeft;
    QColor textColour_ = Qt::black;
    std::unique_ptr<AlphaImage> image_;
};
