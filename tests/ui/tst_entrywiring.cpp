// How the main window reaches the entry commands: keys, double-click, menu
// items, tool buttons and the entry list's pop-up, over a generated book.
#include "ScriptedPrompter.h"

#include "data/RecordStore.h"
#include "editing/EditModel.h"
#include "search/SearchEngine.h"
#include "navigation/CategoryTreeView.h"
#include "navigation/RecordListView.h"
#include "shell/MainWindow.h"
#include "shell/ProgramDirectory.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
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

constexpr int kPersons = 40;
constexpr int kCategory = 1005;

// What the modal window showed before it was closed.
struct Seen {
    QString title;
    QString name;
};

// Notes the modal window that opens next and closes it; polled, so that it
// also finds a window opened from inside another event loop (a pop-up menu).
void closeWhenShown(Seen &seen, QTimer &poll)
{
    poll.setInterval(10);
    QObject::disconnect(&poll, nullptr, nullptr, nullptr);
    QObject::connect(&poll, &QTimer::timeout, qApp, [&seen, &poll] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll.stop();
        seen.title = dialog->windowTitle();
        if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("Name")))
            seen.name = name->text();
        dialog->reject();
    });
    poll.start();
}

// The items of the pop-up menu that opens next, by caption, then closes it.
void readPopupWhenShown(QHash<QString, bool> &enabled)
{
    QTimer::singleShot(0, qApp, [&enabled] {
        QMenu *menu = nullptr;
        if (!QTest::qWaitFor([&] { return (menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) != nullptr; }))
            return;
        for (QAction *a : menu->actions())
            enabled.insert(a->text(), a->isEnabled());
        menu->close();
    });
}

} // namespace

class TestEntryWiring : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void editorOpens_data();
    void editorOpens();
    void noRecordToEdit_data();
    void noRecordToEdit();
    void pageKeys_data();
    void pageKeys();
    void whitePagesTellOfCutNames();
    void deleteFromCategory_data();
    void deleteFromCategory();
    void deleteCommand_data();
    void deleteCommand();
    void clearIsolatedOrganisations();
    void duplicateReviewIsASearch_data();
    void duplicateReviewIsASearch();

private:
    void activate();
    void clickRow(int row);
    QAction *menuAction(const QString &menu, const QString &caption) const;
    QToolButton *toolButton(const QString &caption) const;
    void trigger(const QString &how);
    QString stored(int clientId, const QString &field);
    int currentClientId() const;

    QTemporaryDir m_dir;
    std::unique_ptr<RecordStore> m_data;
    std::unique_ptr<test::ScriptedPrompter> m_prompter;
    std::unique_ptr<MainWindow> m_window;
    RecordListView *m_list = nullptr;
    CategoryTreeView *m_tree = nullptr;
    QTimer m_poll;
};

void TestEntryWiring::initTestCase()
{
    installShippedFiles(m_dir.path() + "/");
    QDir().mkpath(m_dir.path() + "/Data");
    QProcess p;
    p.start(QStringLiteral(QVTOOL_PATH), {"generate", "--persons", QString::number(kPersons), "--organisations", "5", "--seed", "4",
                                          m_dir.path() + "/Data/Default.qvp"});
    QVERIFY(p.waitForFinished(60000) && p.exitCode() == 0);
}

void TestEntryWiring::init()
{
    m_data = std::make_unique<RecordStore>();
    m_prompter = std::make_unique<test::ScriptedPrompter>();
    m_window = std::make_unique<MainWindow>(m_dir.path() + "/", m_dir.path() + "/work/", *m_data, m_prompter.get());
    m_window->resize(1280, 760); // every tool button in view
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    activate();
    m_list = m_window->findChild<RecordListView *>("entryList");
    m_tree = m_window->findChild<CategoryTreeView *>("categoryTree");
    QVERIFY(m_list && m_tree);
    m_list->setFocus();
}

// Shortcuts need the active window, also on the offscreen platform.
void TestEntryWiring::activate()
{
    QApplication::setActiveWindow(m_window.get());
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestEntryWiring::cleanup()
{
    m_poll.stop();
    if (m_prompter)
        QVERIFY(m_prompter->verifyAllAnswered());
    m_window.reset();
    m_prompter.reset();
    m_data.reset();
}

void TestEntryWiring::clickRow(int row)
{
    const QRect rect = m_list->visualRect(m_list->model()->index(row, 0));
    QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, rect.center());
}

QAction *TestEntryWiring::menuAction(const QString &menu, const QString &caption) const
{
    for (QAction *top : m_window->menuBar()->actions()) {
        if (top->text() != menu)
            continue;
        for (QAction *a : top->menu()->actions()) {
            if (a->text() == caption)
                return a;
        }
    }
    return nullptr;
}

QToolButton *TestEntryWiring::toolButton(const QString &caption) const
{
    for (QToolButton *button : m_window->findChild<QToolBar *>("toolBar")->findChildren<QToolButton *>()) {
        if (button->defaultAction() && button->defaultAction()->text() == caption)
            return button;
    }
    return nullptr;
}

// Carries out a command the way the user named by how does.
void TestEntryWiring::trigger(const QString &how)
{
    if (how == "Ctrl+N") {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_N, Qt::ControlModifier);
    } else if (how == "Alt+Enter") {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::AltModifier);
    } else if (how == "double-click") {
        const QRect rect = m_list->visualRect(m_list->currentIndex());
        QTest::mouseDClick(m_list->viewport(), Qt::LeftButton, {}, rect.center());
    } else if (how.startsWith("tool button ")) {
        QToolButton *button = toolButton(how.mid(12));
        QVERIFY2(button, qPrintable(how));
        button->click(); // also where the tool bar has folded it into its extension
    } else if (how.startsWith("menu ")) {
        QAction *a = menuAction("&Edit", how.mid(5));
        QVERIFY2(a && a->isEnabled(), qPrintable(how));
        a->trigger();
    } else if (how.startsWith("pop-up ")) {
        // The list's own pop-up, opened where the user clicks with the right button.
        QPointer<QAction> chosen;
        QTimer::singleShot(0, qApp, [&chosen, caption = how.mid(7)] {
            QMenu *menu = nullptr;
            if (!QTest::qWaitFor([&] { return (menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) != nullptr; }))
                return;
            for (QAction *a : menu->actions()) {
                if (a->text() == caption && a->isEnabled())
                    chosen = a;
            }
            menu->close();
        });
        emit m_list->customContextMenuRequested(m_list->visualRect(m_list->currentIndex()).center());
        QVERIFY2(chosen, qPrintable(how));
        chosen->trigger();
    } else {
        QFAIL(qPrintable("unknown way: " + how));
    }
}

QString TestEntryWiring::stored(int clientId, const QString &field)
{
    TableView &lookup = m_data->personLookup;
    return lookup.locate("ClientID", qint32(clientId)) ? lookup.text(field) : QString("<none>");
}

int TestEntryWiring::currentClientId() const
{
    return m_data->personList.text("ClientID").toInt();
}

void TestEntryWiring::editorOpens_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("title");
    QTest::newRow("Ctrl+N adds") << "Ctrl+N" << "Add";
    QTest::newRow("Alt+Enter edits") << "Alt+Enter" << "Edit";
    QTest::newRow("double-click on a row edits") << "double-click" << "Edit";
    QTest::newRow("tool button Edit entry") << "tool button &Edit entry..." << "Edit";
    QTest::newRow("tool button Add entry") << "tool button &Add entry..." << "Add";
    QTest::newRow("menu Edit entry") << "menu &Edit entry..." << "Edit";
    QTest::newRow("menu Add entry") << "menu &Add entry..." << "Add";
    QTest::newRow("pop-up Edit Entry") << "pop-up &Edit Entry..." << "Edit";
    QTest::newRow("pop-up Add Entry") << "pop-up &Add Entry..." << "Add";
}

void TestEntryWiring::editorOpens()
{
    QFETCH(QString, how);
    QFETCH(QString, title);
    clickRow(3);
    const QString current = m_list->model()->index(3, 0).data().toString();
    const int highest = m_window->models().editModel().highestClientId();
    Seen seen;
    closeWhenShown(seen, m_poll);
    trigger(how);
    QCOMPARE(seen.title, title);
    // An edit shows the row the user was on; an addition a new, empty entry.
    QCOMPARE(seen.name, title == "Edit" ? current : QString());
    QCOMPARE(m_window->models().editModel().highestClientId(), title == "Add" ? highest + 1 : highest);
    QCOMPARE(m_data->personLookup.recordCount(), kPersons); // cancelled: nothing added
}

void TestEntryWiring::noRecordToEdit_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Alt+Enter") << "Alt+Enter";
    QTest::newRow("tool button") << "tool button &Edit entry...";
    QTest::newRow("menu") << "menu &Edit entry...";
    QTest::newRow("pop-up") << "pop-up &Edit Entry...";
}

void TestEntryWiring::noRecordToEdit()
{
    QFETCH(QString, how);
    // Every entry of a category deleted: the list is empty.
    m_tree->selectNumber(kCategory);
    m_list->setFocus();
    QTest::keyClick(m_list, Qt::Key_A, Qt::ControlModifier);
    m_prompter->expectMessage("Are you sure you want to delete all selected entries?", Icon::Confirmation, Button::Yes | Button::No,
                              Button::Yes);
    QTest::keyClick(m_list, Qt::Key_Delete);
    QCOMPARE(m_data->personList.recordCount(), 0);
    m_prompter->expectMessage("No record to be edited here.", Icon::Information, Button::Ok, Button::Ok);
    Seen seen;
    closeWhenShown(seen, m_poll);
    trigger(how);
    QCOMPARE(seen.title, QString()); // no editor
}

void TestEntryWiring::pageKeys_data()
{
    QTest::addColumn<QString>("focus"); // object name of the widget that has the focus
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("fires");
    for (const auto &[key, name] : {std::pair{Qt::Key_Y, "Ctrl+Y"}, std::pair{Qt::Key_W, "Ctrl+W"}}) {
        QTest::addRow("%s in the entry list", name) << "entryList" << int(key) << true;
        QTest::addRow("%s in the category tree", name) << "categoryTree" << int(key) << false;
        QTest::addRow("%s in the name lookup", name) << "nameLookup" << int(key) << false;
    }
}

// The page keys belong to the list: pressed elsewhere they change no entry
// at all, neither the one chosen in the list nor the one the list shows
// first once the focus has gone.
void TestEntryWiring::pageKeys()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(bool, fires);
    const bool toYellow = key == Qt::Key_Y;
    clickRow(2);
    const int clientId = currentClientId();
    const QString name = stored(clientId, "Name");
    if (!toYellow) { // a yellow-page entry to turn back
        QTest::keyClick(m_list, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(stored(clientId, "Yellow"), QString("True"));
        // The list shows its rows from the first after the change: find the entry again.
        clickRow(m_list->model()->match(m_list->model()->index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly).value(0).row());
        QCOMPARE(currentClientId(), clientId);
    }
    auto *target = m_window->findChild<QWidget *>(focus);
    QVERIFY(target);
    target->setFocus();
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    const int changes = m_data->personList.changeCount();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(m_data->personList.changeCount() > changes, fires);
    QCOMPARE(stored(clientId, "Yellow"), QString(fires == toYellow ? "True" : "False"));
    if (fires && toYellow)
        QCOMPARE(stored(clientId, "SurName"), name);
}

void TestEntryWiring::whitePagesTellOfCutNames()
{
    clickRow(2);
    const int clientId = currentClientId();
    // A yellow-page entry whose name has middle names wider than their field.
    TableView &persons = m_data->personList;
    persons.edit();
    persons.setValue("Name", QString("Anna Maria Luisa Schmidt"));
    persons.setValue("Yellow", true);
    persons.post();
    // The entry has moved among the yellow pages: find it again.
    const int row = m_list->model()->match(m_list->model()->index(0, 0), Qt::DisplayRole, "Anna Maria Luisa Schmidt", 1, Qt::MatchExactly)
                        .value(0)
                        .row();
    clickRow(row);
    QCOMPARE(currentClientId(), clientId);
    m_prompter->expectMessage("1 name was too long for its fields and was cut.", Icon::Warning, Button::Ok, Button::Ok);
    QTest::keyClick(m_list, Qt::Key_W, Qt::ControlModifier);
    QVERIFY(m_prompter->verifyAllAnswered());
    QCOMPARE(stored(clientId, "Yellow"), QString("False"));
    QCOMPARE(stored(clientId, "MidName"), QString("Maria Luis"));
}

void TestEntryWiring::deleteFromCategory_data()
{
    QTest::addColumn<int>("node");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("a user category") << kCategory << true;
    QTest::newRow("all entries") << 1000 << false;
    QTest::newRow("Org Contacts") << 110 << false;
}

void TestEntryWiring::deleteFromCategory()
{
    QFETCH(int, node);
    QFETCH(bool, enabled);
    if (node == 110) {
        // A yellow-page entry brings the Org Contacts node.
        clickRow(0);
        QTest::keyClick(m_list, Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(m_window->models().tree().indexOfNumber(110) >= 0);
    }
    m_tree->selectNumber(node);
    const int listed = m_data->personList.recordCount();
    QVERIFY(listed > 0);
    m_list->setFocus();
    clickRow(0);
    const int clientId = currentClientId();
    QHash<QString, bool> popup;
    readPopupWhenShown(popup);
    emit m_list->customContextMenuRequested(m_list->visualRect(m_list->currentIndex()).center());
    QVERIFY(popup.contains("Delete from current Categor&y"));
    QCOMPARE(popup.value("Delete from current Categor&y"), enabled);

    activate(); // the closed pop-up took the activation with it
    m_list->setFocus();
    QCOMPARE(QApplication::focusWidget(), m_list);
    QTest::keyClick(m_list, Qt::Key_Delete, Qt::ShiftModifier);
    QCOMPARE(m_data->personList.recordCount(), enabled ? listed - 1 : listed);
    QCOMPARE(m_data->personLookup.recordCount(), kPersons); // never deleted
    QStringList categories;
    for (const char *slot : {"Group1", "Group2", "Group3", "Group4"})
        categories << stored(clientId, slot);
    if (node > 1000)
        QCOMPARE(categories.contains(QString::number(node)), !enabled);
}

void TestEntryWiring::deleteCommand_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("menu") << "menu &Delete";
    QTest::newRow("tool button") << "tool button &Delete";
}

void TestEntryWiring::deleteCommand()
{
    QFETCH(QString, how);
    clickRow(4); // a click marks the row
    const int clientId = currentClientId();
    m_prompter->expectMessage("Are you sure you want to delete all selected entries?", Icon::Confirmation, Button::Yes | Button::No, Button::Yes);
    trigger(how);
    QCOMPARE(stored(clientId, "Name"), QString("<none>"));
    QCOMPARE(m_window->countsText(), QString("%1 Entries; %1 Listed; 0 Selected").arg(kPersons - 1));
}

void TestEntryWiring::clearIsolatedOrganisations()
{
    TableView &organisations = m_data->organisationList;
    const int before = organisations.recordCount();
    organisations.append();
    organisations.setValue("CoID", qint32(9001));
    organisations.setValue("Company", QString("Nobody Works Here"));
    organisations.post();
    m_tree->selectNumber(kCategory);
    QVERIFY(m_data->personList.recordCount() < kPersons);
    m_window->findChild<QComboBox *>("nameLookup")->setFocus();
    m_prompter->expectMessage("1 org records without any connection got cleared.", Icon::Information, Button::Ok, Button::Ok);
    trigger("menu Clea&r isolated org");
    QCOMPARE(organisations.recordCount(), before);
    // Every entry listed again, from the tree's first node, and the list has the focus.
    QCOMPARE(m_tree->selectedNumber(), 1000);
    QCOMPARE(m_data->personList.recordCount(), kPersons);
    QCOMPARE(QApplication::focusWidget(), m_list);
    m_prompter->expectMessage("0 org records without any connection got cleared.", Icon::Information, Button::Ok, Button::Ok);
    trigger("menu Clea&r isolated org");
}

void TestEntryWiring::duplicateReviewIsASearch_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Add entry") << "Ctrl+N";
    QTest::newRow("Edit entry") << "Alt+Enter";
}

void TestEntryWiring::duplicateReviewIsASearch()
{
    QFETCH(QString, how);
    // A stored name of two words, which the name step keeps as it is, and how many entries bear it.
    QCOMPARE(m_list->model()->rowCount(), kPersons);
    QStringList names;
    for (int row = 0; row < kPersons; ++row)
        names << m_list->model()->index(row, 0).data().toString();
    const auto twoWords = std::find_if(names.cbegin(), names.cend(), [](const QString &n) { return n.split(' ').size() == 2; });
    QVERIFY(twoWords != names.cend());
    const QString name = *twoWords;
    const int namesakes = int(names.count(name));
    // Edit an entry of another name, or add one, and give it that name.
    clickRow(m_list->model()->index(0, 0).data().toString() == name ? 1 : 0);
    QTimer::singleShot(0, qApp, [&] {
        QWidget *editor = nullptr;
        if (!QTest::qWaitFor([&] { return (editor = QApplication::activeModalWidget()) && QApplication::activeWindow() == editor; }))
            return;
        auto *field = editor->findChild<QLineEdit *>("Name");
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, name);
        QTest::keyClick(field, Qt::Key_Tab);
    });
    m_prompter->expectMessage("Entries with the same name in the address book. Would you review them?", Icon::Information,
                              Button::Yes | Button::No, Button::Yes);
    trigger(how);
    QCOMPARE(m_window->models().editModel().editState(), EditModel::ReviewDuplicates);
    QCOMPARE(m_tree->selectedNumber(), 101);
    QCOMPARE(m_data->personList.recordCount(), namesakes);
    // The search found them: the search node lists them again, and a search continued starts from them.
    QCOMPARE(m_window->search().searchText(), "Name='" + name + "'");
    m_tree->selectNumber(1000);
    QCOMPARE(m_data->personList.recordCount(), kPersons);
    m_tree->selectNumber(101);
    QCOMPARE(m_data->personList.recordCount(), namesakes);
}

QTEST_MAIN(TestEntryWiring)
#include "tst_entrywiring.moc"
