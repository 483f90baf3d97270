#include "ScriptedPrompter.h"

#include "data/BookGenerator.h"
#include "data/RecordStore.h"
#include "settings/Settings.h"
#include "shell/ProgramDirectory.h"
#include "shell/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QMenuBar>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace qv;
using Icon = Prompter::Icon;
using Button = Prompter::Button;

namespace {

const QString kNoBooks = "There may not be any addressbook in the default location.";

QString defaultWarning(const QString &name)
{
    return "Loading addressbook of " + name + " fail, You may select another addressbook from the 'File' menu.";
}

QAction *fileAction(MainWindow &w, const QString &text)
{
    for (QAction *a : w.menuBar()->actions().first()->menu()->actions()) {
        if (a->text() == text)
            return a;
    }
    return nullptr;
}

void generateBook(const QString &path, int persons)
{
    QProcess p;
    p.start(QStringLiteral(QVTOOL_PATH), {"generate", "--persons", QString::number(persons), "--organisations", "10", path});
    QVERIFY(p.waitForFinished(60000) && p.exitCode() == 0);
}

struct Window {
    QTemporaryDir dir;
    QString home;
    RecordStore data;
    test::ScriptedPrompter prompter;
    std::unique_ptr<MainWindow> window;

    Window()
    {
        home = dir.path() + "/";
        installShippedFiles(home);
    }
    void start()
    {
        window = std::make_unique<MainWindow>(home, dir.path() + "/work/", data, &prompter);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void emptyDataDirectoryShowsTheTemplate();
    void defaultBookOpens();
    void newBookJoinsTheMenus();
    void closeWritesSettings_data();
    void closeWritesSettings();
};

void TestMainWindow::emptyDataDirectoryShowsTheTemplate()
{
    Window w;
    w.prompter.expectMessage(kNoBooks, Icon::Plain, Button::Ok, Button::Ok);
    w.prompter.expectMessage(defaultWarning("Default"), Icon::Warning, Button::Ok, Button::Ok);
    w.start();
    QVERIFY(w.window->inNoBookState());
    QVERIFY(!fileAction(*w.window, "&Save")->isEnabled());
    QVERIFY(!fileAction(*w.window, "Save &As...")->isEnabled());
    QVERIFY(fileAction(*w.window, "&New...")->isEnabled());
    QVERIFY(fileAction(*w.window, "Load &from...")->isEnabled());
    QVERIFY(!w.window->findChild<QListView *>("entryList")->isEnabled());
    auto *tree = w.window->findChild<QTreeWidget *>("categoryTree");
    QCOMPARE(tree->topLevelItem(0)->data(0, Qt::UserRole).toInt(), 1000); // the template's tree
    QCOMPARE(w.window->countsText(), QString("0 Entries; 0 Listed; 0 Selected"));
}

void TestMainWindow::defaultBookOpens()
{
    Window w;
    QDir().mkpath(w.home + "Data");
    generateBook(w.home + "Data/Default.qvp", 120);
    generateBook(w.home + "Data/aardvark.qvp", 1);
    w.start();
    QVERIFY(!w.window->inNoBookState());
    QVERIFY(w.window->windowTitle().endsWith(" (Default)"));
    QVERIFY(w.window->windowTitle().startsWith("Quorvel  - "));
    QCOMPARE(w.window->countsText(), QString("120 Entries; 120 Listed; 0 Selected"));
    QCOMPARE(w.window->options().addressBooks, (QStringList{"aardvark", "Default"}));
    QVERIFY(fileAction(*w.window, "&Save")->isEnabled());
}

void TestMainWindow::newBookJoinsTheMenus()
{
    Window w;
    QDir().mkpath(w.home + "Data");
    generateBook(w.home + "Data/Default.qvp", 5);
    w.start();
    w.prompter.expectInput("New", "Addressbook name", QString("Aaa"));
    w.window->lifecycle().newBook();
    QMenu *open = fileAction(*w.window, "&Open")->menu();
    QCOMPARE(open->actions().last()->text(), QString("Aaa")); // after the sorted ones
    QCOMPARE(fileAction(*w.window, "&Delete")->menu()->actions().last()->text(), QString("Aaa"));
    QVERIFY(w.window->windowTitle().endsWith(" (Aaa)"));
}

void TestMainWindow::closeWritesSettings_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QStringList>("expectedLines");
    QTest::addColumn<QString>("absent");

    QTest::newRow("first run: DataDir and shipped catalogue")
        << QByteArray() << QStringList{"DataDir=%1Data/", "Name=Name", "SurName=Surname"} << QString();
    QTest::newRow("sizes not stored with ToSaveSize off")
        << QByteArray("[MiscOption]\nToSaveSize=0\n") << QStringList{"ToSaveSize=0", "DataDir=%1Data/"} << QString("FormWidth=");
}

void TestMainWindow::closeWritesSettings()
{
    QFETCH(QByteArray, before);
    QFETCH(QStringList, expectedLines);
    QFETCH(QString, absent);

    Window w;
    if (!before.isEmpty()) {
        QFile f(w.home + "aa.ini");
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(before);
    }
    w.prompter.expectMessage(kNoBooks, Icon::Plain, Button::Ok, Button::Ok);
    w.prompter.expectMessage(defaultWarning("Default"), Icon::Warning, Button::Ok, Button::Ok);
    w.start();
    QVERIFY(w.window->close());
    QFile f(w.home + "aa.ini");
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(f.readAll()).split('\n');
    for (const QString &expected : expectedLines)
        QVERIFY2(lines.contains(QString(expected).replace("%1", w.home)), qPrintable(expected));
    if (!absent.isEmpty()) {
        for (const QString &l : lines)
            QVERIFY2(!l.startsWith(absent), qPrintable(l));
    }
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
