#include "ButtonStates.h"

#include "SkinBook.h"

#include <QPainter>

void drawButtonStates(SkinBook& book, const QImage& ground, const QRect& place, ButtonIds ids,
                      const FacePainter& paint)
{
    const struct { int id; ButtonState state; } looks[] = {
        {ids.normal, ButtonState::Normal}, {ids.pressed, ButtonState::Pressed}, {ids.disabled, ButtonState::Disabled}};
    for (const auto& look : looks) {
        QImage picture = ground.copy(place);
        QPainter painter(&picture);
        prepare(painter);
        paint(painter, QRectF(0, 0, place.width(), place.height()).adjusted(0.5, 0.5, -0.5, -0.5), look.state);
        painter.end();
        book.add(look.id, picture);
    }
}
