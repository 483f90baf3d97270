#include "common/Error.h"
#include "navigation/CategoryTreeModel.h"

#include <QTest>

using namespace qv;

namespace {

// All(1000) > Friends(1001) > School(1002); All > Work(1003); Search(101)
const QByteArray kTree = "All\r\n\tFriends\r\n\t\tSchool\r\n\tWork\r\nSearch\r\n";
const QByteArray kNumbers = "1000\r\n1001\r\n1002\r\n1003\r\n101\r\n";

QStringList captions(const CategoryTreeModel &tree)
{
    QStringList list;
    for (const CategoryNode *n : tree.forest().preOrder())
        list << QString(n->depth(), '-') + n->caption;
    return list;
}

} // namespace

class TestCategoryTree : public QObject {
    Q_OBJECT
private slots:
    void read_data();
    void read();
    void roundTrip();
    void addAndRename();
    void remove();
    void moves_data();
    void moves();
    void acceptsDrop();
    void fixedNodes();
    void paths();
    void numbersRiseAcrossBooks();
};

void TestCategoryTree::read_data()
{
    QTest::addColumn<QByteArray>("tree");
    QTest::addColumn<QByteArray>("numbers");
    QTest::addColumn<QStringList>("shape");
    QTest::addColumn<QString>("error");
    QTest::newRow("shape") << kTree << kNumbers << QStringList{"All", "-Friends", "--School", "-Work", "Search"} << "";
    QTest::newRow("first line indented is a root") << QByteArray("\t\tAll\n\tA\n") << QByteArray("1000\n1001\n")
                                                   << QStringList{"All", "-A"} << "";
    QTest::newRow("lone CR, lone LF, spaces count, no last line end")
        << QByteArray("All\r A\n  B\rC") << QByteArray("1000\r\n1001\n1002\r103")
        << QStringList{"All", "-A", "--B", "C"} << "";
    QTest::newRow("NUL ends the text") << QByteArray("All\n\tA\n\0\tB\n", 11) << QByteArray("1000\n1001\n")
                                       << QStringList{"All", "-A"} << "";
    QTest::newRow("empty line is an empty root") << QByteArray("All\n\nX\n") << QByteArray("1000\n1\n2\n")
                                                 << QStringList{"All", "", "X"} << "";
    QTest::newRow("depth two after a root") << QByteArray("All\n\t\tDeep\n") << QByteArray("1000\n1001\n") << QStringList()
                                           << "Invalid level (2) for item \"Deep\"";
    QTest::newRow("number not an integer") << kTree << QByteArray("1000\nabc\n") << QStringList()
                                           << "'abc' is not a valid integer value";
    QTest::newRow("fewer numbers than nodes") << kTree << QByteArray("1000\n1001\n") << QStringList()
                                              << "List index out of bounds (2)";
    QTest::newRow("empty files") << QByteArray() << QByteArray() << QStringList() << "";
}

void TestCategoryTree::read()
{
    QFETCH(QByteArray, tree);
    QFETCH(QByteArray, numbers);
    QFETCH(QStringList, shape);
    QFETCH(QString, error);
    CategoryTreeModel model;
    try {
        model.loadTree(tree, numbers);
        QVERIFY2(error.isEmpty(), "the files were accepted");
        QCOMPARE(captions(model), shape);
    } catch (const Error &e) {
        QCOMPARE(e.text(), error);
    }
}

void TestCategoryTree::roundTrip()
{
    CategoryTreeModel model;
    model.loadTree(kTree, kNumbers);
    QCOMPARE(model.treeFile(), kTree);
    QCOMPARE(model.numberFile(), kNumbers);
}

void TestCategoryTree::addAndRename()
{
    CategoryTreeModel model;
    model.loadTree(kTree, kNumbers);
    CategoryNode *all = model.nodeOfNumber(1000);
    CategoryNode *first = model.addCategory(all, "New Category");
    CategoryNode *second = model.addCategory(all, "New Category");
    QCOMPARE(first->caption, QString("New Category"));
    QCOMPARE(second->caption, QString("New Category I"));
    QCOMPARE(first->number, 1004);
    QCOMPARE(second->number, 1005);
    QCOMPARE(model.indexOfNumber(1005), 5); // pre-order: after Work and the first new one
    QVERIFY(!model.addCategory(model.nodeOfNumber(101), "x")); // under a fixed node other than 1000
    QVERIFY(model.renameCategory(second, "   "));
    QCOMPARE(second->caption, QString("U Category"));
    QVERIFY(model.renameCategory(second, "Work"));
    QCOMPARE(second->caption, QString("Work I"));
    QVERIFY(!model.renameCategory(second, "Work")); // unchanged: itself does not clash
    QVERIFY(!model.renameCategory(all, "Everything"));
    QCOMPARE(all->caption, QString("All"));
}

void TestCategoryTree::remove()
{
    CategoryTreeModel model;
    model.loadTree(kTree, kNumbers);
    QVERIFY(!model.removeCategory(model.nodeOfNumber(1001))); // has a child
    QVERIFY(!model.removeCategory(model.nodeOfNumber(101)));  // fixed
    QVERIFY(model.removeCategory(model.nodeOfNumber(1002)));
    QCOMPARE(captions(model), (QStringList{"All", "-Friends", "-Work", "Search"}));
    QCOMPARE(model.numberFile(), QByteArray("1000\r\n1001\r\n1003\r\n101\r\n"));
}

void TestCategoryTree::moves_data()
{
    QTest::addColumn<int>("node");
    QTest::addColumn<int>("target");
    QTest::addColumn<bool>("asChild");
    QTest::addColumn<bool>("moved");
    QTest::addColumn<QStringList>("shape");
    const QStringList unchanged{"All", "-Friends", "--School", "-Work", "Search"};
    QTest::newRow("as child") << 1003 << 1001 << true << true << QStringList{"All", "-Friends", "--School", "--Work", "Search"};
    QTest::newRow("shift: before the target") << 1003 << 1001 << false << true
                                              << QStringList{"All", "-Work", "-Friends", "--School", "Search"};
    QTest::newRow("shift: out of a sub-category") << 1002 << 1003 << false << true
                                                  << QStringList{"All", "-Friends", "-School", "-Work", "Search"};
    QTest::newRow("onto the all-entries node: last top-level") << 1002 << 1000 << false << true
                                                               << QStringList{"All", "-Friends", "-Work", "-School", "Search"};
    QTest::newRow("onto its own child") << 1001 << 1002 << true << false << unchanged;
    QTest::newRow("onto itself") << 1001 << 1001 << true << false << unchanged;
    QTest::newRow("onto its parent") << 1002 << 1001 << true << false << unchanged;
    QTest::newRow("onto a fixed node") << 1003 << 101 << true << false << unchanged;
    QTest::newRow("a root node") << 1000 << 1003 << true << false << unchanged;
}

void TestCategoryTree::moves()
{
    QFETCH(int, node);
    QFETCH(int, target);
    QFETCH(bool, asChild);
    QFETCH(bool, moved);
    QFETCH(QStringList, shape);
    CategoryTreeModel model;
    model.loadTree(kTree, kNumbers);
    QCOMPARE(model.moveCategory(model.nodeOfNumber(node), model.nodeOfNumber(target), asChild), moved);
    QCOMPARE(captions(model), shape);
}

void TestCategoryTree::acceptsDrop()
{
    CategoryTreeModel model;
    model.loadTree(kTree, kNumbers);
    using S = CategoryTreeModel::DragSource;
    QVERIFY(model.acceptsDrop(S::RecordList, model.nodeOfNumber(1001), nullptr));
    QVERIFY(!model.acceptsDrop(S::RecordList, model.nodeOfNumber(1000), nullptr));
    QVERIFY(!model.acceptsDrop(S::RecordList, model.nodeOfNumber(101), nullptr));
    QVERIFY(model.acceptsDrop(S::Tree, model.nodeOfNumber(1000), model.nodeOfNumber(1003)));
    QVERIFY(!model.acceptsDrop(S::Tree, model.nodeOfNumber(1001), model.nodeOfNumber(1000)));
    QVERIFY(!model.acceptsDrop(S::Tree, nullptr, model.nodeOfNumber(1003)));
}

void TestCategoryTree::fixedNodes()
{
    CategoryTreeModel model;
    model.loadTree(kTree, kNumbers);
    QVERIFY(!model.insertFixedNode(1001, "x", true, 120)); // anchor a user category
    QVERIFY(!model.insertFixedNode(101, "x", true, 1000)); // number not below 1000
    QVERIFY(!model.insertFixedNode(555, "x", true, 120));  // no such anchor
    QVERIFY(model.insertFixedNode(101, "Org Contacts", true, 110));
    QCOMPARE(captions(model), (QStringList{"All", "-Friends", "--School", "-Work", "Org Contacts", "Search"}));
    QVERIFY(model.insertFixedNode(101, "Last", false, 120));
    QCOMPARE(captions(model).last(), QString("Last"));
    QCOMPARE(model.makeCaptionUnique(model.nodeOfNumber(110), "Search"), QString("Search")); // fixed nodes keep theirs
}

void TestCategoryTree::paths()
{
    CategoryTreeModel model;
    model.loadTree("All\r\n\tFriends\r\n\t\tSchool\r\n\tWork\r\nSearch\r\n\tHidden\r\n",
                   "1000\r\n1001\r\n1002\r\n1003\r\n101\r\n1004\r\n");
    QCOMPARE(model.categoryPaths(), (QStringList{"", "Friends/", "Friends/School/", "Work/"}));
    model.renameCategory(model.nodeOfNumber(1001), "Pals");
    QCOMPARE(model.categoryPaths().at(2), QString("Pals/School/"));
    QCOMPARE(model.numberAt(2), 1002);
}

void TestCategoryTree::numbersRiseAcrossBooks()
{
    CategoryTreeModel model;
    model.loadTree("All\r\n\tA\r\n", "1000\r\n1040\r\n");
    model.loadTree("All\r\n\tB\r\n", "1000\r\n1005\r\n");
    QCOMPARE(model.addCategory(model.nodeOfNumber(1000), "New Category")->number, 1041);
}

QTEST_APPLESS_MAIN(TestCategoryTree)
#include "tst_categorytree.moc"
