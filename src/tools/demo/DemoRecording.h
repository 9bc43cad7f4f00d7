#pragma once

#include "recording/RecordingFormat.h"

#include <QString>
#include <cstdint>
#include <vector>

// Synthetic recordings for the demo card and the benchmarks: a drive drawn
// frame by frame with the frame's own clock burned in, an engine hum, and
// G values with an optional hard-braking event (marked, with a chime).
struct DemoDrivePlan {
    RecordingFormat::LocalDateTime start{2026, 11, 20, 8, 15, 0};
    int seconds = 24;
    std::uint32_t recordingId = 1;
    std::uint32_t startCounter = 500'000;
    int brakingAtSecond = -1;   // -1: a calm drive
    int cruiseSpeed = 48;       // km/h
    int jpegQuality = 80;
};

// Writes one recording data file; raises IOException on failure.
void writeDemoRecording(const QString& path, const DemoDrivePlan& plan);

// Fills `folder` with a demo card: six recordings over two dates, named in
// the recorder's form. Returns the paths written.
std::vector<QString> writeDemoCard(const QString& folder);
