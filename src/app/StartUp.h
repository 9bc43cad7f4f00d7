#pragma once

#include "recording/RecordingFormat.h"

#include <QString>
#include <optional>

// The data version written as hexadecimal text (text 5087, "0402"), read
// with strtol's rules: leading white space, a sign and "0x" are accepted;
// nothing when no digit was used or the value is above 0xFFFF.
std::optional<RecordingFormat::Version> parseDataVersion(const QString& text);

// What the operating system check found. Linux has no Windows version
// numbers: the check only warns when the system cannot be identified.
enum class SystemCheck { Supported, Unidentified };
SystemCheck checkOperatingSystem();

// The whole program: start-up, the event loop and the outermost guard.
// Returns the exit code: 0 after a normal close, 1 after a fatal error.
int runViewer(int argc, char** argv);
