#include "platform/privatefs.h"

#include <QFile>
#include <QStringList>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fennick {

namespace {

bool isDir(const QByteArray& path) {
    struct stat st {};
    return ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

bool makePrivateDirs(const QString& path) {
    if (path.isEmpty())
        return false;
    const QByteArray native = QFile::encodeName(path);
    if (isDir(native))
        return true;
    // Walks down from the root, making each missing step.
    QByteArray step = native.startsWith('/') ? QByteArray("/") : QByteArray();
    for (const QByteArray& part : native.split('/')) {
        if (part.isEmpty())
            continue;
        step += part;
        if (::mkdir(step.constData(), 0700) != 0 && errno != EEXIST)
            return false;
        step += '/';
    }
    return isDir(native);
}

bool makePrivateFile(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0)
        return ::close(fd) == 0;
    struct stat st {};
    return errno == EEXIST && ::stat(native.constData(), &st) == 0 && S_ISREG(st.st_mode);
}

bool isOwnPrivateDir(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == ::geteuid() && (st.st_mode & 077) == 0;
}

} // namespace fennick
