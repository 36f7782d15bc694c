// Start-up around the windows: the display check, the single-instance lock
// and its folder.

#include "app/display.h"
#include "app/singleinstance.h"
#include "support.h"

#include <QLocalServer>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTest>
#include <QThread>

#include <sys/mount.h>

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
        row("remote X trusted", "DISPLAY=host:10.0", true);
        row("wayland", "WAYLAND_DISPLAY=wayland-0 XDG_RUNTIME_DIR=/run/u /run/u/wayland-0", true);
        row("wayland socket gone", "WAYLAND_DISPLAY=wayland-0 XDG_RUNTIME_DIR=/run/u", false);
        row("offscreen needs none", "QT_QPA_PLATFORM=offscreen", true);
        row("xcb platform still needs X", "QT_QPA_PLATFORM=xcb", false);
        row("X server on the abstract socket only", "DISPLAY=:1 @/tmp/.X11-unix/X1", true);
        row("abstract socket of another display", "DISPLAY=:1 @/tmp/.X11-unix/X0", false);
        row("wayland forced on an X11 session",
            "QT_QPA_PLATFORM=wayland DISPLAY=:0 /tmp/.X11-unix/X0", false);
        row("forced list falls back to X11",
            "QT_QPA_PLATFORM=wayland;xcb DISPLAY=:0 /tmp/.X11-unix/X0", true);
        row("forced wayland reachable", "QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=/run/w /run/w",
            true);
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

    // Only a socket somebody listens on counts, on a path or in the abstract
    // namespace; a socket file left behind does not.
    void socketListening() {
        QTemporaryDir dir;
        QLocalServer server;
        QVERIFY(server.listen(dir.filePath("s")));
        QVERIFY(fennick::socketListening(dir.filePath("s")));
        server.close();
        QVERIFY(put(dir.filePath("s"), ""));
        QVERIFY(!fennick::socketListening(dir.filePath("s")));
        server.setSocketOptions(QLocalServer::AbstractNamespaceOption);
        QVERIFY(server.listen(dir.filePath("abstract")));
        QVERIFY(fennick::socketListening(u'@' + server.fullServerName()));
        QVERIFY(!QFileInfo::exists(server.fullServerName()));
    }

    void instanceLock_data() {
        QTest::addColumn<QString>("setup"); // what stands at the lock's place
        QTest::addColumn<SingleInstance::Claim>("claim");
        QTest::addColumn<QString>("failure"); // a word of the one-line failure
        using C = SingleInstance::Claim;
        QTest::newRow("nothing: owned") << "" << C::Owned << "";
        QTest::newRow("running instance answers") << "running" << C::Answered << "";
        QTest::newRow("empty lock file is stale") << "empty" << C::Owned << "";
        QTest::newRow("garbage lock file is stale") << "garbage" << C::Owned << "";
        QTest::newRow("directory at the lock") << "directory" << C::Failed << "lock";
        QTest::newRow("live process of the name, no answer")
            << "live" << C::Failed << "does not answer";
        QTest::newRow("folder is a file") << "folder-file" << C::Failed << "folder";
        QTest::newRow("full runtime folder") << "full" << C::Failed << "cannot take";
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
        const QByteArray native = QFile::encodeName(dir);
        QVERIFY(setup.isEmpty() || setup == "no-folder" || QDir().mkpath(dir));
        const QByteArray live = QByteArray::number(::getpid()) + '\n' +
                                QCoreApplication::applicationName().toUtf8() + '\n' +
                                QSysInfo::machineHostName().toUtf8() + '\n';
        const QMap<QString, QByteArray> lockFiles{
            {"empty", ""}, {"garbage", "\x01zz\nnot a pid\n"}, {"live", live}};
        std::optional<RunningInstance> running;
        if (setup == "running")
            running.emplace(dir);
        QVERIFY(!lockFiles.contains(setup) || put(lock, lockFiles[setup]));
        QVERIFY(setup != "directory" || QDir().mkdir(lock));
        QVERIFY(setup != "folder-file" || (QDir(dir).removeRecursively() && put(dir, "")));
        if (setup == "full") {
            if (::mount("tmpfs", native.constData(), "tmpfs", 0, "size=4k,mode=0700") != 0)
                QSKIP("mounting a tmpfs needs root; run as root to cover a full folder");
            put(dir + "/filler", QByteArray(8192, 'x')); // fails once the folder is full
        }
        const auto unmount = qScopeGuard([&] {
            if (setup == "full")
                ::umount2(native.constData(), MNT_DETACH);
        });
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

    void fallbackFolder_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<bool>("used");
        QTest::newRow("missing, made 0700") << "missing" << true;
        QTest::newRow("own and 0700") << "private" << true;
        QTest::newRow("open to others") << "0755" << false;
        QTest::newRow("symbolic link to a private folder") << "link" << false;
        QTest::newRow("another user's") << "other" << false;
        QTest::newRow("a file") << "file" << false;
    }
    // Without XDG_RUNTIME_DIR the folder in /tmp is used only when it is this
    // user's alone; a missing one is made private under any umask. A runtime
    // folder of the user's own is used as it is.
    void fallbackFolder() {
        QFETCH(QString, setup);
        QFETCH(bool, used);
        QTemporaryDir temp;
        const QString dir = temp.filePath(QString("fennick-%1").arg(::geteuid()));
        const QByteArray native = QFile::encodeName(dir);
        if (setup == "private" || setup == "0755" || setup == "other")
            QCOMPARE(::mkdir(native.constData(), 0700), 0);
        QVERIFY(setup != "0755" || ::chmod(native.constData(), 0755) == 0);
        if (setup == "other" && (::geteuid() != 0 || ::chown(native.constData(), 65534, 65534)))
            QSKIP("giving a folder to another user needs root");
        QVERIFY(setup != "link" ||
                (QDir().mkdir(temp.filePath("real")) && QFile::link(temp.filePath("real"), dir)));
        QVERIFY(setup != "file" || put(dir, ""));
        const mode_t mask = ::umask(0);
        const QString chosen = SingleInstance::defaultDirectory("", temp.path());
        ::umask(mask);
        QCOMPARE(chosen, used ? dir : QString());
        QVERIFY(!used || modeOf(dir, false) == 0700);
        QVERIFY(QDir().mkdir(temp.filePath("xdg")) &&
                QFile::setPermissions(temp.filePath("xdg"),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QCOMPARE(SingleInstance::defaultDirectory(temp.filePath("xdg"), temp.path()),
                 temp.filePath("xdg"));
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
