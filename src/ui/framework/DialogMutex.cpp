#include "ui/framework/DialogMutex.h"

#include "text/TextTable.h"
#include "ui/framework/MessageBox.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

QString DialogMutex::lockFilePath(const QString& name)
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return runtime + '/' + name + QStringLiteral(".lock");
    return QDir::tempPath() + '/' + name + QStringLiteral("-%1.lock").arg(::getuid());
}

DialogMutex::DialogMutex(const QString& name, QWidget* warningOwner) : name_(name)
{
    const int fd = ::open(QFile::encodeName(lockFilePath(name)).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return; // no marker: nothing is shown
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        fd_ = fd;
        return;
    }
    const bool heldElsewhere = errno == EWOULDBLOCK;
    ::close(fd);
    if (heldElsewhere)
        showMessageBox(warningOwner, resourceText(5060), TextId::CaptionWarning, MessageIcon::Warning);
}

DialogMutex::~DialogMutex()
{
    if (fd_ >= 0)
        ::close(fd_); // releases the lock
}
