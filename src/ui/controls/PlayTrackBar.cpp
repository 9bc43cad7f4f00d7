#include "ui/controls/PlayTrackBar.h"

#include "ui/controls/SkinImages.h"

PlayTrackBar::PlayTrackBar(QWidget* parent, int markImageId)
    : ImageTrackBar(parent, kX, kY, kWidth, kHeight), markImage_(loadSkinImage(markImageId))
{
}

void PlayTrackBar::setMarks(std::vector<int> frames)
{
    marks_ = std::move(frames);
    update();
}

void PlayTrackBar::paintTrack(QPainter& painter, int width, int height)
{
    ImageTrackBar::paintTrack(painter, width, height);
    if (!hasPicture(markImage_))
        return;
    const int thumbCentre = thumbWidth() / 2;
    for (const int frame : marks_) {
        if (frame < 0)
            continue;
        const int x = valueToPixel(frame);
        // A mark that lands on pixel 0 is drawn only for frame 0.
        if (x == 0 && frame != 0)
            continue;
        markImage_->drawAt(painter, x + thumbCentre - markImage_->width() / 2 + 2, kMarkTop);
    }
}
