#pragma once

#include "platform/caldate.h"

#include <QDialog>
#include <QPointer>
#include <functional>

class QLabel;
class QLineEdit;
class QMessageBox;

namespace fennick {

// The dialog that asks for the time of a forgotten punch (`ckTimeWindow`). It
// shows the last punch and the moment of the press, starts with the press
// time in its entry fields, and accepts only a time between the two.
class TimeEntryDialog : public QDialog {
    Q_OBJECT

public:
    using Beep = std::function<void()>;
    using DateSetter = std::function<void(const CalDate&)>;

    // `setMyInputCalDate` receives the accepted time before the dialog ends.
    TimeEntryDialog(Beep beep, DateSetter setMyInputCalDate, QWidget* parent = nullptr);

    // Fills the dialog for one run; `forCkin` is true when check in was
    // pressed, so the forgotten punch is a check-out.
    void setupCkTimeWindow(const CalDate& now, const QString& prevTime, bool forCkin);
    // Runs the dialog modally: kModalStopped once a time was accepted,
    // kModalAborted when it was cancelled.
    int enterTimeDialog(const CalDate& now, const QString& prevTime, bool forCkin);

    // Escape and the window's close button cancel.
    void reject() override;

public slots:
    void onEnterTimeOK();
    void onEnterTimeCancel();

private:
    QLabel* addLabel(const char* name);
    QLineEdit* addEntry(const char* name, int digits);
    void showAlert();

    Beep beep_;
    DateSetter setMyInputCalDate_;
    QString prevTime_;
    QLabel* titleField;
    QLabel* messField;
    QLabel* prevTimeField;
    QLabel* nowTimeField;
    QLineEdit* yearField;
    QLineEdit* monthField;
    QLineEdit* dayField;
    QLineEdit* hourField;
    QLineEdit* minField;
    QPointer<QMessageBox> alert_;
};

} // namespace fennick
