#pragma once

#include "recording/FrameRecord.h"

#include <QString>
#include <cstdint>
#include <vector>

class VideoArchive;

// The read-only view of the open recording that the displays use.
class IVideoInfo {
public:
    virtual ~IVideoInfo() = default;
    virtual QString fourDigitCode() const = 0;
    virtual QString eightDigitCode() const = 0;
    virtual std::int32_t reservedNumber() const = 0;
    virtual std::int32_t currentIndex() const = 0;
    virtual const FrameRecord* currentFrameRecord() const = 0;
    virtual double reservedValue1() const = 0;
    virtual double reservedValue2() const = 0;
    virtual std::int32_t frameCount() const = 0;
    virtual const FrameRecord* frameAt(std::int32_t index) const = 0; // null outside 0..frameCount-1
    virtual std::int32_t framesPerRequest() const = 0;
    virtual bool isInformationMissing() const = 0;
    virtual std::int64_t firstFrameTime() const = 0;
    virtual std::int64_t lastFrameTime() const = 0;
    virtual std::int64_t startTime() const = 0;
    // The first slot at or after `from` (a negative start counts from 0) that
    // carries the event mark, or -1.
    virtual std::int32_t nextEventFrame(std::int32_t from) const = 0;
    virtual void copyEventFrames(std::vector<std::int32_t>& list) const = 0;
    virtual void buildEventFrames() = 0;
};

// The view over a VideoArchive, which it does not own and which must outlive it.
class VideoInfo07 : public IVideoInfo {
public:
    explicit VideoInfo07(const VideoArchive& archive) : archive_(archive) {}

    QString fourDigitCode() const override;
    QString eightDigitCode() const override;
    std::int32_t reservedNumber() const override { return 0; }
    std::int32_t currentIndex() const override { return -1; }
    const FrameRecord* currentFrameRecord() const override { return nullptr; }
    double reservedValue1() const override { return 0.0; }
    double reservedValue2() const override { return 0.0; }
    std::int32_t frameCount() const override;
    const FrameRecord* frameAt(std::int32_t index) const override;
    std::int32_t framesPerRequest() const override { return 1; }
    bool isInformationMissing() const override { return false; }
    std::int64_t firstFrameTime() const override;
    std::int64_t lastFrameTime() const override;
    std::int64_t startTime() const override;
    std::int32_t nextEventFrame(std::int32_t from) const override;
    void copyEventFrames(std::vector<std::int32_t>& list) const override;
    void buildEventFrames() override;

private:
    const VideoArchive& archive_;
    std::vector<std::int32_t> eventFrames_;
};
