#include "timelog/folderlock.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <utility>

namespace fennick {

FolderLock::FolderLock(const QString& folder) {
    if (folder.isEmpty())
        return;
    const QByteArray path = QFile::encodeName(folder + u'/' + QLatin1String(kFileName));
    // Private like the records beside it, whatever the umask.
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return;
    int locked;
    do
        locked = ::flock(fd, LOCK_EX);
    while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        ::close(fd);
        return;
    }
    fd_ = fd;
}

FolderLock::FolderLock(FolderLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
    if (this != &other) {
        release();
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

FolderLock::~FolderLock() {
    release();
}

void FolderLock::release() {
    if (fd_ < 0)
        return;
    // Closing the descriptor lets go of the lock.
    ::close(std::exchange(fd_, -1));
}

} // namespace fennick
