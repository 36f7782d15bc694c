#pragma once

#include <QBasicTimer>
#include <QWidget>

namespace fennick {

// Shows that the user is checked in. It animates slowly (a step every 1.5 s)
// and only while it is on screen: the check-in window may stay open all day,
// and a busy indicator repainting every few milliseconds would cost power for
// nothing.
class ActivityIndicator : public QWidget {
    Q_OBJECT

public:
    explicit ActivityIndicator(QWidget* parent = nullptr);

    void startAnimation();
    void stopAnimation();
    bool isAnimating() const { return animating_; }
    bool isTicking() const { return timer_.isActive(); }

    QSize sizeHint() const override { return QSize(28, 28); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void updateTimer();

    QBasicTimer timer_;
    bool animating_ = false;
    int step_ = 0;
};

} // namespace fennick
