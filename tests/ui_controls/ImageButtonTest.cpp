#include "ControlTestKit.h"

#include "errors/Exception.h"
#include "ui/controls/PlayButton.h"

#include <QPainter>

using namespace controls_test;

namespace {

class ImageButtonTest : public ControlTest {
protected:
    static constexpr int kW = 30;
    static constexpr int kH = 20;

    std::unique_ptr<ImageButton> makeButton(QWidget& owner)
    {
        auto button = std::make_unique<ImageButton>(&owner, 5, 5, kW, kH);
        button->setListener(&log);
        return button;
    }
};

TEST_F(ImageButtonTest, HeldButtonRepeatsAndClicksOnReleaseInside)
{
    auto button = makeButton(parent);
    press(*button, {10, 10});
    EXPECT_EQ(log.take(), (Calls{"pressed down"}));
    ASSERT_TRUE(timers.isActive(*button, ImageButton::kRepeatTimer));
    EXPECT_EQ(timers.lastInterval, 100);
    EXPECT_TRUE(timers.fire(*button, ImageButton::kRepeatTimer));
    EXPECT_TRUE(timers.fire(*button, ImageButton::kRepeatTimer));
    EXPECT_EQ(log.take(), (Calls{"pressed down", "pressed down"}));

    release(*button, {10, 10});
    EXPECT_EQ(log.take(), (Calls{"clicked"})) << "released before the click is reported";
    EXPECT_FALSE(timers.isActive(*button, ImageButton::kRepeatTimer));
}

TEST_F(ImageButtonTest, ReleaseClicksOnlyInsideTheButton)
{
    const struct {
        QPoint at;
        bool clicks;
    } cases[] = {
        {{0, 0}, true},           {{kW - 1, kH - 1}, true}, {{-1, 5}, false},
        {{kW, 5}, false},         {{5, kH}, false},         {{5, -1}, false},
    };
    for (const auto& c : cases) {
        auto button = makeButton(parent);
        press(*button, {5, 5});
        release(*button, c.at);
        const Calls expected = c.clicks ? Calls{"pressed down", "clicked"} : Calls{"pressed down"};
        EXPECT_EQ(log.take(), expected) << c.at.x() << "," << c.at.y();
        EXPECT_FALSE(button->isDown());
    }
}

TEST_F(ImageButtonTest, ReleaseWithoutAPressOnTheButtonIsNoClick)
{
    auto button = makeButton(parent);
    release(*button, {5, 5}); // pressed elsewhere, released here
    sendKey(*button, QEvent::KeyRelease, Qt::Key_Return);
    sendMouse(*button, QEvent::MouseButtonPress, {5, 5}, Qt::RightButton);
    sendMouse(*button, QEvent::MouseButtonRelease, {5, 5}, Qt::RightButton);
    EXPECT_TRUE(log.take().empty());
}

TEST_F(ImageButtonTest, EnterPressesAndItsReleaseClicks)
{
    auto button = makeButton(parent);
    for (const int key : {Qt::Key_Return, Qt::Key_Enter}) {
        sendKey(*button, QEvent::KeyPress, key);
        sendKey(*button, QEvent::KeyPress, key, true); // held key repeats
        sendKey(*button, QEvent::KeyRelease, key, true);
        EXPECT_TRUE(timers.fire(*button, ImageButton::kRepeatTimer));
        sendKey(*button, QEvent::KeyRelease, key);
        EXPECT_EQ(log.take(), (Calls{"pressed down", "pressed down", "clicked"})) << key;
        EXPECT_FALSE(timers.isActive(*button, ImageButton::kRepeatTimer));
    }
    sendKey(*button, QEvent::KeyPress, Qt::Key_Space);
    sendKey(*button, QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_TRUE(log.take().empty());
}

TEST_F(ImageButtonTest, EnterIsIgnoredWhileTheMouseHoldsTheButton)
{
    auto button = makeButton(parent);
    press(*button, {5, 5});
    sendKey(*button, QEvent::KeyPress, Qt::Key_Return);
    sendKey(*button, QEvent::KeyRelease, Qt::Key_Return);
    EXPECT_TRUE(button->isDown());
    release(*button, {5, 5});
    EXPECT_EQ(log.take(), (Calls{"pressed down", "clicked"}));
}

TEST_F(ImageButtonTest, DisabledButtonStopsRepeatingAndTakesNoPress)
{
    auto button = makeButton(parent);
    press(*button, {5, 5});
    button->setOwnEnabled(false);
    EXPECT_FALSE(timers.fire(*button, ImageButton::kRepeatTimer));
    release(*button, {5, 5});
    press(*button, {5, 5});
    sendKey(*button, QEvent::KeyPress, Qt::Key_Return);
    EXPECT_EQ(log.take(), (Calls{"pressed down"}));
}

TEST_F(ImageButtonTest, ALostPressStopsRepeatingAndNeverClicks)
{
    for (const Interruption& lose : interruptions()) {
        QWidget owner;
        auto button = makeButton(owner);
        owner.show(); // a pressed button is on screen
        press(*button, {5, 5});
        lose.apply(*button);
        EXPECT_FALSE(button->isDown()) << lose.name;
        EXPECT_FALSE(timers.isActive(*button, ImageButton::kRepeatTimer)) << lose.name;
        release(*button, {5, 5});
        EXPECT_EQ(log.take(), (Calls{"pressed down"})) << lose.name;
    }
}

TEST_F(ImageButtonTest, AKeyHoldEndsWhenTheFocusLeaves)
{
    auto button = makeButton(parent);
    sendKey(*button, QEvent::KeyPress, Qt::Key_Return);
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(button.get(), &out);
    sendKey(*button, QEvent::KeyRelease, Qt::Key_Return);
    EXPECT_FALSE(timers.isActive(*button, ImageButton::kRepeatTimer));
    EXPECT_EQ(log.take(), (Calls{"pressed down"}));
}

TEST_F(ImageButtonTest, AMessageBoxFromPressedStartsNoRepeat)
{
    auto button = makeButton(parent);
    log.afterCall = [&](const std::string&) { sendPlain(*button, QEvent::WindowBlocked); };
    press(*button, {5, 5});
    EXPECT_FALSE(timers.isActive(*button, ImageButton::kRepeatTimer));
    EXPECT_FALSE(button->isDown());
}

// Which picture shows, and where, for each state of the button.
TEST_F(ImageButtonTest, PaintsThePictureOfItsState)
{
    constexpr int kNormal = 10, kPressed = 20, kDisabled = 30;
    enum class State { Up, Down, Disabled };
    const struct {
        const char* what;
        bool frame, pressedPicture, disabledPicture;
        State state;
        int red;     // the picture expected, 0 for none
        int shift;   // rows it is drawn lower
    } cases[] = {
        {"up", true, true, true, State::Up, kNormal, 0},
        {"down with a pressed picture", false, true, true, State::Down, kPressed, 0},
        {"down, frame, no pressed picture", true, false, false, State::Down, kNormal, 1},
        {"down, no frame, no pressed picture", false, false, false, State::Down, 0, 0},
        {"disabled", true, true, true, State::Disabled, kDisabled, 0},
        {"disabled without its picture", true, true, false, State::Disabled, kNormal, 0},
    };
    for (const auto& c : cases) {
        auto button = makeButton(parent);
        button->setDrawFrame(c.frame);
        button->setImages(ButtonImages{columnPicture(kW, kH, kNormal),
                                       c.pressedPicture ? columnPicture(kW, kH, kPressed) : nullptr,
                                       c.disabledPicture ? columnPicture(kW, kH, kDisabled) : nullptr});
        if (c.state == State::Down)
            press(*button, {5, 5});
        if (c.state == State::Disabled)
            button->setOwnEnabled(false);
        const QImage shot = grabOf(*button);
        const QRgb centre = shot.pixel(7, 9);
        if (c.red == 0) {
            EXPECT_EQ(centre, buttonFace(*button)) << c.what;
            continue;
        }
        EXPECT_EQ(qRed(centre), c.red) << c.what;
        EXPECT_EQ(qBlue(centre), 7) << c.what;
        EXPECT_EQ(qGreen(centre), 9 - c.shift) << c.what;
    }
}

TEST_F(ImageButtonTest, AMissingPictureKeepsTheOldOnes)
{
    auto button = makeButton(parent);
    button->setImages(ButtonImages{columnPicture(kW, kH, 10), nullptr, nullptr});
    EXPECT_THROW(button->setImages(10015, 9, 0), WindowException);
    EXPECT_EQ(qRed(grabOf(*button).pixel(7, 9)), 10);
}

TEST_F(ImageButtonTest, PlayButtonSwapsOnlyWhenTheShownSetChanges)
{
    constexpr int kPlay = 40, kPause = 80;
    PlayButton button(&parent, 0, 0, kW, kH);
    button.setImages(ButtonImages{columnPicture(kW, kH, kPlay), nullptr, nullptr});
    button.setOtherImages(ButtonImages{columnPicture(kW, kH, kPause), nullptr, nullptr});
    const struct {
        int mode;
        int red;
    } steps[] = {{0, kPlay}, {1, kPause}, {1, kPause}, {2, kPause}, {0, kPlay}, {0, kPlay}};
    for (const auto& s : steps) {
        button.setMode(s.mode);
        EXPECT_EQ(button.mode(), s.mode);
        EXPECT_EQ(qRed(grabOf(button).pixel(7, 9)), s.red) << "mode " << s.mode;
    }
}

TEST_F(ImageButtonTest, PlayButtonLoadsThePausePictures)
{
    PlayButton button(&parent, 0, 0, 40, 40);
    button.setImages(10015, 10016, 10017);
    button.loadPauseImages();
    const QImage play = grabOf(button);
    button.setMode(1);
    const QImage pause = grabOf(button);
    EXPECT_NE(play, pause);

    QImage expected(40, 40, QImage::Format_RGB32);
    QPainter painter(&expected);
    AlphaImage(PlayButton::kPauseNormalImage).drawAt(painter, 0, 0);
    painter.end();
    EXPECT_EQ(pause, expected);
}

} // namespace
