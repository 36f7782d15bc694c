#include "windows/reportwindow.h"

#include "reports/csv.h"
#include "reports/mydatasource.h"
#include "windows/conflictnotice.h"
#include "windows/dailychart.h"
#include "windows/pagedtableview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace fennick {

namespace {

// The print dialog's scale, in percent.
constexpr int minScalePercent = 10;
constexpr int maxScalePercent = 400;

// The print dialog's extra tab: the scale, in percent.
QSpinBox* addScaleTab(QPrintDialog& dialog, float scale) {
    auto* tab = new QWidget(&dialog);
    tab->setWindowTitle(QPrintDialog::tr("Scale"));
    auto* spin = new QSpinBox(tab);
    spin->setObjectName(QStringLiteral("printScale"));
    spin->setRange(minScalePercent, maxScalePercent);
    spin->setSingleStep(5);
    spin->setSuffix(QStringLiteral(" %"));
    spin->setValue(qRound(scale * 100));
    auto* form = new QFormLayout(tab);
    form->addRow(ReportWindow::tr("&Scale:"), spin);
    dialog.setOptionTabs({tab});
    return spin;
}

// The total line: the label on the left and, after a tab, the value on the
// right, under the durations of the table.
class TotalLineLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override {
        const TotalLineParts parts = splitAtFirstTab(text());
        if (!parts.value) {
            QLabel::paintEvent(event);
            return;
        }
        QPainter painter(this);
        const QRect area = contentsRect();
        style()->drawItemText(&painter, area, Qt::AlignLeft | Qt::AlignVCenter, palette(),
                              isEnabled(), parts.label, foregroundRole());
        style()->drawItemText(&painter, area, Qt::AlignRight | Qt::AlignVCenter, palette(),
                              isEnabled(), *parts.value, foregroundRole());
    }
};

// The heading on one line, shortened with an ellipsis where the window is too
// narrow for it, so it never wraps and never widens the window; its tooltip
// holds the whole text.
class ElidedLabel : public QLabel {
public:
    using QLabel::QLabel;

    QSize minimumSizeHint() const override {
        return {fontMetrics().averageCharWidth() * 8, QLabel::minimumSizeHint().height()};
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QRect area = contentsRect();
        const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, area.width());
        style()->drawItemText(&painter, area, int(alignment()), palette(), isEnabled(), shown,
                              foregroundRole());
    }
};

// Marks the rows of days: weekends muted, today bold. The row texts stay.
class DayMarkDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.data(MyDataSource::TodayRole).toBool())
            option->font.setBold(true);
        if (index.data(MyDataSource::WeekendRole).toBool()) {
            QColor muted = option->palette.color(QPalette::Text);
            muted.setAlphaF(0.55);
            option->palette.setColor(QPalette::Text, muted);
        }
    }
};

// A file name made of the heading: no path separators or control characters.
QString fileNameFor(const QString& heading, const QString& suffix) {
    QString name = heading.trimmed();
    for (QChar& c : name) {
        if (c == u'/' || c == u'\\' || c == u':' || c.category() == QChar::Other_Control)
            c = u'-';
    }
    return (name.isEmpty() ? QStringLiteral("report") : name) + suffix;
}

} // namespace

ReportWindow::ReportWindow(ReportKind kind, QWidget* parent) : QMainWindow(parent), kind_(kind) {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);

    const bool yearly = kind == ReportKind::MonthlySums;
    prev_ = new QPushButton(tr("◀ Earlier"), central);
    next_ = new QPushButton(tr("Later ▶"), central);
    prev_->setToolTip(yearly ? tr("Show the twelve months before these (Alt+Left)")
                             : tr("Show the previous month with a time log (Alt+Left)"));
    next_->setToolTip(yearly ? tr("Show the twelve months after these (Alt+Right)")
                             : tr("Show the next month with a time log (Alt+Right)"));
    prev_->setAccessibleName(tr("Earlier"));
    next_->setAccessibleName(tr("Later"));
    prev_->setObjectName(QStringLiteral("prevButton"));
    next_->setObjectName(QStringLiteral("nextButton"));
    prev_->setAutoDefault(false);
    next_->setAutoDefault(false);
    connect(prev_, &QPushButton::clicked, this, &ReportWindow::prevClicked);
    connect(next_, &QPushButton::clicked, this, &ReportWindow::nextClicked);

    heading_ = new ElidedLabel(central);
    heading_->setObjectName(QStringLiteral("heading"));
    heading_->setAlignment(Qt::AlignCenter);
    heading_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    QFont headingFont = heading_->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.2);
    heading_->setFont(headingFont);

    auto* top = new QHBoxLayout;
    top->addWidget(prev_);
    top->addWidget(heading_, 1);
    top->addWidget(next_);
    layout->addLayout(top);

    if (kind == ReportKind::DailySums) {
        chart_ = new DailyChart(central);
        chart_->setObjectName(QStringLiteral("dailyChart"));
        layout->addWidget(chart_);
    }

    note_ = new QLabel(central);
    note_->setObjectName(QStringLiteral("noPunchesNote"));
    note_->setAlignment(Qt::AlignCenter);
    note_->setForegroundRole(QPalette::PlaceholderText);
    note_->hide();
    layout->addWidget(note_);

    source_ = new MyDataSource(reportColumns(kind), this);
    table_ = new PagedTableView(central);
    table_->setObjectName(QStringLiteral("reportTable"));
    table_->setModel(source_);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setAlternatingRowColors(true);
    table_->setShowGrid(false);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table_->horizontalHeader()->setHighlightSections(false);
    table_->setItemDelegate(new DayMarkDelegate(table_));
    // Month files that could not be read: never a silent zero.
    notice_ = new QLabel(central);
    notice_->setObjectName(QStringLiteral("readNotice"));
    notice_->setTextFormat(Qt::PlainText);
    notice_->setWordWrap(true);
    notice_->setForegroundRole(QPalette::BrightText);
    notice_->setBackgroundRole(QPalette::Dark);
    notice_->setAutoFillBackground(true);
    notice_->setContentsMargins(6, 4, 6, 4);
    notice_->hide();
    layout->addWidget(notice_);
    conflicts_ = new ConflictNotice(central);
    connect(conflicts_, &ConflictNotice::mergeClicked, this, &ReportWindow::mergeClicked);
    layout->addWidget(conflicts_);
    layout->addWidget(table_, 1);
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ReportWindow::selectionChanged);

    if (kind != ReportKind::Log) {
        total_ = new TotalLineLabel(central);
        total_->setObjectName(QStringLiteral("totalField"));
        QFont bold = total_->font();
        bold.setBold(true);
        total_->setFont(bold);
        // Roughly the table's frame and cell padding, so the value sits
        // under the right column's text.
        total_->setContentsMargins(4, 0, 4, 0);
        layout->addWidget(total_);
    }

    setCentralWidget(central);
    setFocusProxy(table_);
    createGoMenu();
    createContextMenu();
    // The daily sums window holds the chart above the table; with its frame
    // and a panel it still fits a 1366×768 screen.
    resize(520, kind == ReportKind::DailySums ? 640 : 600);
}

void ReportWindow::createGoMenu() {
    goMenu_ = new QMenu(tr("&Go"), this);
    goMenu_->setObjectName(QStringLiteral("goMenu"));
    earlierAction_ = goMenu_->addAction(tr("&Earlier"), this, &ReportWindow::prevClicked);
    laterAction_ = goMenu_->addAction(tr("&Later"), this, &ReportWindow::nextClicked);
    goMenu_->addSeparator();
    thisMonthAction_ = goMenu_->addAction(tr("&This Month"), this, &ReportWindow::thisMonthClicked);
    earlierAction_->setObjectName(QStringLiteral("earlierAction"));
    laterAction_->setObjectName(QStringLiteral("laterAction"));
    thisMonthAction_->setObjectName(QStringLiteral("thisMonthAction"));
    earlierAction_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
    laterAction_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
    thisMonthAction_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
    for (QAction* action : {earlierAction_, laterAction_, thisMonthAction_}) {
        action->setEnabled(false);
        addAction(action);
    }
    menuBar()->addMenu(goMenu_);
}

void ReportWindow::createContextMenu() {
    contextMenu_ = new QMenu(this);
    contextMenu_->setObjectName(QStringLiteral("tableMenu"));
    copyAction_ = contextMenu_->addAction(tr("&Copy"), table_, &PagedTableView::copySelectedRows);
    // Shown in the menu only: the table itself answers the keys.
    copyAction_->setShortcut(QKeySequence::Copy);
    contextMenu_->addSeparator();
    contextMenu_->addAction(tr("Export &CSV…"), this, &ReportWindow::exportCsvAs);
    contextMenu_->addAction(tr("&Print…"), this, &ReportWindow::print);
    table_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(table_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        copyAction_->setEnabled(table_->selectionModel()->hasSelection());
        contextMenu_->popup(table_->viewport()->mapToGlobal(at));
    });
}

// The menus the owner adds come first; Go stays after them.
void ReportWindow::showEvent(QShowEvent* event) {
    menuBar()->removeAction(goMenu_->menuAction());
    menuBar()->addAction(goMenu_->menuAction());
    QMainWindow::showEvent(event);
}

ReportWindow::~ReportWindow() = default;

void ReportWindow::setContent(const ReportContent& content) {
    heading_->setText(content.heading);
    heading_->setToolTip(content.heading);
    setWindowTitle(content.heading);
    source_->setTodayKey(content.todayKey);
    source_->setDataArray(content.rows);
    showReadFailures(content.unreadable);
    conflicts_->showConflicts(content.conflicts);
    if (total_)
        total_->setText(content.totalLine.value_or(QString()));
    if (chart_)
        chart_->setMonth(content.months.value(0), content.days, content.todayKey);
    note_->setText(noPunchesNote(content));
    note_->setVisible(!note_->text().isEmpty());
}

void ReportWindow::showReadFailures(const QList<FileFailure>& unreadable) {
    QStringList lines;
    for (const FileFailure& failure : unreadable)
        lines << tr("%1 cannot be read (%2); it counts as empty here.")
                     .arg(QDir::toNativeSeparators(failure.path), failure.reason);
    notice_->setText(lines.join(u'\n'));
    notice_->setVisible(!lines.isEmpty());
}

std::optional<int> ReportWindow::selectedRow() const {
    const QModelIndexList rows = table_->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first().row();
}

void ReportWindow::setMoveButtons(const MoveButtons& buttons) {
    next_->setEnabled(buttons.nextEnabled);
    prev_->setEnabled(buttons.prevEnabled);
    laterAction_->setEnabled(buttons.nextEnabled);
    earlierAction_->setEnabled(buttons.prevEnabled);
    thisMonthAction_->setEnabled(buttons.nowEnabled);
}

QString ReportWindow::heading() const {
    return heading_->text();
}

QString ReportWindow::note() const {
    return note_->isHidden() ? QString() : note_->text();
}

QString ReportWindow::totalLine() const {
    return total_ ? total_->text() : QString();
}

bool ReportWindow::exportPdf(const QString& path) {
    using Scale = PagedTableView::PdfScale;
    return table_->exportPdf(path, heading(), totalLine(), pdfLayout(),
                             pdfFitToWidth_ ? Scale::FitToWidth : Scale::Actual);
}

QPrinter& ReportWindow::sharedPrinter() {
    if (!printer_) {
        // The locale's paper, as Export PDF starts with.
        const QPageLayout layout = PagedTableView::defaultPageLayout();
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setPageSize(layout.pageSize());
        printer_->setPageMargins(layout.margins(), QPageLayout::Point);
        // The page heading is drawn in the top margin; on a full page the
        // preview shows it as printed rather than greyed out.
        printer_->setFullPage(true);
    }
    printer_->setDocName(heading());
    return *printer_;
}

void ReportWindow::startFresh(QPrinter& printer) {
    printer.setPrintRange(QPrinter::AllPages);
    printer.setPageRanges(QPageRanges());
    printer.setPageOrder(QPrinter::FirstPageFirst);
    // Setting a file name on a real printer would turn it into a PDF file.
    if (printer.outputFormat() == QPrinter::PdfFormat)
        printer.setOutputFileName(proposedPath(QStringLiteral(".pdf")));
}

void ReportWindow::print() {
    QPrinter& printer = sharedPrinter();
    startFresh(printer);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(tr("Print %1").arg(heading()));
    QSpinBox* scale = addScaleTab(dialog, table_->printScale().value_or(1.0f));
    // The scale is chosen in the dialog: allow the pages of the largest one,
    // and hold the range against the chosen scale once the dialog closes.
    dialog.setMinMax(1, table_->pageCountAt(printer, maxScalePercent / 100.0f));
    dialog.setFromTo(1, table_->pageCount(printer));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    // The dialog's own file field for a real printer, should the user pick
    // print to file.
    if (auto* file = dialog.findChild<QLineEdit*>(QStringLiteral("filename")))
        file->setText(proposedPath(QStringLiteral(".pdf")));
    if (dialog.exec() != QDialog::Accepted)
        return;
    table_->setPrintScale(float(scale->value()) / 100.0f);
    if (table_->pagesToPrint(printer).empty()) {
        const int pages = table_->pageCount(printer);
        showFailure(tr("Nothing printed"),
                    tr("At this scale the report has %n page(s); the chosen pages are not "
                       "among them.",
                       nullptr, pages));
        return;
    }
    if (!table_->print(&printer, heading(), totalLine()))
        showFailure(tr("Printing failed"), tr("The report could not be printed."));
}

void ReportWindow::printPreview() {
    QPrinter& printer = sharedPrinter();
    startFresh(printer);
    QPrintPreviewDialog preview(&printer, this);
    preview.setWindowTitle(tr("Print Preview – %1").arg(heading()));
    // Also the print from the preview, whose dialog knows nothing of the
    // report's pages.
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* p) {
        if (!table_->print(p, heading(), totalLine()))
            showFailure(tr("Printing failed"), tr("The report could not be printed."));
    });
    preview.exec();
}

void ReportWindow::exportPdfAs() {
    if (!askPdfSettings())
        return;
    exportAs(tr("Export PDF"), QStringLiteral(".pdf"), tr("PDF documents (*.pdf)"),
             &ReportWindow::exportPdf);
}

bool ReportWindow::askPdfSettings() {
    QDialog dialog(this);
    dialog.setWindowTitle(tr("Export PDF"));
    auto* size = new QComboBox(&dialog);
    size->setObjectName(QStringLiteral("pdfPageSize"));
    for (const auto id :
         {QPageSize::A4, QPageSize::Letter, QPageSize::Legal, QPageSize::A5, QPageSize::A3}) {
        size->addItem(QPageSize::name(id), int(id));
        if (pdfLayout().pageSize().id() == id)
            size->setCurrentIndex(size->count() - 1);
    }
    auto* fit = new QCheckBox(tr("&Fit to page width"), &dialog);
    fit->setObjectName(QStringLiteral("pdfFitToWidth"));
    fit->setToolTip(tr("Shrinks the table where its widest texts would be cut; never enlarges it"));
    fit->setChecked(pdfFitToWidth_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* form = new QFormLayout(&dialog);
    form->addRow(tr("&Paper size:"), size);
    form->addRow(fit);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    pdfPageSize_ = QPageSize(QPageSize::PageSizeId(size->currentData().toInt()));
    pdfFitToWidth_ = fit->isChecked();
    return true;
}

QPageLayout ReportWindow::pdfLayout() const {
    QPageLayout layout = PagedTableView::defaultPageLayout();
    if (pdfPageSize_)
        layout.setPageSize(*pdfPageSize_);
    return layout;
}

QString ReportWindow::proposedPath(const QString& suffix) const {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    return QDir(folder).filePath(fileNameFor(heading(), suffix));
}

void ReportWindow::exportAs(const QString& title, const QString& suffix, const QString& filter,
                            bool (ReportWindow::*write)(const QString&)) {
    QString path = QFileDialog::getSaveFileName(this, title, proposedPath(suffix), filter);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += suffix;
    if (!(this->*write)(path))
        showFailure(
            tr("Export failed"),
            tr("The report could not be written to %1.").arg(QDir::toNativeSeparators(path)));
}

bool ReportWindow::exportCsv(const QString& path) {
    const QStringList headings{
        source_->headerData(0, Qt::Horizontal).toString(),
        source_->headerData(1, Qt::Horizontal).toString(),
    };
    const std::optional<QString> total =
        total_ ? std::optional<QString>(totalLine()) : std::nullopt;
    const QByteArray bytes =
        toCsv(headings, source_->dataArray().value_or(DspRows{}), total).toUtf8();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

void ReportWindow::exportCsvAs() {
    exportAs(tr("Export CSV"), QStringLiteral(".csv"), tr("CSV files (*.csv)"),
             &ReportWindow::exportCsv);
}

void ReportWindow::showFailure(const QString& title, const QString& text) {
    auto* box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, this);
    box->setWindowModality(Qt::WindowModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

} // namespace fennick
