#pragma once

#include "imaging/ResourceImages.h"
#include "playback/view/VideoPlayer.h"
#include "ui/controls/ImageButtonListener.h"
#include "ui/controls/ImageTrackBarListener.h"
#include "ui/framework/Window.h"

class ImageButton;
class MainWindow;
class PlayButton;
class PlayTrackBar;
class TrackToolTip;

// The transport bar under the picture: play/pause, stop, previous/next date,
// previous/next file and the position slider with the event marks. It keeps
// no playback state of its own: refreshControls reads everything from the
// player.
class ConsolePanel : public Window, public ImageButtonListener, public ImageTrackBarListener {
public:
    // The position bar's place; it is as wide as the panel less this margin.
    static constexpr int kBarX = 249;
    static constexpr int kBarY = 26;
    static constexpr int kBarHeight = 30;
    static constexpr int kBarWidthMargin = 344;
    // Tips of the file buttons in setFileButtonTips.
    static constexpr int kFileTipsNextPrevious = 2;

    ConsolePanel(QWidget* parent, MainWindow& owner);

    // Buttons and position bar from the player's state and position. Does
    // nothing while the panel itself is disabled.
    void refreshControls();
    // With mode 2 the file buttons' tips read "next"/"previous", else
    // "frame forward"/"frame back".
    void setFileButtonTips(int mode);
    // Enables or disables the buttons and the position bar, and shows or
    // hides the file buttons and the position bar.
    void showControls(bool shown);

    PlayButton* playButton() const { return playButton_; }
    ImageButton* stopButton() const { return stopButton_; }
    ImageButton* nextFileButton() const { return nextFileButton_; }
    ImageButton* previousFileButton() const { return previousFileButton_; }
    ImageButton* previousDateButton() const { return previousDateButton_; }
    ImageButton* nextDateButton() const { return nextDateButton_; }
    PlayTrackBar* positionBar() const { return positionBar_; }
    const TrackToolTip* tips() const { return tips_; }

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
    ImageButton* addButton(int x, int y, int size, int firstImage, bool frame, int tipId);
    void refreshDateButtons();
    CalendarDate dateOfEntry(int index) const;
    void replaceMarks(int frameCount);
    void paintBackground(QPainter& painter);
    VideoPlayer& player() const;

    MainWindow& owner_;

    // Children: deleted with the panel.
    PlayButton* playButton_ = nullptr;
    ImageButton* stopButton_ = nullptr;
    ImageButton* nextFileButton_ = nullptr;
    ImageButton* previousFileButton_ = nullptr;
    ImageButton* previousDateButton_ = nullptr;
    ImageButton* nextDateButton_ = nullptr;
    PlayTrackBar* positionBar_ = nullptr;
    VideoPlayer::State stateAtPress_ = VideoPlayer::Closed;
    TrackToolTip* tips_ = nullptr;

    AlphaImage left_{223};
    AlphaImage middle_{221};
    AlphaImage right_{222};
    AlphaImage disabledMiddle_{424};
    AlphaImage disabledRight_{425};
};
