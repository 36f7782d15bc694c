// Start-up (the single-instance lock, then the controller), the windows, settings,
// working-time account, log folder choice and German.

#include "app/harness.h"
#include "app/singleinstance.h"
#include "platform/translations.h"
#include "timelog/logedit.h"
#include "windows/checkinwindow.h"
#include "windows/prefwindow.h"

#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSysInfo>
#include <QThread>
#include <QTranslator>

using namespace fennick;
using namespace fennick::test;

namespace {

// What the check-in window shows under the last punch, hidden lines left out.
QStringList accountShown(const CheckInWindow* w) {
    QStringList shown;
    for (const char* name : {"ckinTodayField", "ckinLeftField", "ckinBalanceField"}) {
        const auto& label = child<QLabel>(w, name);
        if (label.isVisibleTo(w))
            shown << label.text();
    }
    return shown;
}

// Monday 11 March 08:00-16:00, and today, Friday the 15th, from 08:00 (to 09:00).
bool writeWeek(const Harness& h, bool checkedIn) {
    QStringList times{"20240311080000", "20240311160000", "20240315080000"};
    if (!checkedIn)
        times << "20240315090000";
    return writeMonths(h.logsDir(), times);
}

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

// A folder choice: the answer, whether the new folder holds another March file and whether the
// disk is full; then where the log is kept ("old" or "new"), the last punch shown and the records
// in the March file kept.
struct Choice {
    FolderUse use;
    bool targetHolds, diskFull;
    QString logs, shown;
    int records;
};

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

class TestMyController : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useTimeZone("Europe/Berlin"); }

    // Too old a Qt: refused with beeps and a log line, nothing touched.
    void versionGate() {
        Harness h;
        h.version = VersionAnswer{0, 0x103F};
        QVERIFY(!h.make().awakeFromNib());
        QVERIFY(!QFileInfo::exists(h.logsDir()) && !QFileInfo::exists(h.settingsPath));
        QCOMPARE(h.beeps, 5);
        QCOMPARE(h.logLines.size(), 1);
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

    void windowStates_data() {
        QTest::addColumn<QVariant>("onBusiness"); // invalid: nothing stored, else 09:00:35
        QTest::addColumn<bool>("translated");
        QTest::addColumn<QStringList>("texts"); // title, prompt, label, time
        QTest::addColumn<bool>("checkedIn");
        const QStringList out{"Now CheckOut...", "Please CheckIn.", "Last CheckOut time:"};
        const QString time = "2007/03/01 09:00:35";
        QTest::newRow("first run") << QVariant() << false << out + QStringList{""} << false;
        QTest::newRow("translated, checked in")
            << QVariant(true) << true
            << QStringList{"State: Arrive (%d%)", "Next: Leave", "Without a word", time} << true;
        QTest::newRow("hand-edited flag reads as checked out")
            << QVariant("perhaps") << false << out + QStringList{time} << false;
    }
    void windowStates() {
        QFETCH(QVariant, onBusiness);
        QFETCH(bool, translated);
        QFETCH(QStringList, texts);
        QFETCH(bool, checkedIn);
        QTranslator translator;
        if (translated) {
            QVERIFY(translator.load("test_infoplist", FENNICK_TEST_QM_DIR));
            QCoreApplication::installTranslator(&translator);
        }
        Harness h;
        if (onBusiness.isValid()) {
            h.store(kOnBusinessKey, onBusiness);
            h.store(kPrevTimeStrKey, "20070301090035");
        }
        MyController& c = h.start();
        c.showCheckInWindow();
        const CheckInWindow* w = c.ckinWindow();
        QStringList shown;
        for (const char* name :
             {"ckinMainTitieField", "ckinMainMessField", "ckinPreTitieField", "ckinPreTimeField"})
            shown << child<QLabel>(w, name).text();
        QCOMPARE(shown, texts);
        QCOMPARE(child<QPushButton>(w, "ckOutButton").isDefault(), checkedIn);
        QCoreApplication::removeTranslator(&translator);
    }

    void logFolder_data() {
        QTest::addColumn<QString>("setup"); // what stands at the path before start-up
        QTest::newRow("missing, created") << "missing";
        QTest::newRow("existing folder, untouched") << "folder";
        QTest::newRow("regular file at the path: refused") << "file";
    }
    // Made under umask 000, folders are 0700 and settings 0600; old ones stay.
    void logFolder() {
        QFETCH(QString, setup);
        const bool failure = setup == "file";
        Harness h;
        h.settingsPath = h.temp.filePath("config/fennick/fennick.conf");
        const QString dir = h.logsDir(), parent = QFileInfo(dir).absolutePath();
        QVERIFY(QDir().mkpath(parent));
        if (setup == "folder")
            QVERIFY(QDir().mkpath(dir) && ::chmod(QFile::encodeName(dir), 0750) == 0);
        QVERIFY(setup != "file" || put(dir, ""));
        const mode_t mask = ::umask(0);
        MyController& c = h.start();
        c.session().saveDefaults();
        ::umask(mask);
        QCOMPARE(c.logsDirPathStr(), std::optional<QString>(dir));
        QCOMPARE(child<QLabel>(c.ckinWindow(), "ckinMainMessField").text(), "Please CheckIn.");
        QCOMPARE(h.logLines,
                 failure ? QStringList{QString("fail to create Dir:%1.").arg(dir)} : QStringList{});
        QCOMPARE(QList<int>({modeOf(h.temp.filePath("config")),
                             modeOf(h.temp.filePath("config/fennick")), modeOf(h.settingsPath)}),
                 QList<int>({0700, 0700, 0600}));
        QVERIFY(failure || modeOf(dir) == (setup == "folder" ? 0750 : 0700));
    }

    void settingsWriteErrors_data() {
        QTest::addColumn<QString>("setup");
        QTest::newRow("unreadable line") << "line";
        QTest::newRow("folder is a file") << "blocked";
        QTest::newRow("empty lock of a killed writer") << "lock";
    }
    // Only a failed write is reported, once per save; unreadable lines never. A lock
    // that its killed writer left empty does not hold the save up.
    void settingsWriteErrors() {
        QFETCH(QString, setup);
        const bool blocked = setup == "blocked";
        Harness h;
        if (blocked)
            h.settingsPath = h.temp.filePath("blocker/settings.ini");
        QVERIFY(blocked ? put(h.temp.filePath("blocker"), "")
                        : put(h.settingsPath, "[General]\nthis is no setting\n"));
        QVERIFY(setup != "lock" || put(h.settingsPath + ".lock", ""));
        MyController& c = h.start();
        c.session().timeClock().setOnBusinessP(true);
        c.session().timeClock().setPrevTimeStr("20240315093000");
        QElapsedTimer saving;
        saving.start();
        c.session().saveDefaults();
        c.session().saveDefaults();
        QVERIFY(saving.elapsed() < 10000);
        const QString line = QString("Settings:%1 write error!").arg(h.settingsPath);
        QCOMPARE(h.logLines, blocked ? QStringList({line, line}) : QStringList());
        QVERIFY(blocked || h.stored(kPrevTimeStrKey) == "20240315093000");
    }

    void account_data() {
        QTest::addColumn<bool>("checkedIn");
        QTest::addColumn<QStringList>("lines"); // at 09:30:00
        QTest::addColumn<QStringList>("later"); // a minute later
        QTest::newRow("checked in")
            << true << QStringList{"Today: 01:30", "Left today: 06:30", "Week balance: -30:30"}
            << QStringList{"Today: 01:31", "Left today: 06:29", "Week balance: -30:29"};
        const QStringList out{"Today: 01:00", "Left today: 07:00", "Week balance: -31:00"};
        QTest::newRow("checked out") << false << out << out;
    }
    // Refreshed at each minute boundary while checked in and shown, else never.
    void account() {
        QFETCH(bool, checkedIn);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, later);
        Harness h;
        for (int day = 1; day <= 5; ++day)
            h.store(QString("targetMinutes/%1").arg(day), 480); // forty hours a week
        QVERIFY(writeWeek(h, checkedIn));
        MyController& c = h.start();
        c.showCheckInWindow();
        CheckInWindow* w = c.ckinWindow();
        QCOMPARE(accountShown(w), lines);
        QCOMPARE(w->isTicking(), checkedIn);
        QVERIFY(!checkedIn || (w->msecsToTick() > 59000 && w->msecsToTick() <= 60000));
        // Late by 45 seconds: the next refresh comes at the next boundary.
        h.clock.advance(45);
        emit w->minuteTick();
        QVERIFY(!checkedIn || (w->msecsToTick() > 14000 && w->msecsToTick() <= 15000));
        h.clock.advance(15);
        emit w->minuteTick();
        QCOMPARE(accountShown(w), later);
        c.showLogWindow();
        QVERIFY(!w->isVisible() && !w->isTicking());
    }

    // New targets show at once everywhere; unchanged or cancelled, none is saved.
    void weeklySumsAndPreferences() {
        Harness h;
        QVERIFY(writeWeek(h, true));
        MyController& c = h.start();
        c.action(Command::ShowWeeklySums)->trigger();
        ReportWindow* w = c.reportWindow(ReportKind::WeeklySums);
        QCOMPARE(rowsOf(w).size(), 5);
        QCOMPARE(rowsOf(w).value(2), "2024-W11=09:30:00");
        const QByteArray before = bytesOf(h.settingsPath);
        c.doPrefOpen();
        PrefWindow* prefs = c.prefWindow();
        prefs->okButton()->click();
        QCOMPARE(bytesOf(h.settingsPath), before);
        c.doPrefOpen();
        child<QDoubleSpinBox>(prefs, "targetHours1").setValue(8);
        child<QDoubleSpinBox>(prefs, "targetHours5").setValue(7.5);
        prefs->okButton()->click();
        QCOMPARE(h.stored("targetMinutes/1").toInt(), 480);
        QCOMPARE(h.stored("targetMinutes/5").toInt(), 450);
        QVERIFY(!h.stored("targetMinutes/2").isValid());
        QCOMPARE(rowsOf(w).value(2), "2024-W11=09:30:00 / 15:30:00 / -06:00:00");
        // March: 9:30 worked; four Mondays and five Fridays (69 h 30 min).
        QCOMPARE(w->totalLine(), "Balance of the month: \t-60:00:00");
        QCOMPARE(accountShown(c.ckinWindow()),
                 QStringList({"Today: 01:30", "Left today: 06:00", "Week balance: -06:00"}));
        c.doPrefOpen();
        child<QDoubleSpinBox>(prefs, "targetHours1").setValue(0);
        prefs->cancelButton()->click();
        QCOMPARE(h.stored("targetMinutes/1").toInt(), 480);
    }

    // Preferences' "Choose…" by keyboard: the log is kept where the answer says.
    void chooseFolder_data() {
        QTest::addColumn<Choice>("choice");
        const auto row = [](const char* name, const Choice& c) { QTest::newRow(name) << c; };
        const FolderUse move = FolderUse::Move;
        row("move", {move, false, false, "new", "2024/03/14 17:00:00", 2});
        row("move merges a month in both", {move, true, false, "new", "2024/03/15 08:00:00", 3});
        row("use as it is", {FolderUse::UseAsItIs, true, false, "new", "2024/03/15 08:00:00", 1});
        row("cancel", {FolderUse::Cancel, false, false, "old", "2024/03/14 17:00:00", 2});
        row("move fails", {move, false, true, "old", "2024/03/14 17:00:00", 2});
    }
    void chooseFolder() {
        QFETCH(Choice, choice);
        FolderHarness h;
        h.use = choice.use;
        const QByteArray old = punches({"20240314090000", "20240314170000"}).toLatin1();
        const QByteArray synced = punches({"20240315080000"}).toLatin1();
        QVERIFY(QDir().mkpath(h.logsDir()) && put(h.logsDir() + kMarch, old));
        if (choice.targetHolds)
            QVERIFY(QDir().mkpath(h.to) && put(h.to + kMarch, synced));
        MyController& c = h.startWithDialogs();
        c.doPrefOpen();
        PrefWindow* prefs = c.prefWindow();
        {
            std::optional<FailingDisk> disk;
            if (choice.diskFull)
                disk.emplace(FailingDisk::NoSpace);
            QTest::keyClick(&child<QPushButton>(prefs, "chooseFolder"), Qt::Key_Space);
        }
        const QString folder = choice.logs == "new" ? h.to : h.logsDir();
        QCOMPARE(c.logsDirPathStr().value_or(""), folder);
        QCOMPARE(h.told.size(), int(choice.diskFull));
        if (choice.diskFull)
            QVERIFY(h.told.first().contains(h.to + kMarch) &&
                    h.told.first().contains("stays in " + h.logsDir()));
        QCOMPARE(child<QLabel>(c.ckinWindow(), "ckinPreTimeField").text(), choice.shown);
        QCOMPARE(bytesOf(h.logsDir() + kMarch),
                 h.use == FolderUse::Move && !choice.diskFull ? "<not a regular file>" : old);
        QCOMPARE(QDir(folder).entryList({"TLOG*"}), QStringList{kMarch.mid(1)});
        QCOMPARE(recordLines(bytesOf(folder + kMarch)).size(), choice.records);
        h.clock.set(at("20240315100000"));
        c.onBusinessP() ? c.enterLogOut() : c.enterLogIn();
        QCOMPARE(recordLines(bytesOf(folder + kMarch)).size(), choice.records + 1);
    }

    // Under a German locale, with translations loaded as the app loads them: the check-in
    // window, a report, a menu command and a terminal message.
    void german() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        installTranslators(*qApp);
        const auto english = qScopeGuard([] {
            for (QTranslator* translator : qApp->findChildren<QTranslator*>())
                QCoreApplication::removeTranslator(translator);
            QLocale::setDefault(QLocale::c());
        });
        Harness h;
        h.clock.set(at("20240315120000"));
        MyController& c = h.start();
        const CheckInWindow* w = c.ckinWindow();
        QCOMPARE(child<QLabel>(w, "ckinMainTitieField").text(), "Zuletzt: Gehen");
        QCOMPARE(child<QPushButton>(w, "ckInButton").text(), "&Kommen");
        c.showSum1Window();
        QCOMPARE(c.reportWindow(ReportKind::DailySums)->heading(), "Tagessummen – März 2024");
        QCOMPARE(c.action(Command::ShowMonthlySums)->text(), "&Monatssummen");
        QString err;
        QTextStream stream(&err);
        QCOMPARE(runCli({"report", "x"}, stream, stream, {h.clock, h.home, h.settingsPath}), 2);
        QVERIFY2(err.startsWith("fennick: unbekannter Bericht 'x'"), qPrintable(err));
    }
};

QTEST_MAIN(TestMyController)
#include "tst_mycontroller.moc"
