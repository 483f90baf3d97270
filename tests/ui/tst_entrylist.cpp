// The entry list in the main window: marking with mouse and keyboard, the
// status line, the category tree choosing what is listed.
#include "PersonFixture.h"
#include "ScriptedPrompter.h"

#include "data/RecordStore.h"
#include "navigation/CategoryTreeModel.h"
#include "navigation/CategoryTreeView.h"
#include "navigation/InitialsGridView.h"
#include "navigation/RecordListView.h"
#include "navigation/ViewListModel.h"
#include "shell/ProgramDirectory.h"
#include "shell/MainWindow.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace qv;

class TestEntryList : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void mouseMarking_data();
    void mouseMarking();
    void shiftArrows();
    void keysClearMarks_data();
    void keysClearMarks();
    void rowColours_data();
    void rowColours();
    void selectAllAndFocusLoss();
    void marksStayWhileADialogIsOpen();
    void selectAllKeepsCurrentRow();
    void categoryFromTheTree();
    void dropMarkedEntries_data();
    void dropMarkedEntries();
    void treePopupEnabling_data();
    void treePopupEnabling();
    void categoryEditing();
    void treeKeys_data();
    void treeKeys();
    void initialsGrid();
    void initialsGridClicks_data();
    void initialsGridClicks();
    void currentInitialListedAgain();
    void deleteKey();
    void deleteFromEmptyList();

private:
    void click(int row, Qt::KeyboardModifiers modifiers = {});
    QTemporaryDir m_dir;
    std::unique_ptr<RecordStore> m_data;
    std::unique_ptr<test::ScriptedPrompter> m_prompter;
    std::unique_ptr<MainWindow> m_window;
    RecordListView *m_list = nullptr;
};

void TestEntryList::initTestCase()
{
    installShippedFiles(m_dir.path() + "/");
    QDir().mkpath(m_dir.path() + "/Data");
    QProcess p;
    p.start(QStringLiteral(QVTOOL_PATH), {"generate", "--persons", "40", "--organisations", "5", "--seed", "4",
                                          m_dir.path() + "/Data/Default.qvp"});
    QVERIFY(p.waitForFinished(60000) && p.exitCode() == 0);
}

void TestEntryList::init()
{
    m_data = std::make_unique<RecordStore>();
    m_prompter = std::make_unique<test::ScriptedPrompter>();
    m_window = std::make_unique<MainWindow>(m_dir.path() + "/", m_dir.path() + "/work/", *m_data, m_prompter.get());
    m_window->resize(800, 700);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_list = m_window->findChild<RecordListView *>("entryList");
    m_list->setFocus();
}

void TestEntryList::cleanup()
{
    m_window.reset();
    m_prompter.reset();
    m_data.reset();
}

void TestEntryList::click(int row, Qt::KeyboardModifiers modifiers)
{
    const QRect rect = m_list->visualRect(m_list->model()->index(row, 0));
    QTest::mouseClick(m_list->viewport(), Qt::LeftButton, modifiers, rect.center());
}

void TestEntryList::mouseMarking_data()
{
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QList<int>>("modifiers");
    QTest::addColumn<int>("selected");
    const int none = 0, ctrl = int(Qt::ControlModifier), shift = int(Qt::ShiftModifier);
    QTest::newRow("one click") << QList<int>{3} << QList<int>{none} << 1;
    QTest::newRow("ctrl adds") << QList<int>{1, 4, 6} << QList<int>{none, ctrl, ctrl} << 3;
    QTest::newRow("click on a marked row keeps three") << QList<int>{1, 4, 6, 4} << QList<int>{none, ctrl, ctrl, none} << 3;
    QTest::newRow("click on an unmarked row leaves one") << QList<int>{1, 4, 6, 2} << QList<int>{none, ctrl, ctrl, none} << 1;
    QTest::newRow("shift five below marks six") << QList<int>{2, 7} << QList<int>{none, shift} << 6;
}

void TestEntryList::mouseMarking()
{
    QFETCH(QList<int>, rows);
    QFETCH(QList<int>, modifiers);
    QFETCH(int, selected);
    for (int i = 0; i < rows.size(); ++i)
        click(rows[i], Qt::KeyboardModifiers(modifiers[i]));
    QCOMPARE(m_list->marks().count(), selected);
    QCOMPARE(m_window->countsText(), QString("40 Entries; 40 Listed; %1 Selected").arg(selected));
    QCOMPARE(m_list->currentIndex().row(), rows.last());
    // The detail pane shows the current row.
    QCOMPARE(m_window->findChild<QLineEdit *>("detailName")->text(), m_list->model()->index(rows.last(), 0).data().toString());
}

void TestEntryList::shiftArrows()
{
    click(5);
    QTest::keyClick(m_list, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(m_list, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(m_list->marks().rows(), (std::vector<int>{5, 6, 7}));
    QTest::keyClick(m_list, Qt::Key_Up, Qt::ShiftModifier);
    QCOMPARE(m_list->marks().rows(), (std::vector<int>{5, 6}));
    QTest::keyClick(m_list, Qt::Key_Down);
    QCOMPARE(m_list->marks().count(), 0);
    click(3);
    QTest::keyClick(m_list, Qt::Key_End);
    QCOMPARE(m_list->marks().count(), 0);
}

void TestEntryList::keysClearMarks_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("shift");
    for (const auto &[key, name] : {std::pair{Qt::Key_PageUp, "Page Up"}, {Qt::Key_PageDown, "Page Down"}, {Qt::Key_Home, "Home"},
                                    {Qt::Key_End, "End"}, {Qt::Key_Escape, "Esc"}}) {
        QTest::addRow("%s", name) << int(key) << false;
        QTest::addRow("Shift+%s", name) << int(key) << true;
    }
}

void TestEntryList::keysClearMarks()
{
    QFETCH(int, key);
    QFETCH(bool, shift);
    click(5);
    click(8, Qt::ControlModifier);
    QCOMPARE(m_list->marks().count(), 2);
    QTest::keyClick(m_list, Qt::Key(key), shift ? Qt::ShiftModifier : Qt::NoModifier);
    QCOMPARE(m_list->marks().count(), 0);
    QCOMPARE(m_window->countsText(), QString("40 Entries; 40 Listed; 0 Selected"));
}

void TestEntryList::rowColours_data()
{
    // Rows: 0 and 1 white pages, 2 and 3 yellow pages. "^n" is a Ctrl-click,
    // "n" a plain click; the last click makes its row current.
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<int>("row");
    QTest::addColumn<QColor>("colour"); // invalid: the list's own background
    const QColor yellow(255, 255, 0), purple(128, 0, 128), blue(0, 0, 255);
    QTest::newRow("white page") << QStringList{"^3", "^3"} << 0 << QColor();
    QTest::newRow("yellow page") << QStringList{"^3", "^3"} << 2 << yellow;
    QTest::newRow("current white page: blue") << QStringList{"^1", "^1"} << 1 << blue;
    QTest::newRow("current yellow page: blue over yellow") << QStringList{"^2", "^2"} << 2 << blue;
    QTest::newRow("marked yellow page: purple over yellow") << QStringList{"2", "^0"} << 2 << purple;
    QTest::newRow("marked current row: purple over blue") << QStringList{"1"} << 1 << purple;
    QTest::newRow("marked current yellow page: purple") << QStringList{"3"} << 3 << purple;
}

void TestEntryList::rowColours()
{
    QFETCH(QStringList, clicks);
    QFETCH(int, row);
    QFETCH(QColor, colour);
    TableView persons("personList", personFields());
    for (const auto &[name, yellow] : {std::pair{"Ann White", false}, {"Bob White", false}, {"Cy Yellow", true}, {"Di Yellow", true}})
        persons.appendRecord(test::person({{"Name", QString(name)}, {"SurName", QString(name).section(' ', 1)}, {"Yellow", yellow}}));
    ViewListModel model(persons, "Name");
    RecordListView list;
    list.setListModel(&model);
    list.resize(200, 200);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QCOMPARE(model.index(2).data().toString(), QString("Cy Yellow"));
    for (const QString &c : clicks) {
        const QRect rect = list.visualRect(model.index(c.right(1).toInt()));
        QTest::mouseClick(list.viewport(), Qt::LeftButton, c.startsWith('^') ? Qt::ControlModifier : Qt::NoModifier, rect.center());
    }
    const QRect rect = list.visualRect(model.index(row));
    const QImage image = list.viewport()->grab().toImage();
    QCOMPARE(image.pixelColor(rect.right() - 2, rect.center().y()), colour.isValid() ? colour : list.palette().color(QPalette::Base));
}

void TestEntryList::selectAllAndFocusLoss()
{
    QTest::keyClick(m_list, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(m_window->countsText(), QString("40 Entries; 40 Listed; 40 Selected"));
    QTest::keyClick(m_list, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(m_list->marks().count(), 0);
    click(1);
    click(2, Qt::ControlModifier);
    m_window->findChild<QTreeWidget *>("categoryTree")->setFocus(); // tabbing away
    QCOMPARE(m_list->marks().count(), 0);
    QCOMPARE(m_window->countsText(), QString("40 Entries; 40 Listed; 0 Selected"));
}

void TestEntryList::marksStayWhileADialogIsOpen()
{
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    click(2);
    click(3, Qt::ControlModifier);
    QVERIFY(m_list->hasFocus());
    {
        QDialog dialog(m_window.get());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCoreApplication::processEvents(); // the window system's activation reaches the widgets
        QCOMPARE(m_window->countsText(), QString("40 Entries; 40 Listed; 2 Selected"));
    }
    m_window->activateWindow(); // as a window manager does when the dialog closes
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QCoreApplication::processEvents();
    QCOMPARE(m_list->marks().rows(), (std::vector<int>{2, 3}));
    m_prompter->expectMessage("Are you sure you want to delete all selected entries?", Prompter::Icon::Confirmation,
                              Prompter::Button::Yes | Prompter::Button::No, Prompter::Button::Yes);
    QTest::keyClick(m_list, Qt::Key_Delete);
    QCOMPARE(m_window->countsText(), QString("38 Entries; 38 Listed; 0 Selected"));
}

void TestEntryList::selectAllKeepsCurrentRow()
{
    click(7);
    const QString name = m_list->model()->index(7, 0).data().toString();
    QTest::keyClick(m_list, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(m_list->marks().count(), 40);
    QCOMPARE(m_list->currentIndex().row(), 7);
    QCOMPARE(m_data->personList.recNo(), 8);
    QCOMPARE(m_window->findChild<QLineEdit *>("detailName")->text(), name);
}

void TestEntryList::categoryFromTheTree()
{
    auto *tree = m_window->findChild<QTreeWidget *>("categoryTree");
    QTreeWidgetItem *category = tree->topLevelItem(0)->child(4); // number 1005
    QCOMPARE(category->data(0, Qt::UserRole).toInt(), 1005);
    tree->setCurrentItem(category);
    QCOMPARE(m_data->personList.filter(), QString("Group1=1005 OR Group2=1005 OR Group3=1005 OR Group4=1005"));
    const int listed = m_data->personList.recordCount();
    QVERIFY(listed > 0 && listed < 40);
    QCOMPARE(m_window->countsText(), QString("40 Entries; %1 Listed; 0 Selected").arg(listed));
    tree->setCurrentItem(tree->topLevelItem(0));
    QCOMPARE(m_data->personList.recordCount(), 40);
}

void TestEntryList::dropMarkedEntries_data()
{
    QTest::addColumn<bool>("copyMode");
    QTest::newRow("copy") << true;
    QTest::newRow("move") << false;
}

void TestEntryList::dropMarkedEntries()
{
    QFETCH(bool, copyMode);
    auto *tree = m_window->findChild<CategoryTreeView *>("categoryTree");
    tree->selectNumber(1005);
    const int members = m_data->personList.recordCount();
    QVERIFY(members >= 2);
    click(0);
    click(1, Qt::ControlModifier);
    QCOMPARE(m_list->marks().count(), 2);
    // Copied into 1005, where they are already, or moved into 1006: an entry
    // that has the target already is refused with the four-categories question.
    const int target = copyMode ? 1005 : 1006;
    const QString refused = "Can not define category for %1 since this entry has belonged to this category or 4 other categories. Continue?";
    int refusals = 0;
    for (int position : {0, 1}) {
        m_data->personList.setRecNo(position + 1);
        const bool has = m_data->personList.text("Group1").toInt() == target || m_data->personList.text("Group2").toInt() == target
            || m_data->personList.text("Group3").toInt() == target || m_data->personList.text("Group4").toInt() == target;
        if (has) {
            ++refusals;
            m_prompter->expectMessage(refused.arg(m_data->personList.text("Name")), Prompter::Icon::Information,
                                      Prompter::Button::Yes | Prompter::Button::No, Prompter::Button::Yes);
        }
    }
    emit tree->entriesDropped(target, copyMode);
    // Copies stay listed under 1005; moved entries leave it.
    QCOMPARE(m_data->personList.recordCount(), copyMode ? members : members - 2);
    QCOMPARE(m_list->marks().count(), 0);
    QCOMPARE(m_window->countsText(), QString("40 Entries; %1 Listed; 0 Selected").arg(m_data->personList.recordCount()));
    QCOMPARE(refusals, copyMode ? 2 : refusals);
}

void TestEntryList::treePopupEnabling_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QList<bool>>("enabled"); // Add, Edit, Delete
    QTest::newRow("user category") << 1005 << QList<bool>{true, true, true};
    QTest::newRow("all entries") << 1000 << QList<bool>{true, false, false};
    QTest::newRow("search node") << 101 << QList<bool>{false, false, false};
}

void TestEntryList::treePopupEnabling()
{
    QFETCH(int, number);
    QFETCH(QList<bool>, enabled);
    auto *tree = m_window->findChild<CategoryTreeView *>("categoryTree");
    tree->selectNumber(number);
    tree->enablePopupCommands();
    QList<bool> got;
    for (QAction *a : tree->actions())
        got << a->isEnabled();
    QCOMPARE(got, enabled);
}

void TestEntryList::categoryEditing()
{
    auto *tree = m_window->findChild<CategoryTreeView *>("categoryTree");
    tree->setFocus();
    tree->selectNumber(1000);
    QTest::keyClick(tree, Qt::Key_Insert);
    const int added = tree->selectedNumber();
    QCOMPARE(added, 1025);
    QCOMPARE(tree->currentItem()->text(0), QString("New Category"));
    QVERIFY(m_window->lifecycle().isModified());
    auto *editor = tree->findChild<QLineEdit *>();
    QVERIFY(editor); // editing in place starts at once
    editor->setText("   ");
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(tree->currentItem()->text(0), QString("U Category")); // the delegate commits queued
    // A category with members is not deleted.
    tree->selectNumber(1005);
    m_prompter->expectMessage("Please delete items below first.", Prompter::Icon::Information, Prompter::Button::Ok, Prompter::Button::Ok);
    QTest::keyClick(tree, Qt::Key_Delete, Qt::ShiftModifier);
    QVERIFY(m_window->models().tree().nodeOfNumber(1005));
    tree->selectNumber(added);
    QTest::keyClick(tree, Qt::Key_Delete, Qt::ShiftModifier);
    QVERIFY(!m_window->models().tree().nodeOfNumber(added));
}

void TestEntryList::treeKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("node"); // 0: a new category without entries
    QTest::addColumn<QString>("outcome");
    const int f2 = Qt::Key_F2, del = Qt::Key_Delete, none = Qt::NoModifier, shift = Qt::ShiftModifier;
    QTest::newRow("F2 renames a user category") << f2 << none << 1005 << "renaming";
    QTest::newRow("F2 on the all-entries node: nothing") << f2 << none << 1000 << "nothing";
    QTest::newRow("F2 on the search node: nothing") << f2 << none << 101 << "nothing";
    QTest::newRow("Shift+Del deletes an empty user category") << del << shift << 0 << "deleted";
    QTest::newRow("Shift+Del keeps a category with entries") << del << shift << 1005 << "refused";
    QTest::newRow("Shift+Del on the all-entries node: nothing") << del << shift << 1000 << "nothing";
    QTest::newRow("Shift+Del on the search node: nothing") << del << shift << 101 << "nothing";
}

// The tree's keys act on the selected node as its pop-up's items would, and
// on a node where the item is disabled they do nothing.
void TestEntryList::treeKeys()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, node);
    QFETCH(QString, outcome);
    auto *tree = m_window->findChild<CategoryTreeView *>("categoryTree");
    CategoryTreeModel &model = m_window->models().tree();
    if (node == 0) {
        node = model.addCategory(model.nodeOfNumber(1000), "Empty")->number;
        tree->rebuild();
    }
    tree->setFocus();
    tree->selectNumber(node);
    QCOMPARE(tree->selectedNumber(), node);
    QVERIFY(!m_window->lifecycle().isModified());
    if (outcome == "refused")
        m_prompter->expectMessage("Please delete items below first.", Prompter::Icon::Information, Prompter::Button::Ok,
                                  Prompter::Button::Ok);
    QTest::keyClick(tree, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QVERIFY(m_prompter->verifyAllAnswered());
    QCOMPARE(m_prompter->messages(), outcome == "refused" ? QStringList{"Please delete items below first."} : QStringList());
    const auto *editor = tree->findChild<QLineEdit *>();
    QCOMPARE(editor && editor->isVisible(), outcome == "renaming");
    QCOMPARE(model.nodeOfNumber(node) == nullptr, outcome == "deleted");
    QCOMPARE(m_window->lifecycle().isModified(), outcome == "deleted");
}

void TestEntryList::initialsGrid()
{
    auto *grid = m_window->findChild<InitialsGridView *>("initialsGrid");
    QVERIFY(!grid->isVisible());
    m_window->findChild<QComboBox *>("nameLookup")->setFocus(); // the name lookup brings up the initials
    QVERIFY(grid->isVisible());
    m_list->setFocus(); // the list brings back the tree
    QVERIFY(!grid->isVisible());
    m_window->findChild<QComboBox *>("nameLookup")->setFocus();
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_F5);
    QCOMPARE(m_data->personList.filter(), QString("not (Yellow=true)"));
    const QString initial = grid->item(0, 1)->text();
    QVERIFY(!initial.isEmpty());
    grid->setCurrentCell(0, 1);
    QCOMPARE(m_data->personList.filter(), "Surname='" + initial + "*' and (not (Yellow=true))");
    const QString before = m_data->personList.filter();
    if (grid->rowCount() > 1 && grid->item(grid->rowCount() - 1, grid->columnCount() - 1)->text().isEmpty()) {
        grid->setCurrentCell(grid->rowCount() - 1, grid->columnCount() - 1); // an empty cell
        QCOMPARE(m_data->personList.filter(), before);
        QCOMPARE(grid->currentColumn(), 1);
    }
}

void TestEntryList::initialsGridClicks_data()
{
    // Cells as "column,row"; "down" is the Down key. A, B, C in the first row
    // after the way back to the tree, D alone in the second.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("listed"); // initials chosen, in order; "" is the way back
    QTest::addColumn<QPoint>("current");
    QTest::newRow("an initial") << QStringList{"1,0"} << QStringList{"A"} << QPoint(1, 0);
    QTest::newRow("the current initial again") << QStringList{"1,0", "1,0"} << QStringList{"A", "A"} << QPoint(1, 0);
    QTest::newRow("an empty cell: nothing") << QStringList{"1,0", "2,1"} << QStringList{"A"} << QPoint(1, 0);
    QTest::newRow("the first cell of a row") << QStringList{"1,0", "0,1"} << QStringList{"A", "D"} << QPoint(0, 1);
    QTest::newRow("the way back filters nothing") << QStringList{"1,0", "0,0"} << QStringList{"A", ""} << QPoint(0, 0);
    QTest::newRow("Down onto an empty cell: nothing") << QStringList{"2,0", "down"} << QStringList{"B"} << QPoint(2, 0);
}

void TestEntryList::initialsGridClicks()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, listed);
    QFETCH(QPoint, current);
    InitialsGridView grid;
    grid.resize(200, 100);
    grid.fill({"A", "B", "C", "D"}, 50);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QCOMPARE(grid.columnCount(), 4);
    QSignalSpy chosen(&grid, &InitialsGridView::initialSelected);
    for (const QString &step : steps) {
        if (step == "down") {
            QTest::keyClick(&grid, Qt::Key_Down);
            continue;
        }
        const QRect rect = grid.visualItemRect(grid.item(step.section(',', 1).toInt(), step.section(',', 0, 0).toInt()));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, rect.center());
    }
    QStringList got;
    for (const QList<QVariant> &signal : chosen)
        got << signal.at(0).toString();
    QCOMPARE(got, listed);
    QCOMPARE(QPoint(grid.currentColumn(), grid.currentRow()), current);
    // The highlight stays with the current cell.
    const QList<QTableWidgetItem *> selected = grid.selectedItems();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(QPoint(selected[0]->column(), selected[0]->row()), current);
}

void TestEntryList::currentInitialListedAgain()
{
    auto *grid = m_window->findChild<InitialsGridView *>("initialsGrid");
    auto *lookup = m_window->findChild<QComboBox *>("nameLookup");
    auto clickCell = [grid](int row, int column) {
        QCoreApplication::processEvents(); // the grid just shown takes its place first
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(row, column)).center());
    };
    lookup->setFocus(); // the name lookup brings up the initials
    QVERIFY(grid->isVisible());
    clickCell(0, 1);
    const QString initialFilter = "Surname='" + grid->item(0, 1)->text() + "*' and (not (Yellow=true))";
    QCOMPARE(m_data->personList.filter(), initialFilter);
    QVERIFY(!grid->isVisible()); // the tree is back
    m_window->findChild<CategoryTreeView *>("categoryTree")->selectNumber(1005);
    QCOMPARE(m_data->personList.filter(), QString("Group1=1005 OR Group2=1005 OR Group3=1005 OR Group4=1005"));
    lookup->setFocus();
    QCOMPARE(grid->currentColumn(), 1);
    clickCell(0, 1); // the cell is still current: its entries are listed again
    QCOMPARE(m_data->personList.filter(), initialFilter);
    QCOMPARE(m_window->countsText(), QString("40 Entries; %1 Listed; 0 Selected").arg(m_data->personList.recordCount()));
}

void TestEntryList::deleteKey()
{
    click(2);
    click(3, Qt::ControlModifier);
    m_prompter->expectMessage("Are you sure you want to delete all selected entries?", Prompter::Icon::Confirmation,
                              Prompter::Button::Yes | Prompter::Button::No, Prompter::Button::Yes);
    QTest::keyClick(m_list, Qt::Key_Delete);
    QCOMPARE(m_window->countsText(), QString("38 Entries; 38 Listed; 0 Selected"));
    m_prompter->expectMessage("Are you sure you want to delete current entry?", Prompter::Icon::Confirmation,
                              Prompter::Button::Yes | Prompter::Button::No, Prompter::Button::No);
    QTest::keyClick(m_list, Qt::Key_Delete);
    QCOMPARE(m_data->personLookup.recordCount(), 38);
}

void TestEntryList::deleteFromEmptyList()
{
    // An initial's entries all deleted: it stays in the grid and lists nothing.
    auto *grid = m_window->findChild<InitialsGridView *>("initialsGrid");
    m_window->findChild<QComboBox *>("nameLookup")->setFocus();
    QCoreApplication::processEvents(); // the grid just shown takes its place first
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(0, 1)).center());
    const int listed = m_data->personList.recordCount();
    QVERIFY(listed > 0);
    m_list->setFocus();
    QTest::keyClick(m_list, Qt::Key_A, Qt::ControlModifier);
    m_prompter->expectMessage("Are you sure you want to delete all selected entries?", Prompter::Icon::Confirmation,
                              Prompter::Button::Yes | Prompter::Button::No, Prompter::Button::Yes);
    QTest::keyClick(m_list, Qt::Key_Delete);
    QCOMPARE(m_window->countsText(), QString("%1 Entries; 0 Listed; 0 Selected").arg(40 - listed));
    m_prompter->expectMessage("Are you sure you want to delete current entry?", Prompter::Icon::Confirmation,
                              Prompter::Button::Yes | Prompter::Button::No, Prompter::Button::Yes);
    m_prompter->expectMessage("No more deletion.", Prompter::Icon::Information, Prompter::Button::Ok, Prompter::Button::Ok);
    QTest::keyClick(m_list, Qt::Key_Delete);
    QVERIFY(m_prompter->verifyAllAnswered());
    QCOMPARE(m_data->personLookup.recordCount(), 40 - listed);
    QVERIFY(QApplication::overrideCursor() == nullptr); // the hourglass is gone again
}

QTEST_MAIN(TestEntryList)
#include "tst_entrylist.moc"
