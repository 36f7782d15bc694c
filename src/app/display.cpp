#include "app/display.h"

#include <QRegularExpression>
#include <QStringList>

namespace fennick {

namespace {

bool waylandReachable(const QString& display, const std::function<QString(const char*)>& env,
                      const std::function<bool(const QString&)>& exists) {
    if (display.startsWith(u'/'))
        return exists(display);
    const QString runtime = env("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && exists(runtime + u'/' + display);
}

bool x11Reachable(const QString& display, const std::function<bool(const QString&)>& exists) {
    // Only a local display can be checked cheaply; trust a remote one.
    static const QRegularExpression local(QStringLiteral("^(unix)?:(\\d+)(\\.\\d+)?$"));
    const QRegularExpressionMatch match = local.match(display);
    if (!match.hasMatch())
        return true;
    return exists(QStringLiteral("/tmp/.X11-unix/X") + match.captured(2));
}

} // namespace

std::optional<QString> missingDisplay(const std::function<QString(const char*)>& env,
                                      const std::function<bool(const QString&)>& exists) {
    static const QStringList headless{QStringLiteral("offscreen"), QStringLiteral("minimal"),
                                      QStringLiteral("vnc"), QStringLiteral("linuxfb"),
                                      QStringLiteral("eglfs")};
    const QString platform = env("QT_QPA_PLATFORM").section(u':', 0, 0);
    if (headless.contains(platform))
        return std::nullopt;
    const QString wayland = env("WAYLAND_DISPLAY");
    const QString x11 = env("DISPLAY");
    if (!wayland.isEmpty() && waylandReachable(wayland, env, exists))
        return std::nullopt;
    if (!x11.isEmpty() && x11Reachable(x11, exists))
        return std::nullopt;
    if (wayland.isEmpty() && x11.isEmpty())
        return QStringLiteral("no display: neither DISPLAY nor WAYLAND_DISPLAY is set; "
                              "start fennick from a desktop session");
    return QStringLiteral("cannot reach the display %1; start fennick from a desktop session")
        .arg(x11.isEmpty() ? wayland : x11);
}

} // namespace fennick
