// Open + readFrame of arbitrary bytes as a recording data file.

#include "errors/Exception.h"
#include "recording/ILoadingProgress.h"
#include "recording/VideoArchive.h"

#include <QDir>
#include <QFile>
#include <cstddef>
#include <cstdint>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QString path = QDir::tempPath() + QStringLiteral("/kvr-fuzz-%1.DAT").arg(::getpid());
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    static VideoArchive archive;
    SilentLoadingProgress progress;
    try {
        archive.open(path, progress);
        for (int i = 0; i < archive.slotCount() && i < 64; ++i)
            archive.readFrame(i);
    } catch (const VideoArchiveException&) {
    }
    archive.close();
    return 0;
}
