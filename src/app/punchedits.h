#pragma once

#include "shell/session.h"

#include <QCoreApplication>
#include <QString>
#include <optional>

class QWidget;

namespace fennick {

class PunchDialog;

// The log window's edits of its punches, asked for with dialogs: each change
// goes through the session as one undo step, and a refusal or a failure is
// shown to the user. True when the log changed.
class PunchEdits {
    Q_DECLARE_TR_FUNCTIONS(fennick::PunchEdits)

public:
    PunchEdits(PunchSession& session, const Clock& clock) : session_(session), clock_(clock) {}

    // Record `row` of the month file shown (absent: the month has none).
    bool changeTime(QWidget* window, const std::optional<QString>& monthFile, int row);
    bool remove(QWidget* window, const std::optional<QString>& monthFile, int row);
    bool insert(QWidget* window);
    // Undo and redo of the session's steps; a refusal is shown on the window.
    void undo(QWidget* window);
    void redo(QWidget* window);
    // Merges the conflict copies of the log folder; a failure is shown on
    // the window like a failed punch, and nothing changed then.
    void mergeConflicts(QWidget* window);

    // A punch that could not be written, as an alert on the window.
    static void showPunchFailure(QWidget* window, const FileFailure& failure);

    // Says why nothing changed, as a sheet on the window.
    static void showRefusal(QWidget* window, const QString& title, const QString& text);

private:
    PunchDialog& dialog(QWidget* window);
    static std::optional<ListedRecord> listed(QWidget* window,
                                              const std::optional<QString>& monthFile, int row);
    bool done(QWidget* window, const std::optional<QString>& refusal);

    PunchSession& session_;
    const Clock& clock_;
};

} // namespace fennick
