#include "support/TempDir.h"

#include <QDir>
#include <cstdlib>
#include <stdexcept>

TempDir::TempDir()
{
    QByteArray pattern = QFile::encodeName(QDir::tempPath() + "/kvr-test-XXXXXX");
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = QFile::decodeName(pattern);
}

TempDir::~TempDir()
{
    QDir(path_).removeRecursively();
}
