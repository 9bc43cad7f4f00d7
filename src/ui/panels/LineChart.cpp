#include "ui/panels/LineChart.h"

#include "recording/VideoInfo.h"
#include "ui/framework/SystemColours.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <algorithm>

ChartGeometry ChartGeometry::of(QSize client, QSize valueTextSize, QSize countTextSize)
{
    ChartGeometry g;
    g.plotLeft = valueTextSize.width() + 10;
    g.plotTop = 13;
    g.plotRight = client.width() - countTextSize.width() - 55;
    g.plotBottom = client.height() - valueTextSize.height() - 23;
    g.pictureSize = QSize(client.width() - 45, client.height() - 18);
    return g;
}

bool ChartGeometry::canDraw() const
{
    return pictureSize.width() > 0 && pictureSize.height() > 0 && plotRight > plotLeft && plotBottom > plotTop;
}

int ChartGeometry::lineX(std::int64_t index, std::int64_t frameCount) const
{
    if (frameCount <= 1)
        return plotLeft;
    return plotLeft + static_cast<int>(index * (plotRight - plotLeft) / (frameCount - 1));
}

int ChartGeometry::positionX(std::int64_t frame, std::int64_t frameCount) const
{
    if (frameCount <= 1)
        return plotRight;
    const std::int64_t held = std::clamp<std::int64_t>(frame, 0, frameCount - 1);
    return plotLeft + static_cast<int>(held * (plotRight - plotLeft) / (frameCount - 1));
}

int ChartGeometry::gY(double g) const
{
    // A magnitude is never negative nor above 2 G; holding it there keeps
    // the conversion to int defined whatever a damaged file says.
    if (!(g > 0.0))
        g = 0.0;
    else if (g > 2.0)
        g = 2.0;
    return static_cast<int>(plotTop + (2.0 - g) * (plotBottom - plotTop) / 2.0);
}

namespace {

// Only the margins come from this font; no text is drawn.
QFont chartLabelFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP"),
                      QStringLiteral("VL Gothic")});
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(13);
    font.setWeight(QFont::Normal);
    return font;
}

QSize textSize(const QFontMetrics& metrics, const QString& text)
{
    return {metrics.horizontalAdvance(text), metrics.height()};
}

const QColor kGridColour(128, 128, 128);
const QColor kLineColour(255, 165, 0);
const QColor kPositionColour(255, 255, 0);

} // namespace

LineChart::LineChart(QWidget* parent, const VideoPlayer& player)
    : LineChart(parent, std::make_unique<PlayerShownRecording>(player))
{
}

LineChart::LineChart(QWidget* parent, std::unique_ptr<IShownRecording> shown)
    : Window(parent), shown_(std::move(shown))
{
    const QFontMetrics metrics(chartLabelFont());
    valueTextSize_ = textSize(metrics, QStringLiteral("+0.00"));
    countTextSize_ = textSize(metrics, QStringLiteral("999"));
    geometry_ = ChartGeometry::of(size(), valueTextSize_, countTextSize_);
}

void LineChart::clearPicture()
{
    if (picture_.isNull())
        return;
    picture_ = QImage();
    if (isOwnEnabled())
        repaint();
}

void LineChart::paintFrame(QPainter& painter)
{
    if (!leftEnd_.image() || !middle_.image() || !rightEnd_.image()) {
        painter.fillRect(rect(), buttonFaceColour());
        return;
    }
    const int a = leftEnd_.width();
    const int d = width() - rightEnd_.width();
    if (a < d)
        middle_.drawStretched(painter, a, 0, d - a, middle_.height());
    rightEnd_.drawAt(painter, d, 0);
    leftEnd_.drawAt(painter, 0, 0);
}

// The cached picture, drawn first when there is none, then the play position
// over it.
void LineChart::paintChart(QPainter& painter)
{
    if (!geometry_.canDraw())
        return;
    if (picture_.isNull()) {
        QImage picture(geometry_.pictureSize, QImage::Format_RGB32);
        picture.fill(Qt::black);
        QPainter pen(&picture);
        drawChartPicture(pen);
        picture_ = std::move(picture);
        ++picturesDrawn_;
    }
    painter.drawImage(ChartGeometry::kPictureAt, picture_);

    const IVideoInfo* info = shown_->info();
    const int n = info ? info->frameCount() : 0;
    if (n <= 0)
        return;
    const int x = geometry_.positionX(shown_->currentFrame(), n) + ChartGeometry::kPictureAt.x();
    // Two pixels wide (the column before x and x itself), from the top of
    // the plot down to two rows above the time axis.
    const int top = geometry_.plotTop + ChartGeometry::kPictureAt.y();
    const int bottom = geometry_.plotBottom + ChartGeometry::kPictureAt.y() - 2;
    painter.fillRect(QRect(x - 1, top, 2, bottom - top + 1), kPositionColour);
}

// Grid, axes and the G line of the open recording; frames without a record
// are passed over and the line joins their neighbours.
void LineChart::drawChartPicture(QPainter& painter) const
{
    const ChartGeometry& g = geometry_;
    const int height = g.plotBottom - g.plotTop;
    painter.setPen(QPen(kGridColour, 1, Qt::DotLine));
    for (int k = 0; k <= 4; ++k) {
        const int y = g.plotTop + k * height / 4;
        painter.drawLine(g.plotLeft, y, g.plotRight, y);
    }
    painter.setPen(QPen(Qt::white, 1));
    painter.drawLine(g.plotLeft, g.plotTop, g.plotLeft, g.plotBottom);
    painter.drawLine(g.plotLeft, g.plotBottom, g.plotRight, g.plotBottom);

    const IVideoInfo* info = shown_->info();
    const int n = info ? info->frameCount() : 0;
    QPolygon line;
    for (int j = 0; j < n; ++j) {
        const FrameRecord* record = info->frameAt(j);
        if (!record)
            continue;
        const int y = g.gY(record->gMagnitude);
        if (line.isEmpty())
            line << QPoint(g.plotLeft, y); // the line starts at the left edge
        line << QPoint(g.lineX(j, n), y);
    }
    if (line.isEmpty())
        return;
    painter.setPen(QPen(kLineColour, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(line);
}

bool LineChart::handleMessage(QEvent* event)
{
    switch (event->type()) {
    case QEvent::Resize:
        geometry_ = ChartGeometry::of(size(), valueTextSize_, countTextSize_);
        picture_ = QImage();
        return true;
    case QEvent::Paint: {
        QPainter painter(this);
        paintFrame(painter);
        paintChart(painter);
        return true;
    }
    case QEvent::MouseButtonPress:
        return true;
    default:
        return Window::handleMessage(event);
    }
}
