#include "app/windowplaces.h"

#include <QByteArray>
#include <QWidget>

namespace fennick {

QString windowPlaceKey(const QWidget& window) {
    return QStringLiteral("windows/%1/geometry").arg(window.objectName());
}

void restoreWindowPlace(const Settings& settings, QWidget& window) {
    const QString saved = settings.stringForKey(windowPlaceKey(window));
    if (!saved.isEmpty())
        window.restoreGeometry(QByteArray::fromBase64(saved.toLatin1()));
}

void saveWindowPlace(Settings& settings, const QWidget& window) {
    settings.setString(windowPlaceKey(window),
                       QString::fromLatin1(window.saveGeometry().toBase64()));
    settings.synchronize();
}

} // namespace fennick
