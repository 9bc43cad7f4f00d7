#include "ui/about/VersionText.h"

#include "text/TextTable.h"

namespace {

// The build writes the program's file version into this library.
std::optional<QString> programFileVersion()
{
#ifdef KVR_FILE_VERSION
    return QStringLiteral(KVR_FILE_VERSION);
#else
    return std::nullopt;
#endif
}

} // namespace

QString versionTextOf(const std::optional<QString>& fileVersion)
{
    if (!fileVersion)
        return resourceText(TextId::NoVersionInformation);
    QString text;
    int commas = 0;
    for (const QChar c : *fileVersion) {
        if (c >= u'0' && c <= u'9') {
            text += c;
        } else if (c == u',') {
            if (++commas == 3)
                break;
            text += u'.';
        }
    }
    return text;
}

QString fileVersionText()
{
    return versionTextOf(programFileVersion());
}
