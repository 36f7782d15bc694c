// The windows and the terminal under a German locale, with the translations
// loaded the way the application loads them.

#include "app/harness.h"
#include "cli/cli.h"
#include "platform/translations.h"
#include "reports/widgets/reportwindow.h"
#include "windows/checkinwindow.h"
#include "windows/timeentrydialog.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>

using namespace fennick;
using namespace fennick::test;
using Command = MyController::Command;

class TestGerman : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QCOMPARE(QLocale().name(), QString("de_DE"));
        installTranslators(*qApp);
        qputenv("TZ", "Europe/Berlin");
        timeZoneChanged();
    }
    void checkInWindow_data();
    void checkInWindow();
    void reportsAndMenus();
    void terminal();
};

void TestGerman::checkInWindow_data() {
    QTest::addColumn<bool>("checkedIn");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("checked out") << false
                                 << QStringList{"Zuletzt: Gehen", "Bitte Kommen stempeln.",
                                                "Letztes Gehen um:"};
    QTest::newRow("checked in") << true
                                << QStringList{"Zuletzt: Kommen", "Bitte Gehen stempeln.",
                                               "Letztes Kommen um:"};
}

void TestGerman::checkInWindow() {
    QFETCH(bool, checkedIn);
    QFETCH(QStringList, texts);
    Harness h;
    h.store(kOnBusinessKey, checkedIn);
    MyController& c = h.start();
    CheckInWindow& w = *c.ckinWindow();
    QCOMPARE(QStringList({w.ckinMainTitieField()->text(), w.ckinMainMessField()->text(),
                          w.ckinPreTitieField()->text()}),
             texts);
    QCOMPARE(w.ckInButton()->text(), QString("&Kommen"));
    QCOMPARE(w.ckOutButton()->text(), QString("&Gehen"));

    c.ckTimeWindow()->setupCkTimeWindow(at("20240315180010"), "20240315090000", true);
    const auto labels = c.ckTimeWindow()->findChildren<QLabel*>();
    QStringList shown;
    for (const QLabel* label : labels)
        shown << label->text();
    QVERIFY2(shown.contains("Jetzt: Kommen"), qPrintable(shown.join('|')));
    QVERIFY(shown.contains("Ungefähre Zeit für Gehen eingeben."));
    QVERIFY(shown.contains("&Stunde"));
}

void TestGerman::reportsAndMenus() {
    Harness h;
    h.clock.set(at("20240315120000"));
    MyController& c = h.start();
    c.showSum1Window();
    QCOMPARE(c.sum1Window()->heading(), QString("Tagessummen – März 2024"));
    QCOMPARE(c.sum1Window()->totalLine(), QString("Monatssumme: \t000:00:00"));
    c.showSum2Window();
    QCOMPARE(c.sum2Window()->totalLine(), QString("Jahressumme: \t000:00:00"));
    QStringList menus;
    for (const QAction* menu : c.sum2Window()->menuBar()->actions())
        menus << menu->text();
    QCOMPARE(menus, QStringList({"&Datei", "&Stempeln", "&Ansicht"}));
    QCOMPARE(c.action(Command::ShowSum1)->text(), QString("&Tagessummen"));
}

void TestGerman::terminal() {
    Harness h;
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    const CliEnv env{h.clock, h.home, h.settingsPath()};
    QCOMPARE(runCli({"report", "weekly"}, outStream, errStream, env), 2);
    errStream.flush();
    QVERIFY2(err.startsWith("fennick: unbekannter Bericht 'weekly'"), qPrintable(err));
    QCOMPARE(runCli({"report", "daily"}, outStream, errStream, env), 0);
    outStream.flush();
    QVERIFY2(out.contains("Monatssumme:"), qPrintable(out));
}

int main(int argc, char* argv[]) {
    qputenv("LANG", "de_DE.UTF-8");
    qunsetenv("LC_ALL");
    qunsetenv("LC_MESSAGES");
    qunsetenv("LANGUAGE");
    QApplication app(argc, argv);
    TestGerman test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_german.moc"
