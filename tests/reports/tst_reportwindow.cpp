#include "reports/mydatasource.h"
#include "reports/widgets/mybasetableview.h"
#include "reports/widgets/reportwindow.h"
#include "support.h"

#include <QHeaderView>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace fennick;

namespace {

// The words of each page as pdftotext finds them, sorted. A word in the top
// margin (above `top`) stands alone; one below gets "@n" when it lies wholly
// in the n-th band of `rowHeight` points, else "@cut".
QList<QStringList> pdfPages(const QString& path, qreal top, qreal rowHeight) {
    QProcess process;
    process.start("pdftotext", {"-bbox", path, "-"});
    process.waitForFinished(30000);
    static const QRegularExpression word(R"re(yMin="([\d.]+)"[^>]*yMax="([\d.]+)">([^<]*)<)re");
    QList<QStringList> pages;
    for (const QString& page : QString(process.readAllStandardOutput()).split("<page ").mid(1)) {
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
    QProcess process;
    process.start("pdftotext", {"-layout", path, "-"});
    process.waitForFinished(30000);
    QStringList pages = QString(process.readAllStandardOutput()).split(u'\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// The punch times of a log month, one a row, each distinct.
QString punchTime(int row) {
    return QString("2024/03/%1 08:%2:07").arg(10 + row / 60).arg(row % 60, 2, 10, QChar('0'));
}

void fillLog(ReportWindow& window, int rows) {
    window.table()->verticalHeader()->setMinimumSectionSize(17);
    window.table()->verticalHeader()->setDefaultSectionSize(17);
    DspRows data;
    for (int i = 0; i < rows; ++i)
        data << myDspData{punchTime(i), i % 2 ? "Checked out" : "Checked in"};
    window.dataSource()->setDataArray(data);
    window.setHeading("Log – March 2024");
}

// The rows whose punch time a PDF shows whole.
int wholeTimes(const QStringList& texts, int rows) {
    const QString all = texts.join(u'\n');
    int found = 0;
    for (int i = 0; i < rows; ++i)
        found += all.contains(punchTime(i));
    return found;
}

} // namespace

class TestReportWindow : public QObject {
    Q_OBJECT

private slots:
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
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext (poppler-utils) is needed to read the pages back");
        QFETCH(int, rows);
        QFETCH(float, scale);
        QFETCH(QList<int>, rowsPerPage);
        ReportWindow window(ReportKind::MonthlySums);
        window.table()->verticalHeader()->setMinimumSectionSize(17);
        window.table()->verticalHeader()->setDefaultSectionSize(17);
        window.table()->setPrintScale(scale);
        DspRows data;
        for (int i = 1; i <= rows; ++i)
            data << myDspData{QString("K%1").arg(i), QString("D%1").arg(i)};
        // An absent list is an empty table.
        window.dataSource()->setDataArray(rows ? std::optional(data) : std::nullopt);
        const QAbstractItemModel* model = window.table()->model();
        QVERIFY(!rows || model->index(0, 1).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
        QVERIFY(!(model->flags(model->index(0, 1)) & Qt::ItemIsEditable));

        const QTemporaryDir dir;
        QVERIFY(window.table()->exportPdf(
            dir.filePath("p.pdf"), "Heading", "Total:\t123:45:06",
            QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, {54, 100, 54, 46})));
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

    void printedColumns_data() {
        QTest::addColumn<int>("scale");
        QTest::newRow("100%") << 100;
        QTest::newRow("175%") << 175;
        QTest::newRow("200%") << 200;
        QTest::newRow("250%") << 250;
    }

    // Punch times are printed whole at large scales, each with its event
    // beside it (shortened where both do not fit), on A4.
    void printedColumns() {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext (poppler-utils) is needed to read the pages back");
        QFETCH(int, scale);
        const QTemporaryDir dir;
        ReportWindow window(ReportKind::Log);
        fillLog(window, 40);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("p.pdf"));
        printer.setPageLayout(MyBaseTableView::defaultPageLayout());
        window.table()->setPrintScale(scale / 100.f);
        QVERIFY(window.table()->print(&printer, window.heading(), QString()));
        const QStringList texts = pdfTexts(dir.filePath("p.pdf"));
        QCOMPARE(wholeTimes(texts, 40), 40);
        QCOMPARE(texts.join(u' ').count("Chec"), 40);
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
};

QTEST_MAIN(TestReportWindow)
#include "tst_reportwindow.moc"
