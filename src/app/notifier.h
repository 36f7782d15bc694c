#pragma once

#include <QObject>
#include <QString>

class QDBusPendingCallWatcher;

namespace fennick {

// Desktop notifications through the freedesktop notification service on the
// session bus. The calls are asynchronous so a slow or missing service never
// stalls the windows; without a service `unavailable` hands the text back for
// the tray's message.
class Notifier : public QObject {
    Q_OBJECT

public:
    explicit Notifier(QObject* parent = nullptr);

    void notify(const QString& title, const QString& body);

signals:
    void checkOutRequested();
    void unavailable(const QString& title, const QString& body);

private slots:
    void actionInvoked(uint id, const QString& key);

private:
    void send(const QString& title, const QString& body, bool withAction);

    QList<uint> ids_; // the notifications that carry the check-out action
};

} // namespace fennick
