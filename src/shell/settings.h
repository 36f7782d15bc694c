#pragma once

#include "platform/syslog.h"

#include <QSettings>
#include <QString>
#include <QVariantMap>
#include <array>
#include <memory>

namespace fennick {

inline const QString kOnBusinessKey = QStringLiteral("onBusiness");
inline const QString kPrevTimeStrKey = QStringLiteral("prevTimeStr");
// The log folder the person chose in Preferences; absent means the default.
inline const QString kLogFolderKey = QStringLiteral("logFolder");
// "targetMinutes/1" (Monday) ... "targetMinutes/7" (Sunday): minutes of work
// the person means to do that weekday; absent means no target.
inline const QString kTargetMinutesKey = QStringLiteral("targetMinutes/%1");
inline constexpr int kMaxTargetMinutes = 24 * 60;

// The per-user settings store with registered defaults: a default answers a
// read only while the store holds no value of its own for the key, and it is
// never written out.
class Settings {
public:
    Settings(std::unique_ptr<QSettings> store, LogSink log);

    // `onBusiness` = false and `prevTimeStr` = "".
    static QVariantMap appDefaults();
    void registerDefaults(const QVariantMap& defaults) { defaults_ = defaults; }

    // A stored value that is not a readable boolean (edited by hand) reads as
    // the registered default.
    bool boolForKey(const QString& key) const;
    QString stringForKey(const QString& key) const;
    void setBool(const QString& key, bool value);
    void setString(const QString& key, const QString& value);
    void remove(const QString& key) { store_->remove(key); }
    // The value as the settings file holds it now, written by another
    // process or not.
    QString storedString(const QString& key) const;

    // The target minutes of each weekday, Monday first; 0 where there is
    // none. A value that is no whole number of minutes in 0..24 h (edited
    // by hand) reads as none. Setting 0 removes the day's key.
    std::array<int, 7> targetMinutes() const;
    void setTargetMinutes(const std::array<int, 7>& minutes);

    // Writes the store out, into a folder (0700) and file (0600) of the
    // user's own; logs and answers false only when the write failed.
    bool synchronize();

    QString fileName() const { return store_->fileName(); }

private:
    std::unique_ptr<QSettings> store_;
    LogSink log_;
    QVariantMap defaults_;
};

// The store at `path` (INI format), or the per-user settings file of the
// application when the path is empty.
std::unique_ptr<QSettings> openSettingsStore(const QString& path);

} // namespace fennick
