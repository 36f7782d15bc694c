#include "platform/syslog.h"

#include <cstdio>
#include <syslog.h>

namespace fennick {

void writeSystemLog(const QString& line) {
    const QByteArray bytes = line.toUtf8();
    std::fprintf(stderr, "fennick: %s\n", bytes.constData());
    std::fflush(stderr);
    static const bool opened = [] {
        openlog("fennick", LOG_PID, LOG_USER);
        return true;
    }();
    (void)opened;
    syslog(LOG_NOTICE, "%s", bytes.constData());
}

QString logLine(const char* format, const QString& path) {
    QString out = QString::fromLatin1(format);
    out.replace(QLatin1String("%@"), path.isEmpty() ? QStringLiteral("(none)") : path);
    return out;
}

} // namespace fennick
