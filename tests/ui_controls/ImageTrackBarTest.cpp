#include "ControlTestKit.h"

#include "errors/Exception.h"
#include "ui/controls/PlayTrackBar.h"
#include "ui/controls/TrackToolTip.h"

#include <QPainter>
#include <QPointer>

using namespace controls_test;

namespace {

constexpr int kTrackRed = 200;
constexpr int kFilledRed = 100;
constexpr int kThumbRed = 50;

class ImageTrackBarTest : public ControlTest {
protected:
    // A slider whose thumb travels `travel` pixels: value = pixel offset for the range 0..travel.
    std::unique_ptr<ImageTrackBar> makeBar(QWidget& owner, int width, int thumbWidth, int trackWidth = 20)
    {
        auto bar = std::make_unique<ImageTrackBar>(&owner, 10, 30, width, 10);
        bar->setImages(TrackBarImages{columnPicture(thumbWidth, 2, kThumbRed), columnPicture(trackWidth, 4, kTrackRed),
                                      columnPicture(trackWidth, 4, kFilledRed)});
        bar->setListener(&log);
        return bar;
    }
};

TEST_F(ImageTrackBarTest, DragReportsInItsOrder)
{
    auto bar = makeBar(parent, 106, 6); // travel 100 over the range 0..100
    press(*bar, {50, 5});                // not on the thumb: its left edge goes under the pointer
    EXPECT_EQ(log.take(), (Calls{"trackStarted 50", "valueChanged 50"}));
    EXPECT_TRUE(bar->isTracking());
    ASSERT_TRUE(timers.isActive(*bar, ImageTrackBar::kNotifyTimer));
    EXPECT_EQ(timers.lastInterval, 100);

    moveTo(*bar, {70, 5});
    moveTo(*bar, {72, 5});
    EXPECT_EQ(bar->value(), 72);
    EXPECT_EQ(bar->thumbX(), 72);
    EXPECT_TRUE(log.take().empty()) << "moves do not notify";
    EXPECT_TRUE(timers.fire(*bar, ImageTrackBar::kNotifyTimer));
    EXPECT_EQ(log.take(), (Calls{"valueChanged 72"}));

    release(*bar, {72, 5}); // where the last move left it
    EXPECT_EQ(log.take(), (Calls{"valueChanged 72", "trackEnded 72"}));
    EXPECT_FALSE(timers.isActive(*bar, ImageTrackBar::kNotifyTimer));

    press(*bar, {20, 5});
    release(*bar, {30, 5}); // a release that changes the value notifies twice
    EXPECT_EQ(log.take(),
              (Calls{"trackStarted 20", "valueChanged 20", "valueChanged 30", "valueChanged 30", "trackEnded 30"}));

    moveTo(*bar, {80, 5});
    release(*bar, {80, 5});
    EXPECT_EQ(bar->value(), 30) << "no drag without a press";
    EXPECT_TRUE(log.take().empty());
}

TEST_F(ImageTrackBarTest, PressOnTheThumbKeepsTheValue)
{
    auto bar = makeBar(parent, 106, 6);
    bar->setValue(40, false);
    for (const int x : {40, 43, 46}) {
        press(*bar, {x, 5});
        EXPECT_EQ(bar->value(), 40) << x;
        release(*bar, {40, 5}); // the thumb's left edge back at 40
        EXPECT_EQ(bar->value(), 40) << x;
    }
}

TEST_F(ImageTrackBarTest, TheEdgesGiveTheBoundsOfTheRange)
{
    const struct {
        int x;
        int value;
    } cases[] = {{0, 1}, {-30, 1}, {150, 50}, {400, 50}, {75, 27}};
    for (const auto& c : cases) {
        auto bar = makeBar(parent, 151, 10, 151); // the brightness slider
        bar->setRange(1, 50);
        bar->setValue(12, false);
        press(*bar, {c.x, 5});
        release(*bar, {c.x, 5});
        EXPECT_EQ(bar->value(), c.value) << c.x;
    }
}

TEST_F(ImageTrackBarTest, PixelArithmeticTruncates)
{
    auto bar = makeBar(parent, 151, 10, 151);
    bar->setRange(1, 50);
    // (v - 1) * 141 / 49
    EXPECT_EQ(bar->valueToPixel(1), 0);
    EXPECT_EQ(bar->valueToPixel(2), 2);
    EXPECT_EQ(bar->valueToPixel(12), 31);
    EXPECT_EQ(bar->valueToPixel(50), 141);
    // 1 + 49 * (x - 5) / 141
    bar->setValueFromPixel(7, false);
    EXPECT_EQ(bar->value(), 1);
    bar->setValueFromPixel(8, false);
    EXPECT_EQ(bar->value(), 2);

    bar->setRange(-2147483647 - 1, 2147483647); // no overflow at the extremes
    bar->setValueFromPixel(146, false);
    EXPECT_EQ(bar->value(), 2147483647);
    EXPECT_EQ(bar->valueToPixel(2147483647), 141);
}

TEST_F(ImageTrackBarTest, SetRangeKeepsTheValueInsideWithoutNotifying)
{
    auto bar = makeBar(parent, 106, 6);
    bar->setValue(50, false);
    bar->setRange(60, 80);
    EXPECT_EQ(bar->value(), 60);
    bar->setRange(0, 10);
    EXPECT_EQ(bar->value(), 10);
    EXPECT_EQ(bar->thumbX(), 100);
    bar->setRange(0, 20); // the value stays, its thumb follows the range
    EXPECT_EQ(bar->value(), 10);
    EXPECT_EQ(bar->thumbX(), 50);
    bar->setRange(0, -5);
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(bar->valueToPixel(0), 0);
    EXPECT_TRUE(log.take().empty());
}

TEST_F(ImageTrackBarTest, SetValueNotifiesOnlyAChangeItWasAskedToReport)
{
    const struct {
        int v;
        bool notify;
        int value;
        Calls calls;
    } cases[] = {
        {30, true, 30, {}},
        {30, false, 30, {}},
        {40, false, 40, {}},
        {40, true, 40, {"valueChanged 40"}},
        {500, true, 100, {"valueChanged 100"}},
        {-7, true, 0, {"valueChanged 0"}},
    };
    for (const auto& c : cases) {
        auto bar = makeBar(parent, 106, 6);
        bar->setValue(30, false);
        bar->setValue(c.v, c.notify);
        EXPECT_EQ(bar->value(), c.value) << c.v;
        EXPECT_EQ(bar->thumbX(), c.value) << c.v;
        EXPECT_EQ(log.take(), c.calls) << c.v;
    }
    ImageTrackBar bare(&parent, 0, 0, 100, 10); // no pictures: values still count
    bare.setListener(&log);
    bare.setValue(70, true);
    EXPECT_EQ(bare.value(), 70);
    EXPECT_EQ(bare.thumbX(), 0);
    EXPECT_EQ(log.take(), (Calls{"valueChanged 70"}));
}

TEST_F(ImageTrackBarTest, WithoutPicturesTheMouseIsIgnoredButReported)
{
    ImageTrackBar bar(&parent, 0, 0, 100, 10);
    bar.setListener(&log);
    bar.setValue(30, false);
    press(bar, {80, 5});
    release(bar, {90, 5});
    EXPECT_EQ(bar.value(), 30);
    EXPECT_EQ(log.take(), (Calls{"trackStarted 30", "valueChanged 30", "valueChanged 30", "trackEnded 30"}));
}

TEST_F(ImageTrackBarTest, ALostDragEndsOnce)
{
    for (const Interruption& lose : interruptions()) {
        QWidget owner;
        TrackToolTip tip(&owner);
        auto bar = makeBar(owner, 106, 6);
        tip.addTrackingTool(bar.get(), bar->label());
        bar->setTrackToolTip(&tip);
        owner.show(); // a dragged slider is on screen
        press(*bar, {50, 5});
        moveTo(*bar, {60, 5});
        ASSERT_EQ(tip.trackedControl(), bar.get()) << lose.name;
        lose.apply(*bar);
        EXPECT_EQ(log.take(), (Calls{"trackStarted 50", "valueChanged 50", "trackEnded 60"})) << lose.name;
        EXPECT_FALSE(bar->isTracking()) << lose.name;
        EXPECT_FALSE(timers.isActive(*bar, ImageTrackBar::kNotifyTimer)) << lose.name;
        EXPECT_EQ(tip.trackedControl(), nullptr) << lose.name;
        EXPECT_FALSE(tip.isVisible()) << lose.name;

        lose.apply(*bar);
        moveTo(*bar, {90, 5});
        release(*bar, {90, 5});
        EXPECT_EQ(bar->value(), 60) << lose.name;
        EXPECT_TRUE(log.take().empty()) << lose.name;
    }
}

TEST_F(ImageTrackBarTest, AMessageBoxFromAListenerEndsTheDragThere)
{
    for (const char* during : {"trackStarted 50", "valueChanged 50"}) {
        QWidget owner;
        TrackToolTip tip(&owner);
        auto bar = makeBar(owner, 106, 6);
        tip.addTrackingTool(bar.get(), bar->label());
        bar->setTrackToolTip(&tip);
        log.afterCall = [&](const std::string& call) {
            if (call == during)
                sendPlain(*bar, QEvent::WindowBlocked);
        };
        press(*bar, {50, 5});
        log.afterCall = nullptr;
        const Calls expected = std::string(during) == "trackStarted 50"
                                   ? Calls{"trackStarted 50", "trackEnded 50"}
                                   : Calls{"trackStarted 50", "valueChanged 50", "trackEnded 50"};
        EXPECT_EQ(log.take(), expected) << during;
        EXPECT_FALSE(timers.isActive(*bar, ImageTrackBar::kNotifyTimer)) << during;
        EXPECT_FALSE(tip.isVisible()) << during;
    }
}

TEST_F(ImageTrackBarTest, DisabledSliderStopsNotifyingAndTakesNoPress)
{
    auto bar = makeBar(parent, 106, 6);
    bar->setOwnEnabled(false);
    press(*bar, {50, 5});
    EXPECT_FALSE(bar->isTracking());
    EXPECT_EQ(bar->value(), 0);
    EXPECT_TRUE(log.take().empty());
}

TEST_F(ImageTrackBarTest, TheTipIsPlacedBeforeItShowsAndFollowsTheThumb)
{
    parent.move(100, 100);
    TrackToolTip tip(&parent);
    auto bar = makeBar(parent, 106, 6);
    bar->setRange(1, 50);
    bar->setLabelFormatter([](int v) { return QString::asprintf("%3.1f", v / 10.0); });
    tip.addTrackingTool(bar.get(), bar->label());
    bar->setTrackToolTip(&tip);

    struct PlaceAtShow : QObject {
        QPoint at;
        bool eventFilter(QObject* o, QEvent* e) override
        {
            if (e->type() == QEvent::Show)
                at = static_cast<QWidget*>(o)->geometry().topLeft();
            return false;
        }
    } watch;
    tip.installEventFilter(&watch);

    const QPoint origin = bar->mapToGlobal(QPoint(0, 0));
    press(*bar, {40, 5});
    ASSERT_TRUE(tip.isVisible());
    EXPECT_EQ(watch.at, QPoint(origin.x() + 40 + 3, origin.y() - 20));
    EXPECT_EQ(tip.toolText(bar.get()), QStringLiteral("2.0")); // 1 + 49 * 40 / 100 = 20

    moveTo(*bar, {60, 5});
    EXPECT_EQ(tip.pos(), QPoint(origin.x() + 63, origin.y() - 20));
    EXPECT_EQ(tip.toolText(bar.get()), QStringLiteral("3.0"));
    moveTo(*bar, {500, 5});
    EXPECT_EQ(tip.pos().x(), origin.x() + bar->width()) << "kept over the slider";
    moveTo(*bar, {-500, 5});
    EXPECT_EQ(tip.pos().x(), origin.x());

    release(*bar, {-500, 5});
    EXPECT_FALSE(tip.isVisible());
    EXPECT_EQ(tip.trackedControl(), nullptr);
}

// Pixel x of a grab: which picture (by red) and which of its columns (by blue).
struct Column {
    int red;
    int column;
    bool operator==(const Column&) const = default;
};

Column columnAt(const QImage& shot, int x, int y)
{
    const QRgb p = shot.pixel(x, y);
    return {qRed(p), qBlue(p)};
}

TEST_F(ImageTrackBarTest, StretchedTrackIsDrawnInThreeSlices)
{
    // thumb 6 (half 3), track 20 wide: caps of 3 columns, middle columns 3..16.
    auto bar = makeBar(parent, 50, 6);
    bar->setStretchTrack(true);
    bar->setValue(50, false);
    ASSERT_EQ(bar->thumbX(), 22);
    const QImage shot = grabOf(*bar);
    constexpr int y = 3; // below the thumb, which is 2 rows high

    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(columnAt(shot, x, y), (Column{kFilledRed, x})) << "left cap " << x;
    int last = 2;
    for (int x = 3; x < 25; ++x) { // filled: [h, h + thumbX)
        const Column c = columnAt(shot, x, y);
        EXPECT_EQ(c.red, kFilledRed) << x;
        EXPECT_GE(c.column, last) << x;
        EXPECT_LE(c.column, 16) << x;
        last = c.column;
    }
    EXPECT_EQ(columnAt(shot, 3, y).column, 3);
    EXPECT_EQ(columnAt(shot, 24, y).column, 16);
    last = 2;
    for (int x = 25; x < 47; ++x) { // empty: [thumbX + h, W - h)
        const Column c = columnAt(shot, x, y);
        EXPECT_EQ(c.red, kTrackRed) << x;
        EXPECT_GE(c.column, last) << x;
        last = c.column;
    }
    EXPECT_EQ(columnAt(shot, 25, y).column, 3);
    EXPECT_EQ(columnAt(shot, 46, y).column, 16);
    for (int x = 47; x < 50; ++x)
        EXPECT_EQ(columnAt(shot, x, y), (Column{kTrackRed, x - 30})) << "right cap " << x;

    for (int x = 22; x < 28; ++x)
        EXPECT_EQ(columnAt(shot, x, 0), (Column{kThumbRed, x - 22})) << "thumb " << x;
    EXPECT_EQ(shot.pixel(10, 4), buttonFace(*bar)) << "below the track";
}

TEST_F(ImageTrackBarTest, UnstretchedTrackIsDrawnOnceWithoutAFilledPart)
{
    auto bar = makeBar(parent, 50, 6);
    bar->setValue(50, false);
    const QImage shot = grabOf(*bar);
    EXPECT_EQ(columnAt(shot, 5, 3), (Column{kTrackRed, 5}));
    EXPECT_EQ(columnAt(shot, 19, 3), (Column{kTrackRed, 19}));
    EXPECT_EQ(shot.pixel(30, 3), buttonFace(*bar));
}

TEST_F(ImageTrackBarTest, ThumbAsWideAsThePictureLeavesTheTrackUndrawn)
{
    auto bar = makeBar(parent, 50, 20, 20);
    bar->setStretchTrack(true);
    bar->setValue(100, false);
    ASSERT_EQ(bar->thumbX(), 30);
    const QImage shot = grabOf(*bar);
    for (const int x : {0, 10, 29, 30, 49})
        EXPECT_EQ(shot.pixel(x, 3), buttonFace(*bar)) << x;
    EXPECT_EQ(columnAt(shot, 30, 0), (Column{kThumbRed, 0}));
}

TEST_F(ImageTrackBarTest, SliderNoWiderThanItsThumbNeitherMovesNorMirrors)
{
    for (const int width : {10, 6}) {
        auto bar = makeBar(parent, width, 10, 20); // half 5
        bar->setStretchTrack(true);
        bar->setValue(60, false);
        EXPECT_EQ(bar->thumbX(), 0) << width;
        EXPECT_EQ(bar->valueToPixel(100), 0) << width;
        press(*bar, {width - 1, 5});
        moveTo(*bar, {0, 5});
        release(*bar, {width, 5});
        EXPECT_EQ(bar->value(), 60) << width;
        EXPECT_EQ(log.take(), (Calls{"trackStarted 60", "valueChanged 60", "valueChanged 60", "trackEnded 60"}));

        // Left cap [0, 5), then the right cap [width - 5, width) over it;
        // the empty part would run backwards and is left out.
        const QImage shot = grabOf(*bar);
        for (int x = 0; x < width; ++x) {
            const Column expected = x >= width - 5 ? Column{kTrackRed, x - width + 20} : Column{kFilledRed, x};
            EXPECT_EQ(columnAt(shot, x, 3), expected) << width << " at " << x;
        }
    }
}

class PlayTrackBarTest : public ImageTrackBarTest {};

TEST_F(PlayTrackBarTest, SitsAtItsPlaceInThePanel)
{
    PlayTrackBar bar(&parent);
    EXPECT_EQ(bar.geometry(), QRect(249, 26, 526, 30));
    EXPECT_EQ(bar.parentWidget(), &parent);
    EXPECT_TRUE(bar.marks().empty());
}

TEST_F(PlayTrackBarTest, MarksStandOverTheirFrames)
{
    const AlphaImage mark(PlayTrackBar::kMarkImage);
    ASSERT_EQ(mark.width(), 18);
    ASSERT_EQ(mark.height(), 20);
    QImage markShot(18, 20, QImage::Format_RGB32);
    {
        QPainter painter(&markShot);
        mark.drawAt(painter, 0, 0);
    }

    // thumb 24 x 4, range 0..1000 over 502 pixels: a mark's left edge is
    // trunc(m * 502 / 1000) + 12 - 9 + 2.
    const struct {
        std::vector<int> marks;
        std::vector<int> lefts;
    } cases[] = {
        {{0}, {5}},
        {{500, 1000}, {256, 507}},
        {{1}, {}},  // lands on pixel 0 but is not frame 0
        {{-5}, {}}, // no frame
        {{999, 0, -1}, {506, 5}},
    };
    auto makePlayBar = [&] {
        auto bar = std::make_unique<PlayTrackBar>(&parent);
        bar->setImages(TrackBarImages{columnPicture(24, 4, kThumbRed), columnPicture(526, 30, kTrackRed), nullptr});
        bar->setStretchTrack(true);
        bar->setRange(0, 1000);
        bar->setValue(250, false);
        return bar;
    };
    const QImage bare = grabOf(*makePlayBar());
    for (const auto& c : cases) {
        auto bar = makePlayBar();
        bar->setMarks(c.marks);
        QImage expected = bare;
        {
            QPainter painter(&expected);
            for (const int left : c.lefts)
                painter.drawImage(left, PlayTrackBar::kMarkTop, markShot);
        }
        EXPECT_EQ(grabOf(*bar), expected) << c.marks.size() << " marks from " << c.marks.front();
    }
}

TEST_F(PlayTrackBarTest, AHalfBuiltSliderLeavesNothingBehind)
{
    const auto widgetsBefore = QApplication::allWidgets().size();
    EXPECT_THROW(PlayTrackBar(&parent, 9), WindowException); // no picture 9
    EXPECT_TRUE(parent.children().isEmpty());
    EXPECT_EQ(QApplication::allWidgets().size(), widgetsBefore);
}

TEST_F(ImageTrackBarTest, AMissingPictureKeepsTheOldOnes)
{
    auto bar = makeBar(parent, 106, 6);
    bar->setValue(40, false);
    EXPECT_THROW(bar->setImages(10031, 9, 0), WindowException);
    EXPECT_EQ(bar->valueToPixel(100), 100);
    EXPECT_EQ(columnAt(grabOf(*bar), 40, 0), (Column{kThumbRed, 0}));
}

} // namespace
