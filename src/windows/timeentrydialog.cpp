#include "windows/timeentrydialog.h"

#include "platform/texts.h"
#include "timelog/checkinstate.h"
#include "timelog/timeclock.h"
#include "timelog/timeentry.h"
#include "windows/elidedlabel.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace fennick {

TimeEntryDialog::TimeEntryDialog(Beep beep, DateSetter setMyInputCalDate, QWidget* parent)
    : QDialog(parent), beep_(std::move(beep)), setMyInputCalDate_(std::move(setMyInputCalDate)) {
    setObjectName(QStringLiteral("ckTimeWindow"));
    setModal(true);

    titleField = addLabel("titleField");
    QFont bold = titleField->font();
    bold.setBold(true);
    titleField->setFont(bold);
    messField = addLabel("messField");
    messField->setWordWrap(true);
    // The last punch is shown as it stands when it cannot be read: a value
    // edited by hand, shown as plain text and shortened.
    prevTimeField = new ElidedLabel(this);
    prevTimeField->setObjectName(QStringLiteral("prevTimeField"));
    nowTimeField = addLabel("nowTimeField");
    auto* times = new QFormLayout;
    times->addRow(tr("Last punch:"), prevTimeField);
    times->addRow(tr("Pressed at:"), nowTimeField);

    yearField = addEntry("yearField", 4);
    monthField = addEntry("monthField", 2);
    dayField = addEntry("dayField", 2);
    hourField = addEntry("hourField", 2);
    minField = addEntry("minField", 2);
    auto* entry = new QGridLayout;
    const std::pair<QString, QLineEdit*> columns[] = {{tr("&Year"), yearField},
                                                      {tr("&Month"), monthField},
                                                      {tr("&Day"), dayField},
                                                      {tr("&Hour"), hourField},
                                                      {tr("M&inute"), minField}};
    int column = 0;
    for (const auto& [text, field] : columns) {
        auto* label = new QLabel(text, this);
        label->setBuddy(field);
        entry->addWidget(label, 0, column);
        entry->addWidget(field, 1, column++);
    }
    entry->setColumnStretch(column, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &TimeEntryDialog::onEnterTimeOK);
    connect(buttons, &QDialogButtonBox::rejected, this, &TimeEntryDialog::onEnterTimeCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(titleField);
    layout->addWidget(messField);
    layout->addLayout(times);
    layout->addLayout(entry);
    layout->addWidget(buttons);
}

QLabel* TimeEntryDialog::addLabel(const char* name) {
    auto* label = new QLabel(this);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QLineEdit* TimeEntryDialog::addEntry(const char* name, int digits) {
    auto* field = new QLineEdit(this);
    field->setObjectName(QLatin1String(name));
    field->setAlignment(Qt::AlignRight);
    const int digitWidth = field->fontMetrics().horizontalAdvance(QString(digits + 1, u'0'));
    // As wide as its digits, not as a text field: five default-width fields
    // made the dialog twice as wide as its texts.
    field->setFixedWidth(digitWidth + 16);
    return field;
}

void TimeEntryDialog::setupCkTimeWindow(const CalDate& now, const QString& prevTime, bool forCkin) {
    const QString inWord = localized(texts::CheckInWord);
    const QString outWord = localized(texts::CheckOutWord);
    // A last punch that cannot be read is shown as it stands.
    prevTimeField->setText(lastPunchText(prevTime));
    nowTimeField->setText(now.format(CalFormat::Display));
    titleField->setText(fillWord(localized(texts::EntryTitle), forCkin ? inWord : outWord));
    messField->setText(fillWord(localized(texts::EntryMessage), forCkin ? outWord : inWord));
    setWindowTitle(titleField->text());

    yearField->setText(QString::number(now.year()));
    monthField->setText(QString::number(now.month()));
    dayField->setText(QString::number(now.day()));
    hourField->setText(QString::number(now.hour()));
    minField->setText(QString::number(now.minute()));
    prevTime_ = prevTime;

    // The hour and minute are what a forgotten punch usually needs changed.
    hourField->setFocus();
    hourField->selectAll();
}

int TimeEntryDialog::enterTimeDialog(const CalDate& now, const QString& prevTime, bool forCkin) {
    setupCkTimeWindow(now, prevTime, forCkin);
    return exec() == QDialog::Accepted ? kModalStopped : kModalAborted;
}

void TimeEntryDialog::onEnterTimeOK() {
    const EntryTexts entry{yearField->text(), monthField->text(), dayField->text(),
                           hourField->text(), minField->text()};
    if (const std::optional<CalDate> accepted =
            acceptEntry(entry, prevTime_, nowTimeField->text())) {
        if (alert_)
            alert_->close();
        if (setMyInputCalDate_)
            setMyInputCalDate_(*accepted);
        accept();
        return;
    }
    if (beep_)
        beep_();
    showAlert();
}

void TimeEntryDialog::onEnterTimeCancel() {
    if (alert_)
        alert_->close();
    QDialog::reject();
}

void TimeEntryDialog::reject() {
    onEnterTimeCancel();
}

void TimeEntryDialog::showAlert() {
    if (alert_)
        alert_->close();
    auto* box = new QMessageBox(QMessageBox::Warning, localized(texts::EntryAlertTitle),
                                localized(texts::EntryAlertMessage), QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("entDateAlert"));
    box->setWindowModality(Qt::WindowModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    alert_ = box;
    box->open();
}

} // namespace fennick
