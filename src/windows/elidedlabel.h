#pragma once

#include <QLabel>

namespace fennick {

// A one-line label for values that may have been edited by hand: always plain
// text, and shortened with "…" to the room it has. Its size hint stops at a
// few dozen characters, so a very long value can neither widen the window
// nor slow its layout; text() keeps the whole value.
class ElidedLabel : public QLabel {
    Q_OBJECT

public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The text as drawn in the label's present width.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString oneLine() const;
};

} // namespace fennick
