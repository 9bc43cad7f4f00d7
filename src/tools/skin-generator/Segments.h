#pragma once

#include <QChar>
#include <QColor>
#include <QRectF>

class QPainter;

// Seven-segment figures for the date and time readout. Bits: 0 top,
// 1 upper right, 2 lower right, 3 bottom, 4 lower left, 5 upper left, 6 middle.
int segmentsOf(QChar figure);

struct SegmentLook {
    qreal thickness;
    qreal gap;     // space between neighbouring segments
    QColor lit;
    QColor unlit;  // the faint segments of an unlit display
    qreal glow;    // width of the halo around lit segments, 0 for none
};

void drawSegments(QPainter& painter, const QRectF& box, int lit, const SegmentLook& look);
