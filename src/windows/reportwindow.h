#pragma once

#include "reports/report.h"

#include <QMainWindow>
#include <QPageLayout>
#include <memory>
#include <optional>

class QAction;
class QLabel;
class QMenu;
class QPrinter;
class QPushButton;

namespace fennick {

class ConflictNotice;
class DailyChart;
class PagedTableView;
class MyDataSource;

// A report window: a heading saying which month or block it shows, a table of
// whole-row pages, a total line for the sums windows (and a chart of the days
// for the daily sums), and two buttons that move towards the past (prev) and
// towards the present (next). The window only shows and prints; what it shows
// and what the buttons do is up to its owner, through setContent,
// setMoveButtons and the signals. Its Go menu holds the two moves and This
// Month; the table's context menu copies, exports and prints.
class ReportWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit ReportWindow(ReportKind kind, QWidget* parent = nullptr);
    ~ReportWindow() override;

    ReportKind kind() const { return kind_; }

    // Shows a report: heading (also the window title), rows, total line and,
    // in the daily sums window, the chart.
    void setContent(const ReportContent& content);
    void setMoveButtons(const MoveButtons& buttons);
    // The first selected row, if a row is selected.
    std::optional<int> selectedRow() const;

    // Which month or block the window shows.
    QString heading() const;
    // The line over the empty table of a month without a file; empty when
    // not shown.
    QString note() const;
    // The total line's text; empty without one.
    QString totalLine() const;

    // Writes the report's pages to a PDF file, with Export PDF's own page
    // size and scale (never the printer's); false when it could not.
    bool exportPdf(const QString& path);
    // Writes the table and the total line as CSV (UTF-8); false when it
    // could not, and an existing file is then left as it was.
    bool exportCsv(const QString& path);

public slots:
    // The system print dialog, with a scale option; reports a failure.
    void print();
    void printPreview();
    // Asks for a file name, then exports; reports a failure.
    void exportPdfAs();
    void exportCsvAs();

signals:
    void selectionChanged();
    void nextClicked();
    void prevClicked();
    void thisMonthClicked();
    // The conflict notice's Merge button.
    void mergeClicked();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showReadFailures(const QList<FileFailure>& unreadable);
    void createGoMenu();
    void createContextMenu();
    void showFailure(const QString& title, const QString& text);
    // Asks for a file name (the heading, with the suffix) and writes it.
    void exportAs(const QString& title, const QString& suffix, const QString& filter,
                  bool (ReportWindow::*write)(const QString&));
    // Kept between prints, so the chosen printer and page setup stay.
    QPrinter& sharedPrinter();
    // What one print must not inherit from the one before: its page range,
    // its page order and the output file proposed.
    void startFresh(QPrinter& printer);
    // Where a file of the report is proposed, for print to file and export.
    QString proposedPath(const QString& suffix) const;
    // Export PDF's page size and fit to width; false when cancelled.
    bool askPdfSettings();
    QPageLayout pdfLayout() const;

    ReportKind kind_;
    QLabel* heading_ = nullptr;
    QPushButton* prev_ = nullptr;
    QPushButton* next_ = nullptr;
    PagedTableView* table_ = nullptr;
    MyDataSource* source_ = nullptr;
    QLabel* total_ = nullptr;
    QLabel* notice_ = nullptr;
    ConflictNotice* conflicts_ = nullptr;
    QLabel* note_ = nullptr;
    DailyChart* chart_ = nullptr;
    QMenu* goMenu_ = nullptr;
    QAction* earlierAction_ = nullptr;
    QAction* laterAction_ = nullptr;
    QAction* thisMonthAction_ = nullptr;
    QMenu* contextMenu_ = nullptr;
    QAction* copyAction_ = nullptr;
    std::unique_ptr<QPrinter> printer_;
    // Export PDF's choices; absent until made, then the locale's paper.
    std::optional<QPageSize> pdfPageSize_;
    bool pdfFitToWidth_ = false;
};

} // namespace fennick
