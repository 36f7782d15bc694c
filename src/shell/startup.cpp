#include "shell/startup.h"

#include "platform/privatefs.h"

#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>

namespace fennick {

void refuseToRun(const StartupEnv& env) {
    for (int i = 0; i < 5; ++i) {
        env.beep();
        env.sleep(std::chrono::milliseconds(250));
    }
    // On this platform the gate checks the Qt library, so the line names it.
    env.log(
        QStringLiteral("We MUST run on Qt %1 and higher!!!").arg(QLatin1String(QT_VERSION_STR)));
}

QString expandTilde(const QString& path, const QString& homeDir) {
    if (path == u"~")
        return homeDir;
    if (path.startsWith(QLatin1String("~/")))
        return QDir::cleanPath(homeDir + path.mid(1));
    return path;
}

QString resolveLogFolder(const QString& chosen, const QString& homeDir) {
    if (!chosen.trimmed().isEmpty())
        return expandTilde(chosen, homeDir);
    const QString legacy = homeDir + QStringLiteral("/Library/fennick");
    if (QFileInfo(legacy).isDir())
        return legacy;
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (!QDir::isAbsolutePath(dataHome))
        dataHome = homeDir + QStringLiteral("/.local/share");
    return QDir::cleanPath(dataHome + QStringLiteral("/fennick"));
}

void ensureLogDirectory(const QString& path, const LogSink& log) {
    if (QFileInfo(path).isDir())
        return;
    // A chosen folder or a fresh home may lack the parents too: they are
    // made, or no punch could ever be kept.
    const QString parent = QFileInfo(path).absolutePath();
    const bool parentReady = makePrivateDirs(parent);
    // Private records: only the user may list or read them.
    if (!parentReady || ::mkdir(QFile::encodeName(path).constData(), 0700) != 0)
        log(logLine("fail to create Dir:%@.", path));
}

} // namespace fennick
