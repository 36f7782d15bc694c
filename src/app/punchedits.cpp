#include "app/punchedits.h"

#include "platform/texts.h"
#include "timelog/checkinstate.h"
#include "windows/punchdialog.h"

#include <QCoreApplication>
#include <QDir>
#include <QMessageBox>

namespace fennick {

namespace {

QString kindWord(PunchKind kind) {
    return localized(kind == PunchKind::CheckIn ? texts::CheckInWord : texts::CheckOutWord);
}

} // namespace

std::optional<ListedRecord> PunchEdits::listed(QWidget* window,
                                               const std::optional<QString>& monthFile, int row) {
    std::optional<ListedRecord> record = monthFile ? listedRecord(*monthFile, row) : std::nullopt;
    if (!record)
        PunchEdits::showRefusal(window, tr("No punch to edit"),
                                tr("The month file has changed since it was shown."));
    return record;
}

PunchDialog& PunchEdits::dialog(QWidget* window) {
    // One dialog a window, made when first asked for and owned by it.
    auto* found = window->findChild<PunchDialog*>(QString(), Qt::FindDirectChildrenOnly);
    return found ? *found : *new PunchDialog(window);
}

void PunchEdits::showRefusal(QWidget* window, const QString& title, const QString& text) {
    auto* box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, window);
    box->setObjectName(QStringLiteral("editRefusal"));
    box->setWindowModality(Qt::WindowModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void PunchEdits::undo(QWidget* window) {
    if (const std::optional<QString> refusal = session_.undo())
        showRefusal(window, tr("Nothing was undone"), *refusal);
}

void PunchEdits::redo(QWidget* window) {
    if (const std::optional<QString> refusal = session_.redo())
        showRefusal(window, tr("Nothing was redone"), *refusal);
}

void PunchEdits::mergeConflicts(QWidget* window) {
    const std::variant<LogStep, QString> merged = session_.mergeConflicts();
    if (const QString* failure = std::get_if<QString>(&merged))
        showRefusal(window, tr("The conflict copies were not merged"), *failure);
}

void PunchEdits::showPunchFailure(QWidget* window, const FileFailure& failure) {
    showRefusal(window, tr("The punch was not recorded"),
                tr("%1 could not be written: %2. Nothing was recorded.")
                    .arg(QDir::toNativeSeparators(failure.path), failure.reason));
}

bool PunchEdits::done(QWidget* window, const std::optional<QString>& refusal) {
    if (refusal)
        showRefusal(window, tr("The log was not changed"), *refusal);
    return !refusal;
}

bool PunchEdits::changeTime(QWidget* window, const std::optional<QString>& monthFile, int row) {
    const std::optional<ListedRecord> record = listed(window, monthFile, row);
    if (!record)
        return false;
    const CalDate now = clock_.now();
    const auto time = CalDate::parse(record->timeToken, CalFormat::Compact);
    const auto later = CalDate::parse(record->laterToken, CalFormat::Compact);
    const auto punch =
        dialog(window).ask(tr("Change Punch Time"), time.value_or(now), record->earlierToken,
                           later && *later < now ? *later : now, record->kind);
    return punch && done(window, session_.changeTime(record->at, punch->time));
}

bool PunchEdits::remove(QWidget* window, const std::optional<QString>& monthFile, int row) {
    const std::optional<ListedRecord> record = listed(window, monthFile, row);
    if (!record)
        return false;
    const QString question = tr("Delete the %1 of %2? You can undo it with Edit › Undo.")
                                 .arg(kindWord(record->kind), lastPunchText(record->timeToken));
    if (QMessageBox::question(window, tr("Delete Punch"), question,
                              QMessageBox::Yes | QMessageBox::Cancel,
                              QMessageBox::Cancel) != QMessageBox::Yes)
        return false;
    return done(window, session_.remove(record->at));
}

bool PunchEdits::insert(QWidget* window) {
    const CalDate now = clock_.now();
    const auto punch = dialog(window).ask(tr("Insert Punch"), now, QString(), now, std::nullopt);
    return punch && done(window, session_.insert(punch->kind, punch->time));
}

} // namespace fennick
