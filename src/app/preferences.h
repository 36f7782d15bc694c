#pragma once

#include "platform/syslog.h"
#include "shell/settings.h"

#include <QObject>
#include <QString>
#include <memory>

namespace fennick {

class PrefWindow;

// The preferences window and what its OK and Cancel do: the weekday
// targets, the reminders and the autostart entry, written only where they
// changed; Cancel shows the stored values again.
class Preferences : public QObject {
    Q_OBJECT

public:
    Preferences(Settings& settings, QString homeDir, LogSink log, QObject* parent = nullptr);
    ~Preferences() override;

    // Made when first needed; `logFolder` is shown, not changed here.
    PrefWindow* window(const QString& logFolder);
    void open(const QString& logFolder);
    // Shows the folder the log is kept in now.
    void showFolder(const QString& logFolder);
    void accept();
    void cancel();

signals:
    void targetsChanged();
    void remindersChanged();
    // "Choose…" was pressed: the controller asks for the new log folder.
    void chooseFolderRequested();

private:
    void showStored();
    void applyStartAtLogin();

    Settings& settings_;
    QString homeDir_;
    LogSink log_;
    std::unique_ptr<PrefWindow> window_;
};

} // namespace fennick
