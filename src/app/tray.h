#pragma once

#include <QObject>
#include <QString>
#include <QSystemTrayIcon>
#include <QTimer>
#include <functional>

class QMenu;

namespace fennick {

// The tray icon: its menu, its tooltip (the state and today's time, kept
// fresh once a minute while the time grows) and a click that shows the
// check-in window. Made only where the desktop has a tray.
class Tray : public QObject {
    Q_OBJECT

public:
    Tray(QMenu* menu, std::function<QString()> toolTip, std::function<void()> showCheckIn);

    void refresh();
    // A balloon message, where the desktop has no notification service.
    void showMessage(const QString& title, const QString& body);

private:
    QSystemTrayIcon icon_;
    QTimer tick_;
    std::function<QString()> toolTip_;
};

} // namespace fennick
