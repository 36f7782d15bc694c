#include "app/tray.h"

#include <QApplication>
#include <QMenu>

#include <chrono>

namespace fennick {

Tray::Tray(QMenu* menu, std::function<QString()> toolTip, std::function<void()> showCheckIn)
    : icon_(QApplication::windowIcon()), toolTip_(std::move(toolTip)) {
    icon_.setContextMenu(menu);
    refresh();
    connect(&tick_, &QTimer::timeout, this, &Tray::refresh);
    tick_.start(std::chrono::minutes(1));
    connect(&icon_, &QSystemTrayIcon::activated, this,
            [showCheckIn = std::move(showCheckIn)](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger)
                    showCheckIn();
            });
    icon_.show();
    // With a tray icon the application lives on when its windows are closed.
    QApplication::setQuitOnLastWindowClosed(false);
}

void Tray::refresh() {
    icon_.setToolTip(toolTip_());
}

void Tray::showMessage(const QString& title, const QString& body) {
    icon_.showMessage(title, body);
}

} // namespace fennick
