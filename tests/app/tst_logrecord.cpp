// The log as the record, through the real controller: undo and redo, edits
// from the log window, a state that follows changes made outside, failures
// the user sees, and the report windows' wiring.

#include "app/harness.h"
#include "reports/mydatasource.h"
#include "windows/checkinwindow.h"
#include "windows/pagedtableview.h"
#include "windows/punchdialog.h"
#include "windows/reportwindow.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

using namespace fennick;
using namespace fennick::test;

namespace {

QString monthFile(const Harness& h, const char* month = "202403") {
    return h.logsDir() + "/TLOG" + month + ".txt";
}

QString title(const MyController& c) {
    return child<QLabel>(c.ckinWindow(), "ckinMainTitieField").text();
}

QStringList rowsOf(const ReportWindow* window) {
    const QAbstractItemModel* model = child<PagedTableView>(window, "reportTable").model();
    QStringList rows;
    for (int row = 0; row < model->rowCount(); ++row)
        rows << model->index(row, 0).data().toString() + '=' +
                    model->index(row, 1).data().toString();
    return rows;
}

// Runs `answer` on the next modal dialog or message box, once it shows.
template <typename Dialog> void whenShown(std::function<void(Dialog&)> answer) {
    QTimer::singleShot(0, [answer] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget()))
            answer(*dialog);
        else
            whenShown<Dialog>(answer);
    });
}

void punchAt(Harness& h, MyController& c, const char* time, Command command) {
    h.clock.set(at(time));
    c.action(command)->trigger();
}

} // namespace

class TestLogRecord : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useTimeZone("Europe/Berlin"); }

    // Two quick presses of Return: the second is undone and redone, with the
    // menu naming the step and the state following the log each time.
    void undoAndRedo() {
        Harness h;
        MyController& c = h.start();
        punchAt(h, c, "20240315090000", Command::CheckIn);
        const QByteArray checkedIn = bytesOf(monthFile(h));
        punchAt(h, c, "20240315090001", Command::CheckOut);
        QCOMPARE(c.action(Command::Undo)->text(), QString("&Undo Check Out at 09:00"));
        c.action(Command::Undo)->trigger();
        QCOMPARE(bytesOf(monthFile(h)), checkedIn);
        QVERIFY(c.onBusinessP());
        QCOMPARE(title(c), QString("Now CheckIn..."));
        QCOMPARE(c.action(Command::Redo)->text(), QString("&Redo Check Out at 09:00"));
        c.action(Command::Redo)->trigger();
        QVERIFY(!c.onBusinessP());
        QCOMPARE(h.stored(kPrevTimeStrKey), QVariant("20240315090001"));
        // Changed by hand since: refused, and nothing moves.
        QVERIFY(put(monthFile(h), bytesOf(monthFile(h)).replace("090001", "090002")));
        const QByteArray edited = bytesOf(monthFile(h));
        c.action(Command::Undo)->trigger();
        QCOMPARE(bytesOf(monthFile(h)), edited);
        QTRY_VERIFY(c.ckinWindow()->findChild<QMessageBox*>("editRefusal"));
    }

    // Changes made outside show in the check-in window within a second,
    // through the folder watch alone; a folder with no record changes nothing.
    void stateFollowsLog_data() {
        QTest::addColumn<bool>("checkedIn"); // the settings before
        QTest::addColumn<QByteArray>("log");
        QTest::addColumn<QString>("title");
        const QString day = punches({"20240315080000", "20240315085000"});
        QTest::newRow("last punch deleted by hand")
            << false << day.left(44).toUtf8() << "Now CheckIn...";
        QTest::newRow("punch appended by another writer")
            << true << day.toUtf8() << "Now CheckOut...";
        QTest::newRow("no record") << true << QByteArray("# nothing yet\n") << "Now CheckIn...";
    }
    void stateFollowsLog() {
        QFETCH(bool, checkedIn);
        QFETCH(QByteArray, log);
        QFETCH(QString, title);
        Harness h;
        h.store(kOnBusinessKey, checkedIn);
        h.store(kPrevTimeStrKey, "20240301080000");
        MyController& c = h.start();
        c.showCheckInWindow();
        QVERIFY(put(monthFile(h), log));
        QTRY_COMPARE_WITH_TIMEOUT(::title(c), title, 1000);
        const bool hasRecord = log.contains("CheckIn:");
        QCOMPARE(h.stored(kPrevTimeStrKey).toString() == "20240301080000", !hasRecord);
    }

    // A punch that cannot be written: an alert naming the file, and the
    // state, the window and the settings as they were.
    void failedPunchIsShown() {
        Harness h;
        MyController& c = h.start();
        c.showCheckInWindow();
        const QByteArray settings = bytesOf(h.settingsPath());
        {
            FailingDisk full(FailingDisk::NoSpace);
            punchAt(h, c, "20240315090000", Command::CheckIn);
        }
        QVERIFY(!c.onBusinessP());
        QCOMPARE(title(c), QString("Now CheckOut..."));
        QCOMPARE(bytesOf(h.settingsPath()), settings);
        const auto* alert = c.ckinWindow()->findChild<QMessageBox*>("editRefusal");
        QVERIFY(alert && alert->text().contains(monthFile(h)));
        QVERIFY(!c.action(Command::Undo)->isEnabled());
    }

    // From the log window: a punch's time changed within its neighbours,
    // one deleted after asking, one inserted; the daily sums follow, and
    // each edit is one undo step.
    void editsFromTheLogWindow() {
        Harness h;
        QVERIFY(QDir().mkpath(h.logsDir()));
        QVERIFY(put(monthFile(h), "# by hand\r\n" + punches({"20240311080000", "20240311120000",
                                                             "20240312080000", "20240312090000"})
                                                        .toUtf8()));
        const QByteArray original = bytesOf(monthFile(h));
        h.clock.set(at("20240315120000"));
        MyController& c = h.start();
        c.action(Command::ShowLog)->trigger();
        ReportWindow* log = c.reportWindow(ReportKind::Log);
        auto& table = child<PagedTableView>(log, "reportTable");
        QVERIFY(!c.action(Command::ChangePunch)->isEnabled());
        table.selectRow(1);
        QVERIFY(c.action(Command::ChangePunch)->isEnabled());
        whenShown<PunchDialog>([](PunchDialog& d) {
            child<QLineEdit>(&d, "hourField").setText("13");
            d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        c.action(Command::ChangePunch)->trigger();
        QCOMPARE(rowsOf(log).value(1), QString("2024/03/11 13:00:00=CheckOut"));

        c.action(Command::ShowDailySums)->trigger();
        QCOMPARE(rowsOf(c.reportWindow(ReportKind::DailySums)),
                 QStringList({"20240311=05:00:00", "20240312=01:00:00"}));
        c.action(Command::ShowLog)->trigger();
        table.selectRow(3);
        whenShown<QMessageBox>([](QMessageBox& box) { box.button(QMessageBox::Yes)->click(); });
        c.action(Command::DeletePunch)->trigger();
        QCOMPARE(rowsOf(log).size(), 3);
        QVERIFY(c.onBusinessP()); // the last record is now a check-in
        c.action(Command::Undo)->trigger();
        c.action(Command::Undo)->trigger();
        QCOMPARE(bytesOf(monthFile(h)), original);
    }

    // Each report window through the controller: Earlier goes to the past
    // and Later back, the table refilled and the buttons rechecked.
    void reportWiring_data() {
        QTest::addColumn<ReportKind>("kind");
        QTest::addColumn<int>("earlier"); // the cursor after Earlier
        QTest::addColumn<QString>("firstRow");
        QTest::newRow("log") << ReportKind::Log << 1 << "2024/02/10 08:00:00=CheckIn";
        QTest::newRow("daily sums") << ReportKind::DailySums << 1 << "20240210=01:00:00";
        QTest::newRow("monthly sums") << ReportKind::MonthlySums << 12 << "202204=000:00:00";
    }
    void reportWiring() {
        QFETCH(ReportKind, kind);
        QFETCH(int, earlier);
        QFETCH(QString, firstRow);
        Harness h;
        QVERIFY(QDir().mkpath(h.logsDir()));
        QVERIFY(
            put(monthFile(h, "202402"), punches({"20240210080000", "20240210090000"}).toUtf8()));
        QVERIFY(
            put(monthFile(h, "202302"), punches({"20230210080000", "20230210090000"}).toUtf8()));
        MyController& c = h.start();
        c.showReportWindow(kind);
        // Showing a report makes the current month's file and indexes it.
        QVERIFY(QFileInfo(monthFile(h)).isFile());
        ReportWindow* window = c.reportWindow(kind);
        auto& prev = child<QPushButton>(window, "prevButton");
        auto& next = child<QPushButton>(window, "nextButton");
        QVERIFY(prev.isEnabled() && !next.isEnabled());
        prev.click();
        QCOMPARE(c.myCurrentPrevMonth(), earlier);
        QCOMPARE(rowsOf(window).value(0), firstRow);
        QVERIFY(next.isEnabled());
        next.click();
        QCOMPARE(c.myCurrentPrevMonth(), 0);
        QVERIFY(!next.isEnabled());
        // The key on the left, the value on the right.
        const QAbstractItemModel* model = child<PagedTableView>(window, "reportTable").model();
        QCOMPARE(model->headerData(0, Qt::Horizontal, MyDataSource::IdentifierRole),
                 QVariant("keyDateStr"));
        if (kind != ReportKind::MonthlySums)
            return;
        // A month file added while fennick runs counts in the monthly sums.
        QVERIFY(
            put(monthFile(h, "202401"), punches({"20240110080000", "20240110100000"}).toUtf8()));
        c.showReportWindow(kind);
        QVERIFY(rowsOf(window).contains("202401=002:00:00"));
    }

    // A month file that cannot be read is a notice, never a silent zero.
    void unreadableMonthNotice() {
        Harness h;
        QVERIFY(QDir().mkpath(monthFile(h, "202402")));
        MyController& c = h.start();
        c.showReportWindow(ReportKind::MonthlySums);
        const auto& notice = child<QLabel>(c.reportWindow(ReportKind::MonthlySums), "readNotice");
        QVERIFY(notice.isVisible());
        QVERIFY(notice.text().contains(monthFile(h, "202402")));
        c.showReportWindow(ReportKind::Log);
        QVERIFY(!child<QLabel>(c.reportWindow(ReportKind::Log), "readNotice").isVisible());
    }
};

QTEST_MAIN(TestLogRecord)
#include "tst_logrecord.moc"
