// A report window's pages, printed and exported, read back with pdftotext.

#include "app/harness.h"

#include <QCheckBox>
#include <QComboBox>
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

PagedTableView& tableOf(const ReportWindow& window) {
    return child<PagedTableView>(&window, "reportTable");
}

// Rows 17 points high: 38 fit on Letter paper with the test's margins.
void showRows(ReportWindow& window, const std::optional<DspRows>& rows, const QString& heading) {
    tableOf(window).verticalHeader()->setMinimumSectionSize(17);
    tableOf(window).verticalHeader()->setDefaultSectionSize(17);
    ReportContent content;
    content.heading = heading;
    content.rows = rows;
    window.setContent(content);
}

struct PrintChoice {
    int scale = 100;
    int from = 0; // 0: all pages
    int to = 0;
    bool reverse = false;
};

// Prints through the window's print dialog into `path`, as a user would.
void printThroughDialog(ReportWindow& window, const QString& path, const PrintChoice& choice) {
    whenShown<QPrintDialog>([&](QPrintDialog& dialog) {
        auto& printers = child<QComboBox>(&dialog, "printers");
        printers.setCurrentIndex(printers.count() - 1); // print to file
        child<QLineEdit>(&dialog, "filename").setText(path);
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
}

} // namespace

class TestReportWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext (poppler-utils) is needed to read the pages back");
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
        QFETCH(int, rows);
        QFETCH(float, scale);
        QFETCH(QList<int>, rowsPerPage);
        ReportWindow window(ReportKind::MonthlySums);
        DspRows data;
        for (int i = 1; i <= rows; ++i)
            data << myDspData{QString("K%1").arg(i), QString("D%1").arg(i)};
        showRows(window, rows ? std::optional(data) : std::nullopt, {}); // absent: empty
        PagedTableView& table = tableOf(window);
        table.setPrintScale(scale);
        const QAbstractItemModel* model = table.model();
        QVERIFY(!rows || model->index(0, 1).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
        const QTemporaryDir dir;
        const QString pdf = dir.filePath("p.pdf"), total = "Total:\t123:45:06";
        const QPageLayout letter(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                 {54, 100, 54, 46});
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
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
        QFETCH(PrintChoice, choice);
        QFETCH(QStringList, printed);
        const QTemporaryDir dir;
        ReportWindow window(ReportKind::Log);
        DspRows rows;
        for (int i = 0; i < 100; ++i)
            rows << myDspData{
                QString("2024/03/%1 08:%2:07").arg(10 + i / 60).arg(i % 60, 2, 10, QChar('0')),
                i % 2 ? "Checked out" : "Checked in"};
        showRows(window, rows, "Log – March 2024");
        printThroughDialog(window, dir.filePath("p.pdf"), choice);
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

QTEST_MAIN(TestReportWindow)
#include "tst_reportwindow.moc"
