#include "PersonFixture.h"

#include "data/TableView.h"
#include "navigation/RecordListModel.h"
#include "navigation/InitialsGrid.h"
#include "navigation/RowMarks.h"

#include <QTest>

using namespace qv;

Q_DECLARE_METATYPE(std::vector<int>)

class TestRecList : public QObject {
    Q_OBJECT
private slots:
    void filters_data();
    void filters();
    void reapplyKeepsASearch();
    void counts();
    void clicks_data();
    void clicks();
    void shiftArrows_data();
    void shiftArrows();
    void gridColumns_data();
    void gridColumns();
    void gridFill_data();
    void gridFill();
};

void TestRecList::filters_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<int>("listed");
    QTest::addColumn<bool>("caseInsensitive");

    QTest::newRow("all") << "all" << "" << "" << 6 << false;
    QTest::newRow("category 1005, fourth slot too") << "category" << "1005"
        << "Group1=1005 OR Group2=1005 OR Group3=1005 OR Group4=1005" << 2 << false;
    QTest::newRow("initial M, white pages, either case") << "initial" << "M"
        << "Surname='M*' and (not (Yellow=true))" << 2 << true;
    QTest::newRow("initial with a quote") << "initial" << "O'"
        << "Surname='O''*' and (not (Yellow=true))" << 1 << true;
    QTest::newRow("initial A lists no yellow page") << "initial" << "A" << "Surname='A*' and (not (Yellow=true))" << 0 << true;
    QTest::newRow("empty initial: white pages") << "initial" << "" << "not (Yellow=true)" << 5 << false;
    QTest::newRow("yellow pages") << "yellow" << "" << "Yellow=true" << 1 << false;
    QTest::newRow("node 1000: all") << "node" << "1000" << "" << 6 << false;
    QTest::newRow("node 1005: the category") << "node" << "1005" << "Group1=1005 OR Group2=1005 OR Group3=1005 OR Group4=1005" << 2 << false;
    QTest::newRow("node 110: yellow pages") << "node" << "110" << "Yellow=true" << 1 << false;
}

void TestRecList::filters()
{
    QFETCH(QString, operation);
    QFETCH(QString, argument);
    QFETCH(QString, filter);
    QFETCH(int, listed);
    QFETCH(bool, caseInsensitive);
    TableView persons("personList", personFields());
    TableView organisations("organisationList", organisationFields());
    for (const auto &row : test::filterFixture())
        persons.appendRecord(row);
    RecordListModel list;
    list.attachTables(persons, organisations);
    if (operation == "all")
        list.showAll();
    else if (operation == "category")
        list.showCategory(argument.toInt());
    else if (operation == "node")
        QCOMPARE(list.showNode(argument.toInt()), !filter.isNull());
    else if (operation == "initial")
        list.showInitial(argument, false);
    else
        list.showYellowPages();
    QCOMPARE(list.currentFilter(), filter);
    QCOMPARE(persons.filter(), filter);
    QCOMPARE(persons.recordCount(), listed);
    QCOMPARE(persons.caseInsensitive(), caseInsensitive);
    list.reapply();
    QCOMPARE(persons.filter(), filter);
}

void TestRecList::reapplyKeepsASearch()
{
    // A search sets the list's filter itself; entries filed or edited
    // afterwards must not bring back the category listed before it.
    TableView persons("personList", personFields());
    TableView organisations("organisationList", organisationFields());
    for (const auto &row : test::filterFixture())
        persons.appendRecord(row);
    RecordListModel list;
    list.attachTables(persons, organisations);
    list.showCategory(1005);
    persons.setFilter("OrgID=2002");
    QCOMPARE(persons.recordCount(), 2);
    persons.setRecNo(1);
    persons.edit();
    persons.setValue("OrgID", qint32(0));
    persons.post();
    list.reapply();
    QCOMPARE(persons.filter(), QString("OrgID=2002"));
    QCOMPARE(persons.recordCount(), 1);
}

void TestRecList::counts()
{
    QCOMPARE(RecordListModel::countsText(12, 5, 2), QString("12 Entries; 5 Listed; 2 Selected"));
    QCOMPARE(RecordListModel::countsText(0, 0, 0), QString("0 Entries; 0 Listed; 0 Selected"));
}

void TestRecList::clicks_data()
{
    QTest::addColumn<QStringList>("clicks"); // "row", "^row" (Ctrl), "+row" (Shift)
    QTest::addColumn<std::vector<int>>("marked");
    QTest::newRow("plain click marks one") << QStringList{"3"} << std::vector<int>{3};
    QTest::newRow("plain click on another replaces") << QStringList{"3", "5"} << std::vector<int>{5};
    QTest::newRow("click on a marked row keeps three") << QStringList{"1", "^2", "^3", "2"} << std::vector<int>{1, 2, 3};
    QTest::newRow("click on an unmarked row leaves one") << QStringList{"1", "^2", "^3", "7"} << std::vector<int>{7};
    QTest::newRow("ctrl toggles") << QStringList{"1", "^4", "^1"} << std::vector<int>{4};
    QTest::newRow("shift five below the anchor marks six") << QStringList{"2", "+7"} << std::vector<int>{2, 3, 4, 5, 6, 7};
    QTest::newRow("shift above the anchor") << QStringList{"5", "+3"} << std::vector<int>{3, 4, 5};
    QTest::newRow("shift keeps other marks") << QStringList{"9", "^2", "+4"} << std::vector<int>{2, 3, 4, 9};
    QTest::newRow("shift with no marks does nothing") << QStringList{"^2", "^2", "+6"} << std::vector<int>{};
}

void TestRecList::clicks()
{
    QFETCH(QStringList, clicks);
    QFETCH(std::vector<int>, marked);
    RowMarks marks;
    for (const QString &c : clicks) {
        const RowMarks::Modifier m = c.startsWith('^') ? RowMarks::Modifier::Ctrl
            : c.startsWith('+')                         ? RowMarks::Modifier::Shift
                                                        : RowMarks::Modifier::None;
        marks.click(c.right(c.size() - (m == RowMarks::Modifier::None ? 0 : 1)).toInt(), m);
    }
    QCOMPARE(marks.rows(), marked);
    QCOMPARE(marks.count(), int(marked.size()));
}

void TestRecList::shiftArrows_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<QList<int>>("moves"); // +1 Down, -1 Up, all with Shift
    QTest::addColumn<std::vector<int>>("marked");
    QTest::newRow("one step down") << 3 << QList<int>{1} << std::vector<int>{3, 4};
    QTest::newRow("three steps down") << 3 << QList<int>{1, 1, 1} << std::vector<int>{3, 4, 5, 6};
    QTest::newRow("down then back") << 3 << QList<int>{1, 1, -1} << std::vector<int>{3, 4};
    QTest::newRow("back past the anchor") << 3 << QList<int>{1, -1, -1} << std::vector<int>{2, 3};
    QTest::newRow("up") << 5 << QList<int>{-1, -1} << std::vector<int>{3, 4, 5};
}

void TestRecList::shiftArrows()
{
    QFETCH(int, start);
    QFETCH(QList<int>, moves);
    QFETCH(std::vector<int>, marked);
    RowMarks marks;
    int row = start;
    for (int m : moves) {
        marks.step(row, row + m, true);
        row += m;
    }
    QCOMPARE(marks.rows(), marked);
    marks.step(row, row + 1, false); // an arrow without Shift clears
    QCOMPARE(marks.count(), 0);
}

void TestRecList::gridColumns_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("columns");
    QTest::newRow("100 pixels") << 100 << 4;
    QTest::newRow("300 pixels") << 300 << 13;
    QTest::newRow("narrower than four cells") << 30 << 4;
}

void TestRecList::gridColumns()
{
    QFETCH(int, width);
    QFETCH(int, columns);
    QCOMPARE(InitialsGrid::columnsFor(width), columns);
}

void TestRecList::gridFill_data()
{
    QTest::addColumn<int>("initials");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QStringList>("rows"); // cells joined by "|"
    QTest::newRow("seven in four columns: two rows") << 7 << 4 << QStringList{"|A|B|C", "D|E|F|G"};
    QTest::newRow("three in four columns: one row") << 3 << 4 << QStringList{"|A|B|C"};
    QTest::newRow("four in four columns: a short second row") << 4 << 4 << QStringList{"|A|B|C", "D|||"};
    QTest::newRow("none: only the way back to the tree") << 0 << 4 << QStringList{"|||"};
    QTest::newRow("thirteen columns") << 7 << 13 << QStringList{"|A|B|C|D|E|F|G|||||"};
}

void TestRecList::gridFill()
{
    QFETCH(int, initials);
    QFETCH(int, columns);
    QFETCH(QStringList, rows);
    QStringList list;
    for (int i = 0; i < initials; ++i)
        list << QString(QChar('A' + i));
    const InitialsGrid grid = InitialsGrid::fill(list, columns);
    QStringList got;
    for (const QStringList &row : grid.rows)
        got << row.join('|');
    QCOMPARE(got, rows);
}

QTEST_APPLESS_MAIN(TestRecList)
#include "tst_reclist.moc"
