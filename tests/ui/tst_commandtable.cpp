// Every command of the main window as the user meets it: the captions,
// shortcuts and hints of the menus, the tool bar and the pop-ups of the entry
// list, the category tree and the initials grid against the program's tables
// as written down here, the commands open in the no-book state, and the Open
// lists a new book joins.
#include "ScriptedPrompter.h"

#include "data/RecordStore.h"
#include "navigation/CategoryTreeView.h"
#include "navigation/InitialsGridView.h"
#include "navigation/RecordListView.h"
#include "shell/MainWindow.h"
#include "shell/ProgramDirectory.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

using namespace qv;
using Icon = Prompter::Icon;
using Button = Prompter::Button;

namespace {

// "caption | shortcut | hint" per item, "-" per separator; a submenu's items
// follow it, indented.
QStringList rowsOf(const QMenu *menu, const QString &indent = QString())
{
    QStringList rows;
    for (const QAction *a : menu->actions()) {
        if (a->isSeparator()) {
            rows << indent + "-";
            continue;
        }
        QString row = indent + a->text() + " | " + a->shortcut().toString() + " | " + a->statusTip();
        if (!a->isVisible())
            row += " (hidden)";
        rows << row;
        if (a->menu() && !a->menu()->actions().isEmpty())
            rows << rowsOf(a->menu(), indent + "  ");
    }
    return rows;
}

QMenu *menuNamed(MainWindow &w, const QString &title)
{
    for (QAction *a : w.menuBar()->actions()) {
        if (a->text() == title)
            return a->menu();
    }
    return nullptr;
}

QAction *item(QMenu *menu, const QString &text)
{
    for (QAction *a : menu->actions()) {
        if (a->text() == text)
            return a;
    }
    return nullptr;
}

// The rows of the pop-up menu that a right click on the widget opens; the
// hint panel's text while the last item is highlighted.
struct Popup {
    QStringList rows;
    QString lastItemHint;
};

Popup popupOf(QWidget *widget, QLabel *hintPanel)
{
    Popup seen;
    QTimer::singleShot(0, [&] {
        auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(popup);
        seen.rows = rowsOf(popup);
        hintPanel->clear();
        popup->setActiveAction(popup->actions().last());
        seen.lastItemHint = hintPanel->text();
        popup->close();
    });
    const QPoint pos(5, 5);
    QContextMenuEvent click(QContextMenuEvent::Mouse, pos, widget->mapToGlobal(pos));
    QApplication::sendEvent(widget, &click);
    return seen;
}

void generateBook(const QString &path, int persons)
{
    QProcess p;
    p.start(QStringLiteral(QVTOOL_PATH), {"generate", "--persons", QString::number(persons), "--organisations", "3", path});
    QVERIFY(p.waitForFinished(60000) && p.exitCode() == 0);
}

struct Window {
    QTemporaryDir dir;
    QString home;
    RecordStore data;
    test::ScriptedPrompter prompter;
    std::unique_ptr<MainWindow> window;

    explicit Window(int persons)
    {
        home = dir.path() + "/";
        installShippedFiles(home);
        QDir().mkpath(home + "Data");
        if (persons > 0) {
            generateBook(home + "Data/Default.qvp", persons);
        } else {
            prompter.expectMessage("There may not be any addressbook in the default location.", Icon::Plain, Button::Ok,
                                   Button::Ok);
            prompter.expectMessage(
                "Loading addressbook of Default fail, You may select another addressbook from the 'File' menu.",
                Icon::Warning, Button::Ok, Button::Ok);
        }
        window = std::make_unique<MainWindow>(home, dir.path() + "/work/", data, &prompter);
        window->show();
    }
};

} // namespace

class TestCommandTable : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void menuBar();
    void menus_data();
    void menus();
    void toolBar();
    void entryListPopup();
    void categoryTreePopup();
    void initialsGridPopup();
    void highlightedItemHintInThirdPanel();
    void countsInFirstPanel();
    void noBookState();
    void newBookJoinsThreeLists();

private:
    std::unique_ptr<Window> m_book;
};

void TestCommandTable::initTestCase()
{
    m_book = std::make_unique<Window>(12);
    QVERIFY(QTest::qWaitForWindowExposed(m_book->window.get()));
}

void TestCommandTable::cleanupTestCase()
{
    m_book.reset();
}

void TestCommandTable::menuBar()
{
    QStringList titles;
    for (const QAction *a : m_book->window->menuBar()->actions()) {
        if (a->isVisible())
            titles << a->text();
    }
    // No net-services library: its menu stays hidden.
    QCOMPARE(titles, QStringList({"&File", "&Edit", "&Tools", "&Help"}));
}

void TestCommandTable::menus_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("File") << "&File"
                          << QStringList{
                                 "&Open |  | Open an address book",
                                 "  Default |  | ",
                                 "Load &from... |  | Load an address book elsewhere",
                                 "&New... |  | Create a new address book",
                                 "&Save | Ctrl+S | Save the address book",
                                 "Save &As... | F12 | Save the address book with a new path",
                                 "&Delete |  | Delete an address book",
                                 "  Default |  | ",
                                 "-",
                                 "&Export to |  | ",
                                 "  CSV File... |  | Export the listed entries to a Comma Delimited File",
                                 "  vCard... |  | Export the current entry to an electronic business card file",
                                 "&Import from |  | ",
                                 "  WAB |  | Import from the current WAB (MS Outlook Express address book)",
                                 "  WAB file... |  | Import from a WAB file",
                                 "  CSV file... |  | Import from a Comma Delimited File",
                                 "  vCard... |  | Import an electronic business card file",
                                 "-",
                                 "Print &Mode... | Ctrl+M | Select a print template",
                                 "Print Set&up... |  | Change the printer options",
                                 "Print Pre&view |  | Display view of address book as it will be printed",
                                 "&Print | Ctrl+P | Print the address book",
                                 "-",
                                 "E&xit | Ctrl+Q | ",
                             };
    QTest::newRow("Edit") << "&Edit"
                          << QStringList{
                                 "&Search... | Ctrl+F | Search entries with specified conditions",
                                 "-",
                                 "&Edit entry... | Alt+Return | Edit current entry",
                                 "&Add entry... | Ctrl+N | Add an entry",
                                 "&Delete |  | Delete entries",
                                 "-",
                                 "Clea&r isolated org |  | Clear isolated organizations without associated entries",
                                 "-",
                                 "&Copy Current to Clipboard |  | Copy current entry to the clipboard",
                             };
    QTest::newRow("Tools") << "&Tools"
                           << QStringList{
                                  "D&ial... |  | Dial with the selected number",
                                  "E-&mail |  | E-mail to the selected addresses",
                                  "  &To: |  | Add the selected E-mail address to the 'To' field",
                                  "  &CC: |  | Add the selected E-mail address to the 'CC' field",
                                  "  &BCC: |  | Add the selected E-mail address to the 'BCC' field",
                                  "  -",
                                  "  &Launch... |  | Launch the default emailer",
                                  "Go &URL |  | Call the default browser for the selected URL",
                                  "-",
                                  "&Options... |  | ",
                              };
    QTest::newRow("Help") << "&Help"
                          << QStringList{
                                 "&Contents |  | ",
                                 "Quorvel &Project Home Page |  | ",
                                 "&About... |  | ",
                             };
}

void TestCommandTable::menus()
{
    QFETCH(QString, menu);
    QFETCH(QStringList, rows);
    QMenu *m = menuNamed(*m_book->window, menu);
    QVERIFY(m);
    QCOMPARE(rowsOf(m), rows);
}

void TestCommandTable::toolBar()
{
    auto *bar = m_book->window->findChild<QToolBar *>("toolBar");
    QStringList buttons;
    for (QAction *a : bar->actions()) {
        if (a->isSeparator()) {
            buttons << "|";
            continue;
        }
        auto *b = qobject_cast<QToolButton *>(bar->widgetForAction(a));
        QVERIFY(b);
        QVERIFY2(b->isVisible(), qPrintable(a->text() + " is not in the tool bar at the window's first size"));
        const QString caption = b->defaultAction() ? b->defaultAction()->text() : b->text();
        buttons << caption + " : " + b->toolTip() + (b->menu() || (b->defaultAction() && b->defaultAction()->menu()) ? " (drops a menu)" : "");
    }
    QCOMPARE(buttons, QStringList({
                          "&Open : Open an address book (drops a menu)",
                          "&Save : Save the address book",
                          "|",
                          "Print &Mode... : Select a print template",
                          "&Print : Print the address book",
                          "Print Pre&view : Display view of address book as it will be printed",
                          "|",
                          "&Edit entry... : Edit current entry",
                          "&Add entry... : Add an entry",
                          "&Delete : Delete entries",
                          "&Search... : Search entries with specified conditions",
                          "|",
                          "D&ial... : Dial with the selected number",
                          "E-&mail : E-mail to the selected addresses (drops a menu)",
                          "Go &URL : Call the default browser for the selected URL",
                      }));
    // The E-mail button drops the Tools menu's E-mail submenu.
    QAction *email = item(menuNamed(*m_book->window, "&Tools"), "E-&mail");
    QCOMPARE(qobject_cast<QToolButton *>(bar->widgetForAction(email))->popupMode(), QToolButton::InstantPopup);
}

void TestCommandTable::entryListPopup()
{
    auto *list = m_book->window->findChild<RecordListView *>("entryList");
    QStringList rows;
    QTimer::singleShot(0, [&] {
        auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(popup);
        rows = rowsOf(popup);
        popup->close();
    });
    emit list->customContextMenuRequested(QPoint(5, 5));
    QCOMPARE(rows, QStringList({
                       "&Add Entry... |  | ",
                       "&Edit Entry... |  | ",
                       "&Delete | Del | Delete entries",
                       "Delete from current Categor&y | Shift+Del | Delete the selected entries from current category "
                       "while keeping the entries",
                       "-",
                       "Become &yellow page entries | Ctrl+Y | Make the selected entries be yellow page entries (hidden)",
                       "Become &white page entries | Ctrl+W | Make the selected entries be white page entries (hidden)",
                       "Email? &To: | Ctrl+T | ",
                       "Email? &CC: | Ctrl+C | ",
                       "Email? &BCC: | Ctrl+B | ",
                       "&Launch Email... | Ctrl+L | ",
                       "-",
                       "&Select All | Ctrl+A | ",
                       "&UnSelect All | Ctrl+Z | ",
                   }));
    // Its shortcuts belong to the list, so Ctrl+C still copies in the detail fields.
    for (QAction *a : list->actions())
        QCOMPARE(a->shortcutContext(), Qt::WidgetShortcut);
}

void TestCommandTable::categoryTreePopup()
{
    auto *tree = m_book->window->findChild<CategoryTreeView *>("categoryTree");
    const Popup popup = popupOf(tree->viewport(), m_book->window->findChild<QLabel *>("hintPanel"));
    QCOMPARE(popup.rows, QStringList({
                             "&Add Category | Ins | ",
                             "&Edit Category | F2 | ",
                             "&Delete Category | Shift+Del | ",
                         }));
}

void TestCommandTable::initialsGridPopup()
{
    auto *grid = m_book->window->findChild<InitialsGridView *>("initialsGrid");
    const Popup popup = popupOf(grid->viewport(), m_book->window->findChild<QLabel *>("hintPanel"));
    QCOMPARE(popup.rows, QStringList({"&Refresh | F5 | Refresh the surname initial grids"}));
    QCOMPARE(popup.lastItemHint, QString("Refresh the surname initial grids"));
}

void TestCommandTable::highlightedItemHintInThirdPanel()
{
    QMainWindow &window = *m_book->window;
    auto *panel = window.findChild<QLabel *>("hintPanel");
    for (const auto &[menu, text, hint] : {std::tuple{"&File", "Save &As...", "Save the address book with a new path"},
                                           std::tuple{"&Tools", "Go &URL", "Call the default browser for the selected URL"}}) {
        QMenu *m = menuNamed(*m_book->window, menu);
        window.menuBar()->setActiveAction(m->menuAction()); // the menu drops from the bar
        QVERIFY(QTest::qWaitForWindowExposed(m));
        m->setActiveAction(item(m, text));
        QCOMPARE(panel->text(), QString(hint));
        m->close();
    }
}

void TestCommandTable::countsInFirstPanel()
{
    auto *list = m_book->window->findChild<RecordListView *>("entryList");
    auto *panel = m_book->window->findChild<QLabel *>("countsPanel");
    QApplication::setActiveWindow(m_book->window.get()); // for the list's shortcuts
    QVERIFY(QTest::qWaitForWindowActive(m_book->window.get()));
    list->setFocus();
    auto click = [list](int row, Qt::KeyboardModifiers modifiers) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, list->visualRect(list->model()->index(row, 0)).center());
    };
    click(1, Qt::NoModifier);
    click(3, Qt::ControlModifier);
    QCOMPARE(panel->text(), "12 Entries; 12 Listed; 2 Selected");
    QTest::keyClick(list, Qt::Key_Z, Qt::ControlModifier); // "&UnSelect All"
    QCOMPARE(panel->text(), "12 Entries; 12 Listed; 0 Selected");
}

void TestCommandTable::noBookState()
{
    Window w(0);
    QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
    QVERIFY(w.window->inNoBookState());
    auto *bar = w.window->findChild<QToolBar *>("toolBar");
    for (QAction *a : bar->actions()) {
        if (QWidget *button = bar->widgetForAction(a))
            QVERIFY2(!button->isEnabled(), qPrintable(a->text()));
    }
    QVERIFY(!menuNamed(*w.window, "&Edit")->isEnabled());
    QMenu *file = menuNamed(*w.window, "&File");
    for (const char *off : {"&Save", "Save &As...", "&Delete", "Print &Mode...", "Print Set&up...", "Print Pre&view", "&Print"})
        QVERIFY2(!item(file, off)->isEnabled(), off);
    for (const char *on : {"&Open", "Load &from...", "&New...", "&Export to", "&Import from", "E&xit"})
        QVERIFY2(item(file, on)->isEnabled(), on);
    for (const char *menu : {"&Tools", "&Help"}) {
        QVERIFY(menuNamed(*w.window, menu)->isEnabled());
        for (QAction *a : menuNamed(*w.window, menu)->actions())
            QVERIFY2(a->isSeparator() || a->isEnabled(), qPrintable(a->text()));
    }
    QVERIFY(w.prompter.verifyAllAnswered());
}

void TestCommandTable::newBookJoinsThreeLists()
{
    m_book->prompter.expectInput("New", "Addressbook name", QString("Aaa"));
    m_book->window->lifecycle().newBook();
    QMenu *file = menuNamed(*m_book->window, "&File");
    auto *openButton = qobject_cast<QToolButton *>(
        m_book->window->findChild<QToolBar *>("toolBar")->widgetForAction(m_book->window->findChild<QToolBar *>("toolBar")->actions().first()));
    for (QMenu *list : {item(file, "&Open")->menu(), item(file, "&Delete")->menu(), openButton->menu()}) {
        QStringList names;
        for (const QAction *a : list->actions())
            names << a->text();
        QCOMPARE(names, QStringList({"Default", "Aaa"}));
    }
    QVERIFY(m_book->prompter.verifyAllAnswered());
}

QTEST_MAIN(TestCommandTable)
#include "tst_commandtable.moc"
