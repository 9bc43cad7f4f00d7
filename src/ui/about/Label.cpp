#include "ui/about/Label.h"

#include "ui/framework/SystemColours.h"

#include <QFontMetrics>
#include <QPainter>

QPoint labelTextOrigin(int alignment, QSize client, QSize text)
{
    if (alignment < TopLeft || alignment > BottomRight)
        alignment = TopLeft;
    const int column = alignment % 3;
    const int row = alignment / 3;
    const int x = column == 0 ? 0 : column == 1 ? (client.width() - text.width()) / 2 : client.width() - text.width();
    const int y = row == 0 ? 0 : row == 1 ? (client.height() - text.height()) / 2 : client.height() - text.height();
    return {x, y};
}

Label::Label(QWidget* parent) : Window(parent)
{
}

void Label::setText(const QString& text)
{
    text_ = text;
    update();
}

void Label::setAlignment(int alignment)
{
    alignment_ = alignment;
    update();
}

void Label::setTextColour(QColor colour)
{
    textColour_ = colour;
    update();
}

void Label::setImage(std::unique_ptr<AlphaImage> image)
{
    image_ = std::move(image);
    update();
}

void Label::paint(QPainter& painter)
{
    painter.fillRect(rect(), buttonFaceColour());
    if (image_) {
        image_->drawAt(painter, (width() - image_->width()) / 2, (height() - image_->height()) / 2);
        return;
    }
    if (text_.isEmpty())
        return;
    // Measured in the font it is drawn in, so that centred and right-aligned
    // texts land where the table puts them.
    const QFontMetrics metrics(font());
    const QPoint origin =
        labelTextOrigin(alignment_, size(), QSize(metrics.horizontalAdvance(text_), metrics.height()));
    const QPoint baseline = origin + QPoint(0, metrics.ascent());
    painter.setFont(font());
    if (isEnabled()) {
        painter.setPen(textColour_);
        painter.drawText(baseline, text_);
        return;
    }
    // Greyed: a light copy one pixel down and right under a shadow-coloured one.
    painter.setPen(palette().color(QPalette::Light));
    painter.drawText(baseline + QPoint(1, 1), text_);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawText(baseline, text_);
}

bool Label::handleMessage(QEvent* event)
{
    if (event->type() == QEvent::Paint) {
        QPainter painter(this);
        paint(painter);
        return true;
    }
    return Window::handleMessage(event);
}
