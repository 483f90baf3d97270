// Adding and changing entries without a window: the editor's session (name
// step, duplicate question, organisation link, category slots, outcomes),
// the yellow and white page commands, taking entries out of a category, and
// the known positions.
#include "EditingBook.h"
#include "PersonFixture.h"
#include "ScriptedPrompter.h"

#include "editing/CategoryRemoval.h"
#include "editing/EntryEditSession.h"
#include "editing/KnownPositions.h"
#include "editing/OrganisationRename.h"
#include "editing/PageKind.h"

#include <QTest>

using namespace qv;
using test::person;

namespace {

const Prompter::Buttons kYesNo = Prompter::Button::Yes | Prompter::Button::No;
const QString kDuplicateQuestion = QStringLiteral("Entries with the same name in the address book. Would you review them?");

QString fields(const TableView &view, const QStringList &names)
{
    QStringList texts;
    for (const QString &name : names)
        texts << view.text(name);
    return texts.join('|');
}

const QStringList kEntryFields = {"Name", "SurName", "GivenName", "MidName", "Yellow", "Group1", "Group2", "Group3", "Group4", "OrgID"};

// Tom Li (2001, ACME, category A) and Acme Trading Company (2002, a yellow page of the default organisation).
test::EditingBook twoEntryBook()
{
    return test::EditingBook(
        {person({{"ClientID", qint32(2001)}, {"Name", QString("Tom Li")}, {"SurName", QString("Li")}, {"GivenName", QString("Tom")},
                 {"OrgID", qint32(2001)}, {"Yellow", false}, {"Group1", qint32(1001)}, {"Group2", qint32(1000)},
                 {"Group3", qint32(1000)}, {"Group4", qint32(1000)}, {"Phone", QString("111")}}),
         person({{"ClientID", qint32(2002)}, {"Name", QString("Acme Trading Company")}, {"SurName", QString("Acme Trading Company")},
                 {"OrgID", qint32(0)}, {"Yellow", true}, {"Group1", qint32(1000)}, {"Group2", qint32(1000)},
                 {"Group3", qint32(1000)}, {"Group4", qint32(1000)}})});
}

// Types a name into the session as the Name field does and leaves the field.
bool typeName(EntryEditSession &session, QString &text)
{
    session.nameEdited();
    return session.leaveName(text);
}

} // namespace

class TestEntryEdit : public QObject {
    Q_OBJECT
private slots:
    void addOutcomes_data();
    void addOutcomes();
    void addNextTakesNewIdentifier();
    void duplicateQuestion_data();
    void duplicateQuestion();
    void duplicateAboutItself();
    void blankNameHasNoNamesakes();
    void everyWordOfTheNameStays_data();
    void everyWordOfTheNameStays();
    void namePartsComposeName();
    void editingSlotsShowTheirCategories();
    void yellowPageOfDefaultOrganisationDiscarded();
    void leavingOrganisation_data();
    void leavingOrganisation();
    void cancelRestoresBothTables_data();
    void cancelRestoresBothTables();
    void pageKind_data();
    void pageKind();
    void orgContactsNode();
    void removeFromCategory_data();
    void removeFromCategory();
    void knownPositions_data();
    void knownPositions();
};

void TestEntryEdit::addOutcomes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("organisation");
    QTest::addColumn<QList<int>>("picks"); // slot, index, slot, index ...
    QTest::addColumn<bool>("addNext");
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("entry"); // kEntryFields of the new entry; empty when none was added
    QTest::addColumn<bool>("yellowFlag");
    const int closed = EditModel::Closed, cancelled = EditModel::Cancelled, addNext = EditModel::AddNext;
    QTest::newRow("Mary Ann Lee") << "Mary Ann Lee" << "" << QList<int>() << false << closed
                                  << "Mary Ann Lee|Lee|Mary|Ann|False|1000|1000|1000|1000|0" << false;
    QTest::newRow("no name: the yellow page of a new organisation")
        << "" << "Acme Trading" << QList<int>() << false << closed << "Acme Trading|Acme Trading|||True|1000|1000|1000|1000|2002" << true;
    QTest::newRow("neither name nor organisation: discarded") << "" << "" << QList<int>() << false << cancelled << "" << false;
    QTest::newRow("neither, with Add Next: discarded") << "" << "" << QList<int>() << true << cancelled << "" << false;
    QTest::newRow("blanks only: discarded") << "   " << "   " << QList<int>() << false << cancelled << "" << false;
    QTest::newRow("a slot left empty keeps its place") << "Jo Smith" << "" << QList<int>{2, 2} << false << closed
                                                       << "Jo Smith|Smith|Jo||False|1000|1002|1000|1000|0" << false;
    QTest::newRow("the same category twice: the second slot stays empty")
        << "Jo Smith" << "" << QList<int>{1, 1, 2, 1} << false << closed << "Jo Smith|Smith|Jo||False|1001|1000|1000|1000|0" << false;
    QTest::newRow("------ empties the slot") << "Jo Smith" << "" << QList<int>{1, 1, 1, 0, 3, 2} << false << closed
                                             << "Jo Smith|Smith|Jo||False|1000|1000|1002|1000|0" << false;
    QTest::newRow("an organisation in other letters is linked") << "Jo Smith" << "acme" << QList<int>() << false << closed
                                                                << "Jo Smith|Smith|Jo||False|1000|1000|1000|1000|2001" << false;
    QTest::newRow("Add Next saves") << "J. Smith" << "" << QList<int>() << true << addNext << "J. Smith|Smith|J||False|1000|1000|1000|1000|0"
                                    << false;
}

void TestEntryEdit::addOutcomes()
{
    QFETCH(QString, name);
    QFETCH(QString, organisation);
    QFETCH(QList<int>, picks);
    QFETCH(bool, addNext);
    QFETCH(int, state);
    QFETCH(QString, entry);
    QFETCH(bool, yellowFlag);
    test::EditingBook book;
    test::ScriptedPrompter prompter;
    EntryEditSession session(book.edit, book.data.personLookup, prompter);
    book.edit.addPerson();
    session.begin();
    QVERIFY(session.isAdding());
    QCOMPARE(session.organisationName(), QString("Private"));
    QString text = name;
    if (!name.isEmpty())
        QVERIFY(typeName(session, text));
    session.linkOrganisation(organisation);
    for (int i = 0; i + 1 < picks.size(); i += 2)
        session.pickCategory(picks[i], picks[i + 1]);
    session.finish(addNext, text, organisation);
    QVERIFY(!session.isOpen());
    QCOMPARE(int(book.edit.editState()), state);
    QCOMPARE(book.data.personLookup.recordCount(), entry.isEmpty() ? 0 : 1);
    QCOMPARE(book.data.organisationLookup.recordCount(), organisation == "Acme Trading" && !entry.isEmpty() ? 3 : 2);
    QCOMPARE(book.edit.hasYellowEntries(), yellowFlag);
    if (entry.isEmpty())
        return;
    book.data.personLookup.first();
    QCOMPARE(fields(book.data.personLookup, kEntryFields), entry);
    // A white-page entry brings its initial.
    const QString initial = book.data.personLookup.text("SurName").left(1);
    QCOMPARE(book.edit.initials().contains(initial), !yellowFlag);
}

void TestEntryEdit::addNextTakesNewIdentifier()
{
    test::EditingBook book;
    test::ScriptedPrompter prompter;
    EntryEditSession session(book.edit, book.data.personLookup, prompter);
    book.edit.addPerson();
    session.begin();
    QString text = "Jo Smith";
    typeName(session, text);
    session.finish(true, text, "");
    QCOMPARE(book.edit.editState(), EditModel::AddNext);
    book.edit.addPerson();
    session.begin();
    QCOMPARE(book.data.personList.value("ClientID"), Value(qint32(2002)));
    QCOMPARE(book.data.personList.value("Group3"), Value(qint32(1000)));
}

void TestEntryEdit::duplicateQuestion_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("Yes: review them") << int(Prompter::Button::Yes);
    QTest::newRow("No: go on") << int(Prompter::Button::No);
}

void TestEntryEdit::duplicateQuestion()
{
    QFETCH(int, answer);
    test::EditingBook book = twoEntryBook();
    const QStringList persons = test::tableDump(book.data.personList);
    test::ScriptedPrompter prompter;
    prompter.expectMessage(kDuplicateQuestion, Prompter::Icon::Information, kYesNo, Prompter::Button(answer));
    EntryEditSession session(book.edit, book.data.personLookup, prompter);
    book.edit.addPerson();
    session.begin();
    session.linkOrganisation("Brand New Org");
    QString text = "  Tom   Li ";
    const bool goesOn = typeName(session, text);
    QVERIFY(prompter.verifyAllAnswered());
    QCOMPARE(text, QString("Tom Li"));
    QCOMPARE(book.edit.lastComposedName(), QString("Tom Li"));
    if (answer == int(Prompter::Button::Yes)) {
        QVERIFY(!goesOn);
        QVERIFY(!session.isOpen());
        QCOMPARE(book.edit.editState(), EditModel::ReviewDuplicates);
        QCOMPARE(test::tableDump(book.data.personList), persons);
        QCOMPARE(book.data.organisationLookup.recordCount(), 2);
        book.edit.addPerson(); // the identifier taken is not handed out again
        QCOMPARE(book.data.personList.value("ClientID"), Value(qint32(2004)));
        return;
    }
    QVERIFY(goesOn);
    QVERIFY(session.isOpen());
    QVERIFY(session.leaveName(text)); // unchanged: no question
    text = "Tom Li ";
    prompter.expectMessage(kDuplicateQuestion, Prompter::Icon::Information, kYesNo, Prompter::Button::No);
    QVERIFY(typeName(session, text)); // changed again: asked again
    QVERIFY(prompter.verifyAllAnswered());
    session.finish(false, text, "Brand New Org");
    QCOMPARE(book.data.personLookup.recordCount(), 3);
}

void TestEntryEdit::duplicateAboutItself()
{
    test::EditingBook book = twoEntryBook();
    test::ScriptedPrompter prompter;
    EntryEditSession session(book.edit, book.data.personLookup, prompter);
    QVERIFY(book.data.personList.locate("Name", QString("Tom Li")));
    book.edit.editPerson(book.data.personList.recNo());
    session.begin();
    QString text = "Tom Lee";
    QVERIFY(typeName(session, text));
    QVERIFY(prompter.calls().isEmpty());
    text = "Tom Li"; // its own stored name
    prompter.expectMessage(kDuplicateQuestion, Prompter::Icon::Information, kYesNo, Prompter::Button::No);
    QVERIFY(typeName(session, text));
    QVERIFY(prompter.verifyAllAnswered());
}

void TestEntryEdit::blankNameHasNoNamesakes()
{
    test::EditingBook book({person({{"ClientID", qint32(2001)}, {"Phone", QString("111")}})}); // an entry without a name
    test::ScriptedPrompter prompter;
    EntryEditSession session(book.edit, book.data.personLookup, prompter);
    book.edit.addPerson();
    session.begin();
    QString text = "   ";
    QVERIFY(typeName(session, text));
    QCOMPARE(text, QString(""));
    QVERIFY(prompter.calls().isEmpty());
}

void TestEntryEdit::everyWordOfTheNameStays_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("entry"); // Name, SurName, GivenName, MidName as stored
    QTest::addColumn<QString>("warning"); // empty: none
    const QString longName = "Maximilian " + QString("Alexander Friedrich ").repeated(14) + "Hohenzollern"; // 303 characters
    const QString kept = "Maximilian Alexander Friedrich Alexander Friedrich";
    QTest::newRow("a family name with a particle") << "Anna Maria del Rio" << "Anna Maria del Rio|del Rio|Anna|Maria" << "";
    QTest::newRow("two particles") << "Juan Carlos de la Cruz" << "Juan Carlos de la Cruz|de la Cruz|Juan|Carlos" << "";
    QTest::newRow("middle names wider than their field")
        << "Anna Maria Luisa Schmidt" << "Anna Maria Luisa Schmidt|Schmidt|Anna|Maria Luis"
        << "The name was too long for its fields and was cut:\nMidname keeps \"Maria Luis\"";
    QTest::newRow("a name wider than Name") << longName << kept + "|Hohenzollern|Maximilian|Alexander"
                                            << "The name was too long for its fields and was cut:\nMidname keeps \"Alexander\"\n"
                                               "Name keeps \"" + kept + "\"";
}

void TestEntryEdit::everyWordOfTheNameStays()
{
    QFETCH(QString, typed);
    QFETCH(QString, entry);
    QFETCH(QString, warning);
    test::EditingBook book;
    test::ScriptedPrompter prompter;
    if (!warning.isEmpty())
        prompter.expectMessage(warning, Prompter::Icon::Warning, Prompter::Button::Ok, Prompter::Button::Ok);
    EntryEditSession session(book.edit, book.data.personLookup, prompter);
    book.edit.addPerson();
    session.begin();
    QString text = typed;
    QVERIFY(typeName(session, text));
    QVERIFY(prompter.verifyAllAnswered());
    QCOMPARE(text, entry.section('|', 0, 0)); // the Name field shows what is stored
    session.finish(false, text, "");
    QCOMPARE(prompter.calls().size(), warning.isEmpty() ? 0 : 1); // told once, not again on OK
    book.data.personLookup.first();
    QCOMPARE(fields(book.data.personLookup, {"Name", "SurName", "GivenName", "MidName"}), entry);
}

void TestEntryEdit::namePartsComposeName()
{
    test::EditingBook book;
    test::ScriptedPrompter prompter;
    EntryEditSession session(book.edit, book.data.personLookup, prompter);
    book.edit.addPerson();
    session.begin();
    // What the name-parts dialog writes into the row, then confirms.
    book.data.personList.setValue("GivenName", QString("Ann"));
    book.data.personList.setValue("SurName", QString("Lee"));
    session.namePartsConfirmed();
    QString text = "whatever was typed";
    QVERIFY(session.leaveName(text));
    QCOMPARE(text, QString("Ann Lee"));
    QCOMPARE(book.data.personList.text("Name"), QString("Ann Lee"));
    QCOMPARE(book.data.personList.text("MidName"), QString(""));
    QVERIFY(!session.nameChanged());
}

void TestEntryEdit::editingSlotsShowTheirCategories()
{
    test::EditingBook book({person({{"ClientID", qint32(2001)}, {"Name", QString("Jo")}, {"Group1", qint32(1000)},
                                    {"Group2", qint32(1002)}, {"Group3", qint32(1777)}, {"Group4", Value()}})});
    test::ScriptedPrompter prompter;
    EntryEditSession session(book.edit, book.data.personLookup, prompter);
    book.edit.editPerson(1);
    session.begin();
    QVERIFY(!session.isAdding());
    QCOMPARE(QList<int>({session.slotIndex(1), session.slotIndex(2), session.slotIndex(3), session.slotIndex(4)}),
             QList<int>({0, 2, 0, 0})); // a category the tree lacks and an empty slot show empty
    QCOMPARE(session.slotPath(2), QString("B/"));
    QCOMPARE(session.slotPath(1), QString(""));
    QCOMPARE(session.organisationName(), QString("Private"));
}

void TestEntryEdit::yellowPageOfDefaultOrganisationDiscarded()
{
    test::EditingBook book = twoEntryBook();
    const QStringList persons = test::tableDump(book.data.personList);
    test::ScriptedPrompter prompter;
    EntryEditSession session(book.edit, book.data.personLookup, prompter);
    QVERIFY(book.data.personList.locate("Name", QString("Acme Trading Company")));
    book.edit.editPerson(book.data.personList.recNo());
    session.begin();
    QVERIFY(session.isYellowPage());
    book.data.personList.setValue("Phone", QString("555"));
    QString text = "Acme Trading Company";
    session.finish(false, text, "Private");
    QCOMPARE(book.edit.editState(), EditModel::Cancelled);
    QCOMPARE(test::tableDump(book.data.personList), persons);
}

void TestEntryEdit::leavingOrganisation_data()
{
    QTest::addColumn<QString>("linked");    // the name of the organisation the person works for
    QTest::addColumn<QStringList>("texts"); // what the Org field holds each time it is left
    QTest::addColumn<QString>("orgId");
    QTest::addColumn<int>("organisations");
    QTest::newRow("the linked organisation's own name keeps the link") << "ACME" << QStringList{"ACME"} << "2002" << 3;
    QTest::newRow("a name in other letters links the first of that name") << "ACME" << QStringList{"acme"} << "2001" << 3;
    QTest::newRow("a new name creates its organisation") << "ACME" << QStringList{"Globex"} << "2003" << 4;
    QTest::newRow("blank links the default organisation") << "ACME" << QStringList{"  "} << "0" << 3;
    QTest::newRow("blank, then the name again: linked by the name") << "ACME" << QStringList{"", "ACME"} << "2001" << 3;
    QTest::newRow("blank links the default organisation, though the linked one has no name") << "" << QStringList{""} << "0" << 3;
}

void TestEntryEdit::leavingOrganisation()
{
    QFETCH(QString, linked);
    QFETCH(QStringList, texts);
    QFETCH(QString, orgId);
    QFETCH(int, organisations);
    // Two organisations of one name, as a rule; the person works for the second.
    test::EditingBook book({person({{"ClientID", qint32(2001)}, {"Name", QString("Tom Li")}, {"OrgID", qint32(2002)}})},
                           {test::organisation(2002, linked)});
    test::ScriptedPrompter prompter;
    EntryEditSession session(book.edit, book.data.personLookup, prompter);
    book.edit.editPerson(1);
    session.begin();
    QCOMPARE(session.organisationName(), linked);
    for (const QString &text : texts)
        session.linkOrganisation(text);
    QString name = "Tom Li";
    session.finish(false, name, texts.last());
    book.data.personList.first(); // commits the edited row
    QVERIFY(book.data.personLookup.locate("ClientID", qint32(2001)));
    QCOMPARE(book.data.personLookup.text("OrgID"), orgId);
    QCOMPARE(book.data.organisationLookup.recordCount(), organisations);
}

void TestEntryEdit::cancelRestoresBothTables_data()
{
    QTest::addColumn<bool>("adding");
    QTest::newRow("adding") << true;
    QTest::newRow("editing") << false;
}

void TestEntryEdit::cancelRestoresBothTables()
{
    QFETCH(bool, adding);
    test::EditingBook book = twoEntryBook();
    const QStringList persons = test::tableDump(book.data.personList);
    const QStringList organisations = test::tableDump(book.data.organisationList);
    test::ScriptedPrompter prompter;
    EntryEditSession session(book.edit, book.data.personLookup, prompter);
    if (adding) {
        book.edit.addPerson();
    } else {
        QVERIFY(book.data.personList.locate("Name", QString("Tom Li")));
        book.edit.editPerson(book.data.personList.recNo());
    }
    session.begin();
    QString text = "Mary Ann Lee";
    typeName(session, text);
    book.data.personList.setValue("Phone", QString("999"));
    // Rename the linked organisation, then link to a new one and change its work fields.
    if (!adding) {
        QVERIFY(OrganisationRename::mayRename(book.edit, prompter));
        OrganisationRename(book.data.organisationLookup).rename(book.edit, "ACME Renamed");
        session.linkOrganisation("ACME Renamed");
    }
    session.linkOrganisation("Globex");
    book.data.organisationList.setValue("CPhone", QString("123"));
    session.pickCategory(2, 2);
    session.cancel();
    QCOMPARE(book.edit.editState(), EditModel::Cancelled);
    QCOMPARE(test::tableDump(book.data.personList), persons);
    QCOMPARE(test::tableDump(book.data.organisationList), organisations);
    // The work fields show the current person's organisation again.
    QCOMPARE(book.data.organisationList.value("CoID"), book.data.personList.value("OrgID"));
}

void TestEntryEdit::pageKind_data()
{
    QTest::addColumn<bool>("yellow");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("after"); // Name, SurName, GivenName, MidName, Yellow
    QTest::addColumn<int>("cutNames");  // reported by the white page command
    QTest::newRow("yellow") << true << "Jo Smith" << "Jo Smith|Jo Smith||M|True" << 0;
    QTest::newRow("white") << false << "Acme Trading Company" << "Acme Trading Company|Company|Acme|Trading|False" << 0;
    QTest::newRow("white, wide name") << false << "\u6b27\u9633\u4fee" << "\u6b27\u9633\u4fee|\u6b27\u9633|\u4fee||False" << 0;
    QTest::newRow("white, a family name with a particle") << false << "Anna Maria del Rio" << "Anna Maria del Rio|del Rio|Anna|Maria|False"
                                                          << 0;
    QTest::newRow("white, middle names cut to their field")
        << false << "Anna Maria Luisa Schmidt" << "Anna Maria Luisa Schmidt|Schmidt|Anna|Maria Luis|False" << 1;
}

void TestEntryEdit::pageKind()
{
    QFETCH(bool, yellow);
    QFETCH(QString, name);
    QFETCH(QString, after);
    QFETCH(int, cutNames);
    test::EditingBook book({person({{"ClientID", qint32(2001)}, {"Name", QString("Other")}, {"SurName", QString("Other")}}),
                            person({{"ClientID", qint32(2002)}, {"Name", name}, {"SurName", QString("S")}, {"GivenName", QString("G")},
                                    {"MidName", QString("M")}, {"Yellow", !yellow}})});
    TableView &list = book.data.personList;
    QVERIFY(list.locate("ClientID", qint32(2002)));
    if (yellow)
        makeYellowPageEntries(book.edit, {});
    else
        QCOMPARE(makeWhitePageEntries(book.edit, {}), cutNames);
    QCOMPARE(list.state(), TableView::State::Browse);
    QVERIFY(book.data.personLookup.locate("ClientID", qint32(2002)));
    QCOMPARE(fields(book.data.personLookup, {"Name", "SurName", "GivenName", "MidName", "Yellow"}), after);
    QVERIFY(book.data.personLookup.locate("ClientID", qint32(2001)));
    QCOMPARE(book.data.personLookup.text("Yellow"), QString()); // the other entry is untouched
}

void TestEntryEdit::orgContactsNode()
{
    test::EditingBook book({person({{"ClientID", qint32(2001)}, {"Name", QString("Ann Lee")}, {"Yellow", false}}),
                            person({{"ClientID", qint32(2002)}, {"Name", QString("Bo Wu")}, {"Yellow", false}}),
                            person({{"ClientID", qint32(2003)}, {"Name", QString("Cy Xu")}, {"Yellow", false}})});
    book.edit.scanInitials();
    const QStringList initials = book.edit.initials();
    makeWhitePageEntries(book.edit, {0, 2});
    QCOMPARE(book.tree.indexOfNumber(110), -1); // white pages add no node
    makeYellowPageEntries(book.edit, {0, 2});
    QVERIFY(book.edit.hasYellowEntries());
    QCOMPARE(book.tree.indexOfNumber(110), book.tree.indexOfNumber(101) - 1); // just before Search
    QCOMPARE(book.tree.nodeOfNumber(110)->caption, QString("Org Contacts"));
    QCOMPARE(book.tree.forest().roots.size(), size_t(3));
    QCOMPARE(book.edit.initials(), initials); // untouched until the next rebuild
    book.data.personLookup.setFilter("Yellow=true");
    QCOMPARE(book.data.personLookup.recordCount(), 2);
    makeYellowPageEntries(book.edit, {1}); // the node comes once
    QCOMPARE(book.tree.forest().roots.size(), size_t(3));
    // Without a search node there is nowhere to put it; an empty list changes nothing.
    test::EditingBook bare({person({{"ClientID", qint32(2001)}, {"Name", QString("Ann Lee")}})});
    bare.tree.loadTree("All\r\n", "1000\r\n");
    makeYellowPageEntries(bare.edit, {});
    QCOMPARE(bare.tree.indexOfNumber(110), -1);
    test::EditingBook empty;
    makeYellowPageEntries(empty.edit, {});
    QVERIFY(!empty.edit.hasYellowEntries());
}

void TestEntryEdit::removeFromCategory_data()
{
    QTest::addColumn<int>("persons");
    QTest::addColumn<QList<int>>("marks");
    QTest::addColumn<QString>("groups"); // Group1 of every entry afterwards; "-" for an empty book
    QTest::addColumn<bool>("refused");
    QTest::newRow("three marked") << 4 << QList<int>{0, 1, 3} << "1000,1000,1001,1000" << false;
    QTest::newRow("the current entry") << 4 << QList<int>() << "1001,1000,1001,1001" << false;
    QTest::newRow("an empty list") << 0 << QList<int>() << "-" << true;
}

void TestEntryEdit::removeFromCategory()
{
    QFETCH(int, persons);
    QFETCH(QList<int>, marks);
    QFETCH(QString, groups);
    QFETCH(bool, refused);
    std::vector<std::vector<Value>> rows;
    for (int i = 0; i < persons; ++i)
        rows.push_back(person({{"ClientID", qint32(2001 + i)}, {"SurName", QString("S%1").arg(i)}, {"Group1", qint32(1001)},
                               {"Group2", qint32(1002)}, {"Yellow", false}}));
    test::EditingBook book(rows);
    TableView &list = book.data.personList;
    list.setFilter("Group1=1001 OR Group2=1001 OR Group3=1001 OR Group4=1001");
    list.setRecNo(2);
    test::ScriptedPrompter prompter;
    if (refused)
        prompter.expectMessage("No more deletion from this category.", Prompter::Icon::Information, Prompter::Button::Ok,
                               Prompter::Button::Ok);
    removeEntriesFromCategory(book.edit, prompter, 1001, std::vector<int>(marks.begin(), marks.end()));
    QVERIFY(prompter.verifyAllAnswered());
    QStringList after;
    for (TableView &all = book.data.personLookup; !all.atEnd(); all.next()) {
        after << all.text("Group1");
        QCOMPARE(all.text("Group2"), QString("1002")); // other categories stay
    }
    QCOMPARE(after.isEmpty() ? QString("-") : after.join(','), groups);
    list.reapplyFilter();
    QCOMPARE(list.recordCount(), int(after.count("1001")));
}

void TestEntryEdit::knownPositions_data()
{
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("completion");
    QTest::newRow("sorted, each once whatever the case")
        << QStringList{"manager", "Engineer", "Manager", "  ", "director"} << QStringList{"director", "Engineer", "manager"} << "E"
        << "Engineer";
    QTest::newRow("the first in sorted order") << QStringList{"Sales Manager", "Sales"} << QStringList{"Sales", "Sales Manager"} << "Sal"
                                               << "Sales";
    QTest::newRow("letter case counts when completing") << QStringList{"Engineer"} << QStringList{"Engineer"} << "e" << "";
    QTest::newRow("nothing typed completes nothing") << QStringList{"Engineer"} << QStringList{"Engineer"} << "" << "";
}

void TestEntryEdit::knownPositions()
{
    QFETCH(QStringList, added);
    QFETCH(QStringList, list);
    QFETCH(QString, typed);
    QFETCH(QString, completion);
    KnownPositions positions;
    for (const QString &p : added)
        positions.add(p);
    QCOMPARE(positions.list(), list);
    QCOMPARE(positions.completionOf(typed), completion);
}

QTEST_GUILESS_MAIN(TestEntryEdit)
#include "tst_entryedit.moc"
