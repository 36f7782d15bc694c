#include "windows/pagedtableview.h"

#include "reports/csv.h"
#include "reports/pagination.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QEvent>
#include <QFontInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QPageRanges>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <algorithm>

namespace fennick {

namespace {

// Sizes on paper, in points.
constexpr qreal headingSize = 13;
constexpr qreal headingGap = 4;
constexpr qreal headerGap = 10;
// Room kept free above the page heading where the top margin is enlarged.
constexpr qreal paperEdge = 18;
// Space between a cell's border and its text, in table units.
constexpr qreal cellPadding = 6;
// Fitting a PDF to the page width shrinks it no further: smaller is unreadable.
constexpr float minimumFitScale = 0.25f;

QFont sizedFont(QFont font, qreal pixels, bool bold) {
    font.setPixelSize(std::max(1, qRound(pixels)));
    font.setBold(bold);
    return font;
}

// Paper is white whatever the screen's theme, so print colours are fixed.
const QColor ink(0, 0, 0);
const QColor rule(140, 140, 140);
const QColor shade(240, 240, 240);

} // namespace

TotalLineParts splitAtFirstTab(const QString& line) {
    const qsizetype tab = line.indexOf(u'\t');
    if (tab < 0)
        return {line, std::nullopt};
    QString value = line.mid(tab + 1);
    value.replace(u'\t', u' ');
    return {line.left(tab), value};
}

struct PagedTableView::Geometry {
    QSizeF paper;        // points
    QPointF paintOrigin; // points: where the device's painter starts on the paper
    QMarginsF margins;   // points; the top one as used
    float scale = 1;
    float rowHeight = 0;  // table units, as are the three below
    float pageHeight = 0; // whole rows on the unscaled paper, divided by the scale
    float keyColumnWidth = 0;
    float keyNeed = 0; // the widest text of each column, with its padding
    float dataNeed = 0;
    QRectF bounds;
    int rowsPerPage = 1;
    int pageCount = 1;
    int rowCount = 0;
    QFont headingFont;
    QFont totalFont;
    QFont tableFont;
};

PagedTableView::PagedTableView(QWidget* parent) : QTableView(parent) {
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    updateRowHeight();
}

void PagedTableView::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        updateRowHeight();
}

// Copy takes whole rows, where the item view alone would copy one cell, and
// before any window-wide shortcut of the same keys.
bool PagedTableView::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        event->accept();
        return true;
    }
    return QTableView::event(event);
}

void PagedTableView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        copySelectedRows();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

QString PagedTableView::selectedRowsText() const {
    if (!model() || !selectionModel())
        return {};
    QModelIndexList selected = selectionModel()->selectedRows();
    std::sort(selected.begin(), selected.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QList<QStringList> rows;
    for (const QModelIndex& index : std::as_const(selected)) {
        QStringList fields;
        for (int column = 0; column < model()->columnCount(); ++column)
            fields << model()->index(index.row(), column).data().toString();
        rows << fields;
    }
    return toTabSeparated(rows);
}

void PagedTableView::copySelectedRows() {
    const QString text = selectedRowsText();
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

// Uniform, compact rows: the printed pages count on one row height.
void PagedTableView::updateRowHeight() {
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 5);
}

float PagedTableView::printRowHeight() const {
    return float(verticalHeader()->defaultSectionSize());
}

// The page heading, the total line and the column headings above the rows.
qreal PagedTableView::pageHeaderHeight(const Geometry& g) {
    return QFontMetricsF(g.headingFont).height() + headingGap +
           QFontMetricsF(g.totalFont).height() + headerGap + g.rowHeight * g.scale;
}

// The width a column's widest text (heading included) needs, padded, in
// table units: the same metrics that elide a printed cell.
float PagedTableView::columnNeed(int column, const QFont& font, const QFont& headerFont) const {
    const QAbstractItemModel* rows = model();
    if (!rows)
        return 0;
    qreal widest = QFontMetricsF(headerFont)
                       .horizontalAdvance(rows->headerData(column, Qt::Horizontal).toString());
    const QFontMetricsF metrics(font);
    for (int row = 0; row < rows->rowCount(); ++row)
        widest =
            std::max(widest, metrics.horizontalAdvance(rows->index(row, column).data().toString()));
    // One unit to spare against rounding in the elision.
    return float(widest + 2 * cellPadding + 1);
}

PagedTableView::Geometry PagedTableView::geometry(const QPagedPaintDevice& device,
                                                  float scale) const {
    Geometry g;
    const QPageLayout layout = device.pageLayout();
    g.paper = layout.fullRect(QPageLayout::Point).size();
    g.margins = layout.margins(QPageLayout::Point);
    g.paintOrigin = layout.paintRect(QPageLayout::Point).topLeft();
    g.scale = effectiveScale(scale);
    g.rowHeight = printRowHeight();
    g.headingFont = sizedFont(font(), headingSize, true);
    g.tableFont = sizedFont(font(), QFontInfo(font()).pixelSize(), false);
    g.totalFont = sizedFont(font(), QFontInfo(font()).pixelSize(), true);

    g.margins.setTop(std::max(g.margins.top(), pageHeaderHeight(g) + paperEdge));

    g.pageHeight = fennick::calculatePrintHeight({float(g.paper.height()), float(g.margins.top()),
                                                  float(g.margins.bottom()), g.rowHeight, g.scale});
    g.rowsPerPage = fennick::rowsPerPage(g.pageHeight, g.rowHeight);
    g.rowCount = model() ? model()->rowCount() : 0;

    const qreal width = (g.paper.width() - g.margins.left() - g.margins.right()) / g.scale;
    g.bounds = QRectF(0, 0, std::max<qreal>(width, 1), float(g.rowCount) * g.rowHeight);
    // The columns share the width as on screen, but never so that one cuts
    // its texts while the other has room to spare.
    const int keyWidth = columnWidth(0);
    const int allWidth = keyWidth + columnWidth(1);
    const float keyShare = allWidth > 0 ? std::clamp(float(keyWidth) / allWidth, 0.2f, 0.8f) : 0.5f;
    QFont headerFont = g.tableFont;
    headerFont.setBold(true);
    g.keyNeed = columnNeed(0, g.tableFont, headerFont);
    g.dataNeed = columnNeed(1, g.tableFont, headerFont);
    g.keyColumnWidth =
        fennick::keyColumnWidth(float(g.bounds.width()), g.keyNeed, g.dataNeed, keyShare);
    g.pageCount = fennick::pageCount(float(g.bounds.height()), float(g.rowsPerPage) * g.rowHeight);
    return g;
}

float PagedTableView::calculatePrintHeight(const QPagedPaintDevice& device) const {
    return geometry(device, effectiveScale(printScale_)).pageHeight;
}

int PagedTableView::pageCount(const QPagedPaintDevice& device) const {
    return pageCountAt(device, effectiveScale(printScale_));
}

int PagedTableView::pageCountAt(const QPagedPaintDevice& device, float scale) const {
    return geometry(device, scale).pageCount;
}

QRectF PagedTableView::rectForPage(const QPagedPaintDevice& device, int page) const {
    const Geometry g = geometry(device, effectiveScale(printScale_));
    return fennick::rectForPage(g.bounds, float(g.rowsPerPage) * g.rowHeight, page);
}

std::pair<int, int> PagedTableView::rowsOnPage(const QPagedPaintDevice& device, int page) const {
    return rowRange(geometry(device, effectiveScale(printScale_)), page);
}

std::pair<int, int> PagedTableView::rowRange(const Geometry& g, int page) {
    const qint64 first = qint64(std::max(page - 1, 0)) * g.rowsPerPage;
    if (first >= g.rowCount)
        return {g.rowCount, 0};
    return {int(first), int(std::min<qint64>(g.rowsPerPage, g.rowCount - first))};
}

std::vector<int> PagedTableView::pagesToPrint(const QPrinter& printer) const {
    // A range counts only where the dialog chose one; "All" may leave an old
    // one behind on the printer.
    PageSpans spans;
    if (printer.printRange() == QPrinter::PageRange) {
        for (const QPageRanges::Range& range : printer.pageRanges().toRangeList())
            spans.emplace_back(range.from, range.to);
        // A range that is set but empty chose nothing, not everything.
        if (spans.empty())
            return {};
    }
    return fennick::pagesToPrint(spans, pageCount(printer),
                                 printer.pageOrder() == QPrinter::LastPageFirst);
}

bool PagedTableView::print(QPrinter* printer, const QString& heading, const QString& totalLine) {
    if (!printer)
        return false;
    const std::vector<int> pages = pagesToPrint(*printer);
    return !pages.empty() && render(printer, geometry(*printer, effectiveScale(printScale_)), pages,
                                    heading, totalLine);
}

bool PagedTableView::exportPdf(const QString& path, const QString& heading,
                               const QString& totalLine, const QPageLayout& layout,
                               PdfScale scale) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    bool rendered = false;
    {
        QPdfWriter writer(&file);
        writer.setPageLayout(layout);
        writer.setTitle(heading);
        writer.setCreator(QCoreApplication::applicationName());
        float pdfScale = 1;
        if (scale == PdfScale::FitToWidth) {
            const Geometry actual = geometry(writer, 1);
            pdfScale = fitWidthScale(float(actual.bounds.width()), actual.keyNeed + actual.dataNeed,
                                     minimumFitScale);
        }
        const Geometry g = geometry(writer, pdfScale);
        rendered =
            render(&writer, g, fennick::pagesToPrint({}, g.pageCount, false), heading, totalLine);
    }
    // A write error may surface only when the buffer goes out.
    if (!rendered || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QPageLayout PagedTableView::defaultPageLayout() {
    const bool us = QLocale().measurementSystem() == QLocale::ImperialUSSystem;
    return QPageLayout(QPageSize(us ? QPageSize::Letter : QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(54, 90, 54, 72), QPageLayout::Point);
}

// The given pages, in the given order, each numbered as in the whole report.
bool PagedTableView::render(QPagedPaintDevice* device, const Geometry& g,
                            const std::vector<int>& pages, const QString& heading,
                            const QString& totalLine) {
    QPainter painter;
    bool ok = painter.begin(device);
    bool first = true;
    for (const int page : pages) {
        if (!ok)
            break;
        if (!first && !device->newPage())
            ok = false;
        first = false;
        if (ok)
            drawPage(painter, g, page, heading, totalLine);
    }
    if (painter.isActive())
        ok = painter.end() && ok;
    return ok;
}

void PagedTableView::drawPage(QPainter& painter, const Geometry& g, int page,
                              const QString& heading, const QString& totalLine) const {
    painter.resetTransform();
    painter.scale(painter.device()->logicalDpiX() / 72.0, painter.device()->logicalDpiY() / 72.0);
    // The painter starts at the corner of the printable area; the heading is
    // drawn in the top margin, so work from the paper's corner instead.
    painter.translate(-g.paintOrigin);
    painter.setPen(ink);

    const qreal width = g.paper.width() - g.margins.left() - g.margins.right();
    const qreal headingHeight = QFontMetricsF(g.headingFont).height();
    const QRectF headingRect(g.margins.left(), g.margins.top() - pageHeaderHeight(g), width,
                             headingHeight);
    drawHeading(painter, g, headingRect, heading, page);
    drawTotal(painter, g, headingRect.translated(0, headingHeight + headingGap), totalLine);

    painter.translate(g.margins.left(), g.margins.top());
    painter.scale(g.scale, g.scale);
    drawRows(painter, g, page);
}

// The report's heading on the left, the page number on the right.
void PagedTableView::drawHeading(QPainter& painter, const Geometry& g, const QRectF& rect,
                                 const QString& heading, int page) {
    const QString pageText =
        QCoreApplication::translate("MyBaseTableView", "Page %1 of %2").arg(page).arg(g.pageCount);
    painter.setFont(g.tableFont);
    painter.drawText(rect, Qt::AlignRight | Qt::AlignBottom, pageText);
    const qreal pageTextWidth = QFontMetricsF(g.tableFont).horizontalAdvance(pageText) + 12;
    const QRectF titleRect = rect.adjusted(0, 0, -pageTextWidth, 0);
    const QString title =
        QFontMetricsF(g.headingFont)
            .elidedText(heading, Qt::ElideRight, std::max<qreal>(titleRect.width(), 0));
    painter.setFont(g.headingFont);
    painter.drawText(titleRect, Qt::AlignLeft | Qt::AlignBottom, title);
}

// The total's label on the left; its value lines up with the right column.
void PagedTableView::drawTotal(QPainter& painter, const Geometry& g, const QRectF& line,
                               const QString& totalLine) {
    const QRectF rect =
        QRectF(line.left(), line.top(), line.width(), QFontMetricsF(g.totalFont).height())
            .adjusted(cellPadding * g.scale, 0, -cellPadding * g.scale, 0);
    const TotalLineParts total = splitAtFirstTab(totalLine);
    painter.setFont(g.totalFont);
    painter.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, total.label);
    if (total.value)
        painter.drawText(rect, Qt::AlignRight | Qt::AlignVCenter, *total.value);
}

// One cell's text, padded and elided to fit, in the model's alignment.
void PagedTableView::drawCell(QPainter& painter, const QRectF& cell, const QVariant& text,
                              const QVariant& alignment) {
    const QRectF rect = cell.adjusted(cellPadding, 0, -cellPadding, 0);
    const Qt::Alignment a = alignment.isValid() ? Qt::Alignment(alignment.toInt()) : Qt::AlignLeft;
    const QString elided =
        QFontMetricsF(painter.font())
            .elidedText(text.toString(), Qt::ElideRight, std::max<qreal>(rect.width(), 0));
    painter.drawText(rect, int((a & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter), elided);
}

// The column headings just above the page's top margin, then the page's rows.
void PagedTableView::drawRows(QPainter& painter, const Geometry& g, int page) const {
    const QAbstractItemModel* rows = model();
    if (!rows)
        return;
    const qreal h = g.rowHeight;
    const QRectF cells[2] = {QRectF(0, 0, g.keyColumnWidth, h),
                             QRectF(g.keyColumnWidth, 0, g.bounds.width() - g.keyColumnWidth, h)};
    QFont bold = g.tableFont;
    bold.setBold(true);
    painter.setFont(bold);
    for (int column = 0; column < 2; ++column)
        drawCell(painter, cells[column].translated(0, -h), rows->headerData(column, Qt::Horizontal),
                 rows->headerData(column, Qt::Horizontal, Qt::TextAlignmentRole));
    painter.setPen(QPen(rule, 0.75));
    painter.drawLine(QPointF(0, 0), QPointF(g.bounds.width(), 0));

    painter.setFont(g.tableFont);
    painter.setPen(ink);
    const auto [first, count] = rowRange(g, page);
    for (int i = 0; i < count; ++i) {
        const int row = first + i;
        if (row % 2)
            painter.fillRect(QRectF(0, i * h, g.bounds.width(), h), shade);
        for (int column = 0; column < 2; ++column) {
            const QModelIndex index = rows->index(row, column);
            drawCell(painter, cells[column].translated(0, i * h), index.data(),
                     index.data(Qt::TextAlignmentRole));
        }
    }
}

} // namespace fennick
