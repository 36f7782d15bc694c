#include "app/harness.h"
#include "reports/widgets/reportwindow.h"
#include "windows/activityindicator.h"
#include "windows/checkinwindow.h"
#include "windows/prefwindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTranslator>

using namespace fennick;
using namespace fennick::test;
using Command = MyController::Command;

class TestMyController : public QObject {
    Q_OBJECT

private slots:
    void versionGate_data();
    void versionGate();
    void firstRun();
    void windowStates_data();
    void windowStates();
    void logDirectory_data();
    void logDirectory();
    void menuEnabling();
    void preferencesTouchNoSetting();
    void saveDefaultsReportsFailure();
};

void TestMyController::versionGate_data() {
    QTest::addColumn<int>("error");
    QTest::addColumn<uint>("value");
    QTest::addColumn<bool>("runs");
    QTest::newRow("exactly 10.4") << 0 << 0x1040u << true;
    QTest::newRow("one below") << 0 << 0x103Fu << false;
    QTest::newRow("query error") << -50 << 0x1050u << false;
}

void TestMyController::versionGate() {
    QFETCH(int, error);
    QFETCH(uint, value);
    QFETCH(bool, runs);
    Harness h;
    h.store(kPrevTimeStrKey, QStringLiteral("20240301090000"));
    const QByteArray settingsBefore = bytesOf(h.settingsPath());
    h.version = VersionAnswer{error, value};
    MyController& c = h.make();
    QCOMPARE(c.awakeFromNib(), runs);
    QCOMPARE(QFileInfo(h.logsDir()).isDir(), runs);
    QCOMPARE(bytesOf(h.settingsPath()), settingsBefore);
    if (runs) {
        QCOMPARE(h.beeps, 0);
        QCOMPARE(c.prevTimeStr(), QString("20240301090000"));
        return;
    }
    QCOMPARE(h.beeps, 5);
    QCOMPARE(h.pauses, QList<int>({250, 250, 250, 250, 250}));
    QCOMPARE(h.logLines, QStringList{"We MUST run on MacOSX 10.4 and higher!!!"});
}

void TestMyController::firstRun() {
    Harness h;
    MyController& c = h.start();
    CheckInWindow& w = *c.ckinWindow();
    QCOMPARE(w.ckinMainTitieField()->text(), QString("Now CheckOut..."));
    QCOMPARE(w.ckinMainMessField()->text(), QString("Please CheckIn."));
    QCOMPARE(w.ckinPreTitieField()->text(), QString("Last CheckOut time:"));
    QCOMPARE(w.ckinPreTimeField()->text(), QString());
    QVERIFY(!w.ckOutButton()->isEnabled());
    QVERIFY(w.ckInButton()->isEnabled());
    QVERIFY(!w.progressInd()->isAnimating());
    QVERIFY(w.ckInButton()->isDefault());
    QVERIFY(!w.ckOutButton()->isDefault());
    // The registered defaults answered; nothing was written out.
    QVERIFY(!QSettings(h.settingsPath(), QSettings::IniFormat).contains(kOnBusinessKey));
    QVERIFY(h.logLines.isEmpty());
}

void TestMyController::windowStates_data() {
    QTest::addColumn<QVariant>("onBusiness");
    QTest::addColumn<QString>("prevTime");
    QTest::addColumn<bool>("translated");
    QTest::addColumn<QStringList>("texts"); // title, prompt, label, time
    QTest::addColumn<bool>("outEnabled");
    QTest::addColumn<bool>("checkedIn");

    QTest::newRow("checked in") << QVariant(true) << "20070301090035" << false
                                << QStringList{"Now CheckIn...", "Please CheckOut.",
                                               "Last CheckIn time:", "2007/03/01 09:00:35"}
                                << true << true;
    QTest::newRow("checked out after a punch")
        << QVariant(false) << "20070301173000" << false
        << QStringList{"Now CheckOut...", "Please CheckIn.",
                       "Last CheckOut time:", "2007/03/01 17:30:00"}
        << true << false;
    QTest::newRow("checked in, translated") << QVariant(true) << "20070301090035" << true
                                            << QStringList{"State: Arrive (%d%)", "Next: Leave",
                                                           "Without a word", "2007/03/01 09:00:35"}
                                            << true << true;
    QTest::newRow("checked out, translated")
        << QVariant(false) << "" << true
        << QStringList{"State: Leave (%d%)", "Next: Arrive", "Without a word", ""} << false
        << false;
    QTest::newRow("hand-edited time shows as it stands")
        << QVariant(true) << "yesterday" << false
        << QStringList{"Now CheckIn...", "Please CheckOut.", "Last CheckIn time:", "yesterday"}
        << true << true;
    QTest::newRow("hand-edited flag reads as checked out")
        << QVariant(QStringLiteral("perhaps")) << "20070301090035" << false
        << QStringList{"Now CheckOut...", "Please CheckIn.",
                       "Last CheckOut time:", "2007/03/01 09:00:35"}
        << true << false;
}

void TestMyController::windowStates() {
    QFETCH(QVariant, onBusiness);
    QFETCH(QString, prevTime);
    QFETCH(bool, translated);
    QFETCH(QStringList, texts);
    QFETCH(bool, outEnabled);
    QFETCH(bool, checkedIn);

    QTranslator translator;
    if (translated) {
        QVERIFY(
            translator.load(QStringLiteral("test_infoplist"), QStringLiteral(FENNICK_TEST_QM_DIR)));
        QCoreApplication::installTranslator(&translator);
    }
    Harness h;
    h.store(kOnBusinessKey, onBusiness);
    h.store(kPrevTimeStrKey, prevTime);
    MyController& c = h.start();
    c.showCheckInWindow();
    CheckInWindow& w = *c.ckinWindow();
    QCOMPARE(QStringList({w.ckinMainTitieField()->text(), w.ckinMainMessField()->text(),
                          w.ckinPreTitieField()->text(), w.ckinPreTimeField()->text()}),
             texts);
    QCOMPARE(w.ckOutButton()->isEnabled(), outEnabled);
    QVERIFY(w.ckInButton()->isEnabled());
    QCOMPARE(w.progressInd()->isAnimating(), checkedIn);
    QCOMPARE(w.progressInd()->isTicking(), checkedIn);
    QCOMPARE(w.ckOutButton()->isDefault(), checkedIn);
    QCOMPARE(w.ckInButton()->isDefault(), !checkedIn);
    // Hidden, the indicator stops ticking, whatever the state.
    c.showLogWindow();
    QVERIFY(!w.progressInd()->isTicking());
    QCoreApplication::removeTranslator(&translator);
}

void TestMyController::logDirectory_data() {
    QTest::addColumn<QString>("setup"); // what stands at the path before start-up
    QTest::addColumn<bool>("failure");
    QTest::newRow("missing, created") << "missing" << false;
    QTest::newRow("existing directory, untouched") << "directory" << false;
    QTest::newRow("regular file at the path") << "file" << true;
    QTest::newRow("parent missing, made too") << "no-parent" << false;
    QTest::newRow("parent is a regular file") << "file-parent" << true;
}

void TestMyController::logDirectory() {
    QFETCH(QString, setup);
    QFETCH(bool, failure);
    Harness h;
    MyController& c = h.make();
    const QString dir = h.logsDir();
    if (setup == u"directory") {
        QVERIFY(QDir().mkpath(dir));
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                       QFile::ReadGroup | QFile::ExeGroup);
    } else if (setup == u"file") {
        QFile file(dir);
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else if (setup == u"no-parent") {
        QVERIFY(QDir(h.home + "/Library").removeRecursively());
    } else if (setup == u"file-parent") {
        QVERIFY(QDir(h.home + "/Library").removeRecursively());
        QFile file(h.home + "/Library");
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(c.awakeFromNib());
    QCOMPARE(c.logsDirPathStr(), std::optional<QString>(dir));
    // The window is prepared either way.
    QCOMPARE(c.ckinWindow()->ckinMainMessField()->text(), QString("Please CheckIn."));
    if (failure) {
        QCOMPARE(h.logLines.value(0), QString("fail to create Dir:%1.").arg(dir));
        return;
    }
    QVERIFY(h.logLines.isEmpty());
    QVERIFY(QFileInfo(dir).isDir());
    const auto expected = setup != u"directory"
                              ? QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                              : QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                    QFile::ReadGroup | QFile::ExeGroup;
    QCOMPARE(QFile::permissions(dir) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
             expected);
}

// Each show command is disabled exactly while its own window is visible, and
// every other command stays enabled; shortcuts follow the actions.
void TestMyController::menuEnabling() {
    Harness h;
    MyController& c = h.start();
    const QList<std::pair<void (MyController::*)(), Command>> steps{
        {&MyController::showCheckInWindow, Command::ShowCheckIn},
        {&MyController::showLogWindow, Command::ShowLog},
        {&MyController::showSum1Window, Command::ShowSum1},
        {&MyController::showSum2Window, Command::ShowSum2},
        {&MyController::showLogWindow, Command::ShowLog},
        {&MyController::showCheckInWindow, Command::ShowCheckIn},
    };
    const QList<Command> shows{Command::ShowCheckIn, Command::ShowLog, Command::ShowSum1,
                               Command::ShowSum2};
    const QList<QWidget*> windows{static_cast<QWidget*>(c.ckinWindow()), c.logWindow(),
                                  c.sum1Window(), c.sum2Window()};
    for (const auto& [show, shown] : steps) {
        (c.*show)();
        for (int i = 0; i < shows.size(); ++i) {
            const bool front = shows[i] == shown;
            QCOMPARE(windows[i]->isVisible(), front);
            QCOMPARE(c.action(shows[i])->isEnabled(), !front);
            QCOMPARE(c.validateMenuItem(c.action(shows[i])), !front);
        }
        for (Command other :
             {Command::CheckIn, Command::CheckOut, Command::Preferences, Command::Quit})
            QVERIFY(c.action(other)->isEnabled());
        QVERIFY(!c.action(Command::ShowCheckIn)->shortcut().isEmpty());
    }
    // Closing the front window re-enables its command.
    c.ckinWindow()->close();
    QVERIFY(c.action(Command::ShowCheckIn)->isEnabled());
}

void TestMyController::preferencesTouchNoSetting() {
    Harness h;
    h.store(kOnBusinessKey, true);
    h.store(kPrevTimeStrKey, QStringLiteral("20240301090000"));
    const QByteArray before = bytesOf(h.settingsPath());
    MyController& c = h.start();
    for (QPushButton* button : {c.prefWindow()->okButton(), c.prefWindow()->cancelButton()}) {
        c.doPrefOpen();
        QVERIFY(c.prefWindow()->isVisible());
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!c.prefWindow()->isVisible());
    }
    c.doPrefOpen();
    QTest::keyClick(c.prefWindow(), Qt::Key_Escape);
    QVERIFY(!c.prefWindow()->isVisible());
    c.doPrefOpen();
    c.doPrefOpen(); // opening an open window only raises it
    QVERIFY(c.prefWindow()->isVisible());
    c.doPrefOKButton();
    QCOMPARE(bytesOf(h.settingsPath()), before);
    QVERIFY(c.onBusinessP());
}

void TestMyController::saveDefaultsReportsFailure() {
    Harness h;
    MyController& c = h.start();
    c.timeClock().setOnBusinessP(true);
    c.setPrevTimeStr(QStringLiteral("20240315093000"));
    c.saveDefaults();
    QSettings stored(h.settingsPath(), QSettings::IniFormat);
    QCOMPARE(stored.value(kPrevTimeStrKey).toString(), QString("20240315093000"));
    QVERIFY(h.logLines.isEmpty());

    // A settings file below a regular file can never be written, root or not.
    Harness broken;
    QFile blocker(broken.temp.path() + "/blocker");
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    broken.settingsFile = blocker.fileName() + "/settings.ini";
    MyController& d = broken.start();
    d.saveDefaults();
    QCOMPARE(broken.logLines,
             QStringList{QString("Settings:%1 write error!").arg(broken.settingsFile)});
}

QTEST_MAIN(TestMyController)
#include "tst_mycontroller.moc"
