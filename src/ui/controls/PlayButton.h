#pragma once

#include "ui/controls/ImageButton.h"

// The play/pause button: an ImageButton holding a second picture set, which
// it shows instead of the first in any mode but 0.
class PlayButton : public ImageButton {
public:
    static constexpr int kPauseNormalImage = 10034;
    static constexpr int kPausePressedImage = 10035;
    static constexpr int kPauseDisabledImage = 10033;

    PlayButton(QWidget* parent, int x, int y, int width, int height);

    // Loads the pause pictures as the second set.
    void loadPauseImages();
    // Replaces the set that is not shown.
    void setOtherImages(ButtonImages images);

    int mode() const { return mode_; }
    // 0 shows the first set (play), anything else the second (pause).
    void setMode(int mode);

private:
    int mode_ = 0;
    ButtonImages otherImages_;
};
