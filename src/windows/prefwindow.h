#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace fennick {

// Shows where the time log files are kept. It reads and writes no setting.
class PrefWindow : public QDialog {
    Q_OBJECT

public:
    explicit PrefWindow(QWidget* parent = nullptr);

    void setLogDirectory(const QString& path);
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
};

} // namespace fennick
