#include "windows/dailychart.h"

#include "platform/caldate.h"
#include "reports/report.h"

#include <QDate>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <cmath>

namespace fennick {

struct DailyChart::Layout {
    QRectF plot;         // where the bars stand
    double slot = 0;     // width given to one day
    double topHours = 1; // hours at the top of the plot
    int stepHours = 1;   // hours between grid lines
};

DailyChart::DailyChart(QWidget* parent) : QWidget(parent) {
    setAccessibleName(tr("Hours worked per day"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void DailyChart::setMonth(const QString& monthKey, const DayTotals& days, const QString& todayKey) {
    monthKey_ = monthKey;
    todayKey_ = todayKey;
    seconds_.clear();
    totals_.clear();
    const auto first = CalDate::parse(monthKey, CalFormat::MonthKey);
    const QDate month = first ? QDate(first->year(), first->month(), 1) : QDate();
    if (month.isValid()) {
        seconds_.fill(0, month.daysInMonth());
        totals_.fill(std::nullopt, month.daysInMonth());
        for (auto it = days.cbegin(); it != days.cend(); ++it) {
            if (!it.key().startsWith(monthKey))
                continue;
            const int day = QStringView(it.key()).mid(6, 2).toInt();
            if (day >= 1 && day <= seconds_.size()) {
                totals_[day - 1] = it.value().sumValue();
                seconds_[day - 1] = std::max<qint64>(0, it.value().sumValue());
            }
        }
    }
    update();
}

DailyChart::Layout DailyChart::layoutFor(const QRect& area) const {
    Layout l;
    const QFontMetrics fm = fontMetrics();
    const double left = fm.horizontalAdvance(QStringLiteral("00 h")) + 6;
    l.plot = QRectF(area).adjusted(left, fm.height() / 2.0, -4, -(fm.height() + 4));
    const qint64 most =
        seconds_.isEmpty() ? 0 : *std::max_element(seconds_.begin(), seconds_.end());
    const double hours = std::max(1.0, std::ceil(double(most) / 3600.0));
    l.stepHours = hours <= 4 ? 1 : hours <= 12 ? 2 : hours <= 24 ? 4 : int(std::ceil(hours / 6));
    l.topHours = std::ceil(hours / l.stepHours) * l.stepHours;
    l.slot = seconds_.isEmpty() ? 0 : l.plot.width() / seconds_.size();
    return l;
}

void DailyChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const Layout l = layoutFor(contentsRect());
    const QPalette& pal = palette();
    QColor grid = pal.color(QPalette::WindowText);
    grid.setAlphaF(0.15);
    painter.setPen(pal.color(QPalette::WindowText));
    for (int h = 0; h <= l.topHours; h += l.stepHours) {
        const double y = l.plot.bottom() - l.plot.height() * h / l.topHours;
        painter.setPen(grid);
        painter.drawLine(QPointF(l.plot.left(), y), QPointF(l.plot.right(), y));
        painter.setPen(pal.color(QPalette::WindowText));
        painter.drawText(QRectF(0, y - 10, l.plot.left() - 6, 20),
                         Qt::AlignRight | Qt::AlignVCenter, tr("%1 h").arg(h));
    }
    const QColor bar = pal.color(QPalette::Highlight);
    QColor weekend = pal.color(QPalette::WindowText);
    weekend.setAlphaF(0.07);
    QFont todayFont = font();
    todayFont.setBold(true);
    for (int i = 0; i < seconds_.size(); ++i) {
        const double x = l.plot.left() + i * l.slot;
        const QDate date = dateOf(i + 1);
        if (isWeekend(date))
            painter.fillRect(QRectF(x, l.plot.top(), l.slot, l.plot.height()), weekend);
        const double height = l.plot.height() * (seconds_[i] / 3600.0) / l.topHours;
        painter.fillRect(QRectF(x + l.slot * 0.15, l.plot.bottom() - height, l.slot * 0.7, height),
                         bar);
        const int day = i + 1;
        const bool today = date.toString(QStringLiteral("yyyyMMdd")) == todayKey_;
        if (day == 1 || day % 5 == 0 || today) {
            painter.setFont(today ? todayFont : font());
            painter.setPen(pal.color(QPalette::WindowText));
            painter.drawText(
                QRectF(x - l.slot, l.plot.bottom() + 2, l.slot * 3, fontMetrics().height()),
                Qt::AlignHCenter | Qt::AlignTop, QString::number(day));
        }
    }
}

int DailyChart::dayAt(const QPoint& position) const {
    const Layout l = layoutFor(contentsRect());
    if (l.slot <= 0 || position.x() < l.plot.left() || position.x() >= l.plot.right())
        return 0;
    return int((position.x() - l.plot.left()) / l.slot) + 1;
}

// Hovering over a bar tells its day and the time worked.
bool DailyChart::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const int day = dayAt(help->pos());
    if (day < 1) {
        QToolTip::hideText();
        return true;
    }
    QToolTip::showText(help->globalPos(), toolTipOf(day), this);
    return true;
}

QDate DailyChart::dateOf(int day) const {
    const auto first = CalDate::parse(monthKey_, CalFormat::MonthKey);
    return first ? QDate(first->year(), first->month(), day) : QDate();
}

QString DailyChart::toolTipOf(int day) const {
    if (day < 1 || day > totals_.size())
        return {};
    return dayToolTip(dateOf(day), totals_[day - 1]);
}

} // namespace fennick
