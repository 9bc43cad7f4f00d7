#include "text/SystemErrorText.h"

#include "errors/Exception.h"
#include "text/TextTable.h"

#include <cerrno>
#include <cstring>

QString systemErrorText(int errorNumber)
{
    // strerrordesc_np answers null for a number it does not know, where
    // strerror would invent an "Unknown error" text.
    if (const char* text = strerrordesc_np(errorNumber))
        return QString::fromLocal8Bit(text);
    QString fallback = resourceTextNarrow(TextId::WindowsErrorCode);
    return fallback.replace(QLatin1String("%d"), QString::number(errorNumber));
}

WindowException WindowException::fromError(int errorNumber)
{
    return WindowException(systemErrorText(errorNumber));
}

WindowException WindowException::fromLastError()
{
    return fromError(errno);
}
