#include "timelog/fileops.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace fennick {
namespace {

// A temporary file left by a process that died before its rename is removed
// by a later write once it is this much older than the file just written; no
// write in progress lasts that long.
constexpr time_t kStaleTempAge = 3600;
constexpr int kNameAttempts = 16;

bool unnamedAllowed = true;
WriteCalls calls = systemWriteCalls();

struct Target {
    QByteArray path; // the regular file itself, past any symbolic link
    QByteArray dir;
    QByteArray base;
};

std::optional<Target> resolveTarget(const QString& path) {
    QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0)
        return std::nullopt;
    if (S_ISLNK(st.st_mode)) {
        const std::unique_ptr<char, decltype(&std::free)> real(
            ::realpath(native.constData(), nullptr), &std::free);
        if (!real)
            return std::nullopt;
        native = real.get();
    }
    const qsizetype slash = native.lastIndexOf('/');
    Target target{native, QByteArray("."), native.mid(slash + 1)};
    if (slash == 0)
        target.dir = "/";
    else if (slash > 0)
        target.dir = native.left(slash);
    return target;
}

QByteArray tempPrefix(const QByteArray& base) {
    return "." + base + ".tmp";
}

QByteArray tempPath(const Target& target) {
    static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    // From the operating system, not a seeded generator: forked processes
    // would otherwise all try the same names.
    quint64 bits = QRandomGenerator::system()->generate64();
    QByteArray suffix(8, 'x');
    for (char& c : suffix) {
        c = kChars[bits % (sizeof kChars - 1)];
        bits /= sizeof kChars - 1;
    }
    return target.dir + "/" + tempPrefix(target.base) + suffix;
}

bool writeAll(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = calls.write(fd, data, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        left -= n;
    }
    return true;
}

// A directory's entries are durable only once the directory itself is synced.
// A failure here is not reported: the entry is in place and visible, and the
// caller can do nothing better about it.
void syncDirectory(const QByteArray& dir) {
    const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    calls.fsync(fd);
    ::close(fd);
}

QByteArray directoryOf(const QByteArray& native) {
    const qsizetype slash = native.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : native.left(slash);
}

// The temporary file of one write. Whatever it holds is thrown away unless it
// was renamed over the target.
class TempFile {
public:
    TempFile() = default;
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() { discard(); }

    // An unnamed file (O_TMPFILE): should the process die before the rename,
    // nothing is left in the directory.
    bool openUnnamed(const Target& target) {
        if (!unnamedAllowed)
            return false;
        fd_ = calls.open(target.dir.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        return fd_ >= 0;
    }
    bool openNamed(const Target& target) {
        for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
            const QByteArray name = tempPath(target);
            fd_ = calls.open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            if (fd_ >= 0) {
                name_ = name;
                return true;
            }
            if (errno != EEXIST)
                return false;
        }
        return false;
    }
    // Fills the file and syncs it; it takes over the old file's owner and mode
    // as far as it may (a private 0600 otherwise).
    bool fill(const QByteArray& bytes, const struct stat& old) {
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
            if (::fchown(fd_, old.st_uid, old.st_gid) != 0) {
                // Only root may give a file away; the file stays ours.
            }
        }
        ::fchmod(fd_, old.st_mode & 07777);
        return writeAll(fd_, bytes) && calls.fsync(fd_) == 0;
    }
    // Names an unnamed file just before the rename.
    bool link(const Target& target) {
        if (!name_.isEmpty())
            return true;
        const QByteArray proc = "/proc/self/fd/" + QByteArray::number(fd_);
        for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
            const QByteArray name = tempPath(target);
            if (::linkat(fd_, "", AT_FDCWD, name.constData(), AT_EMPTY_PATH) == 0 ||
                ::linkat(AT_FDCWD, proc.constData(), AT_FDCWD, name.constData(),
                         AT_SYMLINK_FOLLOW) == 0) {
                name_ = name;
                return true;
            }
            if (errno != EEXIST)
                return false;
        }
        return false;
    }
    // Closing can report a failed write on some file systems, so it is checked.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }
    bool renameOver(const Target& target) {
        if (calls.rename(name_.constData(), target.path.constData()) != 0)
            return false;
        name_.clear();
        return true;
    }
    void discard() {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
        if (!name_.isEmpty())
            ::unlink(name_.constData());
        name_.clear();
    }

private:
    int fd_ = -1;
    QByteArray name_;
};

bool writeTemp(TempFile& temp, const Target& target, const QByteArray& bytes,
               const struct stat& old) {
    if (temp.openUnnamed(target)) {
        if (!temp.fill(bytes, old))
            return false;
        if (temp.link(target))
            return true;
        temp.discard();
    }
    // No unnamed files on this file system, or no way to name one: write a
    // named temporary file instead.
    return temp.openNamed(target) && temp.fill(bytes, old);
}

// Removes temporary files of `target` that were left by a process that died
// before its rename. Their age is measured against the target's own fresh
// modification time, so no clock is read here.
void removeStaleTemps(const Target& target) {
    struct stat fresh {};
    if (::stat(target.path.constData(), &fresh) != 0)
        return;
    DIR* dir = ::opendir(target.dir.constData());
    if (!dir)
        return;
    const QByteArray prefix = tempPrefix(target.base);
    while (const dirent* entry = ::readdir(dir)) {
        if (!QByteArray(entry->d_name).startsWith(prefix))
            continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(st.st_mode) && fresh.st_mtime - st.st_mtime > kStaleTempAge)
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

} // namespace

WriteCalls systemWriteCalls() {
    return {::open, ::write, ::fsync, ::rename};
}

WriteCalls setWriteCalls(const WriteCalls& replacement) {
    return std::exchange(calls, replacement);
}

void allowUnnamedTempFiles(bool allowed) {
    unnamedAllowed = allowed;
}

bool existsAt(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

bool createEmptyFile(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    ::close(fd);
    syncDirectory(directoryOf(native));
    return true;
}

bool createFileWith(const QString& path, const QByteArray& bytes) {
    if (!createEmptyFile(path))
        return false;
    if (replaceFileContents(path, bytes))
        return true;
    const int error = errno;
    removeFile(path);
    errno = error;
    return false;
}

bool removeFile(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    if (::unlink(native.constData()) != 0 && errno != ENOENT)
        return false;
    syncDirectory(directoryOf(native));
    return true;
}

bool replaceFileContents(const QString& path, const QByteArray& bytes) {
    const std::optional<Target> target = resolveTarget(path);
    struct stat old {};
    if (!target || ::stat(target->path.constData(), &old) != 0 || !S_ISREG(old.st_mode))
        return false;
    TempFile temp;
    if (!writeTemp(temp, *target, bytes, old) || !temp.close() || !temp.renameOver(*target))
        return false;
    syncDirectory(target->dir);
    removeStaleTemps(*target);
    return true;
}

} // namespace fennick
