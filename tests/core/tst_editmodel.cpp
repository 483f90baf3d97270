#include "EditingBook.h"
#include "PersonFixture.h"
#include "ScriptedPrompter.h"

#include "data/RecordStore.h"
#include "editing/EditModel.h"
#include "editing/CategoryAssignment.h"
#include "editing/DeleteEntries.h"
#include "navigation/CategoryTreeModel.h"
#include "settings/Settings.h"

#include <QTest>

using namespace qv;
using test::person;

Q_DECLARE_METATYPE(qv::NameFields)
Q_DECLARE_METATYPE(std::vector<qv::Value>)

namespace {

using Book = test::EditingBook;

std::vector<Value> groupSlots(qint32 a, qint32 b, qint32 c, Value d)
{
    return person({{"ClientID", qint32(2001)}, {"Name", QString("X")}, {"Group1", a}, {"Group2", b}, {"Group3", c}, {"Group4", d}});
}

} // namespace

class TestEditModel : public QObject {
    Q_OBJECT
private slots:
    void identifiers_data();
    void identifiers();
    void addCancelAdd();
    void splitName_data();
    void splitName();
    void compoundSurnameList_data();
    void compoundSurnameList();
    void composeName_data();
    void composeName();
    void applyNameStep_data();
    void applyNameStep();
    void namePartsStep_data();
    void namePartsStep();
    void organisationByName_data();
    void organisationByName();
    void newOrganisationRolledBack();
    void addToCategory_data();
    void addToCategory();
    void removeFromCategory();
    void deleteCategoryIfEmpty();
    void isolatedOrganisations();
    void initials();
    void initialsIgnoreCase_data();
    void initialsIgnoreCase();
    void deleteCommand_data();
    void deleteCommand();
    void dropEntries_data();
    void dropEntries();
};

void TestEditModel::identifiers_data()
{
    QTest::addColumn<int>("largest"); // 0: empty table
    QTest::addColumn<int>("next");
    QTest::newRow("empty table") << 0 << 2001;
    QTest::newRow("largest 1500") << 1500 << 2001;
    QTest::newRow("largest 2500") << 2500 << 2501;
}

void TestEditModel::identifiers()
{
    QFETCH(int, largest);
    QFETCH(int, next);
    Book book(largest ? std::vector<std::vector<Value>>{person({{"ClientID", qint32(largest)}})} : std::vector<std::vector<Value>>{});
    book.edit.addPerson();
    QCOMPARE(book.data.personList.value("ClientID"), Value(qint32(next)));
    QCOMPARE(book.data.personList.value("OrgID"), Value(qint32(0)));
    QCOMPARE(book.data.personList.value("Yellow"), Value(false));
    QCOMPARE(book.data.organisationList.text("CoID"), QString("0"));
    QCOMPARE(book.edit.appendOrganisation("New Org"), 2002); // 2001 is ACME
}

void TestEditModel::addCancelAdd()
{
    Book book;
    book.edit.addPerson();
    book.edit.rollBack();
    QCOMPARE(book.data.personList.recordCount(), 0);
    book.edit.addPerson();
    QCOMPARE(book.data.personList.value("ClientID"), Value(qint32(2002)));
    book.edit.commitEdit();
    QCOMPARE(book.data.personList.recordCount(), 1);
}

void TestEditModel::splitName_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<NameFields>("expected");
    QTest::newRow("given surname") << "John Smith" << NameFields{"Smith", "John", "", 2};
    QTest::newRow("three words") << "John Paul Smith" << NameFields{"Smith", "John", "Paul", 2};
    QTest::newRow("one word is the given name") << "Smith" << NameFields{"", "Smith", "", 2};
    QTest::newRow("comma") << "Smith, John" << NameFields{"John", "Smith", "", 2};
    QTest::newRow("blanks everywhere") << "  john   paul  smith  " << NameFields{"smith", "john", "paul", 2};
    QTest::newRow("a particle begins the surname") << "Anna Maria del Rio" << NameFields{"del Rio", "Anna", "Maria", 0};
    QTest::newRow("a particle right after the given name") << "Ludwig van Beethoven" << NameFields{"van Beethoven", "Ludwig", "", 2};
    QTest::newRow("two particles") << "Juan Carlos de la Cruz" << NameFields{"de la Cruz", "Juan", "Carlos", 0};
    QTest::newRow("words between join the middle name") << "Anna Maria Luisa Schmidt" << NameFields{"Schmidt", "Anna", "Maria Luisa", 0};
    QTest::newRow("a capitalised particle is a name") << "Anna Maria Del Rio" << NameFields{"Rio", "Anna", "Maria Del", 0};
    QTest::newRow("a particle last is the surname") << "Anna Maria van" << NameFields{"van", "Anna", "Maria", 2};
    QTest::newRow("full stop") << "J. Smith" << NameFields{"Smith", "J", "", 2};
    QTest::newRow("leading delimiter") << ".Smith" << NameFields{"Smith", "", "", 2};
    QTest::newRow("one-character surname") << "\u738b\u5c0f\u660e" << NameFields{"\u738b", "\u5c0f\u660e", "", 1};
    QTest::newRow("compound surname") << "\u6b27\u9633\u4fee" << NameFields{"\u6b27\u9633", "\u4fee", "", 1};
    QTest::newRow("space after the surname") << "\u738b \u5c0f\u660e" << NameFields{"\u738b", "\u5c0f\u660e", "", 1};
    QTest::newRow("a long given name is whole") << "\u738b" + QString("\u5c0f").repeated(12)
                                                << NameFields{"\u738b", QString("\u5c0f").repeated(12), "", 1};
}

void TestEditModel::splitName()
{
    QFETCH(QString, text);
    QFETCH(NameFields, expected);
    QCOMPARE(qv::splitName(text, {"\u6b27\u9633"}), expected);
}

void TestEditModel::compoundSurnameList_data()
{
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("surName");
    QTest::addColumn<QString>("givenName");
    QTest::newRow("two wide characters listed") << QStringList{"\u53f8\u9a6c"} << "\u53f8\u9a6c\u5149" << "\u53f8\u9a6c" << "\u5149";
    QTest::newRow("listed in the other case") << QStringList{"\uff41\uff42"} << "\uff21\uff22\uff23" << "\uff21\uff22" << "\uff23";
    QTest::newRow("an ideograph outside the basic plane counts as one")
        << QStringList{"\u6b27\U00020000"} << "\u6b27\U00020000\u4fee" << "\u6b27\U00020000" << "\u4fee";
    QTest::newRow("a wide and a narrow character never match") << QStringList{"\u6b27a"} << "\u6b27a b" << "\u6b27" << "a b";
    QTest::newRow("three wide characters never match") << QStringList{"\u6b27\u9633\u4fee"} << "\u6b27\u9633\u4fee\u660e" << "\u6b27"
                                                          << "\u9633\u4fee\u660e";
    QTest::newRow("one wide character listed: one") << QStringList{"\u738b"} << "\u738b\u5c0f\u660e" << "\u738b" << "\u5c0f\u660e";
}

void TestEditModel::compoundSurnameList()
{
    QFETCH(QStringList, list);
    QFETCH(QString, text);
    QFETCH(QString, surName);
    QFETCH(QString, givenName);
    QCOMPARE(qv::splitName(text, list), (NameFields{surName, givenName, "", 1}));
}

void TestEditModel::composeName_data()
{
    QTest::addColumn<QString>("sur");
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("mid");
    QTest::addColumn<QString>("name");
    QTest::newRow("western") << "Smith" << "John" << "" << "John Smith";
    QTest::newRow("with middle") << "Smith" << "John" << "Paul" << "John Paul Smith";
    QTest::newRow("no given name") << "Smith" << "" << "" << "Smith";
    QTest::newRow("wide surname first, no space, no middle") << "\u6b27\u9633" << "\u4fee" << "X" << "\u6b27\u9633\u4fee";
}

void TestEditModel::composeName()
{
    QFETCH(QString, sur);
    QFETCH(QString, given);
    QFETCH(QString, mid);
    QFETCH(QString, name);
    QCOMPARE(qv::composeName(sur, given, mid), name);
}

void TestEditModel::applyNameStep_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("surName");
    QTest::addColumn<QString>("givenName");
    QTest::addColumn<QString>("midName");
    QTest::addColumn<QStringList>("cuts"); // field:kept
    const QString longName = "Maximilian " + QString("Alexander Friedrich ").repeated(14) + "Hohenzollern"; // 303 characters
    QTest::newRow("normalised") << "  john   paul  smith  " << "john paul smith" << "smith" << "john" << "paul" << QStringList();
    QTest::newRow("every word stays") << "Anna Maria del Rio" << "Anna Maria del Rio" << "del Rio" << "Anna" << "Maria" << QStringList();
    QTest::newRow("full stop kept in the name") << "J. Smith" << "J. Smith" << "Smith" << "J" << "" << QStringList();
    QTest::newRow("comma kept in the name") << "Smith, John" << "Smith, John" << "John" << "Smith" << "" << QStringList();
    QTest::newRow("middle name cut to its width") << "A Abcdefghijklmnop C" << "A Abcdefghijklmnop C" << "C" << "A" << "Abcdefghij"
                                                  << QStringList{"MidName:Abcdefghij"};
    QTest::newRow("a long name: Name and middle name cut, without a blank at the end")
        << longName << "Maximilian Alexander Friedrich Alexander Friedrich" << "Hohenzollern" << "Maximilian" << "Alexander"
        << QStringList{"MidName:Alexander", "Name:Maximilian Alexander Friedrich Alexander Friedrich"};
    QTest::newRow("compound surname") << "\u6b27\u9633\u4fee" << "\u6b27\u9633\u4fee" << "\u6b27\u9633" << "\u4fee" << "" << QStringList();
    QTest::newRow("compound surname, a space typed after it") << "\u53f8\u9a6c \u5149" << "\u53f8\u9a6c\u5149" << "\u53f8\u9a6c"
                                                              << "\u5149" << "" << QStringList();
    QTest::newRow("unlisted pair: one-character surname") << "\u738b\u5c0f\u660e" << "\u738b\u5c0f\u660e" << "\u738b"
                                                          << "\u5c0f\u660e" << "" << QStringList();
    QTest::newRow("a wide given name cut to its width, counting 2 a character")
        << "\u738b" + QString("\u5c0f").repeated(16) << "\u738b" + QString("\u5c0f").repeated(16) << "\u738b"
        << QString("\u5c0f").repeated(15) << "" << QStringList{"GivenName:" + QString("\u5c0f").repeated(15)};
}

void TestEditModel::applyNameStep()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(QString, surName);
    QFETCH(QString, givenName);
    QFETCH(QString, midName);
    QFETCH(QStringList, cuts);
    Book book;
    book.edit.addPerson();
    QString name = typed;
    bool nameChanged = true, fieldsChanged = false;
    QStringList reported;
    for (const NameCut &cut : book.edit.applyNameStep(name, nameChanged, fieldsChanged))
        reported << cut.field + ":" + cut.kept;
    QCOMPARE(name, stored);
    QVERIFY(!nameChanged);
    QCOMPARE(book.data.personList.text("SurName"), surName);
    QCOMPARE(book.data.personList.text("GivenName"), givenName);
    QCOMPARE(book.data.personList.text("MidName"), midName);
    QCOMPARE(book.edit.lastComposedName(), stored);
    QCOMPARE(reported, cuts);
}

void TestEditModel::namePartsStep_data()
{
    QTest::addColumn<QString>("surName"); // as stored; an empty text is stored as absent
    QTest::addColumn<QString>("givenName");
    QTest::addColumn<QString>("midName");
    QTest::addColumn<bool>("nameChanged");
    QTest::addColumn<bool>("partsChanged");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("written"); // the row was opened to write the missing parts
    QTest::addColumn<bool>("cut");     // the name was reported cut to the width of Name
    QTest::newRow("parts changed: composed from the row") << "Smith" << "John" << "Paul" << false << true << "John Paul Smith" << false << false;
    QTest::newRow("both changed: the parts win") << "Smith" << "John" << "Paul" << true << true << "John Paul Smith" << false << false;
    QTest::newRow("missing middle name written empty") << "Smith" << "John" << "" << false << true << "John Smith" << true << false;
    QTest::newRow("missing surname written empty") << "" << "John" << "Paul" << false << true << "John Paul" << true << false;
    QTest::newRow("no parts at all") << "" << "" << "" << false << true << "" << true << false;
    QTest::newRow("wide surname") << "\u738b" << "\u5c0f\u660e" << "" << false << true << "\u738b\u5c0f\u660e" << true << false;
    QTest::newRow("neither changed: the name stays") << "" << "John" << "" << false << false << "As typed" << false << false;
    QTest::newRow("composed name cut to the width of Name")
        << "Hohenzollern-Sigmaringen" << "Maximilian Alexander Friedrich" << "Wilhelm" << false << true
        << "Maximilian Alexander Friedrich Wilhelm Hohenzoller" << false << true;
}

void TestEditModel::namePartsStep()
{
    QFETCH(QString, surName);
    QFETCH(QString, givenName);
    QFETCH(QString, midName);
    QFETCH(bool, nameChanged);
    QFETCH(bool, partsChanged);
    QFETCH(QString, name);
    QFETCH(bool, written);
    QFETCH(bool, cut);
    Book book({person({{"ClientID", qint32(2001)}, {"SurName", surName}, {"GivenName", givenName}, {"MidName", midName}})});
    TableView &list = book.data.personList;
    list.first();
    QString typed = "As typed";
    const NameCuts cuts = book.edit.applyNameStep(typed, nameChanged, partsChanged);
    QCOMPARE(typed, name);
    QVERIFY(!nameChanged);
    QVERIFY(!partsChanged);
    QCOMPARE(book.edit.lastComposedName(), name);
    QCOMPARE(list.state() == TableView::State::Edit, written);
    QCOMPARE(QStringList({list.text("SurName"), list.text("GivenName"), list.text("MidName")}), QStringList({surName, givenName, midName}));
    QCOMPARE(cuts, cut ? NameCuts({{"Name", name}}) : NameCuts());
}

void TestEditModel::organisationByName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("orgId");
    QTest::addColumn<int>("organisations");
    QTest::newRow("existing, other case") << "acme" << int(EditModel::OrgFound) << 2001 << 2;
    QTest::newRow("blank: the default organisation") << "   " << int(EditModel::OrgBlank) << 0 << 2;
    QTest::newRow("new name: created at once") << "Globex" << int(EditModel::OrgCreated) << 2002 << 3;
}

void TestEditModel::organisationByName()
{
    QFETCH(QString, name);
    QFETCH(int, result);
    QFETCH(int, orgId);
    QFETCH(int, organisations);
    Book book({person({{"ClientID", qint32(2001)}, {"Name", QString("A")}, {"OrgID", qint32(0)}})});
    book.data.personList.first();
    QCOMPARE(int(book.edit.setOrganisationByName(name)), result);
    QCOMPARE(book.data.personList.value("OrgID"), Value(qint32(orgId)));
    QCOMPARE(book.data.organisationLookup.recordCount(), organisations);
}

void TestEditModel::newOrganisationRolledBack()
{
    Book book;
    book.edit.addPerson();
    book.edit.setOrganisationByName("Globex");
    QCOMPARE(book.data.organisationLookup.recordCount(), 3);
    book.edit.rollBack();
    QCOMPARE(book.data.organisationLookup.recordCount(), 2);
    QCOMPARE(book.data.personLookup.recordCount(), 0);
}

void TestEditModel::addToCategory_data()
{
    QTest::addColumn<std::vector<Value>>("row");
    QTest::addColumn<int>("number");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("slotsAfter");
    QTest::newRow("first empty slot") << groupSlots(1001, 1000, 1000, qint32(1000)) << 1002 << true << "1001,1002,1000,1000";
    QTest::newRow("four categories: refused") << groupSlots(1001, 1002, 1003, qint32(1004)) << 1005 << false << "1001,1002,1003,1004";
    QTest::newRow("already in it: refused") << groupSlots(1000, 1000, 1005, qint32(1000)) << 1005 << false << "1000,1000,1005,1000";
    QTest::newRow("1000: nothing to do") << groupSlots(1001, 1000, 1000, qint32(1000)) << 1000 << true << "1001,1000,1000,1000";
    QTest::newRow("an empty slot counts as taken") << groupSlots(1001, 1002, 1003, Value()) << 1005 << false << "1001,1002,1003,";
}

void TestEditModel::addToCategory()
{
    QFETCH(std::vector<Value>, row);
    QFETCH(int, number);
    QFETCH(bool, result);
    QFETCH(QString, slotsAfter);
    Book book({row});
    book.data.personList.first();
    QCOMPARE(book.edit.addToCategory(number), result);
    QStringList after;
    for (const char *slot : {"Group1", "Group2", "Group3", "Group4"})
        after << book.data.personList.text(slot);
    QCOMPARE(after.join(','), slotsAfter);
}

void TestEditModel::removeFromCategory()
{
    Book book({groupSlots(1001, 1005, 1005, qint32(1000))});
    book.data.personList.first();
    QVERIFY(book.edit.removeFromCategory(1005));
    QCOMPARE(book.data.personList.text("Group2"), QString("1000"));
    QCOMPARE(book.data.personList.text("Group3"), QString("1005")); // only the first
    QVERIFY(book.edit.removeFromCategory(1009));
    QCOMPARE(book.data.personList.text("Group1"), QString("1001"));
}

void TestEditModel::deleteCategoryIfEmpty()
{
    Book book({groupSlots(1000, 1000, 1000, qint32(1002))});
    QVERIFY(!book.edit.deleteCategoryIfEmpty(book.tree.nodeOfNumber(1002))); // a member holds it in slot 4
    QVERIFY(book.edit.deleteCategoryIfEmpty(book.tree.nodeOfNumber(1001)));
    QCOMPARE(book.tree.indexOfNumber(1001), -1);
    book.tree.addCategory(book.tree.nodeOfNumber(1002), "Child");
    book.data.personList.first();
    book.data.personList.remove();
    QVERIFY(!book.edit.deleteCategoryIfEmpty(book.tree.nodeOfNumber(1002))); // has a sub-category
}

void TestEditModel::isolatedOrganisations()
{
    Book book({person({{"ClientID", qint32(1)}, {"OrgID", qint32(2001)}, {"Yellow", true}})});
    book.edit.appendOrganisation("Lonely");
    book.data.organisationList.post();
    book.data.personList.setFilter("Yellow=false"); // hides ACME's only person: still in use
    QCOMPARE(book.edit.findIsolatedOrganisations().size(), size_t(1)); // never the default organisation
    QVERIFY(book.edit.deleteIsolatedOrganisations());
    QCOMPARE(book.data.organisationLookup.recordCount(), 2);
}

void TestEditModel::initials()
{
    Book book({person({{"SurName", QString("smith")}, {"Yellow", false}}), person({{"SurName", QString("Kim")}, {"Yellow", false}}),
               person({{"SurName", QString("\u738b")}, {"Yellow", false}}), person({{"SurName", QString("  ")}, {"Yellow", false}}),
               person({{"SurName", QString("Zeta Ltd")}, {"Yellow", true}}), person({{"SurName", QString("\u00e9mile")}, {"Yellow", false}})});
    QVERIFY(book.edit.scanInitials());
    QVERIFY(book.edit.hasYellowEntries());
    QCOMPARE(book.edit.initials().size(), 4);
    QVERIFY(book.edit.addInitial(" Lee")); // a leading blank is an initial of its own
    QVERIFY(book.edit.initials().contains(" "));
    book.edit.scanInitials();
    QVERIFY(book.edit.initials().contains("S"));
    QVERIFY(book.edit.initials().contains("\u738b"));
    QVERIFY(book.edit.initials().contains("\u00e9")); // only a to z are raised
    QVERIFY(!book.edit.initials().contains("Z"));     // yellow pages add none
    QVERIFY(!book.edit.addInitial("Kowalski"));
    QVERIFY(book.edit.addInitial("ng"));
    QVERIFY(!book.edit.addInitial("   "));
    // Deleting the last K keeps K until the next scan.
    book.data.personList.locate("SurName", QString("Kim"));
    book.edit.deleteCurrent();
    QVERIFY(book.edit.initials().contains("K"));
    book.edit.scanInitials();
    QVERIFY(!book.edit.initials().contains("K"));
}

void TestEditModel::initialsIgnoreCase_data()
{
    QTest::addColumn<QStringList>("surnames"); // white pages, in table order
    QTest::addColumn<QString>("added");
    QTest::addColumn<bool>("grew");
    QTest::addColumn<QStringList>("initials"); // in any order
    QTest::newRow("both cases scanned: the first one stays") << QStringList{"\u00e9mile", "\u00c9lodie"} << "Kim" << true
                                                             << QStringList{"\u00e9", "K"};
    QTest::newRow("the other case added") << QStringList{"\u00c9lodie"} << "\u00e9mile" << false << QStringList{"\u00c9"};
    QTest::newRow("Greek sigma") << QStringList{"\u03c3\u03bf\u03c6\u03af\u03b1"} << "\u03a3\u03c9\u03ba\u03c1\u03ac\u03c4\u03b7\u03c2"
                                 << false << QStringList{"\u03c3"};
    QTest::newRow("a to z raised") << QStringList{"smith", "Stone"} << "sand" << false << QStringList{"S"};
    QTest::newRow("an accent makes another initial") << QStringList{"Emma"} << "\u00e9mile" << true << QStringList{"E", "\u00e9"};
    QTest::newRow("a blank surname, then one with a leading blank")
        << QStringList{"  ", " Lee"} << "Kim" << true << QStringList{" ", "K"};
    QTest::newRow("two characters beyond the basic plane sharing their first unit")
        << QStringList{"\U00020000a", "\U00020001b", "\U00020000c"} << "Kim" << true
        << QStringList{"\U00020000", "\U00020001", "K"};
    QTest::newRow("letters whose code units share their low byte")
        << QStringList{"\u0141ukasz", "Adams", "\u0241x"} << "Kim" << true << QStringList{"A", "\u0141", "\u0241", "K"};
}

void TestEditModel::initialsIgnoreCase()
{
    QFETCH(QStringList, surnames);
    QFETCH(QString, added);
    QFETCH(bool, grew);
    QFETCH(QStringList, initials);
    std::vector<std::vector<Value>> rows;
    for (const QString &s : surnames)
        rows.push_back(person({{"SurName", s}, {"Yellow", false}}));
    Book book(rows);
    book.edit.scanInitials();
    QCOMPARE(book.edit.addInitial(added), grew);
    QStringList got = book.edit.initials();
    got.sort();
    initials.sort();
    QCOMPARE(got, initials);
}

void TestEditModel::deleteCommand_data()
{
    QTest::addColumn<int>("persons");
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<QList<int>>("marks");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("left");
    QTest::addColumn<bool>("refused");  // "No more deletion." follows
    QTest::addColumn<QString>("busy");  // the prompts shown when the hourglass came and went
    const int yes = int(Prompter::Button::Yes), no = int(Prompter::Button::No);
    QTest::newRow("current, Yes") << 5 << true << QList<int>() << yes << 4 << false << "on after 1, off after 1";
    QTest::newRow("current, No") << 5 << true << QList<int>() << no << 5 << false << "";
    QTest::newRow("current, no question") << 5 << false << QList<int>() << 0 << 4 << false << "on after 0, off after 0";
    QTest::newRow("marked, Yes") << 5 << true << QList<int>{0, 2, 4} << yes << 2 << false << "on after 1, off after 1";
    QTest::newRow("marked, No") << 5 << true << QList<int>{0, 2} << no << 5 << false << "";
    QTest::newRow("empty list, Yes: no more deletion") << 0 << true << QList<int>() << yes << 0 << true << "on after 1, off after 1";
    QTest::newRow("empty list, no question: no more deletion") << 0 << false << QList<int>() << 0 << 0 << true << "on after 0, off after 0";
    QTest::newRow("empty list, No") << 0 << true << QList<int>() << no << 0 << false << "";
}

void TestEditModel::deleteCommand()
{
    QFETCH(int, persons);
    QFETCH(bool, confirm);
    QFETCH(QList<int>, marks);
    QFETCH(int, answer);
    QFETCH(int, left);
    QFETCH(bool, refused);
    QFETCH(QString, busy);
    std::vector<std::vector<Value>> rows;
    for (int i = 0; i < persons; ++i)
        rows.push_back(person({{"ClientID", qint32(2001 + i)}, {"SurName", QString("S%1").arg(i)}, {"Yellow", false}}));
    Book book(rows);
    Settings options("unused.ini");
    options.confirmDeletion = confirm;
    test::ScriptedPrompter prompter;
    if (confirm)
        prompter.expectMessage(marks.isEmpty() ? "Are you sure you want to delete current entry?"
                                               : "Are you sure you want to delete all selected entries?",
                               Prompter::Icon::Confirmation, Prompter::Button::Yes | Prompter::Button::No, Prompter::Button(answer));
    if (refused)
        prompter.expectMessage("No more deletion.", Prompter::Icon::Information, Prompter::Button::Ok, Prompter::Button::Ok);
    book.data.personList.setRecNo(2);
    QStringList hourglass;
    deleteEntries(book.edit, options, prompter, std::vector<int>(marks.begin(), marks.end()), [&](bool on) {
        hourglass << QString("%1 after %2").arg(on ? "on" : "off").arg(prompter.calls().size());
    });
    QVERIFY(prompter.verifyAllAnswered());
    QCOMPARE(hourglass.join(", "), busy);
    QCOMPARE(book.data.personLookup.recordCount(), left);
    if (left == 2) { // the marked S0, S2 and S4 went
        QVERIFY(book.data.personLookup.locate("SurName", QString("S1")));
        QVERIFY(book.data.personLookup.locate("SurName", QString("S3")));
    }
}

void TestEditModel::dropEntries_data()
{
    QTest::addColumn<bool>("moveMode");
    QTest::addColumn<QList<int>>("marks");
    QTest::addColumn<int>("target");
    QTest::addColumn<QList<int>>("answers"); // to the refusals, in order
    QTest::addColumn<QString>("slotsAfter");  // Group1..4 of the four entries, ";" between entries
    const int yes = int(Prompter::Button::Yes), no = int(Prompter::Button::No), ok = int(Prompter::Button::Ok);
    // Entries: 0 in 1001; 1 in 1001,1002; 2 in four categories; 3 in none.
    QTest::newRow("copy the current entry") << false << QList<int>() << 1002 << QList<int>()
        << "1001,1002,1000,1000;1001,1002,1000,1000;1001,1003,1004,1005;1000,1000,1000,1000";
    QTest::newRow("move the current entry") << true << QList<int>() << 1002 << QList<int>()
        << "1002,1000,1000,1000;1001,1002,1000,1000;1001,1003,1004,1005;1000,1000,1000,1000";
    QTest::newRow("the current entry has it already") << false << QList<int>{} << 1001 << QList<int>{ok}
        << "1001,1000,1000,1000;1001,1002,1000,1000;1001,1003,1004,1005;1000,1000,1000,1000";
    QTest::newRow("copy marked, the four-categories question, continue") << false << QList<int>{0, 2, 3} << 1006 << QList<int>{yes}
        << "1001,1006,1000,1000;1001,1002,1000,1000;1001,1003,1004,1005;1006,1000,1000,1000";
    QTest::newRow("copy marked, stop at the question") << false << QList<int>{0, 2, 3} << 1006 << QList<int>{no}
        << "1001,1006,1000,1000;1001,1002,1000,1000;1001,1003,1004,1005;1000,1000,1000,1000";
    QTest::newRow("move marked out of 1001") << true << QList<int>{0, 1, 2} << 1006 << QList<int>()
        << "1006,1000,1000,1000;1006,1002,1000,1000;1006,1003,1004,1005;1000,1000,1000,1000";
}

void TestEditModel::dropEntries()
{
    QFETCH(bool, moveMode);
    QFETCH(QList<int>, marks);
    QFETCH(int, target);
    QFETCH(QList<int>, answers);
    QFETCH(QString, slotsAfter);
    std::vector<std::vector<Value>> rows;
    const QList<QList<int>> groups = {{1001, 1000, 1000, 1000}, {1001, 1002, 1000, 1000}, {1001, 1003, 1004, 1005}, {1000, 1000, 1000, 1000}};
    for (int i = 0; i < 4; ++i)
        rows.push_back(person({{"ClientID", qint32(i)}, {"Name", QString("P%1").arg(i)}, {"SurName", QString("S%1").arg(i)},
                               {"Group1", qint32(groups[i][0])}, {"Group2", qint32(groups[i][1])},
                               {"Group3", qint32(groups[i][2])}, {"Group4", qint32(groups[i][3])}}));
    Book book(rows);
    TableView &list = book.data.personList;
    list.setFilter("Group1=1001 OR Group2=1001 OR Group3=1001 OR Group4=1001 OR ClientID=3"); // rows leave it as they move
    test::ScriptedPrompter prompter;
    const QString refused = "Can not define category for P%1 since this entry has belonged to this category or 4 other categories. Continue?";
    if (!answers.isEmpty())
        prompter.expectMessage(refused.arg(marks.isEmpty() ? 0 : 2), Prompter::Icon::Information,
                               marks.isEmpty() ? Prompter::Buttons(Prompter::Button::Ok) : Prompter::Button::Yes | Prompter::Button::No,
                               Prompter::Button(answers.first()));
    list.first();
    fileEntriesIntoCategory(book.edit, list, prompter, target, 1001, moveMode, std::vector<int>(marks.begin(), marks.end()));
    QStringList got;
    TableView &all = book.data.personLookup;
    for (int i = 0; i < 4; ++i) {
        QVERIFY(all.locate("ClientID", qint32(i)));
        got << QStringList{all.text("Group1"), all.text("Group2"), all.text("Group3"), all.text("Group4")}.join(',');
    }
    QCOMPARE(got.join(';'), slotsAfter);
}

QTEST_APPLESS_MAIN(TestEditModel)
#include "tst_editmodel.moc"
