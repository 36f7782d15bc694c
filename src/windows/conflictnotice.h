#pragma once

#include "timelog/store.h"

#include <QFrame>

class QLabel;
class QPushButton;

namespace fennick {

// The band over a report table while months have conflict copies from a
// file-sync tool: which months and copies, that their punches count once
// until merged, and a Merge button. Hidden while there are none.
class ConflictNotice : public QFrame {
    Q_OBJECT

public:
    explicit ConflictNotice(QWidget* parent = nullptr);

    void showConflicts(const ConflictIndex& conflicts);

signals:
    void mergeClicked();

private:
    QLabel* text_ = nullptr;
    QPushButton* merge_ = nullptr;
};

} // namespace fennick
