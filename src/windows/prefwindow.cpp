#include "windows/prefwindow.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace fennick {

PrefWindow::PrefWindow(QWidget* parent)
    : QDialog(parent), path_(new QLabel), open_(new QPushButton(tr("Open in File &Manager"))) {
    setObjectName(QStringLiteral("prefWindow"));
    setWindowTitle(tr("fennick Preferences"));
    path_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    path_->setWordWrap(true);

    auto* form = new QFormLayout;
    form->addRow(tr("Time log folder:"), path_);
    form->addRow(QString(), open_);

    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    ok_ = box->button(QDialogButtonBox::Ok);
    cancel_ = box->button(QDialogButtonBox::Cancel);
    connect(box, &QDialogButtonBox::accepted, this, &PrefWindow::okPressed);
    connect(box, &QDialogButtonBox::rejected, this, &PrefWindow::cancelPressed);
    connect(open_, &QPushButton::clicked, this,
            [this] { QDesktopServices::openUrl(QUrl::fromLocalFile(directory_)); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addWidget(box);
    setMinimumWidth(420);
}

void PrefWindow::setLogDirectory(const QString& path) {
    directory_ = path;
    path_->setText(path.isEmpty() ? tr("(none)") : path);
    open_->setEnabled(QFileInfo(path).isDir());
}

// Escape and the window's close button act as Cancel.
void PrefWindow::reject() {
    emit cancelPressed();
}

} // namespace fennick
