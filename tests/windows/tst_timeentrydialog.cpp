#include "support.h"
#include "timelog/timeclock.h"
#include "windows/timeentrydialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace fennick;
using namespace fennick::test;

namespace {

const char* const kEntryFields[] = {"yearField", "monthField", "dayField", "hourField", "minField"};

QMessageBox* openAlert() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
            return box;
    }
    return nullptr;
}

// The dialog with its hooks, holding a date from before the run.
struct Fixture {
    int beeps = 0;
    CalDate input = at("20000101000000");
    TimeEntryDialog dialog{[this] { ++beeps; }, [this](const CalDate& d) { input = d; }};

    template <typename T> T* field(const char* name) { return dialog.findChild<T*>(name); }
    QPushButton* button(QDialogButtonBox::StandardButton which) {
        return dialog.findChild<QDialogButtonBox*>()->button(which);
    }
    QString text(const char* name) {
        auto* edit = field<QLineEdit>(name);
        return edit ? edit->text() : field<QLabel>(name)->text();
    }
    // Types "year|month|day|hour|minute" over the fields ("" keeps them) and
    // confirms with the OK button, or with Return when the entry ends in "!".
    void submit(QString entry) {
        const bool byKey = entry.endsWith(u'!');
        entry.chop(byKey ? 1 : 0);
        const QStringList parts = entry.split(u'|');
        for (int i = 0; i < parts.size() && !entry.isEmpty(); ++i) {
            QLineEdit* edit = field<QLineEdit>(kEntryFields[i]);
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Delete);
            QTest::keyClicks(edit, parts[i]);
        }
        if (byKey)
            QTest::keyClick(field<QLineEdit>("minField"), Qt::Key_Return);
        else
            QTest::mouseClick(button(QDialogButtonBox::Ok), Qt::LeftButton);
    }
    // Plays the steps inside the dialog's modal loop: entries, "cancel",
    // "escape" or "close". A refused entry must raise the alert, which is
    // checked and dismissed.
    int run(const QString& now, const QString& prev, bool forCkin, const QStringList& steps) {
        QTimer::singleShot(0, &dialog, [=, this] {
            for (const QString& step : steps) {
                if (!dialog.isVisible())
                    return;
                if (step == "cancel")
                    QTest::mouseClick(button(QDialogButtonBox::Cancel), Qt::LeftButton);
                else if (step == "escape")
                    QTest::keyClick(&dialog, Qt::Key_Escape);
                else if (step == "close")
                    dialog.close();
                else
                    submit(step);
                if (dialog.isVisible())
                    dismissAlert(step);
            }
            if (dialog.isVisible()) {
                QTest::qFail("the dialog is still open after its steps", __FILE__, __LINE__);
                dialog.done(QDialog::Rejected);
            }
        });
        return dialog.enterTimeDialog(at(now), prev, forCkin);
    }
    void dismissAlert(const QString& entry) {
        QMessageBox* box = openAlert();
        if (!box) {
            QTest::qFail(qPrintable("no alert after " + entry), __FILE__, __LINE__);
            return;
        }
        const bool sheet =
            box->parentWidget() == &dialog && box->windowModality() == Qt::WindowModal;
        const bool texts =
            box->windowTitle() == "Alert" && box->text() == "Reenter" && box->buttons().size() == 1;
        QStringList typed;
        for (const char* name : kEntryFields)
            typed << text(name);
        const bool kept = entry.isEmpty() || QString(entry).remove(u'!') == typed.join(u'|');
        if (!sheet || !texts || !kept)
            QTest::qFail(qPrintable("wrong alert after " + entry), __FILE__, __LINE__);
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    }
};

} // namespace

class TestTimeEntryDialog : public QObject {
    Q_OBJECT

private slots:
    void bounds_data();
    void bounds();
    void filling_data();
    void filling();
};

void TestTimeEntryDialog::bounds_data() {
    QTest::addColumn<QString>("prev");
    QTest::addColumn<QString>("now");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("input"); // empty: unchanged
    QTest::addColumn<int>("beeps");
    const QString L("20240305090000");
    const QString N("20240305180010");
    const int stopped = kModalStopped;
    const int aborted = kModalAborted;
    QTest::newRow("equal to the last punch")
        << L << N << QStringList{"2024|3|5|9|0"} << stopped << L << 0;
    QTest::newRow("a minute earlier")
        << L << N << QStringList{"2024|3|5|8|59", "cancel"} << aborted << "" << 1;
    QTest::newRow("seconds are 0, corrected by a second OK")
        << "20240305090035" << N << QStringList{"2024|3|5|9|0", "2024|3|5|9|1"} << stopped
        << "20240305090100" << 1;
    QTest::newRow("later than the press")
        << L << N << QStringList{"2024|3|5|18|1", "escape"} << aborted << "" << 1;
    QTest::newRow("minute of the press, by Return")
        << L << N << QStringList{"2024|3|5|18|0!"} << stopped << "20240305180000" << 0;
    QTest::newRow("OK at once") << L << N << QStringList{""} << stopped << "20240305180000" << 0;
    QTest::newRow("last punch after the press minute's second 0")
        << "20240305180005" << N << QStringList{"", "close"} << aborted << "" << 1;
    QTest::newRow("cancel") << L << N << QStringList{"cancel"} << aborted << "" << 0;
    QTest::newRow("escape") << L << N << QStringList{"escape"} << aborted << "" << 0;
    QTest::newRow("close button") << L << N << QStringList{"close"} << aborted << "" << 0;
    QTest::newRow("spaces and leading zeros")
        << L << N << QStringList{" 2024 |03| 5|09 | 30 "} << stopped << "20240305093000" << 0;
    QTest::newRow("unreadable last punch: no lower bound")
        << "garbage" << N << QStringList{"1990|1|1|0|0"} << stopped << "19900101000000" << 0;
    // Each of these would land inside the bounds if carried into the next unit.
    const QString wide("20230101000000");
    const QString later("20240601000000");
    QTest::newRow("out of range and text")
        << wide << later << QStringList{"2023|13|5|9|0",   "2024|3|0|9|0",  "2024|3|5|24|0",
                                        "2024|3|5|9|60",   "2024|2|30|9|0", "2024|3||9|0",
                                        "2024|3|five|9|0", "2024|3|5|9|-1", "cancel"}
        << aborted << "" << 8;
}

void TestTimeEntryDialog::bounds() {
    QFETCH(QString, prev);
    QFETCH(QString, now);
    QFETCH(QStringList, steps);
    QFETCH(int, result);
    QFETCH(QString, input);
    QFETCH(int, beeps);
    Fixture f;
    QCOMPARE(f.run(now, prev, true, steps), result);
    QCOMPARE(f.input, at(input.isEmpty() ? "20000101000000" : input));
    QCOMPARE(f.beeps, beeps);
    QVERIFY(!f.dialog.isVisible());
    QVERIFY(!openAlert());
}

void TestTimeEntryDialog::filling_data() {
    QTest::addColumn<bool>("forCkin");
    QTest::addColumn<QString>("prev");
    QTest::addColumn<QStringList>("texts"); // title, prompt, last punch, press
    QTest::newRow("check in pressed")
        << true << "20240305070605"
        << QStringList{"Now CheckIn...", "Enter app. CheckOut time.", "2024/03/05 07:06:05"};
    QTest::newRow("check out pressed")
        << false << "garbage"
        << QStringList{"Now CheckOut...", "Enter app. CheckIn time.", "garbage"};
}

void TestTimeEntryDialog::filling() {
    QFETCH(bool, forCkin);
    QFETCH(QString, prev);
    QFETCH(QStringList, texts);
    Fixture f;
    f.dialog.setupCkTimeWindow(at("20240305080709"), prev, forCkin);
    QCOMPARE(f.dialog.objectName(), QString("ckTimeWindow"));
    const QStringList shown{f.text("titleField"), f.text("messField"), f.text("prevTimeField")};
    QCOMPARE(shown, texts);
    QCOMPARE(f.text("nowTimeField"), QString("2024/03/05 08:07:09"));
    QStringList entries;
    for (const char* name : kEntryFields)
        entries << f.text(name);
    QCOMPARE(entries, (QStringList{"2024", "3", "5", "8", "7"}));
    QVERIFY(f.button(QDialogButtonBox::Ok)->isDefault());
}

QTEST_MAIN(TestTimeEntryDialog)
#include "tst_timeentrydialog.moc"
