#include "windows/appicon.h"

#include <QFile>
#include <QImage>
#include <QPixmap>

namespace fennick {

QIcon appIcon() {
    // Raw pixels made from the PNGs at build time: decoding a PNG at run time
    // would load every image format plugin. Only the small sizes, as X11 sends
    // each to the window manager; docks that want more take the installed
    // theme icon named in the desktop file.
    QIcon icon;
    for (const int size : {32, 64}) {
        QFile file(QStringLiteral(":/icons/fennick-%1.rgba").arg(size));
        const QByteArray pixels = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        if (pixels.size() != size * size * 4)
            continue;
        const QImage image(reinterpret_cast<const uchar*>(pixels.constData()), size, size,
                           QImage::Format_RGBA8888);
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

} // namespace fennick
