#include "windows/elidedlabel.h"

#include <QPainter>

namespace fennick {

namespace {
// Characters looked at: more never fit a window, and measuring a huge text
// is what made the window slow to appear.
constexpr qsizetype kLongestShown = 200;
constexpr int kWidestHintChars = 40;
} // namespace

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
}

QString ElidedLabel::oneLine() const {
    QString line = text().left(kLongestShown);
    for (QChar& c : line) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = u' ';
    }
    return text().size() > kLongestShown ? line + QChar(0x2026) : line;
}

QString ElidedLabel::shownText() const {
    return fontMetrics().elidedText(oneLine(), Qt::ElideRight, contentsRect().width());
}

QSize ElidedLabel::sizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    const int widest = metrics.averageCharWidth() * kWidestHintChars;
    const int width = std::min(metrics.horizontalAdvance(oneLine()), widest);
    const QMargins m = contentsMargins();
    return QSize(width + m.left() + m.right(), metrics.height() + m.top() + m.bottom());
}

QSize ElidedLabel::minimumSizeHint() const {
    const QSize hint = sizeHint();
    return QSize(std::min(hint.width(), fontMetrics().horizontalAdvance(QChar(0x2026)) * 3),
                 hint.height());
}

void ElidedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(contentsRect(), int(alignment()) | Qt::TextSingleLine, shownText());
}

} // namespace fennick
