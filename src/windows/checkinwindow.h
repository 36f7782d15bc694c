#pragma once

#include "reports/account.h"
#include "timelog/checkinstate.h"

#include <QMainWindow>
#include <QTimer>
#include <optional>

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
    // Today's time and, with a target, what is left and the week's balance.
    // With `nextTickMs` (while checked in) the window asks for fresh figures
    // that many milliseconds from now, and then every minute, but only while
    // it is shown.
    void showAccount(const AccountLines& lines, std::optional<int> nextTickMs);
    bool isTicking() const { return tick_.isActive(); }
    int msecsToTick() const { return tick_.remainingTime(); }

signals:
    void checkInClicked();
    void checkOutClicked();
    // The figures are due for a refresh.
    void minuteTick();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

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
    QLabel* today_;
    QLabel* left_;
    QLabel* balance_;
    QTimer tick_;
    bool wantsTicks_ = false;
};

} // namespace fennick
