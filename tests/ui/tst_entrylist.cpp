// The entry list in the main window: marking with mouse and keyboard, the
// status line, the category tree choosing what is listed.
#include "ScriptedPrompter.h"

#include "data/CardData.h"
#include "navigation/RecordListView.h"
#include "shell/ProgramDirectory.h"
#include "shell/TMainQVMolk.h"

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

private:
    void click(int row, Qt::KeyboardModifiers modifiers = {});
    QTemporaryDir m_dir;
    std::unique_ptr<TCardData> m_data;
    std::unique_ptr<test::ScriptedPrompter> m_prompter;
    std::unique_ptr<TMainQVMolk> m_window;
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
    m_data = std::make_unique<TCardData>();
    m_prompter = std::make_unique<test::ScriptedPrompter>();
    m_window = std::make_unique<TMainQVMolk>(m_dir.path() + "/", m_dir.path() + "/work/", *m_data, m_prompter.get());
    m_window->resize(800, 700);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_list = m_window->findChild<RecordListView *>("RecDBGrid");
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
    m_window->findChild<QTreeWidget *>("NavgTree")->setFocus(); // tabbing away
    QCOMPARE(m_list->marks().count(), 0);
    QCOMPARE(m_window->countsText(), QString("40 Entries; 40 Listed; 0 Selected"));
}

void TestEntryList::categoryFromTheTree()
{
    auto *tree = m_window->findChild<QTreeWidget *>("NavgTree");
    QTreeWidgetItem *category = tree->topLevelItem(0)->child(4); // number 1005
    QCOMPARE(category->data(0, Qt::UserRole).toInt(), 1005);
    tree->setCurrentItem(category);
    QCOMPARE(m_data->NameDataSet.filter(), QString("Group1=1005 OR Group2=1005 OR Group3=1005 OR Group4=1005"));
    const int listed = m_data->NameDataSet.recordCount();
    QVERIFY(listed > 0 && listed < 40);
    QCOMPARE(m_window->countsText(), QString("40 Entries; %1 Listed; 0 Selected").arg(listed));
    tree->setCurrentItem(tree->topLevelItem(0));
    QCOMPARE(m_data->NameDataSet.recordCount(), 40);
}

QTEST_MAIN(TestEntryList)
#include "tst_entrylist.moc"
