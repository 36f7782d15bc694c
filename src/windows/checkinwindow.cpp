#include "windows/checkinwindow.h"

#include "windows/activityindicator.h"
#include "windows/elidedlabel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace fennick {

CheckInWindow::CheckInWindow(QWidget* parent)
    : QMainWindow(parent), title_(new QLabel), message_(new QLabel),
      indicator_(new ActivityIndicator), checkIn_(new QPushButton(tr("Check &In"))),
      checkOut_(new QPushButton(tr("Check &Out"))), preTitle_(new QLabel),
      preTime_(new ElidedLabel), today_(new QLabel), left_(new QLabel), balance_(new QLabel) {
    setObjectName(QStringLiteral("ckinWindow"));
    setWindowTitle(tr("fennick"));

    title_->setObjectName(QStringLiteral("ckinMainTitieField"));
    QFont big = title_->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    title_->setFont(big);
    message_->setObjectName(QStringLiteral("ckinMainMessField"));
    indicator_->setObjectName(QStringLiteral("progressInd"));
    checkIn_->setObjectName(QStringLiteral("ckInButton"));
    checkOut_->setObjectName(QStringLiteral("ckOutButton"));
    preTitle_->setObjectName(QStringLiteral("ckinPreTitieField"));
    preTime_->setObjectName(QStringLiteral("ckinPreTimeField"));
    preTime_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    today_->setObjectName(QStringLiteral("ckinTodayField"));
    left_->setObjectName(QStringLiteral("ckinLeftField"));
    balance_->setObjectName(QStringLiteral("ckinBalanceField"));
    for (QLabel* label : {title_, message_, preTitle_, today_, left_, balance_})
        label->setTextFormat(Qt::PlainText);
    left_->hide();
    balance_->hide();
    tick_.setSingleShot(true);
    // Once a minute, on the minute: a coarse timer could fire seconds early.
    tick_.setTimerType(Qt::PreciseTimer);
    connect(&tick_, &QTimer::timeout, this, &CheckInWindow::minuteTick);
    for (QPushButton* button : {checkIn_, checkOut_})
        button->setMinimumWidth(120);

    auto* header = new QHBoxLayout;
    auto* texts = new QVBoxLayout;
    texts->addWidget(title_);
    texts->addWidget(message_);
    header->addLayout(texts, 1);
    header->addWidget(indicator_, 0, Qt::AlignTop);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(checkIn_);
    buttons->addWidget(checkOut_);

    auto* last = new QHBoxLayout;
    last->addWidget(preTitle_);
    last->addWidget(preTime_, 1);

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->addLayout(header);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->addSpacing(8);
    layout->addLayout(last);
    auto* account = new QHBoxLayout;
    account->addWidget(today_);
    account->addWidget(left_);
    account->addWidget(balance_);
    account->addStretch(1);
    layout->addLayout(account);
    layout->addStretch(1);
    central->setMinimumWidth(380);
    setCentralWidget(central);

    connect(checkIn_, &QPushButton::clicked, this, &CheckInWindow::checkInClicked);
    connect(checkOut_, &QPushButton::clicked, this, &CheckInWindow::checkOutClicked);

    // Return and Enter press the button of the action expected next, wherever
    // the focus is.
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        connect(shortcut, &QShortcut::activated, this, &CheckInWindow::pressReturn);
    }
}

void CheckInWindow::showState(const CheckInState& state) {
    title_->setText(state.title);
    message_->setText(state.message);
    preTitle_->setText(state.lastPunchTitle);
    preTime_->setText(state.lastPunchTime);
    checkOut_->setEnabled(state.checkOutEnabled);
    if (state.checkedIn)
        indicator_->startAnimation();
    else
        indicator_->stopAnimation();
    setKeyEquivalent(checkIn_, state.expected == PunchKind::CheckIn);
    setKeyEquivalent(checkOut_, state.expected == PunchKind::CheckOut);
}

void CheckInWindow::showAccount(const AccountLines& lines, std::optional<int> nextTickMs) {
    today_->setText(lines.today);
    left_->setText(lines.left.value_or(QString()));
    left_->setVisible(lines.left.has_value());
    balance_->setText(lines.balance.value_or(QString()));
    balance_->setVisible(lines.balance.has_value());
    wantsTicks_ = nextTickMs.has_value();
    if (wantsTicks_ && isVisible())
        tick_.start(*nextTickMs);
    else
        tick_.stop();
}

// Shown again after a while: the figures are stale, and the ticks resume.
void CheckInWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (wantsTicks_)
        emit minuteTick();
}

// Nobody sees the figures: no wake-ups.
void CheckInWindow::hideEvent(QHideEvent* event) {
    QMainWindow::hideEvent(event);
    tick_.stop();
}

void CheckInWindow::setKeyEquivalent(QPushButton* button, bool returnKey) {
    button->setDefault(returnKey);
}

void CheckInWindow::pressReturn() {
    for (QPushButton* button : {checkIn_, checkOut_}) {
        if (button->isDefault() && button->isEnabled()) {
            button->click();
            return;
        }
    }
}

} // namespace fennick
