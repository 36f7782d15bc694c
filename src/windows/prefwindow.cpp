#include "windows/prefwindow.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>
#include <cmath>

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

    // Hours in quarters; "none" at 0, the default, shows nothing about targets.
    auto* targets = new QGroupBox(tr("Target hours per weekday"));
    auto* targetForm = new QFormLayout(targets);
    for (int day = 1; day <= 7; ++day) {
        auto* spin = new QDoubleSpinBox;
        spin->setObjectName(QStringLiteral("targetHours%1").arg(day));
        spin->setRange(0, 24);
        spin->setDecimals(2);
        spin->setSingleStep(0.25);
        spin->setSpecialValueText(tr("none"));
        spin->setSuffix(tr(" h"));
        targetForm->addRow(QLocale().dayName(day) + u':', spin);
        targets_[std::size_t(day - 1)] = spin;
    }

    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    ok_ = box->button(QDialogButtonBox::Ok);
    cancel_ = box->button(QDialogButtonBox::Cancel);
    connect(box, &QDialogButtonBox::accepted, this, &PrefWindow::okPressed);
    connect(box, &QDialogButtonBox::rejected, this, &PrefWindow::cancelPressed);
    connect(open_, &QPushButton::clicked, this,
            [this] { QDesktopServices::openUrl(QUrl::fromLocalFile(directory_)); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(targets);
    layout->addStretch(1);
    layout->addWidget(box);
    setMinimumWidth(420);
}

void PrefWindow::setLogDirectory(const QString& path) {
    directory_ = path;
    path_->setText(path.isEmpty() ? tr("(none)") : path);
    open_->setEnabled(QFileInfo(path).isDir());
}

void PrefWindow::setTargetMinutes(const std::array<int, 7>& minutes) {
    for (std::size_t day = 0; day < targets_.size(); ++day)
        targets_[day]->setValue(minutes[day] / 60.0);
}

std::array<int, 7> PrefWindow::targetMinutes() const {
    std::array<int, 7> minutes{};
    for (std::size_t day = 0; day < targets_.size(); ++day)
        minutes[day] = int(std::lround(targets_[day]->value() * 60));
    return minutes;
}

// Escape and the window's close button act as Cancel.
void PrefWindow::reject() {
    emit cancelPressed();
}

} // namespace fennick
