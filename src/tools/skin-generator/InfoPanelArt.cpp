#include "Art.h"

#include "Palette.h"
#include "Segments.h"
#include "SkinBook.h"
#include "SkinPaint.h"

#include <QPainter>

namespace {

constexpr int kWidth = 209;
constexpr int kHeight = 180;

// The black display holding the readout; the digit strips are copied onto
// it at (62, 80) and (20, 105) with their own black ground.
const QRectF kDisplay(10, 46, 189, 122);

QImage background()
{
    QImage picture = newPicture(kWidth, kHeight, palette::surfaceBottom);
    QPainter painter(&picture);
    prepare(painter);
    fillSurface(painter, QRectF(0, 0, kWidth, kHeight), 0, kHeight);
    painter.setPen(palette::highlight);
    painter.drawLine(QPointF(0.5, 0.5), QPointF(kWidth - 0.5, 0.5));
    painter.setPen(palette::seam);
    painter.drawLine(QPointF(0.5, 0), QPointF(0.5, kHeight));
    painter.drawLine(QPointF(0, kHeight - 0.5), QPointF(kWidth, kHeight - 0.5));

    // heading: an accent tick and the panel's name
    painter.fillRect(QRectF(12, 17, 3, 13), palette::accent);
    drawEngraved(painter, QRectF(20, 14, 120, 18), QStringLiteral("記録日時"), japaneseFont(13), palette::ink,
                 Qt::AlignLeft | Qt::AlignVCenter);
    drawEngraved(painter, QRectF(100, 14, 96, 18), QStringLiteral("DATE / TIME"), latinFont(9, true),
                 palette::inkDim, Qt::AlignRight | Qt::AlignVCenter);

    drawInset(painter, kDisplay, 5, palette::screen);
    // a faint rule between date and time, in the digits' unlit colour
    painter.setPen(QPen(palette::accentGhost, 1));
    painter.drawLine(QPointF(22, 98.5), QPointF(187, 98.5));
    return picture;
}

QImage glyph(int width, int height, QChar figure, const QRectF& box, const SegmentLook& look)
{
    QImage picture = newPicture(width, height, palette::screen);
    QPainter painter(&picture);
    prepare(painter);
    if (figure == QLatin1Char('/')) {
        painter.setPen(QPen(look.lit, look.thickness * 0.9, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(QPointF(box.left() + 0.5, box.bottom()), QPointF(box.right() - 0.5, box.top()));
    } else if (figure == QLatin1Char(':')) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(look.lit);
        const qreal dot = look.thickness + 0.5;
        for (qreal at : {0.3, 0.7}) {
            const QPointF centre(width / 2.0, box.top() + box.height() * at);
            painter.drawRoundedRect(QRectF(centre.x() - dot / 2, centre.y() - dot / 2, dot, dot), 1, 1);
        }
    } else {
        drawSegments(painter, box, segmentsOf(figure), look);
    }
    return picture;
}

void drawGlyphSet(SkinBook& book, const QString& figures, int firstId, int width, int height, const QRectF& box,
                  const SegmentLook& look)
{
    for (int i = 0; i < figures.size(); ++i)
        book.add(firstId + i, glyph(width, height, figures[i], box, look));
}

// The date is too small for segments to read well: plain hinted figures.
QImage smallFigure(QChar figure)
{
    QImage picture = newPicture(9, 12, palette::screen);
    QPainter painter(&picture);
    prepare(painter);
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(12);
    font.setBold(true);
    font.setHintingPreference(QFont::PreferFullHinting);
    painter.setFont(font);
    painter.setPen(palette::accent);
    painter.drawText(QRect(0, 0, 9, 12), Qt::AlignCenter, QString(figure));
    return picture;
}

} // namespace

void drawInfoPanel(SkinBook& book)
{
    book.add(10026, background());

    // small figures 9 x 12: "/" 224, "0".."9" 225..234, "-" 235
    const QString small = QStringLiteral("/0123456789-");
    for (int i = 0; i < small.size(); ++i)
        book.add(224 + i, smallFigure(small[i]));

    // large figures 21 x 31: "-" 250, "0".."9" 251..260, ":" 261
    const SegmentLook large{3.6, 0.45, palette::accent, palette::accentGhost, 2.2};
    drawGlyphSet(book, QStringLiteral("-0123456789:"), 250, 21, 31, QRectF(3, 3, 15, 25), large);
}
