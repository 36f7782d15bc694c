#include "platform/version.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace fennick {

VersionAnswer queryVersion(const char* runningQt, int builtMajor, int builtMinor) {
    const QStringList parts = QString::fromLatin1(runningQt ? runningQt : "").split(u'.');
    bool okMajor = false;
    bool okMinor = false;
    const int major = parts.value(0).toInt(&okMajor);
    const int minor = parts.value(1).toInt(&okMinor);
    if (!okMajor || !okMinor)
        return VersionAnswer{-1, 0};
    const bool recentEnough = major > builtMajor || (major == builtMajor && minor >= builtMinor);
    return VersionAnswer{0, recentEnough ? kMinimumVersion : kMinimumVersion - 1};
}

VersionAnswer queryVersion() { return queryVersion(qVersion(), QT_VERSION_MAJOR, QT_VERSION_MINOR); }

} // namespace fennick
