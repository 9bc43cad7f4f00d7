#pragma once

#include "imaging/ResourceImages.h"
#include "recording/VideoInfo.h"
#include "support/QtApp.h"
#include "ui/panels/ShownRecording.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

#include <cstdint>
#include <optional>
#include <vector>

namespace display_test {

// A recording given frame by frame; a frame without a record is nullopt.
class FakeVideoInfo : public IVideoInfo {
public:
    std::vector<std::optional<FrameRecord>> frames;
    bool informationMissing = false;

    static FrameRecord at(std::int64_t time, double g = 0.0)
    {
        FrameRecord r;
        r.time = time;
        r.gMagnitude = g;
        return r;
    }

    QString fourDigitCode() const override { return {}; }
    QString eightDigitCode() const override { return {}; }
    std::int32_t reservedNumber() const override { return 0; }
    std::int32_t currentIndex() const override { return -1; }
    const FrameRecord* currentFrameRecord() const override { return nullptr; }
    double reservedValue1() const override { return 0.0; }
    double reservedValue2() const override { return 0.0; }
    std::int32_t frameCount() const override { return static_cast<std::int32_t>(frames.size()); }
    const FrameRecord* frameAt(std::int32_t index) const override
    {
        if (index < 0 || index >= frameCount() || !frames[static_cast<std::size_t>(index)])
            return nullptr;
        return &*frames[static_cast<std::size_t>(index)];
    }
    std::int32_t framesPerRequest() const override { return 1; }
    bool isInformationMissing() const override { return informationMissing; }
    std::int64_t firstFrameTime() const override { return 0; }
    std::int64_t lastFrameTime() const override { return 0; }
    std::int64_t startTime() const override { return 0; }
    std::int32_t nextEventFrame(std::int32_t) const override { return -1; }
    void copyEventFrames(std::vector<std::int32_t>&) const override {}
    void buildEventFrames() override {}
};

// What the test shows: it changes these between paints.
struct ShownState {
    const IVideoInfo* info = nullptr;
    int frame = 0;
};

class FakeShownRecording : public IShownRecording {
public:
    explicit FakeShownRecording(const ShownState& state) : state_(state) {}
    const IVideoInfo* info() const override { return state_.info; }
    int currentFrame() const override { return state_.frame; }

private:
    const ShownState& state_;
};

inline QImage grabOf(QWidget& widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// An interface picture as it lands on screen.
inline QImage pictureOf(const AlphaImage& picture)
{
    QImage image(picture.width(), picture.height(), QImage::Format_RGB32);
    QPainter painter(&image);
    picture.drawAt(painter, 0, 0);
    return image;
}

} // namespace display_test
