#pragma once

#include "ui/controls/ImageTrackBar.h"

#include <vector>

// The playback position slider: a stretched three-slice track with a mark
// at every event frame.
class PlayTrackBar : public ImageTrackBar {
public:
    static constexpr int kMarkImage = 10030;
    static constexpr int kX = 249;
    static constexpr int kY = 26;
    static constexpr int kWidth = 526;
    static constexpr int kHeight = 30;
    // Marks hang this far below the slider's top.
    static constexpr int kMarkTop = 11;

    // Raises WindowException when the mark picture is missing; nothing of
    // the slider is left behind then.
    explicit PlayTrackBar(QWidget* parent, int markImageId = kMarkImage);

    const std::vector<int>& marks() const { return marks_; }
    void setMarks(std::vector<int> frames);

protected:
    void paintTrack(QPainter& painter, int width, int height) override;

private:
    std::vector<int> marks_;
    std::unique_ptr<AlphaImage> markImage_;
};
