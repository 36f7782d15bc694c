// The log as the record, through the real controller and its windows; conflict copies merged
// from a report window; a report window's pages, printed and exported, read back with
// pdftotext; the time-entry dialog's bounds.

#include "app/harness.h"
#include "reports/mydatasource.h"
#include "windows/checkinwindow.h"
#include "windows/elidedlabel.h"
#include "windows/punchdialog.h"
#include "windows/timeentrydialog.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStandardPaths>

#include <csignal>
#include <sys/resource.h>

using namespace fennick;
using namespace fennick::test;

namespace {

QString title(const MyController& c) {
    return child<QLabel>(c.ckinWindow(), "ckinMainTitieField").text();
}

void punchAt(Harness& h, MyController& c, const char* time, Command command) {
    h.clock.set(at(time));
    c.action(command)->trigger();
}

const char* const kEntry[] = {"yearField", "monthField", "dayField", "hourField", "minField"};

// The five entry fields' texts joined by "|".
QString entryOf(const QDialog& dialog) {
    QStringList entry;
    for (const char* name : kEntry)
        entry << dialog.findChild<QLineEdit*>(name)->text();
    return entry.join(u'|');
}

QString pdftotext(const char* mode, const QString& path) {
    QProcess process;
    process.start("pdftotext", {mode, path, "-"});
    process.waitForFinished(30000);
    return process.readAllStandardOutput();
}

// Each page's words, sorted; below `top` tagged "@n" when wholly in row band n, else "@cut".
QList<QStringList> pdfPages(const QString& path, qreal top, qreal rowHeight) {
    static const QRegularExpression word(R"re(yMin="([\d.]+)"[^>]*yMax="([\d.]+)">([^<]*)<)re");
    QList<QStringList> pages;
    for (const QString& page : pdftotext("-bbox", path).split("<page ").mid(1)) {
        QStringList words;
        for (const auto& m : word.globalMatch(page)) {
            const qreal from = m.captured(1).toDouble() - top, to = m.captured(2).toDouble() - top;
            const int band = int(from / rowHeight);
            const bool inBand = from >= 0 && to <= (band + 1) * rowHeight + 0.5;
            const QString where = inBand ? '@' + QString::number(band) : QString("@cut");
            words << m.captured(3) + (to <= 0.5 ? QString() : where);
        }
        words.sort();
        pages << words;
    }
    return pages;
}

// "n/m" for each "Page n of m" in the file, in its order.
QStringList pageNumbers(const QString& path) {
    static const QRegularExpression number(R"(Page (\d+) of (\d+))");
    QStringList numbers;
    for (const auto& m : number.globalMatch(pdftotext("-layout", path)))
        numbers << m.captured(1) + '/' + m.captured(2);
    return numbers;
}

// Rows 17 points high: 38 fit on Letter paper with the test's margins.
void showRows(ReportWindow& window, const std::optional<DspRows>& rows, const QString& heading) {
    QHeaderView* header = child<PagedTableView>(&window, "reportTable").verticalHeader();
    header->setMinimumSectionSize(17);
    header->setDefaultSectionSize(17);
    ReportContent content;
    content.heading = heading;
    content.rows = rows;
    window.setContent(content);
}

struct PrintChoice {
    int scale = 100;
    int from = 0, to = 0; // from 0: all pages
    bool reverse = false;
};

} // namespace

class TestLogRecord : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useTimeZone("Europe/Berlin"); }

    // Punches by button, Return and command; the reports' shared month and CSV.
    void aWorkingDay() {
        Harness h;
        QVERIFY(writeMonths(h.logsDir(), {"20240210080000", "20240210170000"}));
        MyController& c = h.start();
        c.showCheckInWindow();
        CheckInWindow& w = *c.ckinWindow();
        h.clock.set(at("20240315090000"));
        QTest::mouseClick(&child<QPushButton>(&w, "ckInButton"), Qt::LeftButton);
        h.clock.set(at("20240315123000"));
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(&w, Qt::Key_Return); // Return now belongs to Check Out
        punchAt(h, c, "20240315131500", Command::CheckIn);
        h.clock.set(at("20240315174530"));
        QTest::mouseClick(&child<QPushButton>(&w, "ckOutButton"), Qt::LeftButton);
        QCOMPARE(bytesOf(h.file()),
                 punches({"20240315090000", "20240315123000", "20240315131500", "20240315174530"})
                     .toUtf8());
        QCOMPARE(child<QLabel>(&w, "ckinPreTimeField").text(), "2024/03/15 17:45:30");
        QVERIFY(!c.action(Command::ShowCheckIn)->isEnabled() &&
                !c.action(Command::Print)->isEnabled());

        c.action(Command::ShowLog)->trigger();
        child<QPushButton>(c.reportWindow(ReportKind::Log), "prevButton").click();
        // The daily sums open on February, where the log went.
        c.action(Command::ShowDailySums)->trigger();
        ReportWindow* daily = c.reportWindow(ReportKind::DailySums);
        QCOMPARE(rowsOf(daily), QStringList{"20240210=09:00:00"});
        child<QPushButton>(daily, "nextButton").click();
        QCOMPARE(rowsOf(daily), QStringList{"20240315=08:00:30"});

        c.action(Command::ShowMonthlySums)->trigger();
        ReportWindow* monthly = c.reportWindow(ReportKind::MonthlySums);
        // One window at a time, its own show command off, Print on.
        QVERIFY(!daily->isVisible() && !c.action(Command::ShowMonthlySums)->isEnabled());
        QVERIFY(c.action(Command::Print)->isEnabled());
        QCOMPARE(rowsOf(monthly).mid(10), QStringList({"202402=009:00:00", "202403=008:00:30"}));
        QCOMPARE(monthly->totalLine(), "Yearly sum: \t017:00:30");
        // The same rows and total line as CSV; a folder in the way fails cleanly.
        QVERIFY(monthly->exportCsv(h.temp.filePath("months.csv")));
        QVERIFY(bytesOf(h.temp.filePath("months.csv")).endsWith("Yearly sum:,017:00:30\r\n"));
        QVERIFY(QDir().mkpath(h.temp.filePath("taken.csv")));
        QVERIFY(!monthly->exportCsv(h.temp.filePath("taken.csv")));
    }

    // The second of two quick presses undone and redone, named in the menu.
    void undoAndRedo() {
        Harness h;
        MyController& c = h.start();
        punchAt(h, c, "20240315090000", Command::CheckIn);
        const QByteArray checkedIn = bytesOf(h.file());
        punchAt(h, c, "20240315090001", Command::CheckOut);
        QCOMPARE(c.action(Command::Undo)->text(), "&Undo Check Out at 09:00");
        c.action(Command::Undo)->trigger();
        QCOMPARE(bytesOf(h.file()), checkedIn);
        QCOMPARE(title(c), "Now CheckIn...");
        c.action(Command::Redo)->trigger();
        QCOMPARE(h.stored(kPrevTimeStrKey), QVariant("20240315090001"));
        // Changed by hand since: refused, and nothing moves.
        const QByteArray edited = bytesOf(h.file()).replace("090001", "090002");
        QVERIFY(put(h.file(), edited));
        c.action(Command::Undo)->trigger();
        QCOMPARE(bytesOf(h.file()), edited);
        QTRY_VERIFY(c.ckinWindow()->findChild<QMessageBox*>("editRefusal"));
    }

    // A punch another writer appends shows within a second, through the folder watch.
    void stateFollowsLog() {
        Harness h;
        h.store(kOnBusinessKey, true);
        h.store(kPrevTimeStrKey, "20240301080000");
        MyController& c = h.start();
        c.showCheckInWindow();
        QTest::qWait(400); // past the look that showing the window starts
        QVERIFY(writeMonths(h.logsDir(), {"20240315080000", "20240315085000"}));
        QTRY_COMPARE_WITH_TIMEOUT(title(c), "Now CheckOut...", 1000);
        QCOMPARE(h.stored(kPrevTimeStrKey), QVariant("20240315085000"));
    }

    // An unwritten punch: an alert naming the file, and nothing else changed.
    void failedPunchIsShown() {
        Harness h;
        MyController& c = h.start();
        c.showCheckInWindow();
        const QByteArray settings = bytesOf(h.settingsPath);
        {
            FailingDisk full(FailingDisk::NoSpace);
            punchAt(h, c, "20240315090000", Command::CheckIn);
        }
        QVERIFY(!c.onBusinessP());
        QCOMPARE(title(c), "Now CheckOut...");
        QCOMPARE(bytesOf(h.settingsPath), settings);
        const auto* alert = c.ckinWindow()->findChild<QMessageBox*>("editRefusal");
        QVERIFY(alert && alert->text().contains(h.file()));
        QVERIFY(!c.action(Command::Undo)->isEnabled());
    }

    // A punch changed and one deleted from the log window, each one undo step.
    void editsFromTheLogWindow() {
        Harness h;
        const QByteArray original = "# by hand\r\n" + punches({"20240311080000", "20240311120000",
                                                               "20240312080000", "20240312090000"})
                                                          .toUtf8();
        QVERIFY(QDir().mkpath(h.logsDir()) && put(h.file(), original));
        MyController& c = h.start();
        c.action(Command::ShowLog)->trigger();
        ReportWindow* log = c.reportWindow(ReportKind::Log);
        auto& table = child<PagedTableView>(log, "reportTable");
        table.selectRow(1);
        whenShown<PunchDialog>([](PunchDialog& d) {
            child<QLineEdit>(&d, "hourField").setText("13");
            d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        c.action(Command::ChangePunch)->trigger();
        QCOMPARE(rowsOf(log).value(1), "2024/03/11 13:00:00=CheckOut");
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
        QCOMPARE(bytesOf(h.file()), original);
    }

    // Each report window: showing it makes this month's file and indexes it;
    // Earlier and Later refill the table and recheck the buttons and the Go
    // menu. An unreadable month file is a notice over the table, never a 0.
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
        QVERIFY(writeMonths(
            h.logsDir(), {"20230210080000", "20230210090000", "20240210080000", "20240210090000"}));
        QVERIFY(QDir().mkpath(h.file("202312")));
        MyController& c = h.start();
        c.showReportWindow(kind);
        QCOMPARE(modeOf(h.file()), 0600);
        ReportWindow* w = c.reportWindow(kind);
        QAbstractItemModel* model = child<PagedTableView>(w, "reportTable").model();
        // The model obeys Qt's rules through every refill and move below.
        const QAbstractItemModelTester modelRules(
            model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        const auto& notice = child<QLabel>(w, "readNotice");
        QCOMPARE(notice.isVisible(), kind == ReportKind::MonthlySums);
        QVERIFY(!notice.isVisible() || notice.text().contains(h.file("202312")));
        auto& prev = child<QPushButton>(w, "prevButton");
        auto& next = child<QPushButton>(w, "nextButton");
        auto& thisMonth = child<QAction>(w, "thisMonthAction");
        QVERIFY(prev.isEnabled() && !next.isEnabled() && !thisMonth.isEnabled());
        prev.click();
        QCOMPARE(c.myCurrentPrevMonth(), earlier);
        QCOMPARE(rowsOf(w).value(0), firstRow);
        QVERIFY(next.isEnabled()); // Later finds this month's file
        next.click();
        QCOMPARE(c.myCurrentPrevMonth(), 0);
        QVERIFY(!next.isEnabled());
        prev.click();
        QVERIFY(child<QAction>(w, "laterAction").isEnabled() && thisMonth.isEnabled());
        thisMonth.trigger();
        QCOMPARE(c.myCurrentPrevMonth(), 0);
        QVERIFY(!next.isEnabled() && !child<QAction>(w, "laterAction").isEnabled());
        // The key on the left, the value on the right.
        QCOMPARE(model->headerData(0, Qt::Horizontal, MyDataSource::IdentifierRole),
                 QVariant("keyDateStr"));
        if (kind != ReportKind::MonthlySums)
            return;
        // A month file added while fennick runs counts in the monthly sums.
        QVERIFY(put(h.file("202401"), punches({"20240110080000", "20240110100000"}).toUtf8()));
        c.showReportWindow(kind);
        QVERIFY(rowsOf(w).contains("202401=002:00:00"));
        // Ctrl+C copies the selected rows top to bottom, tab-separated, whatever the
        // order they were picked in.
        auto& table = child<PagedTableView>(w, "reportTable");
        const int january = int(rowsOf(w).indexOf("202401=002:00:00"));
        for (const int row : {january + 1, january})
            table.selectionModel()->select(model->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QTest::keyClick(&table, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), "202401\t002:00:00\n202402\t001:00:00\n");
    }

    // Copies named over the table, merged undoably or not at all; no edits meanwhile.
    void mergeFromWindow_data() {
        QTest::addColumn<ReportKind>("kind");
        QTest::addColumn<bool>("failingDisk");
        QTest::newRow("daily sums") << ReportKind::DailySums << false;
        QTest::newRow("log") << ReportKind::Log << false;
        QTest::newRow("failing disk") << ReportKind::MonthlySums << true;
    }
    void mergeFromWindow() {
        QFETCH(ReportKind, kind);
        QFETCH(bool, failingDisk);
        Harness h;
        const QString month = h.file();
        const QString copy = h.logsDir() + "/TLOG202403.sync-conflict-20240315-090000-FENNICK.txt";
        const QByteArray day = punches({"20240311080000", "20240311090000"}).toUtf8();
        QVERIFY(QDir().mkpath(h.logsDir()) && put(month, day));
        QVERIFY(put(copy, day + punches({"20240312080000", "20240312100000"}).toUtf8()));
        MyController& c = h.start();
        c.showReportWindow(kind);
        ReportWindow* w = c.reportWindow(kind);
        const auto& notice = child<QWidget>(w, "conflictNotice");
        QVERIFY(notice.isVisibleTo(w));
        QVERIFY(child<QLabel>(w, "conflictText").text().contains(QFileInfo(copy).fileName()));
        if (kind == ReportKind::Log) {
            QCOMPARE(rowsOf(w).size(), 4);
            child<PagedTableView>(w, "reportTable").selectRow(0);
            c.action(Command::DeletePunch)->trigger();
            QTRY_VERIFY(w->findChild<QMessageBox*>("editRefusal"));
            QCOMPARE(bytesOf(month), day);
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

    // The last punch, the steps and the time accepted ("" for none).
    void bounds_data() {
        QTest::addColumn<QString>("prev");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("accepted");
        const QString L("20240305090000");
        QTest::newRow("equal to the last punch") << L << QStringList{"2024|3|5|9|0"} << L;
        QTest::newRow("a minute and a second before the last punch")
            << "20240305090001" << QStringList{"2024|3|5|8|59", "2024|3|5|9|0", "2024|3|5|9|1"}
            << "20240305090100";
        QTest::newRow("a minute past the press, then equal to it")
            << L << QStringList{"2024|3|5|18|1", "2024|3|5|18|0"} << "20240305180000";
        QTest::newRow("zeros") << L << QStringList{" 2024 |03| 5|09 |30"} << "20240305093000";
        QTest::newRow("unbounded") << "garbage" << QStringList{"1990|1|1|0|0"} << "19900101000000";
        // Each of these would land inside the bounds if carried into the next unit.
        const QStringList wrong{"2023|13|5|9|0",   "2024|3|0|9|0",  "2024|3|4|24|0",
                                "2024|3|5|9|60",   "2024|2|30|9|0", "2024|3||9|0",
                                "2024|3|five|9|0", "2024|3|5|9|-1", "cancel"};
        QTest::newRow("out of range") << "20230101000000" << wrong << "";
    }
    // Pressed at 18:00, steps "cancel" or "y|m|d|h|min" + Return; refusals beep and alert.
    // Every entry but an accepted last one is refused, the entry kept as typed.
    void bounds() {
        QFETCH(QString, prev);
        QFETCH(QStringList, steps);
        QFETCH(QString, accepted);
        QStringList trace, expected;
        TimeEntryDialog dialog([&] { trace << "beep"; },
                               [&](const CalDate& d) { trace << d.format(CalFormat::Compact); });
        auto* cancel = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel);
        QTimer::singleShot(0, &dialog, [&] {
            for (const QString& step : steps) {
                if (step == "cancel")
                    cancel->click();
                for (int i = 0; step.contains(u'|') && i < 5; ++i) { // Return after the minute
                    auto* field = dialog.findChild<QLineEdit*>(kEntry[i]);
                    field->clear();
                    QTest::keyClicks(field, step.section(u'|', i, i) + (i == 4 ? "\r" : ""));
                }
                // A refused entry's alert, over the dialog, is dismissed.
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (box && box->parentWidget() == &dialog) {
                    trace << box->windowTitle() + ' ' + box->text() + ' ' + entryOf(dialog);
                    box->button(QMessageBox::Ok)->click();
                }
            }
            if (dialog.isVisible())
                trace << "still open", dialog.reject();
        });
        QCOMPARE(dialog.enterTimeDialog(at("20240305180000"), prev, true),
                 accepted.isEmpty() ? kModalAborted : kModalStopped);
        for (const QString& step : steps.filter(QStringLiteral("|")))
            expected += {"beep", "Alert Reenter " + step};
        if (!accepted.isEmpty())
            expected = expected.mid(0, expected.size() - 2) << accepted;
        QCOMPARE(trace, expected);
    }

    // A last punch edited into long markup is shown as plain text, shortened.
    void handEditedLastPunch() {
        const QString value = "<b>bold</b>" + QString(20000, u'x');
        TimeEntryDialog dialog({}, {});
        dialog.setupCkTimeWindow(at("20240305080709"), value, true);
        CheckInWindow window;
        window.showState(checkInState(true, value));
        using Place = std::pair<QWidget*, const char*>;
        for (auto [top, name] : {Place{&dialog, "prevTimeField"}, {&window, "ckinPreTimeField"}}) {
            auto* label = top->findChild<QLabel*>(name);
            top->show();
            QCOMPARE(label->textFormat(), Qt::PlainText);
            QVERIFY(top->width() < 800);
            const QString shown = qobject_cast<ElidedLabel*>(label)->shownText();
            QVERIFY(shown.startsWith("<b>bold</b>") && shown.endsWith(QChar(0x2026)));
        }
    }

    void exportedPages_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<float>("scale");
        QTest::addColumn<QList<int>>("rowsPerPage");
        QTest::newRow("empty table") << 0 << 1.f << QList<int>{0};
        QTest::newRow("one full page, no blank one") << 38 << 1.f << QList<int>{38};
        QTest::newRow("one row more") << 39 << 1.f << QList<int>{38, 1};
        QTest::newRow("75% prints whole rows") << 100 << 0.75f << QList<int>{50, 50};
    }
    // Each page: heading, number, total and column headings on top; no row lost, repeated or cut.
    void exportedPages() {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext (poppler-utils) is needed to read the pages back");
        QFETCH(int, rows);
        QFETCH(float, scale);
        QFETCH(QList<int>, rowsPerPage);
        ReportWindow window(ReportKind::MonthlySums);
        DspRows data;
        for (int i = 1; i <= rows; ++i)
            data << myDspData{QString("K%1").arg(i), QString("D%1").arg(i)};
        showRows(window, rows ? std::optional(data) : std::nullopt, {}); // absent: empty
        auto& table = child<PagedTableView>(&window, "reportTable");
        table.setPrintScale(scale);
        const QAbstractItemModel* model = table.model();
        QVERIFY(!rows || model->index(0, 1).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
        const QTemporaryDir dir;
        const QString pdf = dir.filePath("p.pdf"), total = "Total:\t123:45:06";
        const QPageLayout letter(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                 {54, 100, 54, 46});
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFileName(pdf); // a PDF by its name
        printer.setPageLayout(letter);
        QVERIFY(scale == 1 ? table.exportPdf(pdf, "Heading", total, letter)
                           : table.print(&printer, "Heading", total));
        const QList<QStringList> pages = pdfPages(pdf, 100, 17 * scale);
        QCOMPARE(pages.size(), rowsPerPage.size());
        const QString margin = "Heading Total: 123:45:06 Month Worked Page %1 of %2";
        int next = 1;
        for (int p = 0; p < pages.size(); ++p) {
            QStringList want = margin.arg(p + 1).arg(pages.size()).split(u' ');
            for (int i = 0; i < rowsPerPage[p]; ++i, ++next)
                want << QString("K%1@%2").arg(next).arg(i) << QString("D%1@%2").arg(next).arg(i);
            want.sort();
            QCOMPARE(pages[p], want);
        }
        QCOMPARE(next, rows + 1);
    }

    void printDialog_data() {
        QTest::addColumn<PrintChoice>("choice");
        QTest::addColumn<QStringList>("printed");
        QTest::newRow("range within the report")
            << PrintChoice{100, 2, 3} << QStringList{"2/3", "3/3"};
        QTest::newRow("range cut at the chosen scale")
            << PrintChoice{50, 2, 9} << QStringList{"2/2"};
        QTest::newRow("range beyond the report at 50%") << PrintChoice{50, 12, 20} << QStringList{};
        QTest::newRow("reverse order")
            << PrintChoice{100, 0, 0, true} << QStringList{"3/3", "2/3", "1/3"};
        QTest::newRow("250%") << PrintChoice{250}
                              << QStringList{"1/7", "2/7", "3/7", "4/7", "5/7", "6/7", "7/7"};
    }
    // A 100-row log is three pages at 100 %; a range outside the report is refused, never blank.
    void printDialog() {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext (poppler-utils) is needed to read the pages back");
        QFETCH(PrintChoice, choice);
        QFETCH(QStringList, printed);
        const QTemporaryDir dir;
        ReportWindow window(ReportKind::Log);
        DspRows rows;
        for (int i = 0; i < 100; ++i)
            rows << myDspData{QString("2024/03/10 08:00:%1").arg(i),
                              i % 2 ? "Checked out" : "Checked in"};
        showRows(window, rows, "Log – March 2024");
        // Printed through the window's print dialog, as a user would.
        whenShown<QPrintDialog>([&](QPrintDialog& dialog) {
            auto& printers = child<QComboBox>(&dialog, "printers");
            printers.setCurrentIndex(printers.count() - 1); // print to file
            child<QLineEdit>(&dialog, "filename").setText(dir.filePath("p.pdf"));
            child<QSpinBox>(&dialog, "printScale").setValue(choice.scale);
            if (choice.from) {
                child<QRadioButton>(&dialog, "printRange").setChecked(true);
                child<QSpinBox>(&dialog, "from").setValue(choice.from);
                child<QSpinBox>(&dialog, "to").setValue(choice.to);
            }
            child<QCheckBox>(&dialog, "reverse").setChecked(choice.reverse);
            dialog.accept();
        });
        window.print();
        QCOMPARE(pageNumbers(dir.filePath("p.pdf")), printed);
        if (!choice.from)
            QCOMPARE(pdftotext("-layout", dir.filePath("p.pdf")).count("Chec"), 100);
        const auto boxes = window.findChildren<QMessageBox*>();
        QCOMPARE(boxes.size(), printed.isEmpty() ? 1 : 0);
        QVERIFY(!printed.isEmpty() ||
                (boxes[0]->text().contains("2 page") && !QFile::exists(dir.filePath("p.pdf"))));
        QVERIFY(window.exportPdf(dir.filePath("export.pdf")));
        QCOMPARE(pageNumbers(dir.filePath("export.pdf")), QStringList({"1/3", "2/3", "3/3"}));
    }

    // A failed export (a full disk) leaves what was there and no temporary file.
    void exportFailure() {
        const QTemporaryDir dir;
        ReportWindow window(ReportKind::Log);
        const QString plain = dir.filePath("plain");
        QVERIFY(put(plain, "keep me"));
        rlimit limit{};
        QVERIFY(getrlimit(RLIMIT_FSIZE, &limit) == 0);
        const rlimit small{1024, limit.rlim_max};
        std::signal(SIGXFSZ, SIG_IGN);
        QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
        const bool written = window.exportPdf(plain);
        QVERIFY(setrlimit(RLIMIT_FSIZE, &limit) == 0);
        QVERIFY(!written);
        QCOMPARE(bytesOf(plain), QByteArray("keep me"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"plain"});
    }
};

QTEST_MAIN(TestLogRecord)
#include "tst_logrecord.moc"
