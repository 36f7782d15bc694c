#include "platform/unixsocket.h"

#include <QFile>

#include <cstddef>
#include <cstring>

namespace fennick {

std::optional<UnixSocketAddress> unixSocketAddress(const QString& path) {
    const bool abstract = path.startsWith(u'@');
    const QByteArray name = QFile::encodeName(abstract ? path.mid(1) : path);
    UnixSocketAddress socket{};
    socket.address.sun_family = AF_UNIX;
    const std::size_t offset = abstract ? 1 : 0; // abstract names start with a NUL byte
    if (name.isEmpty() || offset + std::size_t(name.size()) >= sizeof socket.address.sun_path)
        return std::nullopt;
    std::memcpy(socket.address.sun_path + offset, name.constData(), std::size_t(name.size()));
    socket.length = socklen_t(offsetof(sockaddr_un, sun_path) + offset + name.size());
    return socket;
}

} // namespace fennick
