#pragma once

// A controller in a temporary home with a fixed clock, captured log lines,
// counted beeps and a settings file of its own.

#include "app/mycontroller.h"
#include "support.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace fennick::test {

struct Harness {
    QTemporaryDir temp;
    FixedClock clock{at("20240315093000")};
    QStringList logLines;
    int beeps = 0;
    QList<int> pauses;
    VersionAnswer version{0, kMinimumVersion};
    QString home;
    std::unique_ptr<MyController> controller;

    Harness() : home(temp.path() + QStringLiteral("/home")) {
        QDir().mkpath(home);
        qunsetenv("XDG_DATA_HOME");
    }

    QString settingsFile; // empty: settings.ini in the temporary folder
    QString settingsPath() const {
        return settingsFile.isEmpty() ? temp.path() + QStringLiteral("/settings.ini")
                                      : settingsFile;
    }
    // A fresh home's log folder.
    QString logsDir() const { return home + QStringLiteral("/.local/share/fennick"); }

    MyController& make() {
        ControllerEnv env;
        env.clock = &clock;
        env.startup.version = [this] { return version; };
        env.startup.beep = [this] { ++beeps; };
        env.startup.sleep = [this](std::chrono::milliseconds ms) { pauses << int(ms.count()); };
        env.startup.log = [this](const QString& line) { logLines << line; };
        env.startup.homeDir = home;
        env.settingsPath = settingsPath();
        env.offerTrayIcon = false;
        controller = std::make_unique<MyController>(std::move(env));
        return *controller;
    }

    MyController& start() {
        MyController& c = make();
        if (!c.awakeFromNib())
            qFatal("start-up refused");
        return c;
    }

    QVariant stored(const QString& key) const {
        return QSettings(settingsPath(), QSettings::IniFormat).value(key);
    }

    void store(const QString& key, const QVariant& value) const {
        QSettings settings(settingsPath(), QSettings::IniFormat);
        settings.setValue(key, value);
    }
};

} // namespace fennick::test
