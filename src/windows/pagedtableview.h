#pragma once

#include <QPageLayout>
#include <QTableView>
#include <optional>
#include <vector>

class QPagedPaintDevice;
class QPainter;
class QPrinter;

namespace fennick {

// A total line such as "Monthly sum: \t100:00:00" shows its label on the left
// and, when there is a tab, what follows the first tab on the right, under
// the durations. Further tabs read as spaces.
struct TotalLineParts {
    QString label;
    std::optional<QString> value;
};
TotalLineParts splitAtFirstTab(const QString& line);

// A report table that prints in pages of whole rows.
//
// Units: everything is measured in points (1/72 inch). Paper size and margins
// are read from the device's page layout in points, and one unit of the
// table (one pixel of its row height on screen) prints as one point at a
// scale of 100 %, so a page's share of the table is found with the same
// arithmetic whatever the printer's resolution.
//
// Each page carries, in its top margin, the report's heading, the total line
// (when there is one), the page number and the table's column headings. When
// the top margin is too small for them, the table starts lower on the page.
class PagedTableView : public QTableView {
    Q_OBJECT

public:
    explicit PagedTableView(QWidget* parent = nullptr);

    // 1.0 is 100 %. Absent (or zero, or not a positive number) prints at 100 %.
    std::optional<float> printScale() const { return printScale_; }
    void setPrintScale(std::optional<float> scale) { printScale_ = scale; }

    // Height of one row, in table units.
    float printRowHeight() const;
    // Height of table content that one page of the device holds, in table
    // units, before it is trimmed to whole rows.
    float calculatePrintHeight(const QPagedPaintDevice& device) const;
    // The number of pages (the first page is 1).
    int pageCount(const QPagedPaintDevice& device) const;
    // The part of the table, in table units, that page `page` (from 1) prints.
    QRectF rectForPage(const QPagedPaintDevice& device, int page) const;
    // The rows page `page` prints: the first row and how many.
    std::pair<int, int> rowsOnPage(const QPagedPaintDevice& device, int page) const;

    // The number of pages at another scale than the print scale.
    int pageCountAt(const QPagedPaintDevice& device, float scale) const;
    // The pages print() prints on this printer, in order: the printer's page
    // range as far as the report has those pages, in its page order. Empty
    // when the range holds none of the report's pages.
    std::vector<int> pagesToPrint(const QPrinter& printer) const;

    // Renders the table on the printer, page by page. False when the printer
    // could not be started or failed on the way, or when its page range holds
    // none of the report's pages (then nothing is printed).
    bool print(QPrinter* printer, const QString& heading, const QString& totalLine);

    // How an exported PDF is scaled; it never takes the print scale.
    enum class PdfScale {
        Actual,     // 100 %
        FitToWidth, // shrunk where the widest texts would be cut, never enlarged
    };
    // Writes every page to a PDF file. The file is replaced only when the
    // whole document was written; on false an existing file is untouched.
    bool exportPdf(const QString& path, const QString& heading, const QString& totalLine,
                   const QPageLayout& layout = defaultPageLayout(),
                   PdfScale scale = PdfScale::Actual);

    // The selected rows, whole and in table order, as tab-separated text.
    QString selectedRowsText() const;
    // Puts the selected rows on the clipboard; Ctrl+C does the same.
    void copySelectedRows();

    // The locale's paper (Letter or A4); the top margin of 1.25 inch holds
    // the page heading, the bottom one is an inch, the sides 3/4 inch.
    static QPageLayout defaultPageLayout();

protected:
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Geometry;
    Geometry geometry(const QPagedPaintDevice& device, float scale) const;
    float columnNeed(int column, const QFont& font, const QFont& headerFont) const;
    static qreal pageHeaderHeight(const Geometry& g);
    bool render(QPagedPaintDevice* device, const Geometry& g, const std::vector<int>& pages,
                const QString& heading, const QString& totalLine);
    void drawPage(QPainter& painter, const Geometry& g, int page, const QString& heading,
                  const QString& totalLine) const;
    static void drawHeading(QPainter& painter, const Geometry& g, const QRectF& rect,
                            const QString& heading, int page);
    static void drawTotal(QPainter& painter, const Geometry& g, const QRectF& line,
                          const QString& totalLine);
    static void drawCell(QPainter& painter, const QRectF& cell, const QVariant& text,
                         const QVariant& alignment);
    void drawRows(QPainter& painter, const Geometry& g, int page) const;
    static std::pair<int, int> rowRange(const Geometry& g, int page);
    void updateRowHeight();

    std::optional<float> printScale_;
};

} // namespace fennick
