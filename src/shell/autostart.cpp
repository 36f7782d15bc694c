#include "shell/autostart.h"

#include "platform/privatefs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace fennick {

namespace {

const char kEntry[] = "[Desktop Entry]\n"
                      "Type=Application\n"
                      "Name=fennick\n"
                      "GenericName=Time Clock\n"
                      "Comment=Check in and out of work and see your working hours\n"
                      "Exec=fennick --background\n"
                      "Icon=fennick\n"
                      "Terminal=false\n"
                      "X-GNOME-Autostart-enabled=true\n";

} // namespace

QString autostartFilePath(const QString& homeDir) {
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!QDir::isAbsolutePath(config))
        config = homeDir + QStringLiteral("/.config");
    return config + QStringLiteral("/autostart/io.github.fennick.fennick.desktop");
}

bool autostartEnabled(const QString& homeDir) {
    return QFileInfo::exists(autostartFilePath(homeDir));
}

bool setAutostart(const QString& homeDir, bool enabled) {
    const QString path = autostartFilePath(homeDir);
    if (!enabled)
        return !QFileInfo::exists(path) || QFile::remove(path);
    if (!makePrivateDirs(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(kEntry) == qint64(sizeof kEntry - 1) &&
           file.commit();
}

} // namespace fennick
