#include "windows/punchdialog.h"

#include "platform/texts.h"
#include "timelog/checkinstate.h"
#include "timelog/timeentry.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace fennick {

PunchDialog::PunchDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("punchDialog"));
    setModal(true);
    bounds_ = new QLabel(this);
    bounds_->setObjectName(QStringLiteral("bounds"));
    bounds_->setTextFormat(Qt::PlainText);
    kind_ = new QComboBox(this);
    kind_->setObjectName(QStringLiteral("kind"));
    kind_->addItem(localized(texts::CheckInWord), int(PunchKind::CheckIn));
    kind_->addItem(localized(texts::CheckOutWord), int(PunchKind::CheckOut));

    const std::pair<QString, const char*> columns[] = {{tr("&Year"), "yearField"},
                                                       {tr("&Month"), "monthField"},
                                                       {tr("&Day"), "dayField"},
                                                       {tr("&Hour"), "hourField"},
                                                       {tr("M&inute"), "minField"}};
    auto* entry = new QGridLayout;
    for (int column = 0; column < 5; ++column) {
        auto* field = new QLineEdit(this);
        field->setObjectName(QLatin1String(columns[column].second));
        field->setAlignment(Qt::AlignRight);
        field->setFixedWidth(
            field->fontMetrics().horizontalAdvance(QString(column == 0 ? 5 : 3, u'0')) + 16);
        auto* label = new QLabel(columns[column].first, this);
        label->setBuddy(field);
        entry->addWidget(label, 0, column);
        entry->addWidget(field, 1, column);
        fields_[column] = field;
    }
    entry->setColumnStretch(5, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &PunchDialog::tryAccept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(tr("&Punch:"), kind_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(bounds_);
    layout->addLayout(entry);
    layout->addWidget(buttons);
}

std::optional<PunchDialog::Punch> PunchDialog::ask(const QString& title, const CalDate& start,
                                                   const QString& earliest, const CalDate& latest,
                                                   std::optional<PunchKind> kind) {
    setWindowTitle(title);
    kind_->setCurrentIndex(kind == PunchKind::CheckOut ? 1 : 0);
    kind_->setEnabled(!kind);
    earliest_ = earliest;
    latest_ = latest.format(CalFormat::Display);
    const QString from = lastPunchText(earliest);
    bounds_->setText(from.isEmpty() ? tr("Not after %1").arg(latest_)
                                    : tr("Between %1 and %2").arg(from, latest_));
    const int values[] = {start.year(), start.month(), start.day(), start.hour(), start.minute()};
    for (int i = 0; i < 5; ++i)
        fields_[i]->setText(QString::number(values[i]));
    fields_[3]->setFocus();
    fields_[3]->selectAll();
    accepted_.reset();
    if (exec() != QDialog::Accepted || !accepted_)
        return std::nullopt;
    return Punch{PunchKind(kind_->currentData().toInt()), *accepted_};
}

void PunchDialog::tryAccept() {
    const EntryTexts entry{fields_[0]->text(), fields_[1]->text(), fields_[2]->text(),
                           fields_[3]->text(), fields_[4]->text()};
    accepted_ = acceptEntry(entry, earliest_, latest_);
    if (accepted_) {
        accept();
        return;
    }
    QApplication::beep();
    QMessageBox::warning(this, localized(texts::EntryAlertTitle),
                         tr("Enter a time between the punches before and after this one."));
}

} // namespace fennick
