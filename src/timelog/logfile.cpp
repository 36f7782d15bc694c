#include "timelog/logfile.h"

#include <QStringDecoder>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fennick {

namespace {

// The text of UTF-16 bytes; absent when they are no UTF-16: an odd number of
// bytes or a surrogate without its partner.
std::optional<QString> cleanUtf16(QByteArrayView bytes, QStringConverter::Encoding encoding) {
    if (bytes.size() % 2 != 0)
        return std::nullopt;
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isLowSurrogate())
            return std::nullopt;
        if (c.isHighSurrogate() && !(i + 1 < text.size() && text.at(++i).isLowSurrogate()))
            return std::nullopt;
    }
    return text;
}

} // namespace

QString decodeLogBytes(const QByteArray& bytes, bool* utf16) {
    const auto startsWith = [&](const char* bom) { return bytes.startsWith(bom); };
    std::optional<QStringConverter::Encoding> wide;
    if (startsWith("\xFF\xFE"))
        wide = QStringConverter::Utf16LE;
    else if (startsWith("\xFE\xFF"))
        wide = QStringConverter::Utf16BE;
    if (wide) {
        // Two bytes that look like a byte-order mark may start an 8-bit
        // file too; only a clean decode makes it UTF-16, so that the next
        // append never rewrites a file whose text was misread.
        std::optional<QString> text = cleanUtf16(QByteArrayView(bytes).sliced(2), *wide);
        if (utf16)
            *utf16 = text.has_value();
        if (text)
            return *text;
    } else if (utf16) {
        *utf16 = false;
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
