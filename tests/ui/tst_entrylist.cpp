// The entry list in the main window: marking with mouse and keyboard, the
// status line, the category tree choosing what is listed.
#include "ScriptedPrompter.h"

#include "data/RecordStore.h"
#include "navigation/CategoryTreeView.h"
#include "navigation/InitialsGridView.h"
#include "navigation/RecordListView.h"
#include "shell/ProgramDirectory.h"
#include "shell/MainWindow.h"

#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
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
    void selectAllAndFocusLoss();
    void categoryFromTheTree();
    void dropMarkedEntries_data();
    void dropMarkedEntries();
    void treePopupEnabling_data();
    void treePopupEnabling();
    void categoryEditing();
    void initialsGrid();
    void deleteKey();

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
    QCOMPARE(m_window->findChild<QLineEdit *>("NameEd")->text(), m_list->model()->index(rows.last(), 0).data().toString());
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

QTEST_MAIN(TestEntryList)
#include "tst_entrylist.moc"
