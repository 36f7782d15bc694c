#include "windows/activityindicator.h"

#include <QPainter>
#include <QTimerEvent>
#include <cmath>

namespace fennick {

namespace {
constexpr int kDots = 8;
constexpr int kStepMs = 1500;
} // namespace

ActivityIndicator::ActivityIndicator(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleName(tr("Checked-in indicator"));
}

void ActivityIndicator::startAnimation() {
    animating_ = true;
    updateTimer();
    update();
}

void ActivityIndicator::stopAnimation() {
    animating_ = false;
    updateTimer();
    update();
}

void ActivityIndicator::updateTimer() {
    const bool run = animating_ && isVisible();
    if (run && !timer_.isActive())
        timer_.start(kStepMs, Qt::CoarseTimer, this);
    else if (!run)
        timer_.stop();
}

void ActivityIndicator::timerEvent(QTimerEvent* event) {
    if (event->timerId() != timer_.timerId())
        return QWidget::timerEvent(event);
    step_ = (step_ + 1) % kDots;
    update();
}

void ActivityIndicator::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    updateTimer();
}

void ActivityIndicator::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    updateTimer();
}

void ActivityIndicator::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor base = palette().color(animating_ ? QPalette::Highlight : QPalette::Mid);
    const QPointF centre = QRectF(rect()).center();
    const double radius = std::min(width(), height()) / 2.0 - 3.0;
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < kDots; ++i) {
        const double angle = 2 * M_PI * i / kDots - M_PI / 2;
        const int age = (step_ - i + kDots) % kDots;
        QColor dot = base;
        dot.setAlphaF(animating_ ? 1.0 - 0.8 * age / (kDots - 1) : 0.5);
        painter.setBrush(dot);
        const QPointF at(centre.x() + radius * std::cos(angle),
                         centre.y() + radius * std::sin(angle));
        painter.drawEllipse(at, 2.5, 2.5);
    }
}

} // namespace fennick
