#pragma once

#include <QString>

#include <optional>
#include <sys/socket.h>
#include <sys/un.h>

namespace fennick {

struct UnixSocketAddress {
    sockaddr_un address;
    socklen_t length;
    const sockaddr* get() const { return reinterpret_cast<const sockaddr*>(&address); }
};

// The address of the Unix socket at `path`; a leading '@' names one in the
// abstract namespace. None when the name is empty or too long for an address.
std::optional<UnixSocketAddress> unixSocketAddress(const QString& path);

} // namespace fennick
