#include "ui/about/LinkLabel.h"

#include "errors/Exception.h"
#include "ui/about/HelpPage.h"

#include <QMouseEvent>

LinkLabel::LinkLabel(QWidget* parent, const QString& text) : Label(parent)
{
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    if (!text.isEmpty())
        setText(text);
    setTextColour(QColor(0, 0, 255));
    setCursor(Qt::PointingHandCursor);
}

bool LinkLabel::handleMessage(QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        try {
            openSupportPage();
        } catch (const Exception&) {
            // A page that cannot be opened is simply not shown.
        }
        return true;
    }
    return Label::handleMessage(event);
}
