#include "app/harness.h"

#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>

using namespace fennick;
using namespace fennick::test;

class TestConflictNotice : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useTimeZone("Europe/Berlin"); }

    // Copies named over the table, merged undoably or not at all; no edits meanwhile.
    void mergeFromWindow_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("failingDisk");
        QTest::newRow("daily sums") << int(ReportKind::DailySums) << false;
        QTest::newRow("log") << int(ReportKind::Log) << false;
        QTest::newRow("failing disk") << int(ReportKind::MonthlySums) << true;
    }
    void mergeFromWindow() {
        QFETCH(int, kind);
        QFETCH(bool, failingDisk);
        Harness h;
        const QString month = h.file();
        const QString copy = h.logsDir() + "/TLOG202403.sync-conflict-20240315-090000-FENNICK.txt";
        const QByteArray day = punches({"20240311080000", "20240311090000"}).toUtf8();
        QVERIFY(QDir().mkpath(h.logsDir()) && put(month, day));
        QVERIFY(put(copy, day + punches({"20240312080000", "20240312100000"}).toUtf8()));
        MyController& c = h.start();
        c.showReportWindow(ReportKind(kind));
        ReportWindow* w = c.reportWindow(ReportKind(kind));
        const auto& notice = child<QWidget>(w, "conflictNotice");
        QVERIFY(notice.isVisibleTo(w));
        QVERIFY(child<QLabel>(w, "conflictText").text().contains(QFileInfo(copy).fileName()));
        if (ReportKind(kind) == ReportKind::Log) {
            QCOMPARE(child<QTableView>(w, "reportTable").model()->rowCount(), 4);
            child<QTableView>(w, "reportTable").selectRow(0);
            c.action(Command::DeletePunch)->trigger();
            QTRY_VERIFY(w->findChild<QMessageBox*>("editRefusal"));
            QCOMPARE(bytesOf(month), day);
        } else {
            QVERIFY(child<QLabel>(w, "totalField").text().contains("03:00:00"));
        }
        std::optional<FailingDisk> disk;
        if (failingDisk)
            disk.emplace(FailingDisk::FailedRename);
        child<QPushButton>(w, "mergeButton").click();
        QCOMPARE(existsAt(copy), failingDisk);
        QCOMPARE(notice.isVisibleTo(w), failingDisk);
        QCOMPARE(bytesOf(month).count("CheckIn:"), failingDisk ? 1 : 2);
        const auto* alert = w->findChild<QMessageBox*>("editRefusal", Qt::FindDirectChildrenOnly);
        QCOMPARE(alert && alert->text().contains("nothing was merged"), failingDisk);
        if (failingDisk)
            return;
        c.action(Command::Undo)->trigger();
        QCOMPARE(bytesOf(month), day);
        QVERIFY(existsAt(copy));
        QVERIFY(notice.isVisibleTo(w));
    }
};

QTEST_MAIN(TestConflictNotice)
#include "tst_conflictnotice.moc"
