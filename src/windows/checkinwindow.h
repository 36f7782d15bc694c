#pragma once

#include "timelog/checkinstate.h"

#include <QMainWindow>

class QLabel;
class QPushButton;

namespace fennick {

class ActivityIndicator;

// The main window: the current state, the expected next action, the two punch
// buttons and the last punch time. It holds no state of its own: it shows the
// state it is given and says which button was pressed.
class CheckInWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit CheckInWindow(QWidget* parent = nullptr);

    void showState(const CheckInState& state);

signals:
    void checkInClicked();
    void checkOutClicked();

private:
    // Gives the Return key to one button ("\r") or takes it away ("").
    static void setKeyEquivalent(QPushButton* button, bool returnKey);
    void pressReturn();

    QLabel* title_;
    QLabel* message_;
    ActivityIndicator* indicator_;
    QPushButton* checkIn_;
    QPushButton* checkOut_;
    QLabel* preTitle_;
    QLabel* preTime_;
};

} // namespace fennick
