#include "app/harness.h"
#include "timelog/logedit.h"
#include "windows/checkinwindow.h"
#include "windows/prefwindow.h"

#include <QLabel>
#include <QPushButton>

using namespace fennick;
using namespace fennick::test;

namespace {

const QString kMarch = "/TLOG202403.txt";

// A controller whose folder dialogs pick `to` and answer `use`.
struct FolderHarness : Harness {
    QString to = temp.path() + "/Sync/fennick";
    FolderUse use = FolderUse::Move;
    QStringList told;

    MyController& startWithDialogs() {
        return start([this](ControllerEnv& env) {
            env.folderDialogs.pick = [this](QWidget*, const QString&) { return to; };
            env.folderDialogs.ask = [this](QWidget*, const QString&, const QString&) {
                return use;
            };
            env.folderDialogs.tell = [this](QWidget*, const QString& text) { told << text; };
        });
    }
};

} // namespace

class TestFolderMoveWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useTimeZone("Europe/Berlin"); }

    // Preferences' "Choose…" by keyboard: the log is kept where the answer says.
    void chooseFolder_data() {
        QTest::addColumn<int>("use");
        QTest::addColumn<bool>("targetHolds"); // the new folder holds another March file
        QTest::addColumn<bool>("diskFull");
        QTest::addColumn<QString>("logs");  // "old" or "new": where the log is kept after
        QTest::addColumn<QString>("shown"); // the check-in window's last punch after
        QTest::addColumn<int>("records");   // in the March file kept
        const int move = int(FolderUse::Move);
        QTest::newRow("move") << move << false << false << "new"
                              << "2024/03/14 17:00:00" << 2;
        QTest::newRow("move merges a month in both") << move << true << false << "new"
                                                     << "2024/03/15 08:00:00" << 3;
        QTest::newRow("use as it is") << int(FolderUse::UseAsItIs) << true << false << "new"
                                      << "2024/03/15 08:00:00" << 1;
        QTest::newRow("cancel") << int(FolderUse::Cancel) << false << false << "old"
                                << "2024/03/14 17:00:00" << 2;
        QTest::newRow("move fails") << move << false << true << "old"
                                    << "2024/03/14 17:00:00" << 2;
    }
    void chooseFolder() {
        QFETCH(int, use);
        QFETCH(bool, targetHolds);
        QFETCH(bool, diskFull);
        QFETCH(QString, logs);
        QFETCH(QString, shown);
        QFETCH(int, records);
        FolderHarness h;
        h.use = FolderUse(use);
        const QByteArray old = punches({"20240314090000", "20240314170000"}).toLatin1();
        const QByteArray synced = punches({"20240315080000"}).toLatin1();
        QVERIFY(QDir().mkpath(h.logsDir()) && put(h.logsDir() + kMarch, old));
        if (targetHolds)
            QVERIFY(QDir().mkpath(h.to) && put(h.to + kMarch, synced));
        MyController& c = h.startWithDialogs();
        c.doPrefOpen();
        PrefWindow* prefs = c.prefWindow();
        {
            std::optional<FailingDisk> disk;
            if (diskFull)
                disk.emplace(FailingDisk::NoSpace);
            QTest::keyClick(&child<QPushButton>(prefs, "chooseFolder"), Qt::Key_Space);
        }
        const QString folder = logs == "new" ? h.to : h.logsDir();
        QCOMPARE(c.logsDirPathStr().value_or(""), folder);
        QCOMPARE(h.told.size(), int(diskFull));
        if (diskFull)
            QVERIFY(h.told.first().contains(h.to + kMarch) &&
                    h.told.first().contains("stays in " + h.logsDir()));
        QCOMPARE(child<QLabel>(c.ckinWindow(), "ckinPreTimeField").text(), shown);
        QCOMPARE(bytesOf(h.logsDir() + kMarch),
                 h.use == FolderUse::Move && !diskFull ? "<not a regular file>" : old);

        QCOMPARE(QDir(folder).entryList({"TLOG*"}), QStringList{kMarch.mid(1)});
        QCOMPARE(recordLines(bytesOf(folder + kMarch)).size(), records);
        h.clock.set(at("20240315100000"));
        c.onBusinessP() ? c.enterLogOut() : c.enterLogIn();
        QCOMPARE(recordLines(bytesOf(folder + kMarch)).size(), records + 1);
    }
};

QTEST_MAIN(TestFolderMoveWindow)
#include "tst_foldermovewindow.moc"
