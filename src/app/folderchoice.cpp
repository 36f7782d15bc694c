#include "app/folderchoice.h"

#include "shell/foldermove.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace fennick {

class FolderChoiceText {
    Q_DECLARE_TR_FUNCTIONS(fennick::FolderChoiceText)
};

namespace {

QString pickWithDialog(QWidget* parent, const QString& current) {
    return QFileDialog::getExistingDirectory(
        parent, FolderChoiceText::tr("Choose the Time Log Folder"), current);
}

FolderUse askWithMessageBox(QWidget* parent, const QString& from, const QString& to) {
    QMessageBox box(
        QMessageBox::Question, FolderChoiceText::tr("Time Log Folder"),
        FolderChoiceText::tr("Keep the time log in %1?").arg(QDir::toNativeSeparators(to)),
        QMessageBox::Cancel, parent);
    box.setInformativeText(
        FolderChoiceText::tr(
            "The month files are in %1. Move them to the new folder, or use the new folder as "
            "it is, for example a synced folder that already holds them.")
            .arg(QDir::toNativeSeparators(from)));
    QPushButton* move =
        box.addButton(FolderChoiceText::tr("&Move the Month Files There"), QMessageBox::AcceptRole);
    QPushButton* asItIs =
        box.addButton(FolderChoiceText::tr("&Use the Folder as It Is"), QMessageBox::AcceptRole);
    move->setObjectName(QStringLiteral("moveFiles"));
    asItIs->setObjectName(QStringLiteral("useAsItIs"));
    box.setDefaultButton(move);
    box.exec();
    if (box.clickedButton() == move)
        return FolderUse::Move;
    return box.clickedButton() == asItIs ? FolderUse::UseAsItIs : FolderUse::Cancel;
}

void tellWithMessageBox(QWidget* parent, const QString& message) {
    QMessageBox::warning(parent, FolderChoiceText::tr("Time Log Folder"), message);
}

QString failureText(const FileFailure& failure) {
    return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(failure.path), failure.reason);
}

// Moves the files; whether the settings name the new folder afterwards.
FolderChoice moveFiles(QWidget* parent, Settings& settings, const QString& from, const QString& to,
                       const Clock& clock, const FolderDialogs& dialogs) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const FolderMove move = moveLogFolder(settings, from, to, clock);
    QApplication::restoreOverrideCursor();
    if (move.failure && !move.switched)
        dialogs.tell(parent, FolderChoiceText::tr(
                                 "The month files were not moved; the time log stays in %1.\n\n%2")
                                 .arg(QDir::toNativeSeparators(from), failureText(*move.failure)));
    else if (move.failure)
        dialogs.tell(parent, FolderChoiceText::tr(
                                 "The month files were moved to %1, but a file could not be "
                                 "removed from the old folder; nothing is lost.\n\n%2")
                                 .arg(QDir::toNativeSeparators(to), failureText(*move.failure)));
    if (!move.switched)
        return FolderChoice::Unchanged;
    return move.madeConflictCopies ? FolderChoice::SwitchedWithConflictCopies
                                   : FolderChoice::Switched;
}

} // namespace

FolderDialogs FolderDialogs::standard() {
    return FolderDialogs{pickWithDialog, askWithMessageBox, tellWithMessageBox};
}

FolderChoice chooseLogFolder(QWidget* parent, Settings& settings, const QString& current,
                             const Clock& clock, const FolderDialogs& dialogs) {
    const QString picked = dialogs.pick(parent, current);
    if (picked.isEmpty() || (isSameOrInside(picked, current) && isSameOrInside(current, picked)))
        return FolderChoice::Unchanged;
    const QString to = QDir::cleanPath(picked);
    switch (dialogs.ask(parent, current, to)) {
    case FolderUse::Move:
        return moveFiles(parent, settings, current, to, clock, dialogs);
    case FolderUse::UseAsItIs:
        if (const std::optional<FileFailure> failure = useLogFolder(settings, to)) {
            dialogs.tell(parent,
                         FolderChoiceText::tr("The time log stays in %1.\n\n%2")
                             .arg(QDir::toNativeSeparators(current), failureText(*failure)));
            return FolderChoice::Unchanged;
        }
        return FolderChoice::Switched;
    case FolderUse::Cancel:
        break;
    }
    return FolderChoice::Unchanged;
}

} // namespace fennick
