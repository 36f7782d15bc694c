#pragma once

#include "platform/caldate.h"
#include "timelog/record.h"

#include <QDialog>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;

namespace fennick {

// Asks for a punch's time when the log window changes or inserts one: the
// five entry fields of the time-entry dialog, accepted only between the
// punches before and after it, and, to insert one, its kind.
class PunchDialog : public QDialog {
    Q_OBJECT

public:
    struct Punch {
        PunchKind kind;
        CalDate time;
    };

    explicit PunchDialog(QWidget* parent = nullptr);

    // The fields start at `start`; the time must not lie before `earliest` (a
    // compact timestamp, or none) nor after `latest`. With `kind` the kind is
    // fixed, without it the dialog asks.
    std::optional<Punch> ask(const QString& title, const CalDate& start, const QString& earliest,
                             const CalDate& latest, std::optional<PunchKind> kind);

private:
    void tryAccept();

    QLabel* bounds_;
    QComboBox* kind_;
    QLineEdit* fields_[5];
    QString earliest_;
    QString latest_;
    std::optional<CalDate> accepted_;
};

} // namespace fennick
