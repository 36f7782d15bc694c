#pragma once

#include <QMainWindow>

class QLabel;
class QPushButton;

namespace fennick {

class ActivityIndicator;

// The main window: the current state, the expected next action, the two punch
// buttons and the last punch time. It holds no state of its own; the
// controller fills it.
class CheckInWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit CheckInWindow(QWidget* parent = nullptr);

    QLabel* ckinMainTitieField() const { return title_; }
    QLabel* ckinMainMessField() const { return message_; }
    ActivityIndicator* progressInd() const { return indicator_; }
    QPushButton* ckInButton() const { return checkIn_; }
    QPushButton* ckOutButton() const { return checkOut_; }
    QLabel* ckinPreTitieField() const { return preTitle_; }
    QLabel* ckinPreTimeField() const { return preTime_; }

    // Gives the Return key to one button ("\r") or takes it away ("").
    static void setKeyEquivalent(QPushButton* button, bool returnKey);

private:
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
