#pragma once

#include <QDialog>
#include <array>
#include <optional>

class QCheckBox;
class QDoubleSpinBox;
class QSpinBox;
class QTimeEdit;
class QLabel;
class QPushButton;

namespace fennick {

// Shows where the time log files are kept (with a button to choose another
// folder), the target hours of each
// weekday, the reminders and the start with the session. It reads and writes no setting: the
// controller gives it the targets and takes them back on OK.
class PrefWindow : public QDialog {
    Q_OBJECT

public:
    explicit PrefWindow(QWidget* parent = nullptr);

    void setLogDirectory(const QString& path);
    // Minutes per weekday, Monday first; 0 is no target.
    void setTargetMinutes(const std::array<int, 7>& minutes);
    std::array<int, 7> targetMinutes() const;
    // Hours checked in before the long reminder (0: off), and the daily
    // reminder's minute after midnight (absent: none).
    void setReminders(int afterHours, std::optional<int> dailyMinute);
    int remindAfterHours() const;
    std::optional<int> remindDailyMinute() const;
    void setStartAtLogin(bool enabled);
    bool startAtLogin() const;
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* openButton() const { return open_; }

signals:
    void okPressed();
    // "Choose…": the person wants to keep the log in another folder.
    void chooseFolderPressed();
    void cancelPressed();

protected:
    void reject() override;

private:
    QLabel* path_;
    QPushButton* choose_;
    QPushButton* open_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QString directory_;
    std::array<QDoubleSpinBox*, 7> targets_{};
    QSpinBox* remindAfter_;
    QCheckBox* remindDaily_;
    QTimeEdit* remindDailyAt_;
    QCheckBox* startAtLogin_;
};

} // namespace fennick
