// Start-up before the windows: the single-instance lock.

#include "app/singleinstance.h"
#include "support.h"

#include <QSignalSpy>
#include <QSysInfo>
#include <QThread>

using namespace fennick;
using namespace fennick::test;

namespace {

// A running instance in its own thread, so the asking side can block.
struct RunningInstance {
    QThread thread;
    SingleInstance* instance;
    explicit RunningInstance(const QString& dir) : instance(new SingleInstance(dir)) {
        instance->moveToThread(&thread);
        thread.start();
        QMetaObject::invokeMethod(
            instance, [this] { instance->claim(); }, Qt::BlockingQueuedConnection);
    }
    ~RunningInstance() {
        QMetaObject::invokeMethod(
            instance, [this] { delete instance; }, Qt::BlockingQueuedConnection);
        thread.quit();
        thread.wait();
    }
};

} // namespace

class TestShell : public QObject {
    Q_OBJECT

private slots:
    void instanceLock_data() {
        QTest::addColumn<QString>("setup"); // what stands at the lock's place
        QTest::addColumn<SingleInstance::Claim>("claim");
        QTest::addColumn<QString>("failure"); // a word of the one-line failure
        using C = SingleInstance::Claim;
        QTest::newRow("nothing: owned") << "" << C::Owned << "";
        QTest::newRow("running instance answers") << "running" << C::Answered << "";
        QTest::newRow("empty lock file is stale") << "empty" << C::Owned << "";
        QTest::newRow("directory at the lock") << "directory" << C::Failed << "lock";
        QTest::newRow("live process of the name, no answer")
            << "live" << C::Failed << "does not answer";
    }
    // A second start hands over or fails in one line; under umask 000 still private.
    void instanceLock() {
        QFETCH(QString, setup);
        QFETCH(SingleInstance::Claim, claim);
        QFETCH(QString, failure);
        QTemporaryDir temp;
        const QString dir = temp.filePath("run/fennick");
        const QString lock = dir + "/fennick.lock";
        QVERIFY(setup.isEmpty() || QDir().mkpath(dir));
        const QByteArray live = QByteArray::number(::getpid()) + '\n' +
                                QCoreApplication::applicationName().toUtf8() + '\n' +
                                QSysInfo::machineHostName().toUtf8() + '\n';
        const QMap<QString, QByteArray> lockFiles{{"empty", ""}, {"live", live}};
        std::optional<RunningInstance> running;
        if (setup == "running")
            running.emplace(dir);
        QVERIFY(!lockFiles.contains(setup) || put(lock, lockFiles[setup]));
        QVERIFY(setup != "directory" || QDir().mkdir(lock));
        std::optional<QSignalSpy> activated;
        if (running)
            activated.emplace(running->instance, &SingleInstance::activationRequested);
        const mode_t mask = ::umask(0);
        SingleInstance second(dir);
        const SingleInstance::Claim got = second.claim();
        ::umask(mask);
        QCOMPARE(got, claim);
        QCOMPARE(second.failure().isEmpty(), failure.isEmpty());
        QVERIFY(second.failure().contains(failure) && !second.failure().contains(u'\n'));
        QCOMPARE(activated && activated->count() == 1, claim == SingleInstance::Claim::Answered);
        QVERIFY(claim != SingleInstance::Claim::Owned || modeOf(lock, false) == 0600);
        QVERIFY(!setup.isEmpty() || modeOf(dir, false) == 0700);
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
