#pragma once

#include <QString>
#include <string>
#include <string_view>

// The system's narrow code page, where 8-bit text meets the UTF-16 text of
// the rest of the program. The recorder and its card tools are Japanese, so
// both the "ANSI" and the "OEM" page are code page 932 (Shift_JIS).
//
// Both conversions are strict: a character the page cannot hold, or a byte
// sequence that is not valid in it, raises SystemException instead of being
// replaced silently.
std::string wideToAnsi(const QString& text);
QString oemToWide(std::string_view bytes);
