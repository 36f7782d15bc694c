#include "app/notifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace fennick {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kCheckOutKey = QStringLiteral("check-out");

QDBusMessage call(const QString& method) {
    return QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
}

} // namespace

Notifier::Notifier(QObject* parent) : QObject(parent) {
    QDBusConnection::sessionBus().connect(kService, kPath, kInterface,
                                          QStringLiteral("ActionInvoked"), this,
                                          SLOT(actionInvoked(uint, QString)));
}

void Notifier::notify(const QString& title, const QString& body) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        emit unavailable(title, body);
        return;
    }
    auto* watcher =
        new QDBusPendingCallWatcher(bus.asyncCall(call(QStringLiteral("GetCapabilities"))), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, title, body](QDBusPendingCallWatcher* done) {
                done->deleteLater();
                const QDBusPendingReply<QStringList> reply = *done;
                if (reply.isError())
                    emit unavailable(title, body);
                else
                    send(title, body, reply.value().contains(QStringLiteral("actions")));
            });
}

void Notifier::send(const QString& title, const QString& body, bool withAction) {
    QDBusMessage message = call(QStringLiteral("Notify"));
    QStringList actions;
    if (withAction)
        actions << kCheckOutKey << tr("Check Out");
    message << QStringLiteral("fennick") << uint(0) << QStringLiteral("fennick") << title << body
            << actions << QVariantMap{} << int(-1);
    auto* watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(message), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, title, body, withAction](QDBusPendingCallWatcher* done) {
                done->deleteLater();
                const QDBusPendingReply<uint> reply = *done;
                if (reply.isError())
                    emit unavailable(title, body);
                else if (withAction)
                    ids_ << reply.value();
            });
}

void Notifier::actionInvoked(uint id, const QString& key) {
    // The signal goes to every client; only our own notifications count.
    if (key == kCheckOutKey && ids_.removeAll(id) > 0)
        emit checkOutRequested();
}

} // namespace fennick
