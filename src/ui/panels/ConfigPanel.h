#pragma once

#include "imaging/ResourceImages.h"
#include "ui/controls/ImageButtonListener.h"
#include "ui/controls/ImageTrackBarListener.h"
#include "ui/framework/Window.h"

class ImageButton;
class MainWindow;
class TrackToolTip;

// The picture and sound panel: volume and brightness sliders with buttons
// that bring back their standard values, and a button that opens a data
// file. The sliders hold the values and push each change into the player.
class ConfigPanel : public Window, public ImageButtonListener, public ImageTrackBarListener {
public:
    static constexpr int kStandardVolume = 16;
    static constexpr int kStandardBrightness = 12; // tenths of the gamma

    ConfigPanel(QWidget* parent, MainWindow& owner);

    // Every control of the panel; each repaints only when its state changes.
    void setAllEnabled(bool enabled);
    // The volume slider and its reset button only.
    void setVolumeEnabled(bool enabled);

    ImageTrackBar* volumeBar() const { return volumeBar_; }
    ImageTrackBar* brightnessBar() const { return brightnessBar_; }
    ImageButton* volumeResetButton() const { return volumeResetButton_; }
    ImageButton* brightnessResetButton() const { return brightnessResetButton_; }
    ImageButton* openFileButton() const { return openFileButton_; }
    const TrackToolTip* tips() const { return tips_; }

    // The brightness slider's label: the gamma with one decimal.
    static QString brightnessLabel(int value);

    // ImageButtonListener
    void clicked(ImageButton* button) override;
    void pressed(ImageButton* button) override;
    // ImageTrackBarListener
    void valueChanged(ImageTrackBar* bar) override;
    void trackStarted(ImageTrackBar* bar) override;
    void trackEnded(ImageTrackBar* bar) override;

protected:
    bool handleMessage(QEvent* event) override;

private:
    ImageTrackBar* addSlider(int y, int trackImage, int minimum, int maximum, int start);
    ImageButton* addResetButton(int y, int width, int height, int image, int tipId);

    MainWindow& owner_;

    // Children: deleted with the panel.
    ImageTrackBar* volumeBar_ = nullptr;
    ImageTrackBar* brightnessBar_ = nullptr;
    ImageButton* volumeResetButton_ = nullptr;
    ImageButton* brightnessResetButton_ = nullptr;
    ImageButton* openFileButton_ = nullptr;
    TrackToolTip* tips_ = nullptr;

    AlphaImage background_{10024};
};
