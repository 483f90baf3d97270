#include "settings/OptionType.h"
#include "shell/ProgramDirectory.h"
#include "shell/TMainQVMolk.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void captionIsQuorvel();
    void closeWritesSettings_data();
    void closeWritesSettings();
};

void TestMainWindow::captionIsQuorvel()
{
    QTemporaryDir dir;
    qv::TMainQVMolk window(dir.path() + "/");
    QCOMPARE(window.windowTitle(), QString("Quorvel"));
}

void TestMainWindow::closeWritesSettings_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QStringList>("expectedLines");
    QTest::addColumn<QString>("absent");

    QTest::newRow("first run: DataDir and shipped catalogue")
        << QByteArray() << QStringList{"DataDir=%1Data/", "Name=Name", "SurName=Surname", "FormWidth=700"}
        << QString();
    QTest::newRow("stored DataDir kept")
        << QByteArray("[MiscOption]\nDataDir=/srv/books/\n") << QStringList{"DataDir=/srv/books/"} << QString();
    QTest::newRow("sizes not stored with ToSaveSize off")
        << QByteArray("[MiscOption]\nToSaveSize=0\n") << QStringList{"ToSaveSize=0", "DataDir=%1Data/"}
        << QString("FormWidth=");
}

void TestMainWindow::closeWritesSettings()
{
    QFETCH(QByteArray, before);
    QFETCH(QStringList, expectedLines);
    QFETCH(QString, absent);

    QTemporaryDir dir;
    const QString home = dir.path() + "/";
    if (before.isEmpty()) {
        qv::installShippedFiles(home);
    } else {
        QFile f(home + "aa.ini");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(before);
    }
    {
        qv::TMainQVMolk window(home);
        window.show();
        window.resize(700, 500);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.close());
    }
    QFile f(home + "aa.ini");
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(f.readAll()).split('\n');
    for (const QString &expected : expectedLines)
        QVERIFY2(lines.contains(expected.arg(home)), qPrintable(expected.arg(home)));
    if (!absent.isEmpty()) {
        for (const QString &l : lines)
            QVERIFY2(!l.startsWith(absent), qPrintable(l));
    }
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
