#include "windows/appicon.h"

namespace fennick {

QIcon appIcon() {
    // Qt decodes every image when it is added and X11 sends them all to the
    // window manager, so the window carries only the small sizes; docks that
    // want more take the installed theme icon named in the desktop file.
    QIcon icon;
    for (const char* size : {"32", "64"})
        icon.addFile(QStringLiteral(":/icons/fennick-%1.png").arg(QLatin1String(size)));
    return icon;
}

} // namespace fennick
