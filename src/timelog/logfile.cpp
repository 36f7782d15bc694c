#include "timelog/logfile.h"

#include <QStringDecoder>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fennick {

QString decodeLogBytes(const QByteArray& bytes, bool* utf16) {
    const auto startsWith = [&](const char* bom) { return bytes.startsWith(bom); };
    std::optional<QStringConverter::Encoding> wide;
    if (startsWith("\xFF\xFE"))
        wide = QStringConverter::Utf16LE;
    else if (startsWith("\xFE\xFF"))
        wide = QStringConverter::Utf16BE;
    if (utf16)
        *utf16 = wide.has_value();
    if (wide) {
        QStringDecoder decoder(*wide, QStringConverter::Flag::Default);
        return decoder(QByteArrayView(bytes).sliced(2));
    }
    if (startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(QByteArrayView(bytes).sliced(3));
    return QString::fromUtf8(bytes);
}

namespace {

// A FIFO, device or socket where a month file belongs.
constexpr int kNotRegular = -1;

std::nullopt_t failed(ReadFailure* failure, int error) {
    if (failure) {
        failure->reason = error == kNotRegular ? QStringLiteral("not a regular file")
                                               : QString::fromLocal8Bit(std::strerror(error));
        failure->missing = error == ENOENT;
    }
    return std::nullopt;
}

} // namespace

std::optional<LogFileText> readLogFile(const QString& path, ReadFailure* failure) {
    if (path.isEmpty())
        return failed(failure, ENOENT);
    const QByteArray native = path.toLocal8Bit();
    // Non-blocking, so that a FIFO put where a month file belongs cannot
    // freeze the program; only regular files are read.
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return failed(failure, errno);
    struct stat st {};
    LogFileText file;
    bool ok = ::fstat(fd, &st) == 0;
    int error = errno;
    if (ok && !S_ISREG(st.st_mode)) {
        ok = false;
        error = S_ISDIR(st.st_mode) ? EISDIR : kNotRegular;
    }
    if (ok && st.st_size > 0)
        file.bytes.reserve(qsizetype(st.st_size));
    char buffer[65536];
    while (ok) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            ok = got == 0;
            error = errno;
            break;
        }
        file.bytes.append(buffer, qsizetype(got));
    }
    ::close(fd);
    if (!ok)
        return failed(failure, error);
    file.text = decodeLogBytes(file.bytes, &file.utf16);
    return file;
}

} // namespace fennick
