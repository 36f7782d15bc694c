#pragma once

// A controller in a temporary home with a fixed clock and its own settings.

#include "app/mycontroller.h"
#include "support.h"
#include "windows/pagedtableview.h"
#include "windows/reportwindow.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

namespace fennick::test {

struct Harness {
    QTemporaryDir temp;
    FixedClock clock{at("20240315093000")};
    QStringList logLines;
    int beeps = 0;
    VersionAnswer version{0, kMinimumVersion};
    QString home = temp.filePath("home");
    QString settingsPath = temp.filePath("settings.ini");
    std::unique_ptr<MyController> controller;

    Harness() {
        QDir().mkpath(home);
        qunsetenv("XDG_DATA_HOME");
    }
    QString logsDir() const { return home + "/.local/share/fennick"; }
    QString file(const QString& month = "202403") const {
        return logsDir() + "/TLOG" + month + ".txt";
    }

    // `adjust` changes the environment before the controller is made.
    MyController& make(const std::function<void(ControllerEnv&)>& adjust = {}) {
        ControllerEnv env;
        env.clock = &clock;
        env.startup.version = [this] { return version; };
        env.startup.beep = [this] { ++beeps; };
        env.startup.sleep = [](std::chrono::milliseconds) {};
        env.startup.log = [this](const QString& line) { logLines << line; };
        env.startup.homeDir = home;
        env.settingsPath = settingsPath;
        env.offerTrayIcon = false;
        if (adjust)
            adjust(env);
        controller = std::make_unique<MyController>(std::move(env));
        return *controller;
    }
    MyController& start(const std::function<void(ControllerEnv&)>& adjust = {}) {
        MyController& c = make(adjust);
        if (!c.awakeFromNib())
            qFatal("start-up refused");
        return c;
    }

    QVariant stored(const QString& key) const {
        return QSettings(settingsPath, QSettings::IniFormat).value(key);
    }
    void store(const QString& key, const QVariant& value) const {
        QSettings(settingsPath, QSettings::IniFormat).setValue(key, value);
    }
};

// A report table's rows as "key=value".
inline QStringList rowsOf(const ReportWindow* window) {
    const QAbstractItemModel* model = child<PagedTableView>(window, "reportTable").model();
    QStringList rows;
    for (int row = 0; row < model->rowCount(); ++row)
        rows << model->index(row, 0).data().toString() + '=' +
                    model->index(row, 1).data().toString();
    return rows;
}

// Runs `act` on the next modal dialog of type T once it shows.
template <class T> void whenShown(std::function<void(T&)> act, int tries = 300) {
    QTimer::singleShot(10, [act, tries] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget()))
            act(*dialog);
        else if (tries > 0)
            whenShown<T>(act, tries - 1);
    });
}

} // namespace fennick::test
