#include "support.h"
#include "timelog/timeclock.h"
#include "windows/checkinwindow.h"
#include "windows/elidedlabel.h"
#include "windows/timeentrydialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

using namespace fennick;
using namespace fennick::test;

const char* const kEntry[] = {"yearField", "monthField", "dayField", "hourField", "minField"};

// The five entry fields' texts joined by "|".
QString entryOf(const QDialog& dialog) {
    QStringList entry;
    for (const char* name : kEntry)
        entry << dialog.findChild<QLineEdit*>(name)->text();
    return entry.join(u'|');
}

class TestTimeEntryDialog : public QObject {
    Q_OBJECT

private slots:
    // The last punch, the steps and the time accepted ("" for none).
    void bounds_data() {
        QTest::addColumn<QString>("prev");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("accepted");
        const QString L("20240305090000");
        QTest::newRow("equal to the last punch") << L << QStringList{"2024|3|5|9|0"} << L;
        QTest::newRow("a minute and a second before the last punch")
            << "20240305090001" << QStringList{"2024|3|5|8|59", "2024|3|5|9|0", "2024|3|5|9|1"}
            << "20240305090100";
        QTest::newRow("a minute past the press, then equal to it")
            << L << QStringList{"2024|3|5|18|1", "2024|3|5|18|0"} << "20240305180000";
        QTest::newRow("zeros") << L << QStringList{" 2024 |03| 5|09 |30"} << "20240305093000";
        QTest::newRow("unbounded") << "garbage" << QStringList{"1990|1|1|0|0"} << "19900101000000";
        // Each of these would land inside the bounds if carried into the next unit.
        const QStringList wrong{"2023|13|5|9|0",   "2024|3|0|9|0",  "2024|3|4|24|0",
                                "2024|3|5|9|60",   "2024|2|30|9|0", "2024|3||9|0",
                                "2024|3|five|9|0", "2024|3|5|9|-1", "cancel"};
        QTest::newRow("out of range") << "20230101000000" << wrong << "";
    }
    // Pressed at 18:00, steps "cancel" or "y|m|d|h|min" + Return; refusals beep and alert.
    // Every entry but an accepted last one is refused, the entry kept as typed.
    void bounds() {
        QFETCH(QString, prev);
        QFETCH(QStringList, steps);
        QFETCH(QString, accepted);
        QStringList trace, expected;
        TimeEntryDialog dialog([&] { trace << "beep"; },
                               [&](const CalDate& d) { trace << d.format(CalFormat::Compact); });
        auto* cancel = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel);
        QTimer::singleShot(0, &dialog, [&] {
            for (const QString& step : steps) {
                if (step == "cancel")
                    cancel->click();
                for (int i = 0; step.contains(u'|') && i < 5; ++i) { // Return after the minute
                    auto* field = dialog.findChild<QLineEdit*>(kEntry[i]);
                    field->clear();
                    QTest::keyClicks(field, step.section(u'|', i, i) + (i == 4 ? "\r" : ""));
                }
                // A refused entry's alert, over the dialog, is dismissed.
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (box && box->parentWidget() == &dialog) {
                    trace << box->windowTitle() + ' ' + box->text() + ' ' + entryOf(dialog);
                    box->button(QMessageBox::Ok)->click();
                }
            }
            if (dialog.isVisible())
                trace << "still open", dialog.reject();
        });
        QCOMPARE(dialog.enterTimeDialog(at("20240305180000"), prev, true),
                 accepted.isEmpty() ? kModalAborted : kModalStopped);
        for (const QString& step : steps.filter(QStringLiteral("|")))
            expected += {"beep", "Alert Reenter " + step};
        if (!accepted.isEmpty())
            expected = expected.mid(0, expected.size() - 2) << accepted;
        QCOMPARE(trace, expected);
    }

    // A last punch edited into long markup is shown as plain text, shortened.
    void handEditedLastPunch() {
        const QString value = "<b>bold</b>" + QString(20000, u'x');
        TimeEntryDialog dialog({}, {});
        dialog.setupCkTimeWindow(at("20240305080709"), value, true);
        CheckInWindow window;
        window.showState(checkInState(true, value));
        using Place = std::pair<QWidget*, const char*>;
        for (auto [top, name] : {Place{&dialog, "prevTimeField"}, {&window, "ckinPreTimeField"}}) {
            auto* label = top->findChild<QLabel*>(name);
            top->show();
            QCOMPARE(label->textFormat(), Qt::PlainText);
            QVERIFY(top->width() < 800);
            const QString shown = qobject_cast<ElidedLabel*>(label)->shownText();
            QVERIFY(shown.startsWith("<b>bold</b>") && shown.endsWith(QChar(0x2026)));
        }
    }
};

QTEST_MAIN(TestTimeEntryDialog)
#include "tst_timeentrydialog.moc"
