#include "windows/conflictnotice.h"

#include "reports/navigation.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace fennick {

ConflictNotice::ConflictNotice(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("conflictNotice"));
    setFrameShape(QFrame::StyledPanel);
    setBackgroundRole(QPalette::ToolTipBase);
    setAutoFillBackground(true);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    text_ = new QLabel(this);
    text_->setObjectName(QStringLiteral("conflictText"));
    text_->setTextFormat(Qt::PlainText);
    text_->setWordWrap(true);
    text_->setForegroundRole(QPalette::ToolTipText);
    merge_ = new QPushButton(tr("Merge"), this);
    merge_->setObjectName(QStringLiteral("mergeButton"));
    merge_->setToolTip(tr("Writes every punch of the copies into the month file and removes "
                          "the copies; Edit › Undo takes it back."));
    layout->addWidget(text_, 1);
    layout->addWidget(merge_, 0, Qt::AlignVCenter);
    connect(merge_, &QPushButton::clicked, this, &ConflictNotice::mergeClicked);
    hide();
}

void ConflictNotice::showConflicts(const ConflictIndex& conflicts) {
    QStringList lines{tr("A file-sync tool saved conflict copies; their punches count once "
                         "with their month until merged:")};
    for (auto it = conflicts.cbegin(); it != conflicts.cend(); ++it)
        lines << tr("%1: %2").arg(monthTitle(it.key()), it.value().join(QLatin1String(", ")));
    text_->setText(lines.join(u'\n'));
    setVisible(!conflicts.isEmpty());
}

} // namespace fennick
