#include "SkinPaint.h"

#include "Palette.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

QImage newPicture(int width, int height, const QColor& fill)
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(fill);
    return picture;
}

void prepare(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::TextAntialiasing);
}

void fillSurface(QPainter& painter, const QRectF& area, qreal gradientTop, qreal gradientHeight)
{
    QLinearGradient shade(0, gradientTop, 0, gradientTop + gradientHeight);
    shade.setColorAt(0, palette::surfaceTop);
    shade.setColorAt(1, palette::surfaceBottom);
    painter.fillRect(area, shade);
}

void drawWell(QPainter& painter, const QRectF& area, qreal radius)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    // light lip below the recess
    painter.setBrush(QColor(0x50, 0x56, 0x5e));
    painter.drawRoundedRect(area.adjusted(0, 1, 0, 1), radius, radius);
    painter.setBrush(palette::seam);
    painter.drawRoundedRect(area, radius, radius);
    QLinearGradient floor(0, area.top(), 0, area.bottom());
    floor.setColorAt(0, palette::wellTop);
    floor.setColorAt(1, palette::wellBottom);
    painter.setBrush(floor);
    painter.drawRoundedRect(area.adjusted(1, 1.5, -1, -1), radius - 1, radius - 1);
    painter.restore();
}

void drawInset(QPainter& painter, const QRectF& area, qreal radius, const QColor& floor)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x56, 0x5c, 0x64));
    painter.drawRoundedRect(area.adjusted(-1, -1, 1, 1), radius + 1, radius + 1);
    painter.setBrush(palette::seam);
    painter.drawRoundedRect(area.adjusted(-1, -1, 1, 0), radius + 1, radius + 1);
    painter.setBrush(floor);
    painter.drawRoundedRect(area, radius, radius);
    painter.restore();
}

namespace {

QBrush faceBrush(const QRectF& area, ButtonState state)
{
    QLinearGradient face(0, area.top(), 0, area.bottom());
    switch (state) {
    case ButtonState::Normal:
        face.setColorAt(0, palette::faceTop);
        face.setColorAt(1, palette::faceBottom);
        break;
    case ButtonState::Pressed:
        face.setColorAt(0, palette::facePressedTop);
        face.setColorAt(1, palette::facePressedBottom);
        break;
    case ButtonState::Disabled:
        face.setColorAt(0, palette::faceDisabled);
        face.setColorAt(1, palette::faceDisabled.darker(112));
        break;
    }
    return face;
}

// The 1-px light edge along the top of a raised face, or the shadow along
// the top of a sunk one.
QColor topEdge(ButtonState state)
{
    switch (state) {
    case ButtonState::Normal: return QColor(0x86, 0x8e, 0x98);
    case ButtonState::Pressed: return QColor(0x08, 0x09, 0x0a);
    case ButtonState::Disabled: return QColor(0x3b, 0x40, 0x46);
    }
    return {};
}

} // namespace

void drawRoundFace(QPainter& painter, const QRectF& area, ButtonState state, bool accentRing)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette::faceRim);
    painter.drawEllipse(area);
    const QRectF ring = area.adjusted(1, 1, -1, -1);
    if (accentRing && state != ButtonState::Disabled) {
        painter.setBrush(state == ButtonState::Pressed ? palette::accent : palette::accentDeep);
        painter.drawEllipse(ring);
    } else {
        painter.setBrush(topEdge(state));
        painter.drawEllipse(ring);
    }
    const QRectF face = ring.adjusted(accentRing ? 1.5 : 0, accentRing ? 1.5 : 1, accentRing ? -1.5 : 0,
                                      accentRing ? -1.5 : 0);
    painter.setBrush(faceBrush(face, state));
    painter.drawEllipse(face);
    if (state == ButtonState::Normal) {
        // soft sheen on the upper half of the cap
        QRadialGradient sheen(face.center().x(), face.top() + face.height() * 0.25, face.width() * 0.6);
        sheen.setColorAt(0, QColor(255, 255, 255, 38));
        sheen.setColorAt(1, QColor(255, 255, 255, 0));
        painter.setBrush(sheen);
        painter.drawEllipse(face);
    }
    painter.restore();
}

void drawSquareFace(QPainter& painter, const QRectF& area, qreal radius, ButtonState state)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette::faceRim);
    painter.drawRoundedRect(area, radius, radius);
    const QRectF inner = area.adjusted(1, 1, -1, -1);
    painter.setBrush(topEdge(state));
    painter.drawRoundedRect(inner, radius - 1, radius - 1);
    const QRectF face = inner.adjusted(0, 1, 0, 0);
    painter.setBrush(faceBrush(face, state));
    painter.drawRoundedRect(face, radius - 1, radius - 1);
    painter.restore();
}

QColor glyphColour(ButtonState state)
{
    switch (state) {
    case ButtonState::Normal: return palette::ink;
    case ButtonState::Pressed: return palette::accent;
    case ButtonState::Disabled: return palette::inkDisabled;
    }
    return {};
}

void drawGlyph(QPainter& painter, const QPainterPath& glyph, ButtonState state)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    if (state == ButtonState::Pressed)
        painter.translate(0, 1);
    if (state != ButtonState::Disabled) {
        painter.setBrush(QColor(0, 0, 0, 110));
        painter.drawPath(glyph.translated(0, 1));
    }
    painter.setBrush(glyphColour(state));
    painter.drawPath(glyph);
    painter.restore();
}

QFont latinFont(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

QFont japaneseFont(int pixelSize)
{
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(pixelSize);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

void drawEngraved(QPainter& painter, const QRectF& area, const QString& text, const QFont& font,
                  const QColor& colour, int alignment)
{
    painter.save();
    painter.setFont(font);
    painter.setPen(palette::seam);
    painter.drawText(area.translated(0, 1), alignment, text);
    painter.setPen(colour);
    painter.drawText(area, alignment, text);
    painter.restore();
}
