#include "Art.h"

#include "ButtonStates.h"
#include "Palette.h"
#include "SkinBook.h"
#include "SkinPaint.h"
#include "Symbols.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>

#include <cmath>
#include <initializer_list>

namespace {

constexpr int kWidth = 209;
constexpr int kHeight = 140;
const QRect kVolumeTrack(40, 22, 151, 16);
const QRect kBrightnessTrack(40, 56, 151, 16);
constexpr qreal kThumbWidth = 10;

QImage background()
{
    QImage picture = newPicture(kWidth, kHeight, palette::surfaceBottom);
    QPainter painter(&picture);
    prepare(painter);
    fillSurface(painter, QRectF(0, 0, kWidth, kHeight), 0, kHeight);
    painter.fillRect(QRect(0, 0, kWidth, 1), palette::seam);
    painter.fillRect(QRect(0, 1, kWidth, 1), palette::highlight);
    painter.fillRect(QRect(0, 0, 1, kHeight), palette::seam);

    const QFont label = japaneseFont(11);
    drawEngraved(painter, QRectF(40, 6, 100, 14), QStringLiteral("音量"), label, palette::inkDim,
                 Qt::AlignLeft | Qt::AlignVCenter);
    drawEngraved(painter, QRectF(40, 40, 100, 14), QStringLiteral("明るさ"), label, palette::inkDim,
                 Qt::AlignLeft | Qt::AlignVCenter);

    // a groove setting the open button apart from the sliders
    painter.fillRect(QRect(12, 86, kWidth - 24, 1), palette::seam);
    painter.fillRect(QRect(12, 87, kWidth - 24, 1), QColor(0x48, 0x4e, 0x55));
    return picture;
}

// Thumb centre for a value: the slider places the thumb's left edge at
// (value - minimum) * (width - thumb width) / (maximum - minimum).
qreal thumbCentre(int value, int minimum, int maximum, int width)
{
    return (value - minimum) * (width - kThumbWidth) / (maximum - minimum) + kThumbWidth / 2;
}

// Tick marks under the track at chosen values; the standard value in the accent colour.
void drawTicks(QPainter& painter, const QRect& track, int minimum, int maximum, std::initializer_list<int> values,
               int standard)
{
    for (int value : values) {
        const qreal x = std::floor(thumbCentre(value, minimum, maximum, track.width()));
        const bool isStandard = value == standard;
        painter.fillRect(QRectF(x, isStandard ? 12 : 13, 1, isStandard ? 3 : 2),
                         isStandard ? palette::accent : QColor(0x6e, 0x76, 0x80));
    }
}

QImage volumeTrack(const QImage& panel)
{
    QImage picture = panel.copy(kVolumeTrack);
    QPainter painter(&picture);
    prepare(painter);
    // a ramp growing to the right: louder
    QPainterPath ramp;
    ramp.moveTo(3, 10.5);
    ramp.lineTo(148, 10.5);
    ramp.lineTo(148, 2.5);
    ramp.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x50, 0x56, 0x5e));
    painter.drawPath(ramp.translated(0, 1));
    painter.setBrush(palette::seam);
    painter.drawPath(ramp);
    QLinearGradient floor(3, 0, 148, 0);
    floor.setColorAt(0, QColor(0x1d, 0x21, 0x25));
    floor.setColorAt(1, palette::accentDeep);
    painter.setBrush(floor);
    painter.drawPath(ramp.translated(0.6, -0.6).intersected(ramp));
    drawTicks(painter, QRect(QPoint(0, 0), kVolumeTrack.size()), 0, 16,
              {0, 2, 4, 6, 8, 10, 12, 14, 16}, 16);
    return picture;
}

QImage brightnessTrack(const QImage& panel)
{
    QImage picture = panel.copy(kBrightnessTrack);
    QPainter painter(&picture);
    prepare(painter);
    const QRectF groove(3, 5, 145, 5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x50, 0x56, 0x5e));
    painter.drawRoundedRect(groove.adjusted(-1, -1, 1, 1.5), 3, 3);
    painter.setBrush(palette::seam);
    painter.drawRoundedRect(groove.adjusted(-1, -1, 1, 1), 3, 3);
    // from dark to light: brighter to the right
    QLinearGradient ramp(groove.left(), 0, groove.right(), 0);
    ramp.setColorAt(0, QColor(0x0c, 0x0d, 0x0f));
    ramp.setColorAt(1, QColor(0xee, 0xf1, 0xf4));
    painter.setBrush(ramp);
    painter.drawRoundedRect(groove, 2, 2);
    drawTicks(painter, QRect(QPoint(0, 0), kBrightnessTrack.size()), 1, 50, {1, 10, 12, 20, 30, 40, 50}, 12);
    return picture;
}

QImage thumb()
{
    QImage picture = newPicture(10, 15, palette::faceRim);
    QPainter painter(&picture);
    prepare(painter);
    QLinearGradient metal(0, 1, 0, 14);
    metal.setColorAt(0, QColor(0xd4, 0xd9, 0xdf));
    metal.setColorAt(0.5, QColor(0xa0, 0xa7, 0xb0));
    metal.setColorAt(1, QColor(0x6a, 0x71, 0x7a));
    painter.setPen(Qt::NoPen);
    painter.setBrush(metal);
    painter.drawRoundedRect(QRectF(1, 1, 8, 13), 1.5, 1.5);
    painter.fillRect(QRectF(4, 3, 2, 9), palette::accentDeep);
    painter.fillRect(QRectF(4, 3, 2, 8), palette::accent);
    return picture;
}

// The two reset buttons have no pressed or disabled picture: just the symbol
// on the panel.
QImage resetButton(const QImage& panel, const QRect& place, const QPainterPath& symbol)
{
    QImage picture = panel.copy(place);
    QPainter painter(&picture);
    prepare(painter);
    drawGlyph(painter, symbol, ButtonState::Normal);
    return picture;
}

QPainterPath openFileLabel(const QRectF& face)
{
    const QRectF folder(face.left() + 10, face.center().y() - 5.5, 14, 11);
    QPainterPath label = folderSymbol(folder);
    const QFont font = japaneseFont(12);
    const QString text = QStringLiteral("ファイルを開く");
    const QFontMetricsF metrics(font);
    const qreal left = folder.right() + (face.right() - folder.right() - metrics.horizontalAdvance(text)) / 2;
    const qreal baseline = face.center().y() + (metrics.ascent() - metrics.descent()) / 2;
    label.addText(QPointF(left, baseline), font, text);
    return label;
}

} // namespace

void drawPictureSoundPanel(SkinBook& book)
{
    const QImage panel = background();
    book.add(10024, panel);
    book.add(403, volumeTrack(panel));
    book.add(10001, brightnessTrack(panel));
    book.add(291, thumb());
    book.add(290, resetButton(panel, QRect(14, 22, 17, 15), speakerSymbol(QRectF(1.5, 1.5, 14, 12))));
    book.add(289, resetButton(panel, QRect(14, 56, 16, 16), sunSymbol(QRectF(0.5, 0.5, 15, 15))));
    drawButtonStates(book, panel, QRect(57, 97, 102, 28), {10021, 10022, 10023},
                     [](QPainter& painter, const QRectF& face, ButtonState state) {
                         drawSquareFace(painter, face, 5, state);
                         drawGlyph(painter, openFileLabel(face), state);
                     });
}
