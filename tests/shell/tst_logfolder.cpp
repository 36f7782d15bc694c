#include "../support.h"
#include "shell/session.h"
#include "shell/startup.h"

#include <QtTest>

using namespace fennick;
using namespace fennick::test;

// Where the log lives, and what a first start creates.
class TestLogFolder : public QObject {
    Q_OBJECT

private slots:
    void resolverOrder_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("legacyExists");
        QTest::addColumn<QString>("dataHome");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const char* chosen, bool legacy, const char* data,
                            const char* expected) {
            QTest::newRow(name) << QString(chosen) << legacy << QString(data) << QString(expected);
        };
        row("chosen wins over an existing Library", "/srv/sync/work", true, "", "/srv/sync/work");
        row("chosen with ~", "~/Sync/fennick", true, "", "H/Sync/fennick");
        row("existing Library kept", "", true, "/d", "H/Library/fennick");
        row("fresh home, XDG_DATA_HOME", "", false, "/d", "/d/fennick");
        row("fresh home, no XDG_DATA_HOME", "", false, "", "H/.local/share/fennick");
        row("relative XDG_DATA_HOME is ignored", "", false, "rel", "H/.local/share/fennick");
        row("blank choice is no choice", "  ", false, "", "H/.local/share/fennick");
    }
    void resolverOrder() {
        QFETCH(QString, chosen);
        QFETCH(bool, legacyExists);
        QFETCH(QString, dataHome);
        QFETCH(QString, expected);
        QTemporaryDir temp;
        const QString home = temp.path();
        if (legacyExists)
            QVERIFY(QDir().mkpath(home + "/Library/fennick"));
        const QByteArray saved = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", dataHome.toUtf8());
        const QString folder = resolveLogFolder(chosen, home);
        qputenv("XDG_DATA_HOME", saved);
        QCOMPARE(folder, expected.replace(QRegularExpression("^H"), home));
    }

    // A new user's first start makes the XDG folder only, private.
    void firstStartMakesOnlyTheDataFolder() {
        SessionHome h;
        QVERIFY(QDir(h.home + "/Library").removeRecursively());
        qunsetenv("XDG_DATA_HOME");
        h.open();
        const QString folder = h.home + "/.local/share/fennick";
        QCOMPARE(h.session->store().logsDirPathStr().value_or(QString()), folder);
        QCOMPARE(modeOf(folder), 0700);
        QVERIFY(!QFileInfo::exists(h.home + "/Library"));
        h.session->timeClock().enterLogIn();
        QVERIFY(QFileInfo::exists(folder + "/TLOG200402.txt"));
    }
};

QTEST_GUILESS_MAIN(TestLogFolder)
#include "tst_logfolder.moc"
