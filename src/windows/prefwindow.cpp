#include "windows/prefwindow.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <QUrl>
#include <QVBoxLayout>
#include <cmath>

namespace fennick {

PrefWindow::PrefWindow(QWidget* parent)
    : QDialog(parent), path_(new QLabel), choose_(new QPushButton(tr("C&hoose…"))),
      open_(new QPushButton(tr("Open in File &Manager"))), remindAfter_(new QSpinBox),
      remindDaily_(new QCheckBox(tr("Daily at:"))), remindDailyAt_(new QTimeEdit),
      startAtLogin_(new QCheckBox(tr("Start fennick when I log in"))) {
    setObjectName(QStringLiteral("prefWindow"));
    setWindowTitle(tr("fennick Preferences"));
    path_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    path_->setWordWrap(true);

    auto* form = new QFormLayout;
    form->addRow(tr("Time log folder:"), path_);
    choose_->setObjectName(QStringLiteral("chooseFolder"));
    auto* folderButtons = new QHBoxLayout;
    folderButtons->addWidget(choose_);
    folderButtons->addWidget(open_);
    folderButtons->addStretch(1);
    form->addRow(QString(), folderButtons);

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

    // Hours checked in before the long reminder; 0 switches it off.
    auto* reminders = new QGroupBox(tr("Reminders while checked in"));
    auto* reminderForm = new QFormLayout(reminders);
    remindAfter_->setObjectName(QStringLiteral("remindAfterHours"));
    remindAfter_->setRange(0, 24);
    remindAfter_->setSpecialValueText(tr("off"));
    remindAfter_->setSuffix(tr(" h"));
    reminderForm->addRow(tr("After:"), remindAfter_);
    remindDaily_->setObjectName(QStringLiteral("remindDaily"));
    remindDailyAt_->setObjectName(QStringLiteral("remindDailyAt"));
    remindDailyAt_->setDisplayFormat(QStringLiteral("HH:mm"));
    remindDailyAt_->setEnabled(false);
    connect(remindDaily_, &QCheckBox::toggled, remindDailyAt_, &QWidget::setEnabled);
    reminderForm->addRow(remindDaily_, remindDailyAt_);
    startAtLogin_->setObjectName(QStringLiteral("startAtLogin"));

    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    ok_ = box->button(QDialogButtonBox::Ok);
    cancel_ = box->button(QDialogButtonBox::Cancel);
    connect(box, &QDialogButtonBox::accepted, this, &PrefWindow::okPressed);
    connect(box, &QDialogButtonBox::rejected, this, &PrefWindow::cancelPressed);
    connect(choose_, &QPushButton::clicked, this, &PrefWindow::chooseFolderPressed);
    connect(open_, &QPushButton::clicked, this,
            [this] { QDesktopServices::openUrl(QUrl::fromLocalFile(directory_)); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(targets);
    layout->addWidget(reminders);
    layout->addWidget(startAtLogin_);
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

void PrefWindow::setReminders(int afterHours, std::optional<int> dailyMinute) {
    remindAfter_->setValue(afterHours);
    remindDaily_->setChecked(dailyMinute.has_value());
    const int minute = dailyMinute.value_or(18 * 60);
    remindDailyAt_->setTime(QTime(minute / 60, minute % 60));
}

int PrefWindow::remindAfterHours() const {
    return remindAfter_->value();
}

std::optional<int> PrefWindow::remindDailyMinute() const {
    const QTime at = remindDailyAt_->time();
    return remindDaily_->isChecked() ? std::optional(at.hour() * 60 + at.minute()) : std::nullopt;
}

void PrefWindow::setStartAtLogin(bool enabled) {
    startAtLogin_->setChecked(enabled);
}

bool PrefWindow::startAtLogin() const {
    return startAtLogin_->isChecked();
}

// Escape and the window's close button act as Cancel.
void PrefWindow::reject() {
    emit cancelPressed();
}

} // namespace fennick
