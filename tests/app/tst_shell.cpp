// Start-up around the windows: the display check and the single-instance lock.

#include "app/display.h"
#include "app/singleinstance.h"
#include "support.h"

#include <QSignalSpy>
#include <QSysInfo>
#include <QTest>
#include <QThread>

using namespace fennick;
using namespace fennick::test;

namespace {

// A running instance in a thread of its own, as another process would be:
// the asking side blocks while it waits for the answer.
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
    void display_data() {
        QTest::addColumn<QString>("setup"); // NAME=value pairs and paths that exist
        QTest::addColumn<bool>("usable");
        const auto row = [](const char* name, const char* setup, bool usable) {
            QTest::newRow(name) << QString(setup) << usable;
        };
        row("nothing set", "", false);
        row("local X server", "DISPLAY=:0 /tmp/.X11-unix/X0", true);
        row("local X socket gone", "DISPLAY=:1.0 /tmp/.X11-unix/X0", false);
        row("wayland", "WAYLAND_DISPLAY=wayland-0 XDG_RUNTIME_DIR=/run/u /run/u/wayland-0", true);
        row("offscreen needs none", "QT_QPA_PLATFORM=offscreen", true);
    }
    // A missing display is one line of explanation.
    void display() {
        QFETCH(QString, setup);
        QFETCH(bool, usable);
        QMap<QString, QString> known; // a path maps to ""
        for (const QString& word : setup.split(u' ', Qt::SkipEmptyParts))
            known[word.section(u'=', 0, 0)] = word.section(u'=', 1);
        const auto reason =
            missingDisplay([&](const char* name) { return known.value(name); },
                           [&](const QString& path) { return known.contains(path); });
        QCOMPARE(!reason, usable);
        QVERIFY(!reason || (reason->contains("display") && !reason->contains(u'\n')));
    }

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
        QTest::newRow("folder is a file") << "folder-file" << C::Failed << "folder";
        QTest::newRow("no private folder") << "no-folder" << C::Failed << "runtime folder";
    }
    // A second start hands over to the first, which is asked to show itself;
    // a lock that cannot be taken is told apart from an answer. Made under
    // umask 000, the folder and the lock are still private.
    void instanceLock() {
        QFETCH(QString, setup);
        QFETCH(SingleInstance::Claim, claim);
        QFETCH(QString, failure);
        QTemporaryDir temp;
        const QString dir = setup == "no-folder" ? QString() : temp.filePath("run/fennick");
        const QString lock = dir + "/fennick.lock";
        QVERIFY(setup.isEmpty() || setup == "no-folder" || QDir().mkpath(dir));
        const QByteArray live = QByteArray::number(::getpid()) + '\n' +
                                QCoreApplication::applicationName().toUtf8() + '\n' +
                                QSysInfo::machineHostName().toUtf8() + '\n';
        const QMap<QString, QByteArray> lockFiles{{"empty", ""}, {"live", live}};
        std::optional<RunningInstance> running;
        if (setup == "running")
            running.emplace(dir);
        QVERIFY(!lockFiles.contains(setup) || put(lock, lockFiles[setup]));
        QVERIFY(setup != "directory" || QDir().mkdir(lock));
        QVERIFY(setup != "folder-file" || (QDir(dir).removeRecursively() && put(dir, "")));
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
