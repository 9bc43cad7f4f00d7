#include "recording/VideoInfo.h"

#include "recording/RecordingFormat.h"
#include "recording/VideoArchive.h"

#include <algorithm>

QString VideoInfo07::fourDigitCode() const
{
    return QStringLiteral("0000");
}

QString VideoInfo07::eightDigitCode() const
{
    return QStringLiteral("00000000");
}

std::int32_t VideoInfo07::frameCount() const
{
    return archive_.slotCount();
}

const FrameRecord* VideoInfo07::frameAt(std::int32_t index) const
{
    return archive_.slotAt(index);
}

std::int64_t VideoInfo07::firstFrameTime() const
{
    return archive_.firstFrameTime();
}

std::int64_t VideoInfo07::lastFrameTime() const
{
    return archive_.lastFrameTime();
}

std::int64_t VideoInfo07::startTime() const
{
    return archive_.startTime();
}

std::int32_t VideoInfo07::nextEventFrame(std::int32_t from) const
{
    const std::int32_t count = frameCount();
    for (std::int32_t i = std::max(from, 0); i < count; ++i) {
        const FrameRecord* frame = frameAt(i);
        if (frame && frame->eventMark == RecordingFormat::kEventMark)
            return i;
    }
    return -1;
}

void VideoInfo07::copyEventFrames(std::vector<std::int32_t>& list) const
{
    list = eventFrames_;
}

void VideoInfo07::buildEventFrames()
{
    eventFrames_.clear();
    for (std::int32_t i = nextEventFrame(0); i != -1; i = nextEventFrame(i + 1))
        eventFrames_.push_back(i);
}
