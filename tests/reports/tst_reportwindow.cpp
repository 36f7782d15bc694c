#include "reports/mydatasource.h"
#include "support.h"
#include "windows/dailychart.h"
#include "windows/pagedtableview.h"
#include "windows/reportwindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

#include <csignal>
#include <sys/resource.h>

using namespace fennick;

namespace {

// pdftotext's output for a PDF in one of its modes.
QString pdftotext(const char* mode, const QString& path) {
    QProcess process;
    process.start("pdftotext", {mode, path, "-"});
    process.waitForFinished(30000);
    return process.readAllStandardOutput();
}

// The words of each page as pdftotext finds them, sorted. A word in the top
// margin (above `top`) stands alone; one below gets "@n" when it lies wholly
// in the n-th band of `rowHeight` points, else "@cut".
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

// Each page's text as pdftotext finds it.
QStringList pdfTexts(const QString& path) {
    QStringList pages = pdftotext("-layout", path).split(u'\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// "n/m" for each page's "Page n of m", in the file's order.
QStringList pageNumbers(const QStringList& texts) {
    static const QRegularExpression number(R"(Page (\d+) of (\d+))");
    QStringList numbers;
    for (const QString& text : texts) {
        const auto m = number.match(text);
        numbers << (m.hasMatch() ? m.captured(1) + '/' + m.captured(2) : QString("none"));
    }
    return numbers;
}

// The punch times of a log month, one a row, each distinct.
QString punchTime(int row) {
    return QString("2024/03/%1 08:%2:07").arg(10 + row / 60).arg(row % 60, 2, 10, QChar('0'));
}

PagedTableView& tableOf(const ReportWindow& window) {
    return test::child<PagedTableView>(&window, "reportTable");
}

void showRows(ReportWindow& window, const DspRows& rows, const QString& heading = {}) {
    ReportContent content;
    content.heading = heading;
    content.rows = rows;
    window.setContent(content);
}

void fillLog(ReportWindow& window, int rows) {
    tableOf(window).verticalHeader()->setMinimumSectionSize(17);
    tableOf(window).verticalHeader()->setDefaultSectionSize(17);
    DspRows data;
    for (int i = 0; i < rows; ++i)
        data << myDspData{punchTime(i), i % 2 ? "Checked out" : "Checked in"};
    showRows(window, data, "Log – March 2024");
}

// The rows whose punch time a PDF shows whole.
int wholeTimes(const QStringList& texts, int rows) {
    const QString all = texts.join(u'\n');
    int found = 0;
    for (int i = 0; i < rows; ++i)
        found += all.contains(punchTime(i));
    return found;
}

// Prints the table into a PDF file as the print dialog's printer would.
bool printTo(PagedTableView& table, const QString& path, const QPageLayout& layout,
             const QString& heading, const QString& total) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageLayout(layout);
    return table.print(&printer, heading, total);
}

// Runs `act` on the next modal dialog of type T once it shows.
template <class T> void whenShown(std::function<void(T&)> act, int tries = 300) {
    QTimer::singleShot(10, [act, tries] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget()))
            act(*dialog);
        else if (tries > 0)
            whenShown<T>(act, tries - 1);
    });
}

// The choices made in the print dialog; an empty range leaves all pages.
struct PrintChoice {
    int scale = 100;
    int from = 0;
    int to = 0;
    bool reverse = false;
};

// Prints through the window's print dialog into `path`, as a user would.
// Answers whether the dialog opened on all pages.
bool printThroughDialog(ReportWindow& window, const QString& path, const PrintChoice& choice) {
    bool openedOnAll = false;
    whenShown<QPrintDialog>([&](QPrintDialog& dialog) {
        openedOnAll = dialog.findChild<QRadioButton*>("printAll")->isChecked() &&
                      !dialog.findChild<QCheckBox*>("reverse")->isChecked();
        auto* printers = dialog.findChild<QComboBox*>("printers");
        printers->setCurrentIndex(printers->count() - 1); // print to file
        dialog.findChild<QLineEdit*>("filename")->setText(path);
        dialog.findChild<QSpinBox*>("printScale")->setValue(choice.scale);
        if (choice.from) {
            dialog.findChild<QRadioButton*>("printRange")->setChecked(true);
            dialog.findChild<QSpinBox*>("from")->setValue(choice.from);
            dialog.findChild<QSpinBox*>("to")->setValue(choice.to);
        }
        dialog.findChild<QCheckBox*>("reverse")->setChecked(choice.reverse);
        dialog.accept();
    });
    window.print();
    return openedOnAll;
}

} // namespace

Q_DECLARE_METATYPE(PrintChoice)
Q_DECLARE_METATYPE(PagedTableView::PdfScale)

class TestReportWindow : public QObject {
    Q_OBJECT

private slots:
    // The tests that read a PDF back need pdftotext.
    void init() {
        static const QByteArrayList readers{"exportedPages", "printDialog", "printedColumns",
                                            "exportFitToWidth"};
        if (readers.contains(QTest::currentTestFunction()) &&
            QStandardPaths::findExecutable("pdftotext").isEmpty())
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

    // The rows as the window's table shows them, on Letter paper whose usable
    // height is exactly 38 rows of 17 points: each page carries the heading,
    // its number, the total and the column headings in its top margin, and the
    // rows run on from the page before: none lost, repeated or cut at a page
    // break.
    void exportedPages() {
        QFETCH(int, rows);
        QFETCH(float, scale);
        QFETCH(QList<int>, rowsPerPage);
        ReportWindow window(ReportKind::MonthlySums);
        auto* table = &test::child<PagedTableView>(&window, "reportTable");
        table->verticalHeader()->setMinimumSectionSize(17);
        table->verticalHeader()->setDefaultSectionSize(17);
        table->setPrintScale(scale);
        DspRows data;
        for (int i = 1; i <= rows; ++i)
            data << myDspData{QString("K%1").arg(i), QString("D%1").arg(i)};
        // An absent list is an empty table.
        ReportContent content;
        content.rows = rows ? std::optional(data) : std::nullopt;
        window.setContent(content);
        const QAbstractItemModel* model = table->model();
        QVERIFY(!rows || model->index(0, 1).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
        QVERIFY(!(model->flags(model->index(0, 1)) & Qt::ItemIsEditable));

        const QTemporaryDir dir;
        const QPageLayout letter(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                 {54, 100, 54, 46});
        // Export is always at 100 %; another scale is the printer's.
        const QString total = "Total:\t123:45:06";
        QVERIFY(scale == 1 ? table->exportPdf(dir.filePath("p.pdf"), "Heading", total, letter)
                           : printTo(*table, dir.filePath("p.pdf"), letter, "Heading", total));
        const QList<QStringList> pages = pdfPages(dir.filePath("p.pdf"), 100, 17 * scale);
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
        QTest::addColumn<bool>("previousRange");
        QTest::addColumn<PrintChoice>("choice");
        QTest::addColumn<QStringList>("printed");
        const QStringList all{"1/3", "2/3", "3/3"};
        QTest::newRow("all pages") << false << PrintChoice{} << all;
        QTest::newRow("a previous range does not carry") << true << PrintChoice{} << all;
        QTest::newRow("range within the report") << false << PrintChoice{100, 2, 3} << all.mid(1);
        QTest::newRow("range cut at the chosen scale")
            << false << PrintChoice{50, 2, 9} << QStringList{"2/2"};
        QTest::newRow("range beyond the report at 50%")
            << false << PrintChoice{50, 12, 20} << QStringList{};
        QTest::newRow("reverse order")
            << false << PrintChoice{100, 0, 0, true} << QStringList{"3/3", "2/3", "1/3"};
    }

    // A 100-row log is three pages at 100 %, two at 50 %, twelve at 400 %.
    // The dialog and the preview always open on all pages in order; the range
    // is held against the scale chosen in it: cut to the report, or refused
    // with a message when none of its pages is in it, never a blank page.
    void printDialog() {
        QFETCH(bool, previousRange);
        QFETCH(PrintChoice, choice);
        QFETCH(QStringList, printed);
        const QTemporaryDir dir;
        ReportWindow window(ReportKind::Log);
        fillLog(window, 100);
        if (previousRange) {
            printThroughDialog(window, dir.filePath("before.pdf"), {100, 2, 2, true});
            QCOMPARE(pageNumbers(pdfTexts(dir.filePath("before.pdf"))), QStringList{"2/3"});
            int previewed = 0;
            whenShown<QDialog>([&](QDialog& preview) {
                previewed = preview.findChild<QPrintPreviewWidget*>()->pageCount();
                preview.reject();
            });
            window.printPreview();
            QCOMPARE(previewed, 3);
        }
        QVERIFY(printThroughDialog(window, dir.filePath("p.pdf"), choice));
        const QStringList texts = pdfTexts(dir.filePath("p.pdf"));
        QCOMPARE(pageNumbers(texts), printed);
        for (const QString& text : texts)
            QVERIFY2(text.contains("2024/03/"), "a page without rows");
        const auto boxes = window.findChildren<QMessageBox*>();
        QCOMPARE(boxes.size(), printed.isEmpty() ? 1 : 0);
        if (printed.isEmpty()) {
            QVERIFY(boxes[0]->text().contains("2 page"));
            QVERIFY(!QFile::exists(dir.filePath("p.pdf")));
        }
    }

    void printedColumns_data() {
        QTest::addColumn<int>("scale");
        QTest::addColumn<int>("pages");
        QTest::newRow("100%") << 100 << 3;
        QTest::newRow("175%") << 175 << 5;
        QTest::newRow("200%") << 200 << 6;
        QTest::newRow("250%") << 250 << 7;
    }

    // Punch times are printed whole at large scales, each with its event
    // beside it (shortened where both do not fit). Export PDF keeps its own
    // settings: after any print it exports the three pages of 100 %.
    void printedColumns() {
        QFETCH(int, scale);
        QFETCH(int, pages);
        const QTemporaryDir dir;
        ReportWindow window(ReportKind::Log);
        fillLog(window, 100);
        QVERIFY(printThroughDialog(window, dir.filePath("p.pdf"), {scale}));
        QStringList texts = pdfTexts(dir.filePath("p.pdf"));
        QCOMPARE(texts.size(), pages);
        QCOMPARE(wholeTimes(texts, 100), 100);
        QCOMPARE(texts.join(u' ').count("Chec"), 100);
        QVERIFY(window.exportPdf(dir.filePath("export.pdf")));
        texts = pdfTexts(dir.filePath("export.pdf"));
        QCOMPARE(pageNumbers(texts), (QStringList{"1/3", "2/3", "3/3"}));
        QCOMPARE(wholeTimes(texts, 100), 100);
    }

    // Fit to width shrinks a table whose texts would be cut; at actual size
    // they are shortened.
    void exportFitToWidth_data() {
        QTest::addColumn<PagedTableView::PdfScale>("scale");
        QTest::addColumn<bool>("whole");
        QTest::newRow("actual size") << PagedTableView::PdfScale::Actual << false;
        QTest::newRow("fit to width") << PagedTableView::PdfScale::FitToWidth << true;
    }

    void exportFitToWidth() {
        QFETCH(PagedTableView::PdfScale, scale);
        QFETCH(bool, whole);
        const QString note = QString("note%1").arg(QString("x").repeated(40)).repeated(4) + "end";
        ReportWindow window(ReportKind::Log);
        showRows(window, DspRows{{punchTime(0), note}});
        const QTemporaryDir dir;
        QVERIFY(tableOf(window).exportPdf(dir.filePath("p.pdf"), "Log", QString(),
                                          PagedTableView::defaultPageLayout(), scale));
        const QString text = pdfTexts(dir.filePath("p.pdf")).join(' ');
        QCOMPARE(text.contains(note), whole);
        QVERIFY(text.contains(punchTime(0)));
    }

    // Print to file and Export PDF propose the same file and paper.
    void fileDefaults() {
        const QTemporaryDir home;
        const QByteArray oldHome = qgetenv("HOME");
        qputenv("HOME", home.path().toUtf8());
        QVERIFY(QDir(home.path()).mkdir("Documents"));
        ReportWindow window(ReportKind::DailySums);
        showRows(window, {}, "Daily Sums – March 2024");
        QString printFile, exportFile;
        int printPaper = -1, exportPaper = -2;
        whenShown<QPrintDialog>([&](QPrintDialog& dialog) {
            printFile = dialog.findChild<QLineEdit*>("filename")->text();
            printPaper = dialog.printer()->pageLayout().pageSize().id();
            dialog.reject();
        });
        window.print();
        whenShown<QDialog>([&](QDialog& settings) {
            exportPaper = settings.findChild<QComboBox*>("pdfPageSize")->currentData().toInt();
            whenShown<QFileDialog>([&](QFileDialog& files) {
                exportFile = files.selectedFiles().value(0);
                files.reject();
            });
            settings.accept();
        });
        window.exportPdfAs();
        qputenv("HOME", oldHome);
        QCOMPARE(printFile, home.filePath("Documents/Daily Sums – March 2024.pdf"));
        QCOMPARE(exportFile, printFile);
        QCOMPARE(exportPaper, printPaper);
    }

    // A failed export leaves what was there and no temporary file.
    void exportFailures() {
        const QTemporaryDir dir;
        ReportWindow window(ReportKind::Log);
        const QString plain = dir.filePath("plain");
        QVERIFY(test::put(plain, "keep me"));
        // A write error, as on a full disk: files may grow to 1 KiB only.
        rlimit limit{};
        QVERIFY(getrlimit(RLIMIT_FSIZE, &limit) == 0);
        const rlimit small{1024, limit.rlim_max};
        std::signal(SIGXFSZ, SIG_IGN);
        QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
        const bool written = window.exportPdf(plain);
        QVERIFY(setrlimit(RLIMIT_FSIZE, &limit) == 0);
        QVERIFY(!written);
        QCOMPARE(test::bytesOf(plain), QByteArray("keep me"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"plain"});
    }

    // Copy takes the selected rows whole, in table order, as tab-separated
    // text, by keys and from the table's context menu alike.
    void copyRows_data() {
        QTest::addColumn<bool>("byKeys");
        QTest::newRow("Ctrl+C") << true;
        QTest::newRow("context menu") << false;
    }

    void copyRows() {
        QFETCH(bool, byKeys);
        ReportWindow window(ReportKind::DailySums);
        showRows(window,
                 {{"20240301", "08:00:00"}, {"20240304", "07:30:00"}, {"20240310", "-00:01:30"}});
        PagedTableView& table = tableOf(window);
        QItemSelectionModel& selection = *table.selectionModel();
        const auto flags = QItemSelectionModel::Select | QItemSelectionModel::Rows;
        selection.select(table.model()->index(2, 1), flags);
        selection.select(table.model()->index(0, 0), flags);
        selection.setCurrentIndex(table.model()->index(0, 1), QItemSelectionModel::NoUpdate);
        QGuiApplication::clipboard()->clear();
        if (byKeys) {
            QTest::keyClick(&table, Qt::Key_C, Qt::ControlModifier);
        } else {
            const QList<QAction*> menu = test::child<QMenu>(&window, "tableMenu").actions();
            QCOMPARE(menu.size(), 4); // Copy, a separator, Export CSV…, Print…
            menu.first()->trigger();
        }
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QString("20240301\t08:00:00\n20240310\t-00:01:30\n"));
    }

    // The chart tells a day as the table does, a negative one too, and a day
    // without punches apart from a day of zero.
    void chartToolTips_data() {
        QTest::addColumn<int>("day");
        QTest::addColumn<QString>("tip");
        QTest::newRow("a day of work") << 3 << "Sunday, March 3, 2024: 01:01:01";
        QTest::newRow("a negative day") << 10 << "Sunday, March 10, 2024: -00:01:30";
        QTest::newRow("a day of zero") << 12 << "Tuesday, March 12, 2024: 00:00:00";
        QTest::newRow("no punches") << 13 << "Wednesday, March 13, 2024: no punches";
        QTest::newRow("after the month") << 32 << "";
    }

    void chartToolTips() {
        QFETCH(int, day);
        QFETCH(QString, tip);
        const QLocale before;
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        DayTotals days;
        for (const auto& [key, seconds] :
             {std::pair{"20240303", 3661}, {"20240310", -90}, {"20240312", 0}}) {
            days[key].setSumValue(seconds);
        }
        DailyChart chart;
        chart.setMonth("202403", days, "20240315");
        const QString got = chart.toolTipOf(day);
        QLocale::setDefault(before);
        QCOMPARE(got, tip);
        if (day == 10)
            QCOMPARE(chart.seconds().at(9), qint64(0)); // the bar stands at zero
    }
};

QTEST_MAIN(TestReportWindow)
#include "tst_reportwindow.moc"
