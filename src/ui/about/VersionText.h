#pragma once

#include <QString>
#include <optional>

// The program's version as the About dialog shows it: the digits of its
// file version with a dot for each of the first two commas, stopping at the
// third ("1, 0, 2, 0" gives "1.0.2"); text 5002 when there is no file version.
QString fileVersionText();

// The same for a given file version string (none: text 5002).
QString versionTextOf(const std::optional<QString>& fileVersion);
