#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QRectF>

class QPainter;

// Drawing helpers shared by all the skin's pieces, so that every surface,
// well and button is made the same way.

enum class ButtonState { Normal, Pressed, Disabled };

// An opaque picture filled with one colour.
QImage newPicture(int width, int height, const QColor& fill);

// Antialiased painting with smooth transforms.
void prepare(QPainter& painter);

// The graphite surface: a vertical gradient running from gradientTop to
// gradientTop + gradientHeight, so pieces of one panel drawn apart still meet.
void fillSurface(QPainter& painter, const QRectF& area, qreal gradientTop, qreal gradientHeight);

// A recess cut into a surface: dark rim, shaded floor, light lower lip.
void drawWell(QPainter& painter, const QRectF& area, qreal radius);

// A recessed window with a flat floor of the given colour (display, channel).
void drawInset(QPainter& painter, const QRectF& area, qreal radius, const QColor& floor);

// Button faces: a raised cap, sunk while pressed, flat while disabled.
void drawRoundFace(QPainter& painter, const QRectF& area, ButtonState state, bool accentRing);
void drawSquareFace(QPainter& painter, const QRectF& area, qreal radius, ButtonState state);

// The colour of a button's symbol in each state.
QColor glyphColour(ButtonState state);

// Fills a symbol in the state's colour, one pixel lower while pressed, with a
// faint shadow under it so it sits on the face.
void drawGlyph(QPainter& painter, const QPainterPath& glyph, ButtonState state);

QFont latinFont(int pixelSize, bool bold);
QFont japaneseFont(int pixelSize);

// Text cut into the surface: a dark line under light letters.
void drawEngraved(QPainter& painter, const QRectF& area, const QString& text, const QFont& font,
                  const QColor& colour, int alignment);
