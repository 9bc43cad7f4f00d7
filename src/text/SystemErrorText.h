#pragma once

#include <QString>

// The system's own text for an error number, unchanged. For a number the
// system does not know: text 5070 with the number in signed decimal.
QString systemErrorText(int errorNumber);
