#pragma once

#include "summary/monthsumhandler.h"

#include <QList>
#include <QWidget>

namespace fennick {

// Hours worked on each day of one month as bars, days without work at zero.
// Colours come from the palette, so it reads in dark and light themes alike.
class DailyChart : public QWidget {
    Q_OBJECT

public:
    explicit DailyChart(QWidget* parent = nullptr);

    // The month ("%Y%m") and its day totals; a key that is no month clears it.
    void setMonth(const QString& monthKey, const DayTotals& days);
    // Seconds per day of the month, day 1 first; negative amounts count 0.
    const QList<qint64>& seconds() const { return seconds_; }

    QSize sizeHint() const override { return QSize(440, 150); }
    QSize minimumSizeHint() const override { return QSize(200, 100); }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct Layout;
    Layout layoutFor(const QRect& area) const;
    int dayAt(const QPoint& position) const;

    QString monthKey_;
    QList<qint64> seconds_;
};

} // namespace fennick
