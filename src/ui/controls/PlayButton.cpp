#include "ui/controls/PlayButton.h"

#include "ui/controls/SkinImages.h"

#include <utility>

PlayButton::PlayButton(QWidget* parent, int x, int y, int width, int height)
    : ImageButton(parent, x, y, width, height)
{
}

void PlayButton::loadPauseImages()
{
    ButtonImages loaded{loadSkinImage(kPauseNormalImage), loadSkinImage(kPausePressedImage),
                        loadSkinImage(kPauseDisabledImage)};
    setOtherImages(std::move(loaded));
}

void PlayButton::setOtherImages(ButtonImages images)
{
    otherImages_ = std::move(images);
}

void PlayButton::setMode(int mode)
{
    // Swap only when the shown set changes, so that a move between two
    // nonzero modes keeps the second set on screen.
    const bool swapSets = (mode != 0) != (mode_ != 0);
    mode_ = mode;
    if (!swapSets)
        return;
    std::swap(shownImages(), otherImages_);
    repaint();
}
