#include "reports/mydatasource.h"
#include "support.h"
#include "windows/mybasetableview.h"
#include "windows/reportwindow.h"

#include <QHeaderView>
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
        auto* table = &test::child<MyBaseTableView>(&window, "reportTable");
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
        QVERIFY(table->exportPdf(
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
