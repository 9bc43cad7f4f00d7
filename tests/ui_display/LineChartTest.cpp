#include "DisplayTestKit.h"

#include "ui/panels/LineChart.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

using namespace display_test;

namespace {

const QRgb kOrange = qRgb(255, 165, 0);
const QRgb kYellow = qRgb(255, 255, 0);

ChartGeometry referenceGeometry()
{
    return ChartGeometry::of({1000, 90}, {35, 13}, {21, 13});
}

TEST(ChartGeometry, MarginsFollowTheWindowAndTheLabelTexts)
{
    const struct {
        QSize client, valueText, countText;
        int left, top, right, bottom;
        QSize picture;
        bool drawable;
    } cases[] = {
        {{1000, 90}, {35, 13}, {21, 13}, 45, 13, 924, 54, {955, 72}, true},
        {{874, 90}, {40, 16}, {24, 16}, 50, 13, 795, 51, {829, 72}, true},
        {{1000, 90}, {0, 0}, {0, 0}, 10, 13, 945, 67, {955, 72}, true},
        {{100, 90}, {35, 13}, {21, 13}, 45, 13, 24, 54, {55, 72}, false},  // plot turned inside out
        {{1000, 49}, {35, 13}, {21, 13}, 45, 13, 924, 13, {955, 31}, false}, // no plot height
        {{45, 90}, {35, 13}, {21, 13}, 45, 13, -31, 54, {0, 72}, false},     // no picture
        {{0, 0}, {35, 13}, {21, 13}, 45, 13, -76, -36, {-45, -18}, false},
    };
    for (const auto& c : cases) {
        const ChartGeometry g = ChartGeometry::of(c.client, c.valueText, c.countText);
        EXPECT_EQ(g.plotLeft, c.left);
        EXPECT_EQ(g.plotTop, c.top);
        EXPECT_EQ(g.plotRight, c.right);
        EXPECT_EQ(g.plotBottom, c.bottom);
        EXPECT_EQ(g.pictureSize, c.picture);
        EXPECT_EQ(g.canDraw(), c.drawable) << c.client.width() << "x" << c.client.height();
    }
    EXPECT_EQ(ChartGeometry::kPictureAt, QPoint(20, 7));
}

TEST(ChartGeometry, GValuesOnAFixedScale)
{
    const ChartGeometry g = referenceGeometry(); // plot height 41
    const struct {
        double g;
        int y;
    } cases[] = {
        {2.0, 13},  {0.0, 54},  {1.0, 33}, // 33.5 truncated
        {1.5, 23},  {0.37, 46}, {0.01, 53},
        {2.5, 13},  {-1.0, 54}, {std::numeric_limits<double>::quiet_NaN(), 54},
        {std::numeric_limits<double>::infinity(), 13},
    };
    for (const auto& c : cases)
        EXPECT_EQ(g.gY(c.g), c.y) << c.g;
}

TEST(ChartGeometry, FramesAcrossThePlot)
{
    const ChartGeometry g = referenceGeometry(); // plot width 879
    const struct {
        std::int64_t frame, count;
        int lineX, positionX; // lineX -1: not a frame of the line
    } cases[] = {
        {0, 1, 45, 924}, // one frame: its point at the left, the position at the right
        {0, 100, 45, 45},
        {50, 100, 45 + 50 * 879 / 99, 45 + 50 * 879 / 99},
        {99, 100, 924, 924},
        {1, 2, 924, 924},
        // Positions outside the recording are held to its ends.
        {-5, 100, -1, 45},
        {500, 100, -1, 924},
        // Long recordings: index times width passes 32 bits.
        {2'999'999, 3'000'000, 924, 924},
        {1'500'000, 3'000'000, 45 + static_cast<int>(1'500'000LL * 879 / 2'999'999), 45 + 439},
    };
    for (const auto& c : cases) {
        if (c.lineX >= 0) {
            EXPECT_EQ(g.lineX(c.frame, c.count), c.lineX) << c.frame << "/" << c.count;
        }
        EXPECT_EQ(g.positionX(c.frame, c.count), c.positionX) << c.frame << "/" << c.count;
    }
}

// A chart over a recording the test controls, at the main window's strip size.
class LineChartTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { qtApp(); }

    LineChartTest() : chart(nullptr, std::make_unique<FakeShownRecording>(shown))
    {
        chart.resize(1000, 90);
        chart.show();
        QApplication::processEvents(); // shown and exposed: repaint() paints at once
    }

    // The window column of a plot x, and the window row of a plot y.
    static int column(int plotX) { return plotX + ChartGeometry::kPictureAt.x(); }
    static int row(int plotY) { return plotY + ChartGeometry::kPictureAt.y(); }

    // The G line is two pixels wide: a point of it covers part of the 2 x 2
    // block ending at it.
    static bool orangeAt(const QImage& screen, int x, int y)
    {
        for (const QPoint p : {QPoint(x, y), QPoint(x - 1, y), QPoint(x, y - 1), QPoint(x - 1, y - 1)})
            if (screen.pixel(p) == kOrange)
                return true;
        return false;
    }

    int yellowColumns(const QImage& screen, int y) const
    {
        int n = 0;
        for (int x = 0; x < screen.width(); ++x)
            n += screen.pixel(x, y) == kYellow;
        return n;
    }

    ShownState shown;
    LineChart chart;
};

TEST_F(LineChartTest, DrawsTheGLineAndThePlayPosition)
{
    FakeVideoInfo info;
    for (int i = 0; i < 100; ++i)
        info.frames.push_back(FakeVideoInfo::at(0, i < 50 ? 0.5 : 1.5));
    info.frames[30].reset(); // passed over: the line joins 29 and 31
    shown.info = &info;
    shown.frame = 50;
    chart.clearPicture();

    const ChartGeometry& g = chart.chartGeometry();
    ASSERT_TRUE(g.canDraw());
    const QImage screen = grabOf(chart);
    for (int j : {0, 10, 30, 49, 60, 98})
        EXPECT_TRUE(orangeAt(screen, column(g.lineX(j, 100)), row(g.gY(j < 50 ? 0.5 : 1.5)))) << "frame " << j;
    // The position line: frame 50's column and the one before, from the top
    // of the plot to two rows above the time axis.
    const int x = column(g.positionX(50, 100));
    for (int y = 0; y < screen.height(); ++y) {
        const bool inside = y >= row(g.plotTop) && y <= row(g.plotBottom) - 2;
        EXPECT_EQ(screen.pixel(x, y) == kYellow, inside) << y;
        EXPECT_EQ(screen.pixel(x - 1, y) == kYellow, inside) << y;
        EXPECT_EQ(yellowColumns(screen, y), inside ? 2 : 0) << y;
    }
}

TEST_F(LineChartTest, PositionOutsideTheRecordingStaysAtItsEnds)
{
    FakeVideoInfo info;
    info.frames.assign(10, FakeVideoInfo::at(0, 1.0));
    shown.info = &info;
    const ChartGeometry& g = chart.chartGeometry();
    const int middle = row((g.plotTop + g.plotBottom) / 2);
    for (const auto& [frame, plotX] : {std::pair{25, g.plotRight}, std::pair{-3, g.plotLeft}}) {
        shown.frame = frame;
        EXPECT_EQ(grabOf(chart).pixel(column(plotX), middle - 3), kYellow) << frame;
    }
}

TEST_F(LineChartTest, NoRecordingDrawsGridAndAxesWithoutLines)
{
    const QImage screen = grabOf(chart);
    const ChartGeometry& g = chart.chartGeometry();
    EXPECT_EQ(screen.pixel(column(g.plotLeft), row(g.plotTop + 5)), qRgb(255, 255, 255));
    EXPECT_EQ(screen.pixel(column(g.plotLeft + 100), row(g.plotBottom)), qRgb(255, 255, 255));
    int grey = 0, lines = 0;
    for (int x = column(g.plotLeft + 1); x < column(g.plotRight); ++x) {
        grey += screen.pixel(x, row(g.plotTop)) == qRgb(128, 128, 128);
        for (int y = row(g.plotTop); y < row(g.plotBottom); ++y)
            lines += screen.pixel(x, y) == kOrange || screen.pixel(x, y) == kYellow;
    }
    EXPECT_GT(grey, 100); // dotted
    EXPECT_EQ(lines, 0);
}

TEST_F(LineChartTest, PictureIsDrawnOncePerRecordingAndSize)
{
    FakeVideoInfo calm, braking;
    calm.frames.assign(50, FakeVideoInfo::at(0, 0.0));
    braking.frames.assign(50, FakeVideoInfo::at(0, 2.0));
    const ChartGeometry& g = chart.chartGeometry();
    const QPoint topOfPlot(column(g.lineX(25, 50)), row(g.plotTop));

    chart.repaint();
    const int atStart = chart.picturesDrawn();
    EXPECT_TRUE(chart.hasPicture());

    int expected = atStart;
    for (const FakeVideoInfo* opened : {&calm, &braking, &calm}) {
        shown.info = opened;
        shown.frame = 0;
        chart.clearPicture(); // what opening a recording does
        EXPECT_EQ(chart.picturesDrawn(), ++expected);
        for (int tick = 0; tick < 20; ++tick) {
            shown.frame = tick;
            chart.repaint();
        }
        EXPECT_EQ(chart.picturesDrawn(), expected);
        EXPECT_EQ(orangeAt(grabOf(chart), topOfPlot.x(), topOfPlot.y() + 1), opened == &braking);
    }

    chart.resize(900, 90);
    chart.repaint();
    EXPECT_EQ(chart.picturesDrawn(), ++expected);
    chart.repaint();
    EXPECT_EQ(chart.picturesDrawn(), expected);
}

TEST_F(LineChartTest, ClearingADisabledChartStillForgetsTheOldRecording)
{
    FakeVideoInfo braking;
    braking.frames.assign(50, FakeVideoInfo::at(0, 2.0));
    shown.info = &braking;
    chart.repaint();
    ASSERT_TRUE(chart.hasPicture());

    chart.setOwnEnabled(false);
    shown.info = nullptr;
    const int before = chart.picturesDrawn();
    chart.clearPicture();
    EXPECT_FALSE(chart.hasPicture());
    EXPECT_EQ(chart.picturesDrawn(), before); // not repainted while disabled

    chart.setOwnEnabled(true);
    const ChartGeometry& g = chart.chartGeometry();
    EXPECT_NE(grabOf(chart).pixel(column(g.lineX(25, 50)), row(g.plotTop)), kOrange);
}

TEST_F(LineChartTest, TooSmallAChartDrawsNothingButItsFrame)
{
    FakeVideoInfo info;
    info.frames.assign(10, FakeVideoInfo::at(0, 1.0));
    shown.info = &info;
    for (const QSize size : {QSize(40, 90), QSize(100, 90), QSize(1000, 30), QSize(0, 0)}) {
        chart.resize(size);
        const int before = chart.picturesDrawn();
        const QImage screen = grabOf(chart);
        EXPECT_EQ(chart.picturesDrawn(), before) << size.width() << "x" << size.height();
        EXPECT_FALSE(chart.hasPicture());
        for (int y = 0; y < screen.height(); ++y)
            for (int x = 0; x < screen.width(); ++x)
                ASSERT_NE(screen.pixel(x, y), kYellow) << size.width() << "x" << size.height();
    }
}

} // namespace
