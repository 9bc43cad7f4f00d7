#pragma once

#include "imaging/Image.h"
#include "recording/FrameRecord.h"

#include <QString>
#include <array>
#include <cstdint>
#include <memory>

class ILoadingProgress;

// One recording data file, indexed: up to 30000 slots on a grid of 28 per
// second, each pointing to a picture's description, plus the recording's
// sound written to a temporary WAV file.
//
// open and close run on the UI thread, readFrame on the loader's worker; the
// loader's lock keeps them apart.
class VideoArchive {
public:
    VideoArchive();
    VideoArchive(const VideoArchive&) = delete;
    VideoArchive& operator=(const VideoArchive&) = delete;
    virtual ~VideoArchive();

    // Closes what was open, then indexes the file. Raises VideoArchiveException
    // (5510) when the file cannot be read as a recording; the archive is then
    // closed.
    void open(const QString& path, ILoadingProgress& progress);

    // Releases the data file and every slot and deletes the temporary WAV.
    void close();

    // The decoded picture of a slot, or null. Never raises.
    std::unique_ptr<Image> readFrame(int index) const;

    bool isOpen() const { return dataFile_ >= 0; }
    int slotCount() const { return slotCount_; }
    const FrameRecord* slotAt(int index) const;
    std::int64_t startTime() const { return startTime_; }
    std::int64_t startCounter() const { return startCounter_; }
    std::uint32_t recordingId() const { return recordingId_; }
    std::int64_t firstFrameTime() const { return firstFrameTime_; }
    std::int64_t lastFrameTime() const { return lastFrameTime_; }
    const QString& soundFilePath() const { return soundFilePath_; }

private:
    class Reader;
    friend class Reader;

    std::int64_t startTime_ = 0;
    std::int64_t startCounter_ = 0;
    std::uint32_t recordingId_ = 0;
    int dataFile_ = -1;
    int slotCount_ = 0;
    std::int64_t firstFrameTime_ = 0;
    std::int64_t lastFrameTime_ = 0;
    QString soundFilePath_;
    // Slots that share a picture hold equal copies, so each owns its record.
    std::array<std::unique_ptr<FrameRecord>, 30000> slots_;
};
