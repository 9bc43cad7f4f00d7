#include "ui/panels/ConsolePanel.h"

#include "recording/VideoInfo.h"
#include "text/TextTable.h"
#include "ui/controls/ImageButton.h"
#include "ui/controls/PlayButton.h"
#include "ui/controls/PlayTrackBar.h"
#include "ui/controls/TrackToolTip.h"
#include "ui/framework/SystemColours.h"
#include "ui/main/MainWindow.h"

#include <QPainter>
#include <algorithm>

namespace {

enum Tip {
    PlayPauseTip = 5072,
    StopTip = 5073,
    PreviousTip = 5074,
    NextTip = 5075,
    FrameForwardTip = 5076,
    FrameBackTip = 5077,
    PreviousDateTip = 5514,
    NextDateTip = 5515,
};

// The play/pause button shows its second picture set while playing.
constexpr int kPlayMode = 0;
constexpr int kPauseMode = 1;

constexpr int kPositionThumbImage = 10031;
constexpr int kPositionTrackImage = 10027;
constexpr int kPositionFilledImage = 295;

} // namespace

ConsolePanel::ConsolePanel(QWidget* parent, MainWindow& owner) : Window(parent), owner_(owner)
{
    resize(0, 0); // the main window places it
    tips_ = new TrackToolTip(this);

    playButton_ = new PlayButton(this, 23, 11, 40, 40);
    playButton_->setImages(10015, 10016, 10017);
    playButton_->loadPauseImages();
    playButton_->setDrawFrame(false);
    playButton_->setListener(this);
    tips_->addButtonTool(resourceText(PlayPauseTip), playButton_);

    stopButton_ = addButton(67, 18, 26, 10018, false, StopTip);
    previousDateButton_ = addButton(107, 17, 30, 10009, true, PreviousDateTip);
    nextDateButton_ = addButton(140, 17, 30, 10012, true, NextDateTip);
    previousFileButton_ = addButton(198, 22, 22, 10003, true, FrameBackTip);
    nextFileButton_ = addButton(220, 22, 22, 10006, true, FrameForwardTip);

    positionBar_ = new PlayTrackBar(this);
    positionBar_->setImages(kPositionThumbImage, kPositionTrackImage, kPositionFilledImage);
    positionBar_->setStretchTrack(true);
    positionBar_->setListener(this);
}

// A square button with its normal, pressed and disabled pictures under
// three consecutive ids.
ImageButton* ConsolePanel::addButton(int x, int y, int size, int firstImage, bool frame, int tipId)
{
    auto* button = new ImageButton(this, x, y, size, size);
    button->setImages(firstImage, firstImage + 1, firstImage + 2);
    button->setDrawFrame(frame);
    button->setListener(this);
    tips_->addButtonTool(resourceText(tipId), button);
    return button;
}

VideoPlayer& ConsolePanel::player() const
{
    return *owner_.player();
}

void ConsolePanel::setFileButtonTips(int mode)
{
    const bool nextPrevious = mode == kFileTipsNextPrevious;
    tips_->setText(nextFileButton_, resourceText(nextPrevious ? NextTip : FrameForwardTip));
    tips_->setText(previousFileButton_, resourceText(nextPrevious ? PreviousTip : FrameBackTip));
}

void ConsolePanel::showControls(bool shown)
{
    for (Window* control : std::initializer_list<Window*>{playButton_, stopButton_, previousDateButton_,
                                                          nextDateButton_, previousFileButton_, nextFileButton_,
                                                          positionBar_})
        control->setOwnEnabled(shown);
    for (Window* control : std::initializer_list<Window*>{previousFileButton_, nextFileButton_, positionBar_})
        if (control->isHidden() == shown)
            control->setVisible(shown);
}

void ConsolePanel::refreshControls()
{
    if (!isOwnEnabled())
        return;
    VideoPlayer& player = this->player();
    const IVideoInfo* info = player.info();
    const int frameCount = info ? info->frameCount() : 0;
    const VideoPlayer::State state = player.state();
    const int frame = player.currentFrame();

    if (state != VideoPlayer::Closed) {
        playButton_->setOwnEnabled(true);
        playButton_->setMode(state == VideoPlayer::Playing ? kPauseMode : kPlayMode);
        stopButton_->setOwnEnabled(frame > 0);
        nextFileButton_->setOwnEnabled(player.entryIndex() < player.entryCount() - 1);
        previousFileButton_->setOwnEnabled(player.entryIndex() > 0);
        refreshDateButtons();
    } else {
        for (ImageButton* button : {static_cast<ImageButton*>(playButton_), stopButton_, nextFileButton_,
                                    previousFileButton_, nextDateButton_, previousDateButton_})
            button->setOwnEnabled(false);
    }

    const int last = std::max(frameCount - 1, 0);
    positionBar_->setRange(0, last);
    replaceMarks(frameCount);
    positionBar_->setValue(std::clamp(frame, 0, last), false);
}

// The local date of a catalogue entry; an entry the catalogue does not hold
// counts as time 0.
CalendarDate ConsolePanel::dateOfEntry(int index) const
{
    const std::vector<CalendarDate>& dates = player().catalogueDates();
    if (index < 0 || index >= static_cast<int>(dates.size()))
        return CalendarDate::ofTime(0);
    return dates[static_cast<std::size_t>(index)];
}

// A date button is enabled when some entry on its side of the current one
// lies on another calendar date.
void ConsolePanel::refreshDateButtons()
{
    const VideoPlayer& player = this->player();
    const int current = player.entryIndex();
    const int count = player.entryCount();
    const CalendarDate today = dateOfEntry(current);
    const auto anotherDateIn = [&](int from, int to) {
        for (int i = from; i < to; ++i)
            if (dateOfEntry(i) != today)
                return true;
        return false;
    };
    nextDateButton_->setOwnEnabled(anotherDateIn(current + 1, count));
    previousDateButton_->setOwnEnabled(anotherDateIn(0, std::min(current, count)));
}

// The marks follow the open recording; without frames there is nothing to mark.
void ConsolePanel::replaceMarks(int frameCount)
{
    std::vector<std::int32_t> marks;
    if (frameCount != 0)
        player().info()->copyEventFrames(marks);
    if (marks != positionBar_->marks())
        positionBar_->setMarks(std::move(marks));
}

void ConsolePanel::clicked(ImageButton* button)
{
    VideoPlayer& player = this->player();
    if (button == playButton_) {
        if (playButton_->mode() != kPlayMode)
            player.pause();
        else if (player.state() == VideoPlayer::Paused)
            player.resume();
        else
            player.playFrom(player.currentFrame());
    } else if (button == stopButton_) {
        player.seek(0);
    } else if (button == nextDateButton_) {
        if (player.entryIndex() < player.entryCount() - 1)
            owner_.openAdjacentDate(false);
    } else if (button == previousDateButton_) {
        if (player.entryIndex() > 0)
            owner_.openAdjacentDate(true);
    } else if (button == nextFileButton_) {
        owner_.openAdjacentFile(false);
    } else if (button == previousFileButton_) {
        owner_.openAdjacentFile(true);
    }
}

void ConsolePanel::pressed(ImageButton*)
{
}

void ConsolePanel::trackStarted(ImageTrackBar*)
{
    stateAtPress_ = player().state();
}

// Every notification while the thumb is held shows the picture under it.
void ConsolePanel::valueChanged(ImageTrackBar* bar)
{
    player().seek(bar->value());
}

// A drag during playback goes on playing from where the thumb was let go,
// unless the recording was closed meanwhile.
void ConsolePanel::trackEnded(ImageTrackBar*)
{
    if (stateAtPress_ != VideoPlayer::Playing)
        return;
    VideoPlayer& player = this->player();
    if (player.state() == VideoPlayer::Paused)
        player.resume();
    else if (player.state() == VideoPlayer::Stopped)
        player.playFrom(player.currentFrame());
}

void ConsolePanel::paintBackground(QPainter& painter)
{
    const int w = width();
    if (isOwnEnabled()) {
        if (!left_.image() || !middle_.image() || !right_.image()) {
            painter.fillRect(rect(), buttonFaceColour());
            return;
        }
        if (250 < w - 400)
            middle_.drawStretched(painter, 250, 0, w - 400 - 250, 65);
        right_.drawAt(painter, w - 400, 0);
        left_.drawAt(painter, 0, 0);
        return;
    }
    if (!left_.image() || !disabledMiddle_.image() || !disabledRight_.image()) {
        painter.fillRect(rect(), buttonFaceColour());
        return;
    }
    left_.drawAt(painter, 0, 0);
    // The disabled middle starts three quarters into the left picture.
    const int start = left_.width() - left_.width() / 4;
    if (start < w - 74)
        disabledMiddle_.drawStretched(painter, start, 0, w - 74 - start, 65);
    disabledRight_.drawAt(painter, w - 74, 0);
}

bool ConsolePanel::handleMessage(QEvent* event)
{
    switch (event->type()) {
    case QEvent::Resize:
        if (positionBar_)
            positionBar_->setGeometry(kBarX, kBarY, std::max(width() - kBarWidthMargin, 0),
                                      kBarHeight);
        return true;
    case QEvent::Paint: {
        QPainter painter(this);
        paintBackground(painter);
        return true;
    }
    default:
        return Window::handleMessage(event);
    }
}
