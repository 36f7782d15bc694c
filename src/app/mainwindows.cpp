#include "app/mainwindows.h"

#include "windows/checkinwindow.h"
#include "windows/reportwindow.h"

namespace fennick {

namespace {

// The names the report windows have always had; tests and scripts find them.
const char* objectNameOf(ReportKind kind) {
    switch (kind) {
    case ReportKind::Log:
        return "logWindow";
    case ReportKind::DailySums:
        return "sum1Window";
    case ReportKind::MonthlySums:
        return "sum2Window";
    case ReportKind::WeeklySums:
        return "weekWindow";
    }
    return "";
}

} // namespace

MainWindows::MainWindows(std::function<void(QMainWindow*)> adoptCheckIn,
                         std::function<void(ReportWindow*)> adoptReport)
    : adoptReport_(std::move(adoptReport)), checkIn_(std::make_unique<CheckInWindow>()) {
    adoptCheckIn(checkIn_.get());
}

MainWindows::~MainWindows() = default;

ReportWindow* MainWindows::report(ReportKind kind) {
    std::unique_ptr<ReportWindow>& window = reports_[std::size_t(kind)];
    if (!window) {
        window = std::make_unique<ReportWindow>(kind);
        window->setObjectName(QLatin1String(objectNameOf(kind)));
        adoptReport_(window.get());
    }
    return window.get();
}

ReportWindow* MainWindows::made(ReportKind kind) const {
    return reports_[std::size_t(kind)].get();
}

QList<QMainWindow*> MainWindows::all() const {
    QList<QMainWindow*> windows{checkIn_.get()};
    for (const auto& window : reports_) {
        if (window)
            windows << window.get();
    }
    return windows;
}

ReportWindow* MainWindows::frontReport() const {
    for (const auto& window : reports_) {
        if (window && window->isVisible())
            return window.get();
    }
    return nullptr;
}

QMainWindow* MainWindows::front() const {
    if (ReportWindow* report = frontReport())
        return report;
    return checkIn_.get();
}

void MainWindows::show(QMainWindow* window) {
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
    QMainWindow* checkIn = checkIn_.get();
    QMainWindow* log = made(ReportKind::Log);
    QMainWindow* daily = made(ReportKind::DailySums);
    QMainWindow* monthly = made(ReportKind::MonthlySums);
    QMainWindow* weekly = made(ReportKind::WeeklySums);
    QList<QMainWindow*> closing = window == log       ? QList{daily, monthly, checkIn}
                                  : window == daily   ? QList{log, checkIn, monthly}
                                  : window == monthly ? QList{log, checkIn, daily}
                                                      : QList{log, daily, monthly};
    // The weekly sums close last; shown themselves, the check-in window does.
    closing << (window == weekly ? checkIn : weekly);
    for (QMainWindow* other : closing) {
        if (other)
            other->close();
    }
}

} // namespace fennick
