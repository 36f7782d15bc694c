#pragma once

#include "reports/report.h"

#include <QList>
#include <array>
#include <functional>
#include <memory>

class QMainWindow;

namespace fennick {

class CheckInWindow;
class ReportWindow;

// The main windows: the check-in window, made at once, and the report
// windows, made when first asked for. One is in front at a time; showing one
// closes the others.
class MainWindows {
public:
    // `adopt` gives a new window its menus and signals.
    explicit MainWindows(std::function<void(QMainWindow*)> adoptCheckIn,
                         std::function<void(ReportWindow*)> adoptReport);
    ~MainWindows();

    CheckInWindow* checkIn() const { return checkIn_.get(); }
    // The report window of a kind, made when first asked for.
    ReportWindow* report(ReportKind kind);
    // The report window of a kind if it was made; else null.
    ReportWindow* made(ReportKind kind) const;
    QList<QMainWindow*> all() const;

    // The report window in front, if one is; the window in front.
    ReportWindow* frontReport() const;
    QMainWindow* front() const;

    // Shows a window, restored if minimized, and closes the others in an
    // order that follows the window shown.
    void show(QMainWindow* window);

private:
    std::function<void(ReportWindow*)> adoptReport_;
    std::unique_ptr<CheckInWindow> checkIn_;
    std::array<std::unique_ptr<ReportWindow>, std::size(kReportKinds)> reports_;
};

} // namespace fennick
