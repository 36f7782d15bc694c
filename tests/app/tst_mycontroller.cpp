#include "app/harness.h"
#include "windows/activityindicator.h"
#include "windows/checkinwindow.h"
#include "windows/prefwindow.h"
#include "windows/reportwindow.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTranslator>

using namespace fennick;
using namespace fennick::test;

class TestMyController : public QObject {
    Q_OBJECT

private slots:
    void versionGate_data();
    void versionGate();
    void windowStates_data();
    void windowStates();
    void logDirectory_data();
    void logDirectory();
    void menuEnabling();
    void settingsOnlyWrittenByPunches();
    void settingsWriteErrors_data();
    void settingsWriteErrors();
    void privateUnderAnyUmask();
    void windowPlaces();
};

void TestMyController::versionGate_data() {
    QTest::addColumn<int>("error");
    QTest::addColumn<uint>("value");
    QTest::newRow("exactly 10.4 runs") << 0 << 0x1040u;
    QTest::newRow("one below is refused") << 0 << 0x103Fu;
    QTest::newRow("a query error is refused") << -50 << 0x1050u;
}

// The refusal beeps five times with pauses, logs, and touches neither the
// settings nor the log folder.
void TestMyController::versionGate() {
    QFETCH(int, error);
    QFETCH(uint, value);
    const bool runs = error == 0 && value >= 0x1040;
    Harness h;
    h.store(kPrevTimeStrKey, QStringLiteral("20240301090000"));
    const QByteArray settingsBefore = bytesOf(h.settingsPath());
    h.version = VersionAnswer{error, value};
    MyController& c = h.make();
    QCOMPARE(c.awakeFromNib(), runs);
    QCOMPARE(QFileInfo(h.logsDir()).isDir(), runs);
    QCOMPARE(bytesOf(h.settingsPath()), settingsBefore);
    QCOMPARE(h.beeps, runs ? 0 : 5);
    QCOMPARE(h.pauses, runs ? QList<int>{} : QList<int>({250, 250, 250, 250, 250}));
    QCOMPARE(h.logLines,
             runs ? QStringList{}
                  : QStringList{QString("We MUST run on Qt %1 and higher!!!").arg(QT_VERSION_STR)});
}

void TestMyController::windowStates_data() {
    QTest::addColumn<QVariant>("onBusiness"); // invalid: nothing stored
    QTest::addColumn<QString>("prevTime");
    QTest::addColumn<bool>("translated");
    QTest::addColumn<QStringList>("texts"); // title, prompt, label, time
    QTest::addColumn<bool>("checkedIn");

    const QStringList out{"Now CheckOut...", "Please CheckIn.", "Last CheckOut time:"};
    const QStringList in{"Now CheckIn...", "Please CheckOut.", "Last CheckIn time:"};
    QTest::newRow("first run") << QVariant() << "" << false << out + QStringList{""} << false;
    QTest::newRow("checked in") << QVariant(true) << "20070301090035" << false
                                << in + QStringList{"2007/03/01 09:00:35"} << true;
    QTest::newRow("checked out after a punch") << QVariant(false) << "20070301173000" << false
                                               << out + QStringList{"2007/03/01 17:30:00"} << false;
    QTest::newRow("translated, checked in") << QVariant(true) << "20070301090035" << true
                                            << QStringList{"State: Arrive (%d%)", "Next: Leave",
                                                           "Without a word", "2007/03/01 09:00:35"}
                                            << true;
    QTest::newRow("translated, first run")
        << QVariant() << "" << true
        << QStringList{"State: Leave (%d%)", "Next: Arrive", "Without a word", ""} << false;
    QTest::newRow("hand-edited time shows as it stands")
        << QVariant(true) << "yesterday" << false << in + QStringList{"yesterday"} << true;
    QTest::newRow("hand-edited flag reads as checked out")
        << QVariant(QStringLiteral("perhaps")) << "20070301090035" << false
        << out + QStringList{"2007/03/01 09:00:35"} << false;
}

void TestMyController::windowStates() {
    QFETCH(QVariant, onBusiness);
    QFETCH(QString, prevTime);
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
        h.store(kPrevTimeStrKey, prevTime);
    }
    MyController& c = h.start();
    c.showCheckInWindow();
    const CheckInWindow* w = c.ckinWindow();
    QStringList shown;
    for (const char* name :
         {"ckinMainTitieField", "ckinMainMessField", "ckinPreTitieField", "ckinPreTimeField"})
        shown << child<QLabel>(w, name).text();
    QCOMPARE(shown, texts);
    auto& checkIn = child<QPushButton>(w, "ckInButton");
    auto& checkOut = child<QPushButton>(w, "ckOutButton");
    auto& indicator = child<ActivityIndicator>(w, "progressInd");
    QCOMPARE(checkOut.isEnabled(), !prevTime.isEmpty());
    QVERIFY(checkIn.isEnabled());
    QCOMPARE(indicator.isTicking(), checkedIn);
    QCOMPARE(checkOut.isDefault(), checkedIn);
    QCOMPARE(checkIn.isDefault(), !checkedIn);
    // Hidden, the indicator stops ticking, whatever the state.
    c.showLogWindow();
    QVERIFY(!indicator.isTicking());
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
    const auto groupReadable = QFile::ReadGroup | QFile::ExeGroup;
    if (setup == u"directory") {
        QVERIFY(QDir().mkpath(dir));
        QVERIFY(QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                               groupReadable));
    } else if (setup != u"missing") {
        const QString parent = QFileInfo(dir).absolutePath();
        QVERIFY(QDir().mkpath(parent));
        if (setup != u"file")
            QVERIFY(QDir(parent).removeRecursively());
        if (setup != u"no-parent")
            QVERIFY(put(setup == u"file" ? dir : parent, ""));
    }
    QVERIFY(c.awakeFromNib());
    QCOMPARE(c.logsDirPathStr(), std::optional<QString>(dir));
    QCOMPARE(child<QLabel>(c.ckinWindow(), "ckinMainMessField").text(), QString("Please CheckIn."));
    QCOMPARE(h.logLines,
             failure ? QStringList{QString("fail to create Dir:%1.").arg(dir)} : QStringList{});
    if (!failure)
        QCOMPARE(bool(QFile::permissions(dir) & groupReadable), setup == u"directory");
}

// Each show command is disabled exactly while its own window is visible;
// every other command stays enabled, and shortcuts follow the actions. Each
// window follows each other one.
void TestMyController::menuEnabling() {
    Harness h;
    MyController& c = h.start();
    const QList<Command> shows{Command::ShowCheckIn, Command::ShowLog, Command::ShowDailySums,
                               Command::ShowMonthlySums};
    const QList<QWidget*> windows{c.ckinWindow(), c.reportWindow(ReportKind::Log),
                                  c.reportWindow(ReportKind::DailySums),
                                  c.reportWindow(ReportKind::MonthlySums)};
    for (int shown : {0, 1, 2, 3, 0, 2, 1, 3, 0}) {
        c.action(shows[shown])->trigger();
        for (int i = 0; i < shows.size(); ++i) {
            QCOMPARE(windows[i]->isVisible(), i == shown);
            QCOMPARE(c.action(shows[i])->isEnabled(), i != shown);
        }
        for (Command other : {Command::CheckIn, Command::CheckOut, Command::Preferences})
            QVERIFY(c.action(other)->isEnabled());
        QCOMPARE(c.action(Command::Print)->isEnabled(), shown != 0);
    }
    // Closed or minimized, the check-in window is shown again by its command,
    // as a second start does.
    for (const bool minimize : {false, true}) {
        minimize ? c.ckinWindow()->showMinimized() : void(c.ckinWindow()->close());
        QVERIFY(c.action(Command::ShowCheckIn)->isEnabled());
        c.action(Command::ShowCheckIn)->trigger();
        QVERIFY(c.ckinWindow()->isVisible() && !c.ckinWindow()->isMinimized());
        QVERIFY(!c.action(Command::ShowCheckIn)->isEnabled());
    }
}

// The preferences window reads and writes no setting. A store that cannot be
// written is settingsWriteErrors' "folder is a file".
void TestMyController::settingsOnlyWrittenByPunches() {
    Harness h;
    h.store(kOnBusinessKey, true);
    const QByteArray before = bytesOf(h.settingsPath());
    MyController& c = h.start();
    for (QPushButton* button : {c.prefWindow()->okButton(), c.prefWindow()->cancelButton()}) {
        c.doPrefOpen();
        QVERIFY(c.prefWindow()->isVisible());
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!c.prefWindow()->isVisible());
    }
    QCOMPARE(bytesOf(h.settingsPath()), before);
}

void TestMyController::settingsWriteErrors_data() {
    QTest::addColumn<QByteArray>("before"); // the settings file before start-up
    QTest::addColumn<bool>("blocked");      // a regular file where its folder belongs
    QTest::newRow("clean file") << QByteArray("[General]\nonBusiness=false\n") << false;
    QTest::newRow("unreadable line") << QByteArray("[General]\nthis is no setting\n") << false;
    QTest::newRow("folder is a file") << QByteArray() << true;
}

// Only a failed write is reported, once per save; a line the store could not
// read is dropped by the first save and reported never.
void TestMyController::settingsWriteErrors() {
    QFETCH(QByteArray, before);
    QFETCH(bool, blocked);
    Harness h;
    if (blocked) {
        QVERIFY(put(h.temp.path() + "/blocker", ""));
        h.settingsFile = h.temp.path() + "/blocker/settings.ini";
    } else {
        QVERIFY(put(h.settingsPath(), before));
    }
    MyController& c = h.start();
    c.session().timeClock().setOnBusinessP(true);
    c.session().timeClock().setPrevTimeStr("20240315093000");
    c.session().saveDefaults();
    c.session().saveDefaults();
    const QString line = QString("Settings:%1 write error!").arg(h.settingsPath());
    QCOMPARE(h.logLines, blocked ? QStringList({line, line}) : QStringList());
    if (!blocked)
        QCOMPARE(QSettings(h.settingsPath(), QSettings::IniFormat).value(kPrevTimeStrKey),
                 QVariant("20240315093000"));
}

// Under umask 000 the folders made for the log and the settings stay 0700
// and the settings file 0600, like the month files.
void TestMyController::privateUnderAnyUmask() {
    Harness h;
    h.settingsFile = h.temp.path() + "/config/fennick/fennick.conf";
    MyController& c = h.make();
    const mode_t mask = ::umask(0);
    const bool started = c.awakeFromNib();
    c.session().saveDefaults();
    ::umask(mask);
    QVERIFY(started);
    QCOMPARE(QList<int>({modeOf(h.home + "/.local"), modeOf(h.logsDir()),
                         modeOf(h.temp.path() + "/config"),
                         modeOf(h.temp.path() + "/config/fennick"), modeOf(h.settingsFile)}),
             QList<int>({0700, 0700, 0700, 0700, 0600}));
}

// A report window opens where it was, and as large as it was, when it last
// hid or when the application ended with it open.
void TestMyController::windowPlaces() {
    Harness h;
    MyController& c = h.start();
    // The first daily sums window, with a frame and a panel, fits 1366×768.
    QVERIFY(c.reportWindow(ReportKind::DailySums)->height() <= 768 - 100);
    const QRect daily(60, 70, 520, 500), log(80, 90, 430, 380);
    c.showSum1Window();
    c.reportWindow(ReportKind::DailySums)->setGeometry(daily);
    c.showLogWindow(); // the daily sums window hides
    c.reportWindow(ReportKind::Log)->setGeometry(log);
    const QSize monthly = c.reportWindow(ReportKind::MonthlySums)->size();
    h.controller.reset(); // the end, the log window still open

    MyController& d = h.start();
    QCOMPARE(d.reportWindow(ReportKind::DailySums)->geometry(), daily);
    QCOMPARE(d.reportWindow(ReportKind::Log)->geometry(), log);
    QCOMPARE(d.reportWindow(ReportKind::MonthlySums)->size(), monthly);
}

QTEST_MAIN(TestMyController)
#include "tst_mycontroller.moc"
