#include "Art.h"

#include "Palette.h"
#include "SkinBook.h"
#include "SkinPaint.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <algorithm>

namespace {

// The camera mark: a lens in cyan with a red recording light, drawn in a
// square box so the logo and the program icon share it.
void drawLens(QPainter& painter, QPointF centre, qreal radius)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette::faceRim);
    painter.drawEllipse(centre, radius, radius);
    QLinearGradient ring(centre.x(), centre.y() - radius, centre.x(), centre.y() + radius);
    ring.setColorAt(0, palette::accent.lighter(120));
    ring.setColorAt(1, palette::accentDeep);
    painter.setBrush(ring);
    painter.drawEllipse(centre, radius * 0.88, radius * 0.88);
    QRadialGradient glass(centre.x() - radius * 0.2, centre.y() - radius * 0.25, radius * 0.75);
    glass.setColorAt(0, QColor(0x2a, 0x3c, 0x4a));
    glass.setColorAt(1, QColor(0x05, 0x07, 0x09));
    painter.setBrush(glass);
    painter.drawEllipse(centre, radius * 0.66, radius * 0.66);
    painter.setBrush(QColor(255, 255, 255, 170));
    painter.drawEllipse(QPointF(centre.x() - radius * 0.24, centre.y() - radius * 0.26), radius * 0.14,
                        radius * 0.14);
    painter.restore();
}

void drawRecordingLight(QPainter& painter, QPointF centre, qreal radius)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    QRadialGradient light(centre.x() - radius * 0.3, centre.y() - radius * 0.3, radius * 1.2);
    light.setColorAt(0, palette::event.lighter(140));
    light.setColorAt(1, palette::eventDeep);
    painter.setBrush(light);
    painter.drawEllipse(centre, radius, radius);
    painter.restore();
}

// A drive recorder seen from the front: body on its windscreen mount.
void drawCameraMark(QPainter& painter, const QRectF& box)
{
    const qreal unit = box.width() / 56.0;
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x15, 0x17, 0x1a));
    const QRectF mount(box.center().x() - 9 * unit, box.top(), 18 * unit, 8 * unit);
    painter.drawRoundedRect(mount, 2 * unit, 2 * unit);
    const QRectF body(box.left(), box.top() + 6 * unit, box.width(), box.height() - 6 * unit);
    painter.setBrush(palette::faceRim);
    painter.drawRoundedRect(body, 8 * unit, 8 * unit);
    QLinearGradient shell(0, body.top(), 0, body.bottom());
    shell.setColorAt(0, QColor(0x5b, 0x62, 0x6b));
    shell.setColorAt(1, QColor(0x2b, 0x2f, 0x35));
    painter.setBrush(shell);
    painter.drawRoundedRect(body.adjusted(unit, unit, -unit, -unit), 7 * unit, 7 * unit);
    painter.restore();
    drawLens(painter, QPointF(body.center().x() - 4 * unit, body.center().y()), 14 * unit);
    drawRecordingLight(painter, QPointF(body.right() - 8 * unit, body.top() + 8 * unit), 3 * unit);
}

} // namespace

void drawStartLogo(SkinBook& book)
{
    // shown on the white video area before anything is opened
    QImage logo = newPicture(280, 73, Qt::white);
    QPainter painter(&logo);
    prepare(painter);
    const QRectF plate(0.5, 0.5, 279, 72);
    painter.setPen(QPen(palette::seam, 1));
    QLinearGradient surface(0, 0, 0, 73);
    surface.setColorAt(0, palette::surfaceTop);
    surface.setColorAt(1, palette::surfaceBottom);
    painter.setBrush(surface);
    painter.drawRoundedRect(plate, 10, 10);
    painter.setPen(QPen(QColor(0x6a, 0x71, 0x7a), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(plate.adjusted(1, 1, -1, -1), 9, 9);

    drawCameraMark(painter, QRectF(16, 14, 56, 44));

    drawEngraved(painter, QRectF(86, 10, 184, 34), QStringLiteral("KVR-M48C"), latinFont(29, true), palette::ink,
                 Qt::AlignLeft | Qt::AlignVCenter);
    painter.fillRect(QRectF(88, 44, 26, 2), palette::accent);
    drawEngraved(painter, QRectF(88, 48, 184, 16), QStringLiteral("ドライブレコーダー ビューア"),
                 japaneseFont(12), palette::inkDim, Qt::AlignLeft | Qt::AlignVCenter);
    painter.end();
    book.add(285, logo);
}

QImage drawProgramIcon(int size)
{
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    prepare(painter);
    const qreal s = size;
    const QRectF tile(s * 0.03, s * 0.03, s * 0.94, s * 0.94);
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette::faceRim);
    painter.drawRoundedRect(tile, s * 0.2, s * 0.2);
    QLinearGradient surface(0, tile.top(), 0, tile.bottom());
    surface.setColorAt(0, palette::surfaceTop.lighter(115));
    surface.setColorAt(1, palette::surfaceBottom);
    painter.setBrush(surface);
    const qreal edge = std::max(1.0, s / 32);
    painter.drawRoundedRect(tile.adjusted(edge, edge, -edge, -edge), s * 0.18, s * 0.18);
    drawLens(painter, QPointF(s * 0.47, s * 0.53), s * 0.33);
    drawRecordingLight(painter, QPointF(s * 0.8, s * 0.2), std::max(1.2, s * 0.085));
    return icon;
}
