#include "shell/settings.h"

#include "platform/privatefs.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fennick {

namespace {

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A writer killed between creating the store's lock file and writing its
// owner into it leaves the lock empty, and Qt waits 30 seconds before it
// calls such a lock stale. The owner flocks the file right after creating
// it, so an empty lock that nobody holds has no owner left.
void removeOwnerlessLock(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size == 0 &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0)
        ::unlink(name.constData());
    ::close(fd);
}

} // namespace

std::unique_ptr<QSettings> openSettingsStore(const QString& path) {
    if (!path.isEmpty())
        return std::make_unique<QSettings>(path, QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("fennick"), QStringLiteral("fennick"));
}

Settings::Settings(std::unique_ptr<QSettings> store, LogSink log)
    : store_(std::move(store)), log_(std::move(log)) {}

QVariantMap Settings::appDefaults() {
    return QVariantMap{{kOnBusinessKey, false}, {kPrevTimeStrKey, QString()}};
}

bool Settings::boolForKey(const QString& key) const {
    const bool fallback = defaults_.value(key).toBool();
    if (!store_->contains(key))
        return fallback;
    const QVariant value = store_->value(key);
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    const QString text = value.toString().trimmed().toLower();
    if (text == u"true" || text == u"yes")
        return true;
    if (text == u"false" || text == u"no")
        return false;
    bool isNumber = false;
    const long long number = text.toLongLong(&isNumber);
    return isNumber ? number != 0 : fallback;
}

QString Settings::stringForKey(const QString& key) const {
    if (!store_->contains(key))
        return defaults_.value(key).toString();
    const QVariant value = store_->value(key);
    return value.canConvert<QString>() ? value.toString() : QString();
}

void Settings::setBool(const QString& key, bool value) {
    store_->setValue(key, value);
}

std::array<int, 7> Settings::targetMinutes() const {
    std::array<int, 7> minutes{};
    for (std::size_t day = 0; day < minutes.size(); ++day) {
        bool isNumber = false;
        const int value =
            store_->value(kTargetMinutesKey.arg(day + 1)).toString().trimmed().toInt(&isNumber);
        minutes[day] = isNumber && value > 0 && value <= kMaxTargetMinutes ? value : 0;
    }
    return minutes;
}

void Settings::setTargetMinutes(const std::array<int, 7>& minutes) {
    for (std::size_t day = 0; day < minutes.size(); ++day) {
        const QString key = kTargetMinutesKey.arg(day + 1);
        if (minutes[day] > 0)
            store_->setValue(key, std::min(minutes[day], kMaxTargetMinutes));
        else
            store_->remove(key);
    }
}

QString Settings::storedString(const QString& key) const {
    // A store opened afresh reads the file again; this one keeps what it read.
    return QSettings(store_->fileName(), QSettings::IniFormat).value(key).toString();
}

void Settings::setString(const QString& key, const QString& value) {
    store_->setValue(key, value);
}

bool Settings::synchronize() {
    // Made private before the store writes, whatever the umask: the store
    // keeps the mode of a file that exists.
    const QString path = store_->fileName();
    makePrivateDirs(QFileInfo(path).absolutePath());
    makePrivateFile(path);
    const QByteArray before = bytesOf(path);
    removeOwnerlessLock(path + QStringLiteral(".lock"));
    store_->sync();
    if (store_->status() == QSettings::NoError)
        return true;
    if (store_->status() == QSettings::FormatError && bytesOf(path) != before) {
        // A line the store could not read stays in its status and would hide
        // any later failure. The file changed, so it was written (without
        // that line); a fresh store reports the next writes truthfully.
        store_ = std::make_unique<QSettings>(path, QSettings::IniFormat);
        return true;
    }
    if (log_)
        log_(logLine("Settings:%@ write error!", store_->fileName()));
    return false;
}

} // namespace fennick
