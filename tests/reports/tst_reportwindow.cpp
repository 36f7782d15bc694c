#include "reports/mydatasource.h"
#include "reports/widgets/mybasetableview.h"
#include "reports/widgets/reportwindow.h"

#include <QBuffer>
#include <QHeaderView>
#include <QLabel>
#include <QPdfWriter>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace fennick;

namespace {

constexpr int rowHeight = 17;

DspRows numberedRows(int count) {
    DspRows rows;
    for (int i = 1; i <= count; ++i)
        rows << myDspData{QString("K%1").arg(i, 4, 10, QChar(u'0')),
                          QString("D%1").arg(i, 4, 10, QChar(u'0'))};
    return rows;
}

// Letter paper whose usable height is exactly 38 rows of 17 points; the top
// margin leaves room for the page heading.
QPageLayout letter38() {
    return QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                       QMarginsF(54, 100, 54, 46), QPageLayout::Point);
}

void useRowHeight(MyBaseTableView* table) {
    table->verticalHeader()->setMinimumSectionSize(rowHeight);
    table->verticalHeader()->setDefaultSectionSize(rowHeight);
    QCOMPARE(table->printRowHeight(), float(rowHeight));
}

QPageLayout tinyPaper() {
    return QPageLayout(QPageSize(QSizeF(300, 100), QPageSize::Point), QPageLayout::Portrait,
                       QMarginsF(10, 10, 10, 10), QPageLayout::Point);
}

int pdfPageCount(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![A-Za-z])"));
    return int(QString::fromLatin1(file.readAll()).count(page));
}

// The text of each page, or an empty list when pdftotext is not installed.
QStringList pdfPageTexts(const QString& path) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return {};
    QProcess process;
    process.start(tool, {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!process.waitForFinished(30000))
        return {};
    QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(u'\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

struct Word {
    QString text;
    QRectF box; // points, from the paper's top left corner
};

// The words of one page with their boxes, as pdftotext finds them.
QList<Word> pdfWords(const QString& path, int page) {
    QProcess process;
    const QString number = QString::number(page);
    process.start(QStandardPaths::findExecutable(QStringLiteral("pdftotext")),
                  {"-bbox", "-f", number, "-l", number, path, "-"});
    process.waitForFinished(30000);
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                       "yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QList<Word> words;
    for (const auto& m : word.globalMatch(QString::fromUtf8(process.readAllStandardOutput()))) {
        words << Word{m.captured(5),
                      QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                             QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))};
    }
    return words;
}

QStringList keysIn(const QString& pageText) {
    static const QRegularExpression key(QStringLiteral("\\bK(\\d{4})\\b"));
    QStringList keys;
    for (const auto& match : key.globalMatch(pageText))
        keys << match.captured(0);
    return keys;
}

} // namespace

class TestReportWindow : public QObject {
    Q_OBJECT

private slots:
    void showsRowsAndTotal();
    void buttonsAndKeys();
    void pageGeometry_data();
    void pageGeometry();
    void exportedPages_data();
    void exportedPages();
    void printerPageRange_data();
    void printerPageRange();
    void exportFailures();

private:
    QTemporaryDir dir_;
};

void TestReportWindow::showsRowsAndTotal() {
    ReportWindow daily(ReportKind::DailySums);
    daily.dataSource()->setDataArray(DspRows{{"20240103", "08:00:00"}, {"20240105", "01:01:01"}});
    daily.setHeading("March 2024");
    daily.totalField()->setText("Monthly sum: \t009:01:01");
    daily.show();
    QVERIFY(QTest::qWaitForWindowExposed(&daily));

    QCOMPARE(daily.windowTitle(), QString("March 2024"));
    QCOMPARE(daily.table()->model(), daily.dataSource());
    QCOMPARE(daily.table()->model()->rowCount(), 2);
    QCOMPARE(daily.table()->model()->index(1, 1).data().toString(), QString("01:01:01"));
    QVERIFY(daily.table()->editTriggers() == QAbstractItemView::NoEditTriggers);
    QCOMPARE(daily.totalLine(), QString("Monthly sum: \t009:01:01"));
    const TotalLineParts parts = splitAtFirstTab(daily.totalLine());
    QCOMPARE(parts.label, QString("Monthly sum: "));
    QCOMPARE(parts.value, QString("009:01:01"));
    QCOMPARE(splitAtFirstTab("a\tb\tc").value, QString("b c"));
    QCOMPARE(splitAtFirstTab("no tab").value, std::nullopt);

    ReportWindow log(ReportKind::Log);
    QVERIFY(!log.totalField());
    QCOMPARE(log.totalLine(), QString());
    QCOMPARE(log.table()->model()->rowCount(), 0);
}

void TestReportWindow::buttonsAndKeys() {
    ReportWindow window(ReportKind::Log);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QSignalSpy next(&window, &ReportWindow::nextClicked);
    QSignalSpy prev(&window, &ReportWindow::prevClicked);

    QTest::mouseClick(window.prevButton(), Qt::LeftButton);
    QTest::keyClick(&window, Qt::Key_Right, Qt::AltModifier);
    QCOMPARE(prev.count(), 1);
    // A shortcut shows the button pressed for a moment, then clicks it.
    QTRY_COMPARE(next.count(), 1);

    // A disabled button answers neither the mouse nor its key.
    window.nextButton()->setEnabled(false);
    QTest::mouseClick(window.nextButton(), Qt::LeftButton);
    QTest::keyClick(&window, Qt::Key_Right, Qt::AltModifier);
    QTest::keyClick(&window, Qt::Key_Left, Qt::AltModifier);
    QTRY_COMPARE(prev.count(), 2);
    QCOMPARE(next.count(), 1);
}

void TestReportWindow::pageGeometry_data() {
    QTest::addColumn<float>("scale");
    QTest::addColumn<float>("pageHeight");
    QTest::addColumn<int>("rowsPerPage");
    QTest::addColumn<int>("pages");
    QTest::newRow("100%") << 1.f << 646.f << 38 << 3;
    QTest::newRow("50%") << 0.5f << 1292.f << 76 << 2;
    QTest::newRow("75% keeps whole rows") << 0.75f << 861.33f << 50 << 2;
    QTest::newRow("zero scale is 100%") << 0.f << 646.f << 38 << 3;
}

void TestReportWindow::pageGeometry() {
    QFETCH(float, scale);
    QFETCH(float, pageHeight);
    QFETCH(int, rowsPerPage);
    QFETCH(int, pages);

    ReportWindow window(ReportKind::DailySums);
    MyBaseTableView* table = window.table();
    useRowHeight(table);
    table->setPrintScale(scale);
    window.dataSource()->setDataArray(numberedRows(100));
    QBuffer sink;
    sink.open(QIODevice::WriteOnly);
    QPdfWriter writer(&sink);
    writer.setPageLayout(letter38());

    QVERIFY(std::abs(table->calculatePrintHeight(writer) - pageHeight) < 0.01f);
    QCOMPARE(table->knowsPageRange(writer), pages);
    const QRectF second = table->rectForPage(writer, 2);
    QCOMPARE(second.top(), qreal(rowsPerPage * rowHeight));
    QCOMPARE(second.height(), qreal(rowsPerPage * rowHeight));
    QCOMPARE(table->rowsOnPage(writer, 1), std::make_pair(0, rowsPerPage));
    const int lastRows = 100 - (pages - 1) * rowsPerPage;
    QCOMPARE(table->rowsOnPage(writer, pages), std::make_pair(100 - lastRows, lastRows));
    QCOMPARE(table->rowsOnPage(writer, pages + 1).second, 0);
}

void TestReportWindow::exportedPages_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<float>("scale");
    QTest::addColumn<bool>("tiny");
    QTest::addColumn<QList<int>>("rowsPerPage");
    QTest::newRow("empty table") << 0 << 1.f << false << QList<int>{0};
    QTest::newRow("one row") << 1 << 1.f << false << QList<int>{1};
    QTest::newRow("one full page") << 38 << 1.f << false << QList<int>{38};
    QTest::newRow("one row more") << 39 << 1.f << false << QList<int>{38, 1};
    QTest::newRow("100 rows") << 100 << 1.f << false << QList<int>{38, 38, 24};
    QTest::newRow("100 rows at 75%") << 100 << 0.75f << false << QList<int>{50, 50};
    QTest::newRow("paper too small") << 3 << 1.f << true << QList<int>{1, 1, 1};
}

// On paper, the rows lie between the top margin and the end of the page's
// whole rows, above the bottom margin; the heading lies in the top margin.
void checkPlacement(const QList<Word>& words, int rowsOnPage, float scale) {
    const QPageLayout layout = letter38();
    const qreal top = layout.margins().top();
    const qreal rowsEnd = top + rowsOnPage * rowHeight * scale + 0.5;
    const qreal bottom = layout.fullRect().height() - layout.margins().bottom();
    const qreal right = layout.fullRect().width() - layout.margins().right();
    int rowWords = 0;
    for (const Word& word : words) {
        QVERIFY2(word.box.left() >= layout.margins().left() && word.box.right() <= right + 0.5,
                 qPrintable(word.text));
        if (word.text.startsWith(u'K') || word.text.startsWith(u'D')) {
            ++rowWords;
            QVERIFY2(word.box.top() >= top && word.box.bottom() <= rowsEnd, qPrintable(word.text));
            QVERIFY(word.box.bottom() <= bottom);
        } else {
            QVERIFY2(word.box.bottom() <= top + 0.5, qPrintable(word.text));
        }
    }
    QCOMPARE(rowWords, 2 * rowsOnPage);
}

// Each page shows the heading, the total, the column headings and a run of
// whole rows following on from the page before; no row is lost or repeated.
void TestReportWindow::exportedPages() {
    QFETCH(int, rows);
    QFETCH(float, scale);
    QFETCH(bool, tiny);
    QFETCH(QList<int>, rowsPerPage);

    ReportWindow window(ReportKind::MonthlySums);
    useRowHeight(window.table());
    window.table()->setPrintScale(scale);
    window.dataSource()->setDataArray(numberedRows(rows));
    window.setHeading("Twelve months");
    window.totalField()->setText("Yearly sum: \t123:45:06");
    const QString path = dir_.filePath(QString("pages-%1.pdf").arg(QTest::currentDataTag()));
    QVERIFY(window.table()->exportPdf(path, window.heading(), window.totalLine(),
                                      tiny ? tinyPaper() : letter38()));
    QCOMPARE(pdfPageCount(path), rowsPerPage.size());

    const QStringList pages = pdfPageTexts(path);
    if (pages.isEmpty())
        QSKIP("pdftotext is not installed");
    QCOMPARE(pages.size(), rowsPerPage.size());
    int expected = 1;
    for (int p = 0; p < pages.size(); ++p) {
        QVERIFY(pages[p].contains("Twelve months"));
        QVERIFY(pages[p].contains(QString("Page %1 of %2").arg(p + 1).arg(pages.size())));
        if (!tiny) {
            QVERIFY(pages[p].contains(QRegularExpression("Yearly sum:\\s+123:45:06")));
            QVERIFY(pages[p].contains(QRegularExpression("Month\\s+Worked")));
        }
        QStringList want;
        for (int i = 0; i < rowsPerPage[p]; ++i, ++expected)
            want << QString("K%1").arg(expected, 4, 10, QChar(u'0'));
        QCOMPARE(keysIn(pages[p]), want);
        if (!tiny)
            checkPlacement(pdfWords(path, p + 1), rowsPerPage[p], scale);
    }
    QCOMPARE(expected, rows + 1);
}

void TestReportWindow::printerPageRange_data() {
    QTest::addColumn<bool>("fullPage");
    QTest::newRow("printable area") << false;
    QTest::newRow("full page") << true;
}

// The printer route, with a page range chosen in the print dialog. Whether
// the painter starts at the paper's corner or at the margins, the pages are
// the same.
void TestReportWindow::printerPageRange() {
    QFETCH(bool, fullPage);
    ReportWindow window(ReportKind::Log);
    useRowHeight(window.table());
    window.dataSource()->setDataArray(numberedRows(100));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString path = dir_.filePath(QString("printed-%1.pdf").arg(fullPage));
    printer.setOutputFileName(path);
    printer.setPageLayout(letter38());
    printer.setFullPage(fullPage);
    printer.setFromTo(2, 2);
    const QPageLayout before = printer.pageLayout();
    QVERIFY(window.table()->print(&printer, "Log", QString()));
    QCOMPARE(pdfPageCount(path), 1);

    const QStringList pages = pdfPageTexts(path);
    if (pages.isEmpty())
        QSKIP("pdftotext is not installed");
    const QStringList keys = keysIn(pages.first());
    QCOMPARE(keys.size(), 38);
    QCOMPARE(keys.first(), QString("K0039"));
    QVERIFY(pages.first().contains("Page 2 of 3"));
    QVERIFY(pages.first().contains(QRegularExpression("Time\\s+Event")));
    checkPlacement(pdfWords(path, 1), 38, 1);
    QCOMPARE(printer.pageLayout(), before);
}

void TestReportWindow::exportFailures() {
    ReportWindow window(ReportKind::DailySums);
    window.dataSource()->setDataArray(numberedRows(5));

    // A directory where the file should be.
    const QString directory = dir_.filePath("a-directory.pdf");
    QVERIFY(QDir().mkpath(directory));
    QVERIFY(!window.exportPdf(directory));
    QVERIFY(QFileInfo(directory).isDir());

    // A regular file where the folder should be.
    const QString plain = dir_.filePath("plain");
    QFile file(plain);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("keep me");
    file.close();
    QVERIFY(!window.exportPdf(plain + "/report.pdf"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("keep me"));
    file.close();

    // Success replaces an existing file whole.
    const QString target = dir_.filePath("old.pdf");
    QFile old(target);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old content");
    old.close();
    QVERIFY(window.exportPdf(target));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QVERIFY(old.readAll().startsWith("%PDF"));
}

QTEST_MAIN(TestReportWindow)
#include "tst_reportwindow.moc"
