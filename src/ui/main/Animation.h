#pragma once

#include "imaging/ResourceImages.h"
#include "ui/framework/Window.h"

#include <array>
#include <memory>

// The start logo: blank for its first 100 ms, then picture 285, which stays
// once the timer stops after its second tick.
class Animation : public Window {
public:
    static constexpr int kWidth = 280;
    static constexpr int kHeight = 73;

    // A child of the video area, centred in it as the area is now.
    explicit Animation(QWidget* videoArea);

    int frame() const { return frame_; }

protected:
    bool handleMessage(QEvent* event) override;
    void onTimer(int id) override;

private:
    std::array<std::unique_ptr<AlphaImage>, 2> pictures_;
    int frame_ = 0;
};
