#include "app/display.h"

#include "platform/unixsocket.h"

#include <QRegularExpression>
#include <QStringList>

#include <cerrno>
#include <unistd.h>

namespace fennick {

namespace {

using Env = std::function<QString(const char*)>;
using Listening = std::function<bool(const QString&)>;

bool waylandReachable(const Env& env, const Listening& listening) {
    const QString display = env("WAYLAND_DISPLAY");
    if (display.isEmpty())
        return false;
    if (display.startsWith(u'/'))
        return listening(display);
    const QString runtime = env("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && listening(runtime + u'/' + display);
}

bool x11Reachable(const Env& env, const Listening& listening) {
    const QString display = env("DISPLAY");
    if (display.isEmpty())
        return false;
    // Only a local display can be checked cheaply; trust a remote one. An X
    // server may listen on the socket file, in the abstract namespace, or
    // both (Xvfb -nolisten unix, some sandboxes: only the latter).
    static const QRegularExpression local(QStringLiteral("^(unix)?:(\\d+)(\\.\\d+)?$"));
    const QRegularExpressionMatch match = local.match(display);
    if (!match.hasMatch())
        return true;
    const QString socket = QStringLiteral("/tmp/.X11-unix/X") + match.captured(2);
    return listening(socket) || listening(u'@' + socket);
}

bool headless(const QString& platform) {
    static const QStringList names{QStringLiteral("offscreen"), QStringLiteral("minimal"),
                                   QStringLiteral("vnc"), QStringLiteral("linuxfb"),
                                   QStringLiteral("eglfs")};
    return names.contains(platform);
}

// Whether one platform named in QT_QPA_PLATFORM can start; one whose needs
// are not known here is trusted.
bool platformUsable(const QString& platform, const Env& env, const Listening& listening) {
    if (platform == u"xcb")
        return x11Reachable(env, listening);
    if (platform.startsWith(QLatin1String("wayland")))
        return waylandReachable(env, listening);
    return true;
}

} // namespace

std::optional<QString> missingDisplay(const Env& env, const Listening& listening) {
    // QT_QPA_PLATFORM may list several, separated by ';', each with options.
    QStringList forced;
    for (const QString& entry : env("QT_QPA_PLATFORM").split(u';', Qt::SkipEmptyParts))
        forced << entry.section(u':', 0, 0);
    for (const QString& platform : forced) {
        if (headless(platform) || platformUsable(platform, env, listening))
            return std::nullopt;
    }
    if (!forced.isEmpty())
        return QStringLiteral("QT_QPA_PLATFORM=%1 asks for a display that cannot be reached; "
                              "unset it or start fennick from a desktop session")
            .arg(env("QT_QPA_PLATFORM"));
    if (waylandReachable(env, listening) || x11Reachable(env, listening))
        return std::nullopt;
    const QString wayland = env("WAYLAND_DISPLAY");
    const QString x11 = env("DISPLAY");
    if (wayland.isEmpty() && x11.isEmpty())
        return QStringLiteral("no display: neither DISPLAY nor WAYLAND_DISPLAY is set; "
                              "start fennick from a desktop session");
    return QStringLiteral("cannot reach the display %1; start fennick from a desktop session")
        .arg(x11.isEmpty() ? wayland : x11);
}

bool socketListening(const QString& path) {
    const auto address = unixSocketAddress(path);
    if (!address)
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    // A full backlog (EAGAIN) still means somebody listens.
    const bool up = ::connect(fd, address->get(), address->length) == 0 || errno == EAGAIN;
    ::close(fd);
    return up;
}

} // namespace fennick
