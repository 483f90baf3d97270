// Organisations reached through their persons: the same-name check of the
// imports, renaming from the editor, clearing isolated organisations, and
// finding an organisation by name through the index as the tables change.
#include "EditingBook.h"
#include "PersonFixture.h"
#include "ScriptedComparer.h"
#include "ScriptedPrompter.h"

#include "editing/IsolatedOrganisations.h"
#include "editing/OrganisationRename.h"
#include "editing/OrganisationSameName.h"

#include <QTest>

using namespace qv;
using test::person;
using test::ScriptedComparer;
using Choice = OrganisationComparer::Choice;

Q_DECLARE_METATYPE(OrganisationComparer::Choice)

namespace {

// ACME (2001) and Widget Co (2002, "1 Old Road", "111") besides the default organisation.
test::EditingBook widgetBook()
{
    return test::EditingBook({person({{"ClientID", qint32(2001)}, {"Name", QString("Ann Lee")}, {"OrgID", qint32(2002)}})},
                             {test::organisation(2002, "Widget Co", {QString("1 Old Road"), QString(), QString("111")})});
}

const OrganisationValues kImported = {{"CAddress", "9 New Street"}, {"CPhone", "999"}};

} // namespace

class TestOrganisations : public QObject {
    Q_OBJECT
private slots:
    void sameNameCheck_data();
    void sameNameCheck();
    void comparedOnlyWithSomethingNew_data();
    void comparedOnlyWithSomethingNew();
    void compareWindowTexts();
    void rename_data();
    void rename();
    void renameDefaultRefused();
    void clearIsolated_data();
    void clearIsolated();
    void findsNamesAsTablesChange();
};

void TestOrganisations::sameNameCheck_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("check");
    QTest::addColumn<QList<Choice>>("choices");
    QTest::addColumn<QStringList>("inputs"); // answers to "Rename the Imported Org"; "<cancel>" cancels
    QTest::addColumn<int>("linked");
    QTest::addColumn<QString>("linkedValues"); // Company, CAddress, CPhone of the linked organisation
    QTest::addColumn<int>("organisations");
    QTest::newRow("new name: created with the imported values") << "Gadget Inc" << true << QList<Choice>() << QStringList() << 2003
                                                               << "Gadget Inc|9 New Street|999" << 4;
    QTest::newRow("check off: linked, values kept, no window") << "WIDGET CO" << false << QList<Choice>() << QStringList() << 2002
                                                              << "Widget Co|1 Old Road|111" << 3;
    QTest::newRow("No keeps the stored values") << "WIDGET CO" << true << QList<Choice>{Choice::Keep} << QStringList() << 2002
                                                << "Widget Co|1 Old Road|111" << 3;
    QTest::newRow("Yes replaces the supplied fields") << "WIDGET CO" << true << QList<Choice>{Choice::Replace} << QStringList()
                                                      << 2002 << "Widget Co|9 New Street|999" << 3;
    QTest::newRow("Change to a new name creates it") << "WIDGET CO" << true << QList<Choice>{Choice::Rename}
                                                     << QStringList{"WIDGET East"} << 2003 << "WIDGET East|9 New Street|999" << 4;
    QTest::newRow("Change cancelled compares again") << "WIDGET CO" << true << QList<Choice>{Choice::Rename, Choice::Keep}
                                                     << QStringList{"<cancel>"} << 2002 << "Widget Co|1 Old Road|111" << 3;
    QTest::newRow("Change to blank asks again") << "WIDGET CO" << true << QList<Choice>{Choice::Rename}
                                                << QStringList{"  ", "Widget East"} << 2003 << "Widget East|9 New Street|999" << 4;
    QTest::newRow("Change to another stored name compares that one") << "WIDGET CO" << true
                                                                     << QList<Choice>{Choice::Rename, Choice::Replace}
                                                                     << QStringList{"acme"} << 2001 << "ACME|9 New Street|999" << 3;
}

void TestOrganisations::sameNameCheck()
{
    QFETCH(QString, name);
    QFETCH(bool, check);
    QFETCH(QList<Choice>, choices);
    QFETCH(QStringList, inputs);
    QFETCH(int, linked);
    QFETCH(QString, linkedValues);
    QFETCH(int, organisations);
    test::EditingBook book = widgetBook();
    test::ScriptedPrompter prompter;
    for (const QString &answer : inputs)
        prompter.expectInput("Rename the Imported Org", "", answer == "<cancel>" ? std::nullopt : std::optional<QString>(answer));
    ScriptedComparer comparer;
    comparer.answers = choices;
    book.edit.addPerson();
    book.data.personList.setValue("Name", QString("Tom Li"));
    linkImportedOrganisation(book.edit, prompter, comparer, check, name, kImported);
    QVERIFY(prompter.verifyAllAnswered());
    QVERIFY(comparer.answers.isEmpty());
    book.edit.commitEdit();
    QCOMPARE(book.data.personList.value("OrgID"), Value(qint32(linked)));
    TableView &lookup = book.data.organisationLookup;
    QVERIFY(lookup.locate("CoID", qint32(linked)));
    QCOMPARE(QStringList({lookup.text("Company"), lookup.text("CAddress"), lookup.text("CPhone")}).join('|'), linkedValues);
    QCOMPARE(lookup.recordCount(), organisations);
    // Every further input box offers the name of the organisation last compared.
    for (const auto &call : prompter.calls())
        QCOMPARE(call.initialText, QString("Widget Co"));
}

void TestOrganisations::comparedOnlyWithSomethingNew_data()
{
    QTest::addColumn<QStringList>("imported"); // field=text
    QTest::addColumn<bool>("asked");
    QTest::newRow("no values beyond the name") << QStringList() << false;
    QTest::newRow("every value empty, as a card without work values gives")
        << QStringList{"CAddress=", "CZip=", "CPhone=", "CFax=", "CEMail=", "CMemo="} << false;
    QTest::newRow("the values the stored one holds") << QStringList{"CAddress=1 Old Road", "CPhone=111"} << false;
    QTest::newRow("an empty value where the stored one holds one") << QStringList{"CAddress=", "CPhone=111"} << false;
    QTest::newRow("a value the stored one lacks") << QStringList{"CAddress=1 Old Road", "CFax=5"} << true;
    QTest::newRow("a value in other letters") << QStringList{"CAddress=1 OLD ROAD"} << true;
}

// The compare window shows only when the import brings a value that the
// stored organisation does not hold; otherwise the person is linked to it
// without a question, and it keeps its values.
void TestOrganisations::comparedOnlyWithSomethingNew()
{
    QFETCH(QStringList, imported);
    QFETCH(bool, asked);
    OrganisationValues values;
    for (const QString &pair : imported)
        values.append({pair.section('=', 0, 0), pair.section('=', 1)});
    test::EditingBook book = widgetBook();
    test::ScriptedPrompter prompter;
    ScriptedComparer comparer;
    if (asked)
        comparer.answers = {Choice::Keep};
    book.edit.addPerson();
    book.data.personList.setValue("Name", QString("Tom Li"));
    QVERIFY(!linkImportedOrganisation(book.edit, prompter, comparer, true, "widget co", values));
    QCOMPARE(comparer.shown.size(), asked ? 1 : 0);
    book.edit.commitEdit();
    QCOMPARE(book.data.personList.value("OrgID"), Value(qint32(2002)));
    TableView &lookup = book.data.organisationLookup;
    QVERIFY(lookup.locate("CoID", qint32(2002)));
    QCOMPARE(QStringList({lookup.text("CAddress"), lookup.text("CPhone"), lookup.text("CFax")}).join('|'),
             QString("1 Old Road|111|"));
}

void TestOrganisations::compareWindowTexts()
{
    test::EditingBook book = widgetBook();
    test::ScriptedPrompter prompter;
    ScriptedComparer comparer;
    comparer.answers = {Choice::Keep};
    book.edit.addPerson();
    book.data.personList.setValue("Name", QString("Tom Li"));
    linkImportedOrganisation(book.edit, prompter, comparer, true, "widget co", kImported);
    QCOMPARE(comparer.shown.size(), 1);
    QCOMPARE(comparer.shown[0].heading, QString("Widget Co --- Tom Li"));
    QCOMPARE(comparer.shown[0].question, QString("Do you want to replace the existing?"));
    QCOMPARE(comparer.shown[0].existing, QString("Info of the existing:\n1 Old Road\n111"));
    QCOMPARE(comparer.shown[0].imported, QString("Info of the to-be-imported:\n9 New Street\n999"));
}

void TestOrganisations::rename_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");    // what the Org field is to show; empty: nothing changes
    QTest::addColumn<QStringList>("names"); // the organisations' names afterwards, sorted by code point
    QTest::newRow("trimmed") << "  Widget Limited  " << "Widget Limited" << QStringList{"ACME", "Private", "Widget Limited"};
    QTest::newRow("a name another organisation bears is left to the link")
        << "ACME" << "ACME" << QStringList{"ACME", "Private", "Widget Co"};
    QTest::newRow("the same name in other letters is a new name") << "acme" << "acme" << QStringList{"ACME", "Private", "acme"};
    QTest::newRow("blank changes nothing") << "   " << "" << QStringList{"ACME", "Private", "Widget Co"};
}

void TestOrganisations::rename()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QStringList, names);
    test::EditingBook book = widgetBook();
    test::ScriptedPrompter prompter;
    book.data.personList.first();
    book.edit.editPerson(1);
    QCOMPARE(book.data.organisationList.text("Company"), QString("Widget Co"));
    QVERIFY(OrganisationRename::mayRename(book.edit, prompter));
    OrganisationRename renaming(book.data.organisationLookup);
    QCOMPARE(renaming.rename(book.edit, typed), shown);
    book.data.organisationList.post();
    QStringList after;
    // From the first row: the renamed row may now sort before the cursor's,
    // depending on the locale's collation.
    TableView &lookup = book.data.organisationLookup;
    for (lookup.first(); !lookup.atEnd(); lookup.next())
        after << lookup.text("Company");
    after.sort();
    QCOMPARE(after, names);
    // Cancel undoes the rename.
    book.edit.rollBack();
    QVERIFY(book.data.organisationLookup.locate("Company", QString("Widget Co")));
}

void TestOrganisations::renameDefaultRefused()
{
    test::EditingBook book({person({{"ClientID", qint32(2001)}, {"Name", QString("Ann Lee")}, {"OrgID", qint32(0)}})});
    test::ScriptedPrompter prompter;
    prompter.expectMessage("Private is default org name for those you don't know the work place. It is unnecessary to edit.",
                           Prompter::Icon::Information, Prompter::Button::Ok, Prompter::Button::Ok);
    book.edit.editPerson(1);
    QVERIFY(!OrganisationRename::mayRename(book.edit, prompter));
    QVERIFY(prompter.verifyAllAnswered());
}

void TestOrganisations::clearIsolated_data()
{
    QTest::addColumn<QList<int>>("orgIds"); // of the persons
    QTest::addColumn<int>("cleared");
    QTest::addColumn<int>("left");
    QTest::newRow("one linked, one not; the default survives") << QList<int>{2001} << 2 << 2;
    QTest::newRow("nothing to clear") << QList<int>{2001, 2002, 2003} << 0 << 4;
    QTest::newRow("every organisation but the default") << QList<int>{0} << 3 << 1;
}

void TestOrganisations::clearIsolated()
{
    QFETCH(QList<int>, orgIds);
    QFETCH(int, cleared);
    QFETCH(int, left);
    std::vector<std::vector<Value>> persons;
    for (int id : orgIds)
        persons.push_back(person({{"ClientID", qint32(3000 + id)}, {"OrgID", qint32(id)}}));
    test::EditingBook book(persons, {test::organisation(2002, "Widget Co"), test::organisation(2003, "Gadget Inc")});
    test::ScriptedPrompter prompter;
    prompter.expectMessage(QString::number(cleared) + " org records without any connection got cleared.", Prompter::Icon::Information,
                           Prompter::Button::Ok, Prompter::Button::Ok);
    QCOMPARE(clearIsolatedOrganisations(book.edit, prompter), cleared);
    QVERIFY(prompter.verifyAllAnswered());
    QCOMPARE(book.data.organisationLookup.recordCount(), left);
    QVERIFY(book.data.organisationLookup.locate("CoID", qint32(0)));
}

void TestOrganisations::findsNamesAsTablesChange()
{
    test::EditingBook book({person({{"ClientID", qint32(2001)}, {"Name", QString("Ann Lee")}, {"OrgID", qint32(2001)}})});
    book.edit.editPerson(1);
    // A name typed into the open organisation row is found before it is posted.
    book.data.organisationList.setValue("Company", QString("Acme Limited"));
    QCOMPARE(book.edit.setOrganisationByName("ACME LIMITED"), EditModel::OrgFound);
    QCOMPARE(book.data.personList.value("OrgID"), Value(qint32(2001)));
    QCOMPARE(book.edit.setOrganisationByName("acme"), EditModel::OrgCreated); // the old name is gone
    QCOMPARE(book.data.personList.value("OrgID"), Value(qint32(2002)));
    book.edit.rollBack();
    // After the rollback the old name is back and the new organisations are gone.
    book.edit.editPerson(1);
    QCOMPARE(book.edit.setOrganisationByName("Acme"), EditModel::OrgFound);
    QCOMPARE(book.data.personList.value("OrgID"), Value(qint32(2001)));
    QCOMPARE(book.edit.setOrganisationByName("acme limited"), EditModel::OrgCreated);
    QCOMPARE(book.data.personList.value("OrgID"), Value(qint32(2003)));
}

QTEST_GUILESS_MAIN(TestOrganisations)
#include "tst_organisations.moc"
