// A save killed at any moment leaves a package that opens, with the old
// content or the new one.
#include "ScriptedPrompter.h"

#include "data/RecordStore.h"
#include "data/LifecycleShell.h"
#include "data/PackageLifecycle.h"
#include "settings/Settings.h"
#include "settings/StoredBookSettings.h"
#include "shell/BookModelSet.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace qv;

class TestInterruptedSave : public QObject {
    Q_OBJECT
private slots:
    void killedAnywhere();
};

// Opens the package as the program does; returns the first entry's Position.
QString openAndRead(const QString &package, const QString &dir, int &rows)
{
    RecordStore data;
    Settings options(dir + "/aa.ini");
    test::ScriptedPrompter prompter;
    SilentShell shell;
    const QString work = dir + "/check/";
    StoredBookSettings settings(options);
    BookModelSet models;
    PackageLifecycle lifecycle(data, models, settings, prompter, shell, {work, work, work});
    rows = lifecycle.openPackage(package) ? data.personList.recordCount() : -1;
    data.personList.first();
    return data.personList.text("Position");
}

void TestInterruptedSave::killedAnywhere()
{
    QTemporaryDir dir;
    const QString package = dir.filePath("book.qvp");
    QProcess generate;
    generate.start(QStringLiteral(QVTOOL_PATH), {"generate", "--persons", "3000", "--organisations", "100", package});
    QVERIFY(generate.waitForFinished(60000) && generate.exitCode() == 0);
    int rows = 0;
    const QString original = openAndRead(package, dir.path(), rows);
    QCOMPARE(rows, 3000);

    // What the package may hold after a round: the entry of the last save the
    // saver reported, or of the one it had begun; with none reported, what it
    // held before or the first save's.
    QRandomGenerator random(12345);
    QString before = original;
    int completed = 0;
    for (int round = 0; round < 20; ++round) {
        QProcess saver;
        saver.start(QStringLiteral(SAVE_LOOP_PATH), {package, dir.filePath("work")});
        QVERIFY(saver.waitForStarted());
        // Every other round waits for a finished save, so saves are seen to complete.
        if (round % 2 == 0)
            QVERIFY2(saver.waitForReadyRead(60000), qPrintable(QString("round %1: no save completed").arg(round)));
        QTest::qWait(int(random.bounded(30, 400)));
        ::kill(pid_t(saver.processId()), SIGKILL);
        QVERIFY(saver.waitForFinished(10000));
        const QStringList reported = QString::fromLatin1(saver.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        completed += int(reported.size());

        const QString seen = openAndRead(package, dir.path(), rows);
        QVERIFY2(rows == 3000, qPrintable(QString("round %1: the package did not open whole").arg(round)));
        const QStringList possible = reported.isEmpty()
            ? QStringList{before, "v0"}
            : QStringList{"v" + reported.last(), QString("v%1").arg(reported.last().toInt() + 1)};
        QVERIFY2(possible.contains(seen),
                 qPrintable(QString("round %1: %2 after %3 saves").arg(round).arg(seen).arg(reported.size())));
        before = seen;
    }
    QVERIFY(completed >= 10);
}

QTEST_GUILESS_MAIN(TestInterruptedSave)
#include "tst_interruptedsave.moc"
