#pragma once

#include <QDialog>
#include <array>

class QDoubleSpinBox;
class QLabel;
class QPushButton;

namespace fennick {

// Shows where the time log files are kept and the target hours of each
// weekday. It reads and writes no setting: the controller gives it the
// targets and takes them back on OK.
class PrefWindow : public QDialog {
    Q_OBJECT

public:
    explicit PrefWindow(QWidget* parent = nullptr);

    void setLogDirectory(const QString& path);
    // Minutes per weekday, Monday first; 0 is no target.
    void setTargetMinutes(const std::array<int, 7>& minutes);
    std::array<int, 7> targetMinutes() const;
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* openButton() const { return open_; }

signals:
    void okPressed();
    void cancelPressed();

protected:
    void reject() override;

private:
    QLabel* path_;
    QPushButton* open_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QString directory_;
    std::array<QDoubleSpinBox*, 7> targets_{};
};

} // namespace fennick
