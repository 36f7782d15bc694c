#include "reports/mydatasource.h"
#include "reports/widgets/mybasetableview.h"
#include "reports/widgets/reportwindow.h"

#include <QHeaderView>
#include <QLabel>
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
        rows << myDspData{QString("K%1").arg(i, 4, 10, QChar(u'0')), QString("D%1").arg(i)};
    return rows;
}

// Letter paper whose usable height is exactly 38 rows of 17 points; the top
// margin has room for the page heading.
const QPageLayout letter38(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                           QMarginsF(54, 100, 54, 46), QPageLayout::Point);
const QPageLayout tinyPaper(QPageSize(QSizeF(300, 100), QPageSize::Point), QPageLayout::Portrait,
                            QMarginsF(10, 10, 10, 10), QPageLayout::Point);

void setUp(ReportWindow& window, int rows, float scale) {
    window.table()->verticalHeader()->setMinimumSectionSize(rowHeight);
    window.table()->verticalHeader()->setDefaultSectionSize(rowHeight);
    window.table()->setPrintScale(scale);
    window.dataSource()->setDataArray(numberedRows(rows));
    window.setHeading("Twelve months");
    if (window.totalField())
        window.totalField()->setText("Yearly sum: \t123:45:06");
}

int pdfPageCount(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression page("/Type\\s*/Page(?![A-Za-z])");
    return int(QString::fromLatin1(file.readAll()).count(page));
}

struct Word {
    QString text;
    QRectF box; // points from the paper's top left corner
};

// The words of one page from top to bottom, as pdftotext finds them.
QList<Word> pdfWords(const QString& path, int page) {
    QProcess process;
    const QString n = QString::number(page);
    process.start(QStandardPaths::findExecutable("pdftotext"),
                  {"-bbox", "-f", n, "-l", n, path, "-"});
    process.waitForFinished(30000);
    static const QRegularExpression word("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" "
                                         "xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>");
    QList<Word> words;
    for (const auto& m : word.globalMatch(QString::fromUtf8(process.readAllStandardOutput()))) {
        const auto at = [&m](int i) { return m.captured(i).toDouble(); };
        words << Word{m.captured(5), QRectF(QPointF(at(1), at(2)), QPointF(at(3), at(4)))};
    }
    std::stable_sort(words.begin(), words.end(),
                     [](const Word& a, const Word& b) { return a.box.top() < b.box.top(); });
    return words;
}

// Checks one page of a letter38 document: the row keys it holds, in order,
// lie between the top margin and the end of the page's whole rows; every
// other word (heading, page number, total, column headings) lies in the top
// margin, and nothing lies in the side margins.
QStringList checkedKeys(const QList<Word>& words, int rowsOnPage, float scale) {
    const qreal top = letter38.margins().top();
    const qreal rowsEnd = top + rowsOnPage * rowHeight * scale + 0.5;
    const qreal right = letter38.fullRect().width() - letter38.margins().right() + 0.5;
    QStringList keys;
    for (const Word& w : words) {
        if (w.box.left() < letter38.margins().left() || w.box.right() > right)
            keys << "outside:" + w.text;
        else if (w.text.startsWith(u'K') || w.text.startsWith(u'D'))
            keys << (w.box.top() >= top && w.box.bottom() <= rowsEnd ? w.text : "astray:" + w.text);
        else if (w.box.bottom() > top + 0.5)
            keys << "below top margin:" + w.text;
    }
    keys.removeIf([](const QString& k) { return k.startsWith(u'D'); });
    return keys;
}

// True when every word of the text is on the page.
bool hasWords(const QList<Word>& words, const QString& text) {
    QStringList texts;
    for (const Word& w : words)
        texts << w.text;
    const QStringList wanted = text.split(u' ');
    return std::all_of(wanted.begin(), wanted.end(),
                       [&](const QString& t) { return texts.contains(t); });
}

} // namespace

#define NEEDS_PDFTOTEXT()                                                                          \
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())                                     \
    QSKIP("pdftotext (poppler-utils) is needed to read the pages back")

class TestReportWindow : public QObject {
    Q_OBJECT

private slots:
    void showsRowsAndTotal();
    void buttonsAndKeys();
    void exportedPages_data();
    void exportedPages();
    void printerPageRange();
    void exportFailures();

private:
    QTemporaryDir dir_;
};

void TestReportWindow::showsRowsAndTotal() {
    ReportWindow daily(ReportKind::DailySums);
    MyDataSource* source = daily.dataSource();
    QSignalSpy reset(source, &QAbstractItemModel::modelReset);
    source->setDataArray(DspRows{{"20240103", "08:00:00"}, {"20240105", "-00:01:30"}});
    daily.setHeading("March 2024");
    daily.totalField()->setText("Monthly sum: \t009:01:01");
    daily.show();
    QVERIFY(QTest::qWaitForWindowExposed(&daily));
    QCOMPARE(daily.windowTitle(), QString("March 2024"));
    QCOMPARE(daily.table()->model(), source);
    QCOMPARE(source->headerData(1, Qt::Horizontal, MyDataSource::IdentifierRole), "dataStr");
    QCOMPARE(source->headerData(1, Qt::Horizontal), "Worked");
    QCOMPARE(source->index(1, 0).data(), "20240105");
    QCOMPARE(source->index(1, 1).data(), "-00:01:30");
    QVERIFY(source->index(1, 1).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
    QCOMPARE(source->objectValue("sumValue", 0), std::nullopt);
    QVERIFY(!(source->flags(source->index(0, 1)) & Qt::ItemIsEditable));
    QCOMPARE(splitAtFirstTab(daily.totalLine()).label, QString("Monthly sum: "));
    QCOMPARE(splitAtFirstTab(daily.totalLine()).value, QString("009:01:01"));
    QCOMPARE(splitAtFirstTab("a\tb\tc").value, QString("b c"));
    QCOMPARE(splitAtFirstTab("no tab").value, std::nullopt);

    // An absent list is an empty table; the view reloads on every change.
    source->setDataArray(std::nullopt);
    QCOMPARE(daily.table()->model()->rowCount(), 0);
    QCOMPARE(reset.count(), 2);
    QVERIFY(!ReportWindow(ReportKind::Log).totalField());
}

void TestReportWindow::buttonsAndKeys() {
    ReportWindow window(ReportKind::Log);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QSignalSpy next(&window, &ReportWindow::nextClicked);
    QSignalSpy prev(&window, &ReportWindow::prevClicked);
    QTest::mouseClick(window.prevButton(), Qt::LeftButton);
    QCOMPARE(prev.count(), 1);
    // A shortcut shows the button pressed for a moment, then clicks it.
    QTest::keyClick(&window, Qt::Key_Right, Qt::AltModifier);
    QTRY_COMPARE(next.count(), 1);

    // A disabled button answers neither the mouse nor its key.
    window.nextButton()->setEnabled(false);
    QTest::mouseClick(window.nextButton(), Qt::LeftButton);
    QTest::keyClick(&window, Qt::Key_Right, Qt::AltModifier);
    QTest::keyClick(&window, Qt::Key_Left, Qt::AltModifier);
    QTRY_COMPARE(prev.count(), 2);
    QCOMPARE(next.count(), 1);
}

void TestReportWindow::exportedPages_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<float>("scale");
    QTest::addColumn<QList<int>>("rowsPerPage");
    QTest::newRow("empty table") << 0 << 1.f << QList<int>{0};
    QTest::newRow("one row") << 1 << 1.f << QList<int>{1};
    QTest::newRow("one full page, no blank one") << 38 << 1.f << QList<int>{38};
    QTest::newRow("one row more") << 39 << 1.f << QList<int>{38, 1};
    QTest::newRow("100 rows") << 100 << 1.f << QList<int>{38, 38, 24};
    QTest::newRow("75% prints whole rows") << 100 << 0.75f << QList<int>{50, 50};
    QTest::newRow("50%") << 100 << 0.5f << QList<int>{76, 24};
    QTest::newRow("zero scale is 100%") << 39 << 0.f << QList<int>{38, 1};
}

// Each page carries the heading, its number, the total and the column
// headings, and the rows run on from the page before: none lost, repeated or
// cut at a page break.
void TestReportWindow::exportedPages() {
    NEEDS_PDFTOTEXT();
    QFETCH(int, rows);
    QFETCH(float, scale);
    QFETCH(QList<int>, rowsPerPage);

    ReportWindow window(ReportKind::MonthlySums);
    setUp(window, rows, scale);
    const QString path = dir_.filePath(QTest::currentDataTag() + QString(".pdf"));
    QVERIFY(window.table()->exportPdf(path, window.heading(), window.totalLine(), letter38));
    QCOMPARE(pdfPageCount(path), rowsPerPage.size());

    int next = 1;
    for (int p = 0; p < rowsPerPage.size(); ++p) {
        const QList<Word> words = pdfWords(path, p + 1);
        QVERIFY(hasWords(words, "Twelve months Yearly sum: 123:45:06 Month Worked"));
        QVERIFY(hasWords(words, QString("Page %1 of %2").arg(p + 1).arg(rowsPerPage.size())));
        QStringList want;
        for (int i = 0; i < rowsPerPage[p]; ++i, ++next)
            want << QString("K%1").arg(next, 4, 10, QChar(u'0'));
        QCOMPARE(checkedKeys(words, rowsPerPage[p], scale == 0 ? 1 : scale), want);
    }
    QCOMPARE(next, rows + 1);
}

// The printer route with a page range, on a printer whose painter starts at
// the paper's corner (exports start at the margins).
void TestReportWindow::printerPageRange() {
    NEEDS_PDFTOTEXT();
    ReportWindow window(ReportKind::Log);
    setUp(window, 100, 1);
    QPrinter printer(QPrinter::HighResolution);
    const QString path = dir_.filePath("printed.pdf");
    printer.setOutputFileName(path);
    printer.setPageLayout(letter38);
    printer.setFullPage(true);
    printer.setFromTo(2, 2);
    const QPageLayout before = printer.pageLayout();
    QVERIFY(window.table()->print(&printer, "Log", QString()));
    QCOMPARE(printer.pageLayout(), before);

    QCOMPARE(pdfPageCount(path), 1);
    const QList<Word> words = pdfWords(path, 1);
    QVERIFY(hasWords(words, "Page 2 of 3 Time Event"));
    const QStringList keys = checkedKeys(words, 38, 1);
    QCOMPARE(keys.size(), 38);
    QCOMPARE(keys.first(), QString("K0039"));
    QCOMPARE(keys.last(), QString("K0076"));
}

void TestReportWindow::exportFailures() {
    NEEDS_PDFTOTEXT();
    ReportWindow window(ReportKind::DailySums);
    setUp(window, 3, 1);

    // Paper too small for a row still prints every row, one per page.
    const QString tiny = dir_.filePath("tiny.pdf");
    QVERIFY(window.table()->exportPdf(tiny, "Tiny", QString(), tinyPaper));
    QCOMPARE(pdfPageCount(tiny), 3);
    QVERIFY(hasWords(pdfWords(tiny, 3), "Tiny K0003 D3 Page 3"));

    // A directory where the file should be.
    const QString directory = dir_.filePath("a-directory.pdf");
    QVERIFY(QDir().mkpath(directory));
    QVERIFY(!window.exportPdf(directory));
    QVERIFY(QFileInfo(directory).isDir());

    // A regular file where the folder should be.
    const QString plain = dir_.filePath("plain");
    QFile file(plain);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("keep me") == 7);
    file.close();
    QVERIFY(!window.exportPdf(plain + "/report.pdf"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("keep me"));
    file.close();

    // Success replaces an existing file whole.
    QVERIFY(window.exportPdf(plain));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().startsWith("%PDF"));
}

QTEST_MAIN(TestReportWindow)
#include "tst_reportwindow.moc"
