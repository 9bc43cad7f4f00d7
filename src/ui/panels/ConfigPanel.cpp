#include "ui/panels/ConfigPanel.h"

#include "playback/view/VideoPlayer.h"
#include "text/TextTable.h"
#include "ui/controls/ImageButton.h"
#include "ui/controls/ImageTrackBar.h"
#include "ui/controls/TrackToolTip.h"
#include "ui/framework/SystemColours.h"
#include "ui/main/MainWindow.h"

#include <QPainter>

namespace {

enum Tip {
    StandardVolumeTip = 5008,
    StandardBrightnessTip = 5009,
    OpenFileTip = 5010,
};

constexpr int kSliderX = 40;
constexpr int kSliderWidth = 151;
constexpr int kSliderHeight = 16;
constexpr int kThumbImage = 291;
constexpr int kResetX = 14;
constexpr int kVolumeY = 22;
constexpr int kBrightnessY = 56;

} // namespace

ConfigPanel::ConfigPanel(QWidget* parent, MainWindow& owner) : Window(parent), owner_(owner)
{
    resize(0, 0); // the main window places it
    tips_ = new TrackToolTip(this);

    volumeBar_ = addSlider(kVolumeY, 403, 0, 16, kStandardVolume);
    brightnessBar_ = addSlider(kBrightnessY, 10001, 1, 50, kStandardBrightness);
    brightnessBar_->setLabelFormatter(&brightnessLabel);
    tips_->addTrackingTool(volumeBar_, volumeBar_->label());
    tips_->addTrackingTool(brightnessBar_, brightnessBar_->label());

    volumeResetButton_ = addResetButton(kVolumeY, 17, 15, 290, StandardVolumeTip);
    brightnessResetButton_ = addResetButton(kBrightnessY, 16, 16, 289, StandardBrightnessTip);

    openFileButton_ = new ImageButton(this, 57, 97, 102, 28);
    openFileButton_->setImages(10021, 10022, 10023);
    openFileButton_->setListener(this);
    tips_->addButtonTool(resourceText(OpenFileTip), openFileButton_);
}

// The start value is set before the listener is attached, so it tells nobody.
ImageTrackBar* ConfigPanel::addSlider(int y, int trackImage, int minimum, int maximum, int start)
{
    auto* slider = new ImageTrackBar(this, kSliderX, y, kSliderWidth, kSliderHeight);
    slider->setImages(kThumbImage, trackImage, 0);
    slider->setRange(minimum, maximum);
    slider->setValue(start, false);
    slider->setTrackToolTip(tips_);
    slider->setListener(this);
    return slider;
}

// A picture without a frame, under the hand cursor.
ImageButton* ConfigPanel::addResetButton(int y, int width, int height, int image, int tipId)
{
    auto* button = new ImageButton(this, kResetX, y, width, height);
    button->setImages(image, 0, 0);
    button->setDrawFrame(false);
    button->setCursor(Qt::PointingHandCursor);
    button->setListener(this);
    tips_->addButtonTool(resourceText(tipId), button);
    return button;
}

QString ConfigPanel::brightnessLabel(int value)
{
    return QString::asprintf("%3.1f", value / 10.0); // always with a decimal point
}

void ConfigPanel::setAllEnabled(bool enabled)
{
    for (Window* control : std::initializer_list<Window*>{volumeResetButton_, volumeBar_, brightnessResetButton_,
                                                          brightnessBar_, openFileButton_})
        control->setOwnEnabled(enabled);
}

void ConfigPanel::setVolumeEnabled(bool enabled)
{
    volumeResetButton_->setOwnEnabled(enabled);
    volumeBar_->setOwnEnabled(enabled);
}

void ConfigPanel::valueChanged(ImageTrackBar* bar)
{
    VideoPlayer& player = *owner_.player();
    if (bar == volumeBar_) {
        player.sound().setVolume(bar->value());
    } else if (bar == brightnessBar_) {
        player.gamma().setGamma(bar->value() / 10.0);
        player.repaint(); // the current picture shows the change at once
    }
}

void ConfigPanel::trackStarted(ImageTrackBar*)
{
}

void ConfigPanel::trackEnded(ImageTrackBar*)
{
}

void ConfigPanel::clicked(ImageButton* button)
{
    if (button == volumeResetButton_)
        volumeBar_->setValue(kStandardVolume, true);
    else if (button == brightnessResetButton_)
        brightnessBar_->setValue(kStandardBrightness, true);
    else if (button == openFileButton_)
        owner_.runCommand(MainWindow::OpenCommand);
}

void ConfigPanel::pressed(ImageButton*)
{
}

bool ConfigPanel::handleMessage(QEvent* event)
{
    if (event->type() == QEvent::Paint) {
        QPainter painter(this);
        drawBackgroundOrFill(painter, background_, rect());
        return true;
    }
    return Window::handleMessage(event);
}
