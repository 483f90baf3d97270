#include "ScriptedPrompter.h"

#include "data/BookGenerator.h"
#include "data/RecordStore.h"
#include "data/archive/PackageReader.h"
#include "data/archive/PackageWriter.h"
#include "settings/Settings.h"
#include "shell/ProgramDirectory.h"
#include "shell/LockIndicator.h"
#include "shell/MainWindow.h"
#include "tools/AboutBox.h"
#include "tools/OptionsDialog.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
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

// Notes for each message whether the hourglass was on while it was shown.
class CursorWatchingPrompter : public test::ScriptedPrompter {
public:
    QList<bool> busyAtMessage;
    Button message(const QString &text, Icon icon, Buttons buttons) override
    {
        busyAtMessage << (QApplication::overrideCursor() != nullptr);
        return ScriptedPrompter::message(text, icon, buttons);
    }
};

struct Window {
    QTemporaryDir dir;
    QString home;
    RecordStore data;
    CursorWatchingPrompter prompter;
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
    // Keyboard focus needs the active window, also on the offscreen platform.
    void activate()
    {
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
};

QAction *editAction(MainWindow &w, const QString &text)
{
    for (QAction *menu : w.menuBar()->actions()) {
        if (menu->text() != "&Edit")
            continue;
        for (QAction *a : menu->menu()->actions()) {
            if (a->text() == text)
                return a;
        }
    }
    return nullptr;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void emptyDataDirectoryShowsTheTemplate();
    void defaultBookOpens();
    void newBookJoinsTheMenus();
    void closeWritesSettings_data();
    void closeWritesSettings();
    void treeTakesFocus_data();
    void treeTakesFocus();
    void dataDirectoryThatIsAFileEndsTheProgram();
    void hourglassOnlyWhileDeleting_data();
    void hourglassOnlyWhileDeleting();
    void padlockNamesTheCipher();
    void entryEditorTakesTheViewerFont();
    void passwordTakesEffectAtTheSave();
    void namedBookWithEmptyDataDirectory();
    void comesForwardFromTheTaskBar();
    void comesForwardWithItsOpenDialog();
};

// A book with the traditional cipher: the padlock's tool tip says so and that
// the next save brings AES-256; after the save, and after one with the
// traditional cipher asked for, it names the cipher of the package.
void TestMainWindow::padlockNamesTheCipher()
{
    Window w;
    QDir().mkpath(w.home + "Data");
    generateBook(w.dir.filePath("plain.qvp"), 5);
    archive::KnownPasswords known;
    QCOMPARE(archive::unpackFile(w.dir.filePath("plain.qvp"), w.dir.filePath("members"), known, {}), 5);
    archive::pack(w.home + "Data/Default.qvp", w.dir.filePath("members"), "pw", archive::PackageCipher::Traditional);
    w.prompter.expectPassword("Enter Password for addressbook Default", QString("pw"));
    w.start();
    auto *padlock = w.window->findChild<LockIndicator *>();
    QVERIFY(padlock->locked());
    QCOMPARE(padlock->toolTip(), QString("The address book has a password and is encrypted with the traditional ZIP cipher, "
                                         "for old archivers; the next save encrypts it with AES-256"));
    w.window->lifecycle().save();
    QCOMPARE(padlock->toolTip(), QString("The address book has a password and is encrypted with AES-256"));
    w.window->options().setEncryption(archive::PackageCipher::Traditional);
    w.window->lifecycle().save();
    QCOMPARE(padlock->toolTip(),
             QString("The address book has a password and is encrypted with the traditional ZIP cipher, for old archivers"));
}

// The detail pane's font name and size are the entry editor's as well.
void TestMainWindow::entryEditorTakesTheViewerFont()
{
    Window w;
    QFile f(w.home + "aa.ini");
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("[Fonts]\nRecViewFontname=Liberation Serif\nRecViewFontSize=12\n");
    f.close();
    w.prompter.expectMessage(kNoBooks, Icon::Plain, Button::Ok, Button::Ok);
    w.prompter.expectMessage(defaultWarning("Default"), Icon::Warning, Button::Ok, Button::Ok);
    w.start();
    auto *detail = w.window->findChild<QWidget *>("detailPane");
    auto *editor = w.window->findChild<QDialog *>("entryEditor");
    QVERIFY(detail && editor);
    QCOMPARE(detail->font().family(), QString("Liberation Serif"));
    QCOMPARE(editor->font().family(), QString("Liberation Serif"));
    QCOMPARE(editor->font().pointSize(), 12);
}

// "Set Password..." in the Options dialog changes the book: until it is saved
// the padlock says that the password waits for the save, and Exit asks.
void TestMainWindow::passwordTakesEffectAtTheSave()
{
    Window w;
    QDir().mkpath(w.home + "Data");
    generateBook(w.home + "Data/Default.qvp", 5);
    w.start();
    auto *padlock = w.window->findChild<LockIndicator *>();
    QCOMPARE(padlock->toolTip(), QString("The address book has no password"));
    w.prompter.expectPassword("Enter Password for addressbook ", QString("pw"));
    w.prompter.expectPassword("Re-enter password", QString("pw"));
    w.window->findChild<OptionsDialog *>()->findChild<QPushButton *>("setPassword")->click();
    QVERIFY(padlock->locked());
    QCOMPARE(padlock->toolTip(), QString("The password takes effect when the book is saved."));
    w.prompter.expectMessage("Are you going to save  before close?", Icon::Warning, Button::Yes | Button::No | Button::Cancel,
                             Button::Yes);
    QVERIFY(w.window->close());
    QVERIFY(w.prompter.verifyAllAnswered());
    QCOMPARE(padlock->toolTip(), QString("The address book has a password and is encrypted with AES-256"));
    QProcess info;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QV_PASSWORD", "pw");
    info.setProcessEnvironment(environment);
    info.start(QStringLiteral(QVTOOL_PATH), {"info", w.home + "Data/Default.qvp"});
    QVERIFY(info.waitForFinished(60000));
    QVERIFY2(info.readAllStandardOutput().contains("encrypted: AES-256\n"), "the package on disk is not encrypted");
}

// "quorvel BOOK.qvp" on a first start: the book opens, and nothing is said
// about the data directory, which the start did not turn to.
void TestMainWindow::namedBookWithEmptyDataDirectory()
{
    Window w;
    const QString book = w.dir.filePath("book.qvp");
    generateBook(book, 12);
    w.window = std::make_unique<MainWindow>(w.home, w.dir.path() + "/work/", w.data, &w.prompter);
    w.window->setStartupPackage(book);
    w.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
    QCOMPARE(w.prompter.messages(), QStringList());
    QVERIFY(!w.window->inNoBookState());
    QVERIFY(w.window->windowTitle().endsWith(" (" + book + ")"));
    QCOMPARE(w.window->countsText(), QString("12 Entries; 12 Listed; 0 Selected"));
}

// A second start asks for the window: a minimised one is restored and made active.
void TestMainWindow::comesForwardFromTheTaskBar()
{
    Window w;
    QDir().mkpath(w.home + "Data");
    generateBook(w.home + "Data/Default.qvp", 3);
    w.start();
    w.window->showMinimized();
    QTRY_VERIFY(w.window->isMinimized());
    QWidget other; // the window the user worked in meanwhile
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    w.window->comeForward();
    QTRY_VERIFY(!w.window->isMinimized());
    QTRY_VERIFY(w.window->isActiveWindow());
}

// A dialog left open comes forward with the window, in front of it: the window itself takes no input.
void TestMainWindow::comesForwardWithItsOpenDialog()
{
    Window w;
    QDir().mkpath(w.home + "Data");
    generateBook(w.home + "Data/Default.qvp", 3);
    w.start();
    QDialog dialog(w.window.get());
    dialog.open();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    w.window->comeForward();
    QTRY_VERIFY(dialog.isActiveWindow());
}

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

void TestMainWindow::treeTakesFocus_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("open from the Open submenu") << "open";
    QTest::newRow("save from the File menu") << "save";
}

void TestMainWindow::treeTakesFocus()
{
    QFETCH(QString, command);
    Window w;
    QDir().mkpath(w.home + "Data");
    generateBook(w.home + "Data/Default.qvp", 5);
    generateBook(w.home + "Data/Other.qvp", 3);
    w.start();
    w.activate();
    auto *tree = w.window->findChild<QTreeWidget *>("categoryTree");
    auto *list = w.window->findChild<QListView *>("entryList");
    list->setFocus();
    QCOMPARE(QApplication::focusWidget(), list);
    if (command == "open") {
        const QList<QAction *> books = fileAction(*w.window, "&Open")->menu()->actions();
        QCOMPARE(books.last()->text(), QString("Other"));
        books.last()->trigger();
        QVERIFY(w.window->windowTitle().endsWith(" (Other)"));
    } else {
        fileAction(*w.window, "&Save")->trigger();
    }
    QCOMPARE(QApplication::focusWidget(), tree);
}

void TestMainWindow::dataDirectoryThatIsAFileEndsTheProgram()
{
    Window w;
    QFile plain(w.home + "Data");
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    AboutBox splash;
    splash.show();
    w.prompter.expectMessage(kNoBooks, Icon::Plain, Button::Ok, Button::Ok);
    w.window = std::make_unique<MainWindow>(w.home, w.dir.path() + "/work/", w.data, &w.prompter);
    w.window->setSplash(&splash);
    w.window->show();
    // The program ends with its last window: the main window and the splash both close.
    QTRY_VERIFY(!w.window->isVisible());
    QVERIFY(!splash.isVisible());
    QCOMPARE(w.prompter.messages(), QStringList{kNoBooks}); // nothing about the default book
}

void TestMainWindow::hourglassOnlyWhileDeleting_data()
{
    QTest::addColumn<int>("persons");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("deleted");
    const QString question = "Are you sure you want to delete current entry?";
    QTest::newRow("the current entry") << 3 << QStringList{question} << true;
    QTest::newRow("an empty list") << 0 << QStringList{question, "No more deletion."} << false;
}

void TestMainWindow::hourglassOnlyWhileDeleting()
{
    QFETCH(int, persons);
    QFETCH(QStringList, messages);
    QFETCH(bool, deleted);
    QList<bool> busyWhileRemoving; // whether the hourglass was on each time a row went
    Window w;
    QDir().mkpath(w.home + "Data");
    generateBook(w.home + "Data/Default.qvp", persons);
    w.start();
    // Removing a row moves the person list: the moment to look at the cursor.
    int count = w.data.personList.recordCount();
    w.data.personList.setAfterScroll([&] {
        if (w.data.personList.recordCount() < count)
            busyWhileRemoving << (QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor);
        count = w.data.personList.recordCount();
        w.data.followCurrentPerson();
    });
    w.prompter.expectMessage(messages[0], Icon::Confirmation, Button::Yes | Button::No, Button::Yes);
    if (messages.size() > 1)
        w.prompter.expectMessage(messages[1], Icon::Information, Button::Ok, Button::Ok);
    editAction(*w.window, "&Delete")->trigger();
    w.data.personList.setAfterScroll([&] { w.data.followCurrentPerson(); });
    QCOMPARE(w.prompter.messages(), messages);
    QCOMPARE(w.prompter.busyAtMessage, QList<bool>(messages.size(), false));
    QCOMPARE(busyWhileRemoving, deleted ? QList<bool>{true} : QList<bool>());
    QCOMPARE(w.data.personList.recordCount(), deleted ? persons - 1 : persons);
    QVERIFY(!QApplication::overrideCursor());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
