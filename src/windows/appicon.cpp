#include "windows/appicon.h"

namespace fennick {

QIcon appIcon() {
    QIcon icon;
    for (const char* size : {"32", "64", "256"})
        icon.addFile(QStringLiteral(":/icons/fennick-%1.png").arg(QLatin1String(size)));
    // The 128-pixel image is also known by its plain name.
    icon.addFile(QStringLiteral(":/icons/fennick.png"));
    return icon;
}

} // namespace fennick
