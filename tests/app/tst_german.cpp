// Windows and terminal under a German locale, translations loaded as the app does.

#include "app/harness.h"
#include "cli/cli.h"
#include "platform/translations.h"
#include "windows/checkinwindow.h"

using namespace fennick;
using namespace fennick::test;

class TestGerman : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QCOMPARE(QLocale().name(), "de_DE");
        installTranslators(*qApp);
        useTimeZone("Europe/Berlin");
    }

    // The check-in window, a report, a menu command and a terminal message.
    void windowsAndTerminal() {
        Harness h;
        h.clock.set(at("20240315120000"));
        MyController& c = h.start();
        const CheckInWindow* w = c.ckinWindow();
        QCOMPARE(child<QLabel>(w, "ckinMainTitieField").text(), "Zuletzt: Gehen");
        QCOMPARE(child<QPushButton>(w, "ckInButton").text(), "&Kommen");

        c.showSum1Window();
        QCOMPARE(c.reportWindow(ReportKind::DailySums)->heading(), "Tagessummen – März 2024");
        QCOMPARE(c.action(Command::ShowMonthlySums)->text(), "&Monatssummen");
        QString err;
        QTextStream stream(&err);
        QCOMPARE(runCli({"report", "x"}, stream, stream, {h.clock, h.home, h.settingsPath}), 2);
        QVERIFY2(err.startsWith("fennick: unbekannter Bericht 'x'"), qPrintable(err));
    }
};

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
