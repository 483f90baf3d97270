// The search engine: the filters it composes from search conditions and the
// entries they find; the search dialog's choices turned into conditions; the
// organisation a lookup box names; the sorted candidates of the lookup boxes.
#include "PersonFixture.h"

#include "data/RecordStore.h"
#include "data/RecordTable.h"
#include "exchange/FieldCatalogue.h"
#include "search/OrganisationLookup.h"
#include "search/SearchChoice.h"
#include "search/SearchEngine.h"
#include "search/SortedFieldModel.h"
#include "settings/Settings.h"

#include <QAbstractItemModelTester>
#include <QTest>

using namespace qv;

namespace {

std::vector<Value> organisation(qint32 coId, const QString &company, const QString &address = {})
{
    std::vector<Value> row(size_t(organisationFields().size()));
    row[0] = coId;
    row[1] = company;
    if (!address.isEmpty())
        row[2] = address;
    return row;
}

// The persons of the filter fixture (1 to 6) and five more: 7 and 8 with
// digits and a percent sign in their names, 9 with an asterisk, 10 a
// yellow page born in December, 11 a name beginning with O'B.
std::shared_ptr<RecordTable> personTable()
{
    auto table = std::make_shared<RecordTable>(personFields());
    for (const auto &row : test::filterFixture())
        table->insertRow(row);
    auto add = [&](qint32 id, const QString &name, qint32 org, bool yellow, QDate birthday = {}) {
        table->insertRow(test::person({{"ClientID", id}, {"Name", name}, {"SurName", name}, {"OrgID", org},
                                       {"Yellow", yellow}, {"Birthday", birthday.isValid() ? Value(birthday) : Value()}}));
    };
    add(7, "Joe 50% Club", 2003, false);
    add(8, "Joe 500", 2005, false);
    add(9, "Star*Bright", 2004, false);
    add(10, "Dec Corp", 2002, true, QDate(1999, 12, 1));
    add(11, "O'Brady Sean", 0, false);
    return table;
}

std::shared_ptr<RecordTable> organisationTable(const QList<std::vector<Value>> &rows)
{
    auto table = std::make_shared<RecordTable>(organisationFields());
    for (const auto &row : rows)
        table->insertRow(row);
    return table;
}

std::shared_ptr<RecordTable> organisationTable()
{
    return organisationTable({organisation(0, "(No organisation)"), organisation(2001, "Acme Ltd", "1 Main Street, Berlin"),
                              organisation(2002, "Globex", "Berlin Mitte"), organisation(2003, "Big ACME Works", "Paris"),
                              organisation(2004, "O'Hara & Sons"), organisation(2005, "\u534e\u8054\u6709\u9650\u516c\u53f8")});
}

struct Book {
    RecordStore data;
    SearchEngine engine{data.personList, data.organisationLookup};

    Book()
    {
        data.personRead.loadTable(personTable());
        data.organisationRead.loadTable(organisationTable());
        data.bindViews();
    }

    QList<int> listed()
    {
        QList<int> ids;
        for (data.personList.first(); !data.personList.atEnd(); data.personList.next())
            ids << std::get<qint32>(data.personList.value("ClientID"));
        std::sort(ids.begin(), ids.end());
        return ids;
    }
};

// Steps of the form "verb|argument|argument".
void runStep(SearchEngine &engine, TableView &persons, const QString &step)
{
    const QStringList p = step.split('|');
    const QString &verb = p[0];
    if (verb == "and" || verb == "or")
        engine.setLogic(verb == "and" ? SearchLogic::And : SearchLogic::Or);
    else if (verb == "continue" || verb == "fresh")
        engine.setContinue(verb == "continue");
    else if (verb == "clear")
        engine.clearSearch();
    else if (verb == "ci")
        persons.setCaseInsensitive(true);
    else if (verb == "person" || verb == "person-cs")
        engine.findInPersonField(p[1], p[2], verb == "person");
    else if (verb == "org")
        engine.findInOrgField(p[1], p[2], true);
    else if (verb == "add-person")
        engine.addPersonCondition(p[1], p[2]);
    else if (verb == "add-org")
        engine.addOrgCondition(p[1], p[2], true);
    else if (verb == "apply")
        engine.applyLastSearch();
    else if (verb == "byorg")
        engine.findByOrg(p[1].toInt());
    else if (verb == "birthday")
        engine.findByBirthday(p[1].toInt(), p[2].toInt());
    else if (verb == "month")
        engine.findByBirthMonth(p[1].toInt());
    else if (verb == "name")
        engine.findByName(p[1]);
    else if (verb == "prefix")
        engine.findByNamePrefix(p[1]);
    else
        QFAIL(qPrintable("unknown step " + step));
}

void fillCatalogue(Settings &settings)
{
    settings.fieldsList = {{"Name", "Name"},         {"SurName", "Surname"},    {"Address", "Home address"},
                           {"Phone", "Home phone"},  {"Mobile", "Mobile"},      {"Company", "Company"},
                           {"CAddress", "Work address"}, {"Odd", "Nothing"}};
}

} // namespace

class TestSearch : public QObject {
    Q_OBJECT
private slots:
    void engine_data();
    void engine();
    void organisationTextOfTheLastSearch();
    void fieldMembership_data();
    void fieldMembership();
    void ignoresCase_data();
    void ignoresCase();
    void choices_data();
    void choices();
    void continuedChoiceWidens();
    void severalFieldsCompareAsOneDoes_data();
    void severalFieldsCompareAsOneDoes();
    void organisationForLookup_data();
    void organisationForLookup();
    void sortedCandidates();
    void candidatesFollowTheTable();
    void candidatesInTheCompletersOrder();
};

void TestSearch::engine_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QList<int>>("listed");

    QTest::newRow("a person field, fresh, ignoring case") << QStringList{"and", "fresh", "person|Name|mc"}
        << "Name LIKE '%mc%'" << QList<int>{1, 2};
    QTest::newRow("a person field respecting case") << QStringList{"person-cs|Name|Mc"} << "Name LIKE '%Mc%'" << QList<int>{1};
    QTest::newRow("continued AND with an organisation field")
        << QStringList{"and", "fresh", "person|Name|a", "continue", "org|Company|acme"}
        << "Name LIKE '%a%' AND (OrgID=2001 OR OrgID=2003)" << QList<int>{1};
    QTest::newRow("an organisation field gives a group of organisations") << QStringList{"org|CAddress|berlin"}
        << "(OrgID=2001 OR OrgID=2002)" << QList<int>{1, 3, 4, 10};
    QTest::newRow("fresh AND search of an organisation field finding nothing lists nothing")
        << QStringList{"and", "fresh", "person|Name|mc", "org|Company|zzz"} << "OrgID=-1" << QList<int>{};
    QTest::newRow("continued OR search of an organisation field finding nothing keeps the results")
        << QStringList{"or", "fresh", "person|Name|mc", "continue", "org|Company|zzz"} << "Name LIKE '%mc%'" << QList<int>{1, 2};
    QTest::newRow("fresh OR search of an organisation field finding nothing lists nothing")
        << QStringList{"or", "fresh", "person|Name|mc", "org|Company|zzz"} << "OrgID=-1" << QList<int>{};
    QTest::newRow("continuing AND after an empty result still lists nothing")
        << QStringList{"and", "fresh", "org|Company|zzz", "continue", "person|Name|a"} << "OrgID=-1 AND Name LIKE '%a%'"
        << QList<int>{};
    QTest::newRow("continuing OR widens") << QStringList{"or", "fresh", "person|Name|mary", "continue", "person|Name|tom"}
        << "Name LIKE '%mary%' OR Name LIKE '%tom%'" << QList<int>{1, 2};
    QTest::newRow("continuing AND narrows every alternative")
        << QStringList{"ci", "clear", "continue", "or", "add-person|Name|mc", "add-person|Address|street", "apply", "and",
                       "person|GivenName|a"}
        << "(Name LIKE '%mc%' OR Address LIKE '%street%') AND GivenName LIKE '%a%'" << QList<int>{1};
    QTest::newRow("an earlier search's organisation condition stays out of a new one")
        << QStringList{"and", "fresh", "org|Company|acme", "person|Name|ann", "continue", "or", "org|CAddress|paris"}
        << "Name LIKE '%ann%' OR (OrgID=2003)" << QList<int>{6, 7};
    QTest::newRow("two organisation fields narrowed with AND")
        << QStringList{"and", "fresh", "org|Company|acme", "continue", "org|CAddress|berlin"}
        << "(OrgID=2001 OR OrgID=2003) AND (OrgID=2001 OR OrgID=2002)" << QList<int>{1};
    QTest::newRow("several fields: each organisation field its own group")
        << QStringList{"clear", "continue", "or", "add-org|CAddress|paris", "add-org|Company|acme", "apply"}
        << "(OrgID=2003) OR (OrgID=2001 OR OrgID=2003)" << QList<int>{1, 7};
    QTest::newRow("a quote in the value") << QStringList{"person|Name|o'b"} << "Name LIKE '%o''b%'" << QList<int>{3, 11};
    QTest::newRow("a percent sign matches any run, as everywhere in the filter language")
        << QStringList{"person|Name|50%"} << "Name LIKE '%50%%'" << QList<int>{7, 8};
    QTest::newRow("an asterisk is an ordinary character") << QStringList{"person|Name|r*b"} << "Name LIKE '%r*b%'"
                                                          << QList<int>{9};
    QTest::newRow("a wide value") << QStringList{"person-cs|Address|\u5317\u4eac"}
        << "Address LIKE '%\u5317\u4eac%'" << QList<int>{5};
    QTest::newRow("an empty value finds every entry holding the field") << QStringList{"person|Phone|"}
        << "Phone LIKE '%%'" << QList<int>{1};
    QTest::newRow("several fields: an organisation field finding nothing adds nothing")
        << QStringList{"clear", "continue", "or", "add-org|Company|zzz", "add-person|Name|mc", "apply"}
        << "Name LIKE '%mc%'" << QList<int>{2};
    QTest::newRow("several fields finding nothing list nothing")
        << QStringList{"clear", "continue", "or", "add-org|Company|zzz", "apply"} << "OrgID=-1" << QList<int>{};
    QTest::newRow("the search node before any search lists nothing") << QStringList{"apply"} << "OrgID=-1" << QList<int>{};
    QTest::newRow("the search node shows the last search again")
        << QStringList{"person|Name|mc", "byorg|2002", "apply"} << "OrgID=2002" << QList<int>{3, 4, 10};
    QTest::newRow("by organisation") << QStringList{"byorg|2002"} << "OrgID=2002" << QList<int>{3, 4, 10};
    QTest::newRow("by organisation ends a continued search") << QStringList{"person|Name|mc", "continue", "byorg|2001", "person|Name|joe"}
        << "Name LIKE '%joe%'" << QList<int>{7, 8};
    QTest::newRow("birthday") << QStringList{"birthday|3|14"} << "Month(Birthday)=3 AND Day(Birthday)=14" << QList<int>{1};
    QTest::newRow("birth month") << QStringList{"month|3"} << "Month(Birthday)=3" << QList<int>{1, 2};
    QTest::newRow("birth month December, white and yellow pages") << QStringList{"month|12"} << "Month(Birthday)=12"
                                                                   << QList<int>{5, 10};
    QTest::newRow("exact name with a quote") << QStringList{"name|Pat O'Brien"} << "Name='Pat O''Brien'" << QList<int>{3};
    QTest::newRow("name prefix with a quote, any case") << QStringList{"prefix|o'b"}
        << "Name='o''b*' and (not (Yellow=true))" << QList<int>{11};
    QTest::newRow("name prefix lists no yellow page") << QStringList{"prefix|ACM"}
        << "Name='ACM*' and (not (Yellow=true))" << QList<int>{};
    QTest::newRow("name prefix with a percent sign") << QStringList{"prefix|joe 50%"}
        << "Name='joe 50%*' and (not (Yellow=true))" << QList<int>{7};
}

void TestSearch::engine()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, filter);
    QFETCH(QList<int>, listed);
    Book book;
    for (const QString &step : steps)
        runStep(book.engine, book.data.personList, step);
    QCOMPARE(book.data.personList.filter(), filter);
    QCOMPARE(book.listed(), listed);
    // The organisation lookup box lists every organisation again.
    QCOMPARE(book.data.organisationLookup.recordCount(), 6);
}

void TestSearch::organisationTextOfTheLastSearch()
{
    Book book;
    book.engine.setLogic(SearchLogic::And);
    book.engine.setContinue(true);
    QVERIFY(book.engine.addOrgCondition("Company", "acme", true));
    QCOMPARE(book.engine.organisationText(), QString("Company LIKE '%acme%'"));
    QVERIFY(!book.engine.addOrgCondition("CAddress", "o'k", false));
    QCOMPARE(book.engine.organisationText(), QString("CAddress LIKE '%o''k%'"));
    QCOMPARE(book.engine.searchText(), SearchEngine::kMatchNothing);
    book.engine.clearSearch();
    QCOMPARE(book.engine.organisationText(), QString());
    QCOMPARE(book.engine.searchText(), QString());
}

void TestSearch::fieldMembership_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("table");
    const int none = int(FieldTable::None), person = int(FieldTable::Person), organisation = int(FieldTable::Organisation);
    QTest::newRow("person field") << "Name" << person;
    QTest::newRow("person field in another case") << "surname" << person;
    QTest::newRow("last person field") << "CID" << person;
    QTest::newRow("organisation field") << "Company" << organisation;
    QTest::newRow("organisation key") << "coid" << organisation;
    QTest::newRow("last organisation field") << "CURL" << organisation;
    QTest::newRow("neither") << "Nothing" << none;
    QTest::newRow("empty") << "" << none;
}

void TestSearch::fieldMembership()
{
    QFETCH(QString, name);
    QFETCH(int, table);
    Settings settings("/nonexistent/aa.ini");
    const FieldCatalogue catalogue(settings);
    QCOMPARE(int(catalogue.tableOf(name)), table);
    QCOMPARE(catalogue.isPersonField(name), table == int(FieldTable::Person));
    QCOMPARE(catalogue.isOrganisationField(name), table == int(FieldTable::Organisation));
    QCOMPARE(catalogue.tableFields().size(), 39);
    QCOMPARE(catalogue.personFieldCount(), 29);
}

void TestSearch::ignoresCase_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<bool>("ignoresCase");
    QTest::newRow("latin") << "smith" << true;
    QTest::newRow("accented") << "\u00e9cole" << true;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("digits") << "0171" << true;
    QTest::newRow("ideograph first") << "\u738bSmith" << false;
    QTest::newRow("ideograph later") << "Smith\u738b" << true;
    QTest::newRow("full-width letter") << "\uff33mith" << false;
    QTest::newRow("hangul") << "\ud55c" << false;
    QTest::newRow("wide character beyond 16 bits") << "\U00020000x" << false;
}

void TestSearch::ignoresCase()
{
    QFETCH(QString, content);
    QFETCH(bool, ignoresCase);
    QCOMPARE(searchIgnoresCase(content), ignoresCase);
}

void TestSearch::choices_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QString>("content");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QList<int>>("listed");
    const int start = int(SearchChoice::Kind::Start), quick = int(SearchChoice::Kind::Quick);

    QTest::newRow("one person field, ignoring case") << start << QStringList{"name"} << "mc" << 1 << 0
                                                     << "Name LIKE '%mc%'" << QList<int>{1, 2};
    QTest::newRow("one organisation field") << start << QStringList{"Work address"} << "BERLIN" << 1 << 0
                                            << "(OrgID=2001 OR OrgID=2002)" << QList<int>{1, 3, 4, 10};
    QTest::newRow("a wide first character respects case") << start << QStringList{"Home address"}
        << "\u5317\u4eac\u5e02 street" << 1 << 0 << "Address LIKE '%\u5317\u4eac\u5e02 street%'" << QList<int>{};
    QTest::newRow("a wide first character finds the same case") << start << QStringList{"Home address"}
        << "\u5317\u4eac\u5e02 STREET" << 1 << 0 << "Address LIKE '%\u5317\u4eac\u5e02 STREET%'" << QList<int>{5};
    QTest::newRow("several fields joined by OR") << start << QStringList{"Name", "Home phone", "Mobile"} << "0171" << 1 << 0
        << "Name LIKE '%0171%' OR Phone LIKE '%0171%' OR Mobile LIKE '%0171%'" << QList<int>{1, 3};
    QTest::newRow("several fields of both tables") << start << QStringList{"Name", "Company"} << "acme" << 1 << 0
        << "Name LIKE '%acme%' OR (OrgID=2001 OR OrgID=2003)" << QList<int>{1, 4, 7};
    QTest::newRow("a label without a field searches nothing") << start << QStringList{"Pager"} << "1" << 1 << 0 << ""
                                                              << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    QTest::newRow("a field of neither table searches nothing") << start << QStringList{"Nothing"} << "1" << 1 << 0 << ""
                                                               << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    QTest::newRow("several fields, one without a field") << start << QStringList{"Pager", "Mobile"} << "555" << 1 << 0
                                                         << "Mobile LIKE '%555%'" << QList<int>{3};
    QTest::newRow("birthday on a day") << quick << QStringList{} << "" << 3 << 14
                                       << "Month(Birthday)=3 AND Day(Birthday)=14" << QList<int>{1};
    QTest::newRow("day 0: the whole month") << quick << QStringList{} << "" << 3 << 0 << "Month(Birthday)=3"
                                            << QList<int>{1, 2};
}

void TestSearch::choices()
{
    QFETCH(int, kind);
    QFETCH(QStringList, labels);
    QFETCH(QString, content);
    QFETCH(int, month);
    QFETCH(int, day);
    QFETCH(QString, filter);
    QFETCH(QList<int>, listed);
    Settings settings("/nonexistent/aa.ini");
    fillCatalogue(settings);
    const FieldCatalogue catalogue(settings);
    Book book;
    SearchChoice choice;
    choice.kind = SearchChoice::Kind(kind);
    choice.labels = labels;
    choice.logic = SearchLogic::And;
    choice.content = content;
    choice.month = month;
    choice.day = day;
    searchAsChosen(book.engine, catalogue, choice);
    QCOMPARE(book.data.personList.filter(), filter);
    QCOMPARE(book.listed(), listed);
}

void TestSearch::continuedChoiceWidens()
{
    Settings settings("/nonexistent/aa.ini");
    fillCatalogue(settings);
    const FieldCatalogue catalogue(settings);
    Book book;
    SearchChoice choice{SearchChoice::Kind::Start, {"Name"}, SearchLogic::Or, "mary"};
    searchAsChosen(book.engine, catalogue, choice);
    choice = {SearchChoice::Kind::Continue, {"Company"}, SearchLogic::Or, "globex"};
    searchAsChosen(book.engine, catalogue, choice);
    QCOMPARE(book.data.personList.filter(), QString("Name LIKE '%mary%' OR (OrgID=2002)"));
    QCOMPARE(book.listed(), (QList<int>{1, 3, 4, 10}));
    choice = {SearchChoice::Kind::Continue, {"Name"}, SearchLogic::And, "o"};
    searchAsChosen(book.engine, catalogue, choice);
    QCOMPARE(book.data.personList.filter(), QString("(Name LIKE '%mary%' OR (OrgID=2002)) AND Name LIKE '%o%'"));
    QCOMPARE(book.listed(), (QList<int>{1, 3, 10}));
}

void TestSearch::severalFieldsCompareAsOneDoes_data()
{
    QTest::addColumn<bool>("listIgnoredCase"); // what the list did before the search
    QTest::addColumn<QString>("content");
    QTest::addColumn<QList<int>>("listed");
    QTest::newRow("latin content ignores case, though the list respected it") << false << "MC" << QList<int>{1, 2};
    QTest::newRow("latin content ignores case, as the list did") << true << "MC" << QList<int>{1, 2};
    QTest::newRow("a wide first character respects case, though the list ignored it")
        << true << "\u5317\u4eac\u5e02 street" << QList<int>{};
    QTest::newRow("a wide first character finds the same case") << true << "\u5317\u4eac\u5e02 STREET" << QList<int>{5};
}

// The dialog's several fields, and the address and phone quick searches
// that select several, compare letter case by the content, as one field does,
// whatever the list did before.
void TestSearch::severalFieldsCompareAsOneDoes()
{
    QFETCH(bool, listIgnoredCase);
    QFETCH(QString, content);
    QFETCH(QList<int>, listed);
    Settings settings("/nonexistent/aa.ini");
    fillCatalogue(settings);
    const FieldCatalogue catalogue(settings);
    Book book;
    book.data.personList.setCaseInsensitive(listIgnoredCase);
    searchAsChosen(book.engine, catalogue, {SearchChoice::Kind::Start, {"Name", "Home address"}, SearchLogic::Or, content});
    QCOMPARE(book.listed(), listed);
}

// Which of "Acme" and "ACME" comes first depends on the locale's collation.
const int kFirstAcme = -2;

void TestSearch::organisationForLookup_data()
{
    QTest::addColumn<int>("chosen"); // the CoID the box has chosen, 0 for none
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("found");
    QTest::newRow("equal name") << 0 << "Globex" << 2002;
    QTest::newRow("another case") << 0 << "GLOBEX" << 2002;
    QTest::newRow("first of equal names in Company order") << 0 << "acme" << kFirstAcme;
    QTest::newRow("the one the box chose") << 2007 << "ACME" << 2007;
    QTest::newRow("the other one the box chose") << 2001 << "ACME" << 2001;
    QTest::newRow("the chosen one does not bear the text") << 2002 << "acme" << kFirstAcme;
    QTest::newRow("a part of a name") << 0 << "Glob" << -1;
    QTest::newRow("no such name") << 0 << "Nobody Inc." << -1;
}

void TestSearch::organisationForLookup()
{
    QFETCH(int, chosen);
    QFETCH(QString, text);
    QFETCH(int, found);
    TableView organisations("organisationLookup", organisationFields());
    organisations.setIndexDefs({{"CompanyID", "Company"}});
    organisations.setIndexName("CompanyID");
    organisations.loadTable(organisationTable({organisation(0, "(No organisation)"), organisation(2002, "Globex"),
                                               organisation(2007, "ACME"), organisation(2001, "Acme")}));
    if (found == kFirstAcme) {
        organisations.first();
        while (organisations.text("Company").compare("acme", Qt::CaseInsensitive) != 0)
            organisations.next();
        found = std::get<qint32>(organisations.value("CoID"));
    }
    if (chosen > 0)
        QVERIFY(organisations.locate("CoID", qint32(chosen)));
    QCOMPARE(qv::organisationForLookup(organisations, text), found);
}

void TestSearch::sortedCandidates()
{
    RecordStore data;
    data.personRead.loadTable(personTable());
    data.bindViews();
    data.personNameLookup.setFilter("not (Yellow=true)");
    SortedFieldModel model(data.personNameLookup, "Name");
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.refresh();
    QStringList names;
    for (int i = 0; i < model.rowCount(); ++i)
        names << model.index(i).data(Qt::EditRole).toString();
    // White pages only (an empty Yellow counts as white), sorted ignoring case.
    QCOMPARE(names, (QStringList{"Ann Null", "Joe 50% Club", "Joe 500", "Mary McDonald", "O'Brady Sean", "Pat O'Brien",
                                 "Star*Bright", "Tom mcneil", "\u738b\u5c0f\u660e"}));
}

void TestSearch::candidatesFollowTheTable()
{
    RecordStore data;
    data.organisationRead.loadTable(organisationTable({organisation(0, "(No organisation)"), organisation(2001, "beta"),
                                                       organisation(2002, "Alpha"), organisation(2003, "alpha"),
                                                       organisation(2004, "Alpha")}));
    data.bindViews();
    SortedFieldModel model(data.organisationLookup, "Company");
    model.refresh();
    auto texts = [&] {
        QStringList list;
        for (int i = 0; i < model.rowCount(); ++i)
            list << model.index(i).data().toString();
        return list;
    };
    QCOMPARE(texts(), (QStringList{"(No organisation)", "Alpha", "alpha", "beta"}));
    data.organisationList.locate("CoID", qint32(2001));
    data.organisationList.edit();
    data.organisationList.setValue("Company", QString("Gamma"));
    data.organisationList.post();
    model.refresh();
    QCOMPARE(texts(), (QStringList{"(No organisation)", "Alpha", "alpha", "Gamma"}));
    data.organisationRead.loadTable(organisationTable({organisation(0, "Other book")}));
    data.bindViews();
    model.refresh();
    QCOMPARE(texts(), QStringList{"Other book"});
}

void TestSearch::candidatesInTheCompletersOrder()
{
    // The lookup boxes find candidates by binary search in Qt's order
    // ignoring case, so the candidates must be in exactly that order.
    const QStringList names = {"eclair", "\u00e9clair", "Eclair", "Zeta", "_under", "[bracket", "\u00c9mile", "emile", "Em",
                               "em", "\u738b\u5c0f\u660e", "Stra\u00dfe", "STRASSE", "\u212aelvin", "kelvin", "a", "A", "ab"};
    RecordStore data;
    auto table = std::make_shared<RecordTable>(personFields());
    for (int i = 0; i < names.size(); ++i)
        table->insertRow(test::person({{"ClientID", qint32(i + 1)}, {"Name", names[i]}, {"SurName", names[i]}}));
    data.personRead.loadTable(table);
    data.bindViews();
    SortedFieldModel model(data.personNameLookup, "Name");
    model.refresh();
    QCOMPARE(model.rowCount(), names.size());
    for (int i = 1; i < model.rowCount(); ++i) {
        const QString before = model.index(i - 1).data().toString(), after = model.index(i).data().toString();
        QVERIFY2(QString::compare(before, after, Qt::CaseInsensitive) <= 0, qPrintable(before + " / " + after));
    }
}

QTEST_GUILESS_MAIN(TestSearch)
#include "tst_search.moc"
