#include "shell/startup.h"

#include "platform/privatefs.h"
#include "platform/texts.h"

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

std::optional<QString> logDirectoryPath(const QString& homeDir) {
    const QString dirText = localized(texts::LogDirPath);
    if (dirText.isEmpty())
        return std::nullopt;
    return expandTilde(dirText, homeDir);
}

void ensureLogDirectory(const QString& path, const LogSink& log) {
    if (QFileInfo(path).isDir())
        return;
    // The default folder lies in ~/Library, which a Linux home does not
    // have: missing parents are made too, or no punch could ever be kept.
    const QString parent = QFileInfo(path).absolutePath();
    const bool parentReady = makePrivateDirs(parent);
    // Private records: only the user may list or read them.
    if (!parentReady || ::mkdir(QFile::encodeName(path).constData(), 0700) != 0)
        log(logLine("fail to create Dir:%@.", path));
}

} // namespace fennick
