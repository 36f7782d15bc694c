#pragma once

#include "summary/monthsumhandler.h"

#include <QDate>
#include <QList>
#include <QWidget>
#include <optional>

namespace fennick {

// Hours worked on each day of one month as bars, days without work at zero.
// Weekends stand on a shaded ground and today's day number is bold. Colours
// come from the palette, so it reads in dark and light themes alike.
class DailyChart : public QWidget {
    Q_OBJECT

public:
    explicit DailyChart(QWidget* parent = nullptr);

    // The month ("%Y%m"), its day totals and today's day key ("%Y%m%d");
    // a key that is no month clears it.
    void setMonth(const QString& monthKey, const DayTotals& days, const QString& todayKey = {});
    // Seconds per day of the month, day 1 first; negative amounts count 0.
    const QList<qint64>& seconds() const { return seconds_; }
    // What hovering over day `day` (1 = the first) tells: its full date and
    // the time as the table shows it, or that it has no punches; empty
    // outside the month.
    QString toolTipOf(int day) const;

    QSize sizeHint() const override { return QSize(440, 150); }
    QSize minimumSizeHint() const override { return QSize(200, 100); }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct Layout;
    Layout layoutFor(const QRect& area) const;
    int dayAt(const QPoint& position) const;

    QDate dateOf(int day) const;

    QString monthKey_;
    QString todayKey_;
    QList<qint64> seconds_;
    // The day totals as read, negative ones too; absent: no punches.
    QList<std::optional<qint64>> totals_;
};

} // namespace fennick
