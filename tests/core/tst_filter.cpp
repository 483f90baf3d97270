#include "PersonFixture.h"

#include "data/RecordTable.h"
#include "data/TableView.h"
#include "data/filter/FilterPredicate.h"
#include "data/filter/UnitSearch.h"

#include <QTest>

using namespace qv;

namespace {

QList<int> clientIds(TableView &view)
{
    QList<int> ids;
    for (view.first(); !view.atEnd(); view.next())
        ids << std::get<qint32>(view.value("ClientID"));
    std::sort(ids.begin(), ids.end());
    return ids;
}

std::unique_ptr<TableView> fixtureView()
{
    auto view = std::make_unique<TableView>("personList", personFields());
    for (const auto &row : test::filterFixture())
        view->appendRecord(row);
    return view;
}

// The ClientIDs in the view's order, as the list shows them.
QList<int> listedIds(TableView &view)
{
    QList<int> ids;
    for (view.first(); !view.atEnd(); view.next())
        ids << std::get<qint32>(view.value("ClientID"));
    return ids;
}

std::u16string_view units(const QString &text)
{
    return std::u16string_view(QStringView(text).utf16(), size_t(text.size()));
}

QString repeated(const char *text, int times)
{
    return QString(text).repeated(times);
}

// The term wrapped in the given number of parentheses.
QString parenthesised(const QString &term, int depth)
{
    return repeated("(", depth) + term + repeated(")", depth);
}

} // namespace

class TestFilter : public QObject {
    Q_OBJECT
private slots:
    void shapes_data();
    void shapes();
    void errors_data();
    void errors();
    void deepNesting_data();
    void deepNesting();
    void refusedFilterKeepsThePreviousOne();
    void filterFollowsPostedChanges();
    void switchedOffAndOn();
    void like_data();
    void like();
    void ignoringCase_data();
    void ignoringCase();
    void ignoringCaseFollowsPostedChanges();
    void unitSearch_data();
    void unitSearch();
    void unitSearchFindsTheNeedleAtEveryPlace();
    void listedInTheViewsOrder_data();
    void listedInTheViewsOrder();
    void largeTableTestedInParts_data();
    void largeTableTestedInParts();
};

void TestFilter::shapes_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<bool>("caseInsensitive");
    QTest::addColumn<QList<int>>("expected");

    const QList<int> all{1, 2, 3, 4, 5, 6};
    QTest::newRow("empty text: every row") << "" << false << all;
    QTest::newRow("blank text: every row") << "   " << false << all;
    QTest::newRow("category, fourth slot only") << "Group1=1005 OR Group2=1005 OR Group3=1005 OR Group4=1005" << false << QList<int>{1, 2};
    QTest::newRow("prefix mc, case-insensitive") << "Surname='mc*'" << true << QList<int>{1, 2};
    QTest::newRow("prefix mc, case-sensitive") << "Surname='mc*'" << false << QList<int>{2};
    QTest::newRow("prefix among white pages") << "Surname='a*' and (not (Yellow=true))" << true << QList<int>{};
    QTest::newRow("prefix, wide initial") << "Surname='\u738b*' and (not (Yellow=true))" << false << QList<int>{5};
    QTest::newRow("white pages (empty Yellow counts as white)") << "not (Yellow=true)" << false << QList<int>{1, 2, 3, 5, 6};
    QTest::newRow("yellow pages") << "Yellow=true" << false << QList<int>{4};
    QTest::newRow("OrgID=-1 lists nothing") << "OrgID=-1" << false << QList<int>{};
    QTest::newRow("OrgID=N") << "OrgID=2002" << false << QList<int>{3, 4};
    QTest::newRow("OrgID list") << "(OrgID=2001 OR OrgID=2002 )" << false << QList<int>{1, 3, 4};
    QTest::newRow("OrgID list after an earlier expression") << "Yellow=true AND (OrgID=2001 OR OrgID=2002 )" << false << QList<int>{4};
    QTest::newRow("LIKE contains, case-insensitive") << "Address LIKE '%street%'" << true << QList<int>{1, 5};
    QTest::newRow("LIKE contains, case-sensitive") << "Address LIKE '%Street%'" << false << QList<int>{1};
    QTest::newRow("LIKE terms joined by OR") << "Phone LIKE '%0171%' OR Mobile LIKE '%0171%'" << false << QList<int>{1, 3};
    QTest::newRow("LIKE terms joined by AND") << "Phone LIKE '%0171%' AND Mobile LIKE '%0171%'" << false << QList<int>{};
    QTest::newRow("LIKE %% matches any present value") << "Address LIKE '%%'" << false << QList<int>{1, 2, 5};
    QTest::newRow("Month and Day") << "Month(Birthday)=3 AND Day(Birthday)=14" << false << QList<int>{1};
    QTest::newRow("Month") << "Month(Birthday)=3" << false << QList<int>{1, 2};
    QTest::newRow("Day across months") << "Day(Birthday)=14" << false << QList<int>{1, 5};
    QTest::newRow("empty birthday is never selected by Month") << "Month(Birthday)<>3" << false << QList<int>{5};
    QTest::newRow("empty birthday is never selected by Day") << "Day(Birthday)<>14" << false << QList<int>{2};
    QTest::newRow("not of a Month term lets empty birthdays through") << "not (Month(Birthday)=3)" << false << QList<int>{3, 4, 5, 6};
    QTest::newRow("exact name with doubled quote") << "Name='Pat O''Brien'" << false << QList<int>{3};
    QTest::newRow("exact name, case-insensitive") << "Name='mary mcdonald'" << true << QList<int>{1};
    QTest::newRow("exact name, case-sensitive") << "Name='mary mcdonald'" << false << QList<int>{};
    QTest::newRow("name prefix among white pages") << "Name='a*' and (not (Yellow=true))" << true << QList<int>{6};
    QTest::newRow("keywords and fields ignore case") << "SURNAME='McDonald' oR yellow=TRUE" << false << QList<int>{1, 4};
    QTest::newRow("not binds tighter than and") << "not Yellow=true and OrgID=0" << false << QList<int>{2, 5, 6};
    QTest::newRow("and binds tighter than or") << "OrgID=2001 OR OrgID=0 AND Group2=1006" << false << QList<int>{1, 5};
    QTest::newRow("parentheses group") << "(OrgID=2001 OR OrgID=0) AND Group2=1006" << false << QList<int>{5};
    QTest::newRow("comparison on an empty field is false") << "Group3=1000" << false << QList<int>{1, 2};
    QTest::newRow("not equal is false on empty") << "Group3<>1005" << false << QList<int>{1, 2};
    // Address is empty in entries 3, 4 and 6. An empty text sorts first, so
    // only "=", "<>", "<", ">=", prefixes and LIKE could wrongly select it.
    QTest::newRow("text equal is false on an empty field") << "Address=''" << false << QList<int>{};
    QTest::newRow("text not equal is false on an empty field") << "Address<>'12 High Street'" << false << QList<int>{2, 5};
    QTest::newRow("text less than is false on an empty field") << "Address<'S'" << false << QList<int>{1, 2};
    QTest::newRow("text less than ignoring case is false on an empty field") << "Address<'s'" << true << QList<int>{1, 2};
    QTest::newRow("text at least empty is false on an empty field") << "Address>=''" << false << QList<int>{1, 2, 5};
    QTest::newRow("not a prefix is false on an empty field") << "Address<>'12*'" << false << QList<int>{2, 5};
    QTest::newRow("LIKE % is false on an empty field") << "Address LIKE '%'" << false << QList<int>{1, 2, 5};
    QTest::newRow("LIKE empty pattern is false on an empty field") << "Address LIKE ''" << false << QList<int>{};
    QTest::newRow("LIKE on an empty date field is false") << "Birthday LIKE '%'" << false << QList<int>{1, 2, 5};
    QTest::newRow("CoID shape on a person table field name") << "ClientID=4" << false << QList<int>{4};
    QTest::newRow("negative number") << "OrgID>-1" << false << all;
    QTest::newRow("Yellow=false") << "Yellow=false" << false << QList<int>{1, 2, 3, 5};
}

void TestFilter::shapes()
{
    QFETCH(QString, filter);
    QFETCH(bool, caseInsensitive);
    QFETCH(QList<int>, expected);
    auto view = fixtureView();
    view->setCaseInsensitive(caseInsensitive);
    view->setFilter(filter);
    QCOMPARE(clientIds(*view), expected);
    QCOMPARE(view->recordCount(), expected.size());
}

void TestFilter::errors_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing closing parenthesis") << "(OrgID=1 OR OrgID=2"
        << "Invalid filter expression at character 20: expected \")\" to close the \"(\" at character 1, found the end of the text";
    QTest::newRow("unclosed quote") << "Name='abc" << "Invalid filter expression at character 6: text constant without its closing quote";
    QTest::newRow("unknown field") << "Nmae='x'" << "Invalid filter expression at character 1: field 'Nmae' not found";
    QTest::newRow("missing operand") << "OrgID=" << "Invalid filter expression at character 7: expected a number, a quoted text or true after \"=\", found the end of the text";
    QTest::newRow("dangling OR") << "OrgID=1 OR" << "Invalid filter expression at character 11: expected a field name, found the end of the text";
    QTest::newRow("two terms without joiner") << "OrgID=1 OrgID=2" << "Invalid filter expression at character 9: expected AND, OR or the end, found \"OrgID\"";
    QTest::newRow("stray character") << "OrgID=1 ; drop" << "Invalid filter expression at character 9: unexpected character ';'";
    QTest::newRow("Month of a text field") << "Month(Name)=3" << "Invalid filter expression at character 7: field 'Name' is not a date";
    QTest::newRow("text for a number field") << "OrgID='abc'" << "Invalid filter expression at character 1: the constant does not suit field 'OrgID'";
    QTest::newRow("number too large") << "OrgID=99999999999" << "Invalid filter expression at character 7: number out of range";

    // Function calls take a field name and a minus sign a digit, so neither can nest.
    QTest::newRow("function calls do not nest") << "Month(Month(Birthday))=3"
        << "Invalid filter expression at character 12: expected \")\", found \"(\"";
    QTest::newRow("minus signs do not repeat") << "OrgID=--1" << "Invalid filter expression at character 7: unexpected character '-'";
    const QString tooDeep = QStringLiteral(": nested deeper than 256 levels");
    QTest::newRow("parentheses one past the nesting limit")
        << parenthesised("Yellow=true", 257) << "Invalid filter expression at character 257" + tooDeep;
    QTest::newRow("10,000 nested parentheses")
        << parenthesised("Yellow=true", 10000) << "Invalid filter expression at character 257" + tooDeep;
    QTest::newRow("not one past the nesting limit")
        << repeated("not ", 257) + "Yellow=true" << "Invalid filter expression at character 1025" + tooDeep;
    QTest::newRow("30,000 nots") << repeated("not ", 30000) + "Yellow=true" << "Invalid filter expression at character 1025" + tooDeep;
    QTest::newRow("not and parentheses together one past the nesting limit")
        << repeated("not (", 128) + "not Yellow=true" + repeated(")", 128) << "Invalid filter expression at character 641" + tooDeep;
    QTest::newRow("nesting limit in a later operand")
        << "OrgID=0 AND " + parenthesised("Yellow=true", 257) << "Invalid filter expression at character 269" + tooDeep;
}

void TestFilter::errors()
{
    QFETCH(QString, filter);
    QFETCH(QString, message);
    auto view = fixtureView();
    try {
        view->setFilter(filter);
        QFAIL("the filter was accepted");
    } catch (const filter::FilterError &e) {
        QCOMPARE(e.text(), message);
    }
}

void TestFilter::deepNesting_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("parentheses at the nesting limit") << parenthesised("Yellow=true", 256) << QList<int>{4};
    QTest::newRow("not at the nesting limit") << repeated("not ", 256) + "Yellow=true" << QList<int>{4};
    QTest::newRow("odd number of nots at the nesting limit")
        << repeated("not ", 255) + "(Yellow=true)" << QList<int>{1, 2, 3, 5, 6};
    QTest::newRow("not and parentheses together at the nesting limit")
        << repeated("not (", 128) + "Yellow=true" + repeated(")", 128) << QList<int>{4};
    QTest::newRow("closed groups give their levels back")
        << parenthesised("Yellow=true", 256) + " OR " + parenthesised("OrgID=2001", 256) + " OR "
            + repeated("not ", 256) + "ClientID=3"
        << QList<int>{1, 3, 4};
}

void TestFilter::deepNesting()
{
    QFETCH(QString, filter);
    QFETCH(QList<int>, expected);
    auto view = fixtureView();
    try {
        view->setFilter(filter);
    } catch (const filter::FilterError &e) {
        QFAIL(qPrintable(e.text()));
    }
    QCOMPARE(clientIds(*view), expected);
}

void TestFilter::refusedFilterKeepsThePreviousOne()
{
    auto view = fixtureView();
    view->setFilter("Yellow=true");
    QVERIFY_THROWS_EXCEPTION(filter::FilterError, view->setFilter("Yellow=="));
    QCOMPARE(view->filter(), QString("Yellow=true"));
    QCOMPARE(clientIds(*view), QList<int>{4});
}

void TestFilter::filterFollowsPostedChanges()
{
    auto view = fixtureView();
    TableView other("personLookup", personFields());
    other.bindTo(*view, TableView::Binding::KeepSettings);
    view->setFilter("OrgID=2002");
    QCOMPARE(view->recordCount(), 2);
    QVERIFY(other.locate("ClientID", qint32(1)));
    other.edit();
    other.setValue("OrgID", qint32(2002));
    other.post();
    QCOMPARE(clientIds(*view), (QList<int>{1, 3, 4}));
    other.appendRecord(test::person({{"ClientID", qint32(7)}, {"OrgID", qint32(2002)}}));
    QVERIFY(other.locate("ClientID", qint32(3)));
    other.remove();
    QCOMPARE(clientIds(*view), (QList<int>{1, 4, 7}));
}

void TestFilter::switchedOffAndOn()
{
    auto view = fixtureView();
    view->setFilter("Yellow=true");
    view->setFiltered(false);
    QCOMPARE(view->recordCount(), 6);
    view->setFiltered(true);
    QCOMPARE(view->recordCount(), 1);
}

void TestFilter::like_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("match");
    QTest::newRow("whole value") << "abc" << "abc" << true;
    QTest::newRow("longer than the pattern") << "abcd" << "abc" << false;
    QTest::newRow("prefix") << "abcd" << "abc%" << true;
    QTest::newRow("suffix") << "xabc" << "%abc" << true;
    QTest::newRow("inner") << "xabcx" << "%b%" << true;
    QTest::newRow("several runs") << "a-b-c" << "a%b%c" << true;
    QTest::newRow("backtracking") << "aaab" << "%aab" << true;
    QTest::newRow("no match") << "abc" << "%d%" << false;
    QTest::newRow("empty pattern") << "abc" << "" << false;
}

void TestFilter::like()
{
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QFETCH(bool, match);
    QCOMPARE(filter::likeMatch(text, pattern, Qt::CaseSensitive), match);
}

void TestFilter::ignoringCase_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<bool>("caseInsensitive");
    QTest::addColumn<bool>("selected");
    QTest::newRow("capitals in the pattern") << "12 high street" << "Address LIKE '%STREET%'" << true << true;
    QTest::newRow("accented capital") << "\u00c4rger Weg 3" << "Address LIKE '%\u00e4rger%'" << true << true;
    QTest::newRow("accented capital, case-sensitive") << "\u00c4rger Weg 3" << "Address LIKE '%\u00e4rger%'" << false << false;
    QTest::newRow("final sigma folds like sigma") << "\u039f\u0394\u039f\u03a3 1" << "Address LIKE '%\u03bf\u03b4\u03bf\u03c2%'" << true << true;
    QTest::newRow("Kelvin sign is a capital k") << "\u212aing Road" << "Address LIKE '%king%'" << true << true;
    QTest::newRow("letter beyond the 16-bit range") << "Lane \U00010400" << "Address LIKE '%\U00010428%'" << true << true;
    QTest::newRow("long s is a small s") << "Ma\u017Fter Lane" << "Address LIKE '%master%'" << true << true;
    QTest::newRow("Kelvin sign in the middle of the text") << "Par\u212A Road" << "Address LIKE '%park road%'" << true << true;
    QTest::newRow("ASCII text at the very end") << "Lane 12 HIGH" << "Address LIKE '%high%'" << true << true;
    QTest::newRow("text one character short of the value") << "High" << "Address LIKE '%highs%'" << true << false;
    QTest::newRow("a match that breaks off, then a whole one") << "hig high" << "Address LIKE '%high%'" << true << true;
    QTest::newRow("ideographs before an ASCII value") << "\u5317\u4eac Street" << "Address LIKE '%street%'" << true << true;
    QTest::newRow("an accented letter does not match its base letter") << "Caf\u00e9" << "Address LIKE '%cafe%'" << true << false;
    QTest::newRow("opening bracket is not a letter") << "Flat [B] 12" << "Address LIKE '%{b]%'" << true << false;
    QTest::newRow("at sign is not a letter") << "@Home 7" << "Address LIKE '%`home%'" << true << false;
    QTest::newRow("no such text") << "12 High Street" << "Address LIKE '%road%'" << true << false;
    QTest::newRow("prefix, accented capital") << "\u00c4rger Weg 3" << "Address='\u00e4rger*'" << true << true;
    QTest::newRow("not a prefix, accented capital") << "\u00c4rger Weg 3" << "Address<>'\u00e4rger*'" << true << false;
    QTest::newRow("prefix, letter beyond the 16-bit range") << "\U00010400 Lane" << "Address='\U00010428*'" << true << true;
    QTest::newRow("prefix longer than the text") << "Ab" << "Address='abc*'" << true << false;
    QTest::newRow("prefix, accented capital E") << "\u00c9cole 5" << "Address='\u00e9c*'" << true << true;
    QTest::newRow("prefix, accented capital E, case-sensitive") << "\u00c9cole 5" << "Address='\u00e9c*'" << false << false;
    QTest::newRow("prefix, final sigma against capital sigma") << "\u03a3\u039f\u03a3 2" << "Address='\u03c2\u03bf\u03c3*'" << true << true;
    QTest::newRow("capital sharp s folds to sharp s") << "STRA\u1e9eE 5" << "Address LIKE '%stra\u00dfe%'" << true << true;
    QTest::newRow("double s is not sharp s") << "Strasse 5" << "Address LIKE '%stra\u00dfe%'" << true << false;
    QTest::newRow("sharp s is not double s") << "Stra\u00dfe 5" << "Address='STRASSE*'" << true << false;
    QTest::newRow("equal ignoring case") << "12 High Street" << "Address='12 HIGH STREET'" << true << true;
    QTest::newRow("equal, case-sensitive") << "12 High Street" << "Address='12 HIGH STREET'" << false << false;
    QTest::newRow("equal ignoring case needs the whole value") << "12 High Street" << "Address='12 high'" << true << false;
    QTest::newRow("unequal ignoring case") << "12 High Street" << "Address<>'12 HIGH STREET'" << true << false;
    QTest::newRow("equal, letter beyond the 16-bit range") << "\U00010400\U00010401" << "Address='\U00010428\U00010429'" << true << true;
}

void TestFilter::ignoringCase()
{
    QFETCH(QString, address);
    QFETCH(QString, filter);
    QFETCH(bool, caseInsensitive);
    QFETCH(bool, selected);
    TableView view("personList", personFields());
    view.appendRecord(test::person({{"ClientID", qint32(1)}, {"Address", address}}));
    view.setCaseInsensitive(caseInsensitive);
    view.setFilter(filter);
    QCOMPARE(view.recordCount(), selected ? 1 : 0);
}

void TestFilter::ignoringCaseFollowsPostedChanges()
{
    // Comparisons ignoring case read a case-folded copy of the column, which
    // must follow every change made after the filter was set.
    auto view = fixtureView();
    TableView other("personLookup", personFields());
    other.bindTo(*view, TableView::Binding::KeepSettings);
    view->setCaseInsensitive(true);
    view->setFilter("Surname='MC*'");
    QCOMPARE(clientIds(*view), (QList<int>{1, 2}));
    QVERIFY(other.locate("ClientID", qint32(3)));
    other.edit();
    other.setValue("SurName", QString("MCCARTHY-\u00c9T\u00c9"));
    other.post();
    QVERIFY(other.locate("ClientID", qint32(1)));
    other.edit();
    other.setValue("SurName", QString("Donald"));
    other.post();
    other.appendRecord(test::person({{"ClientID", qint32(7)}, {"SurName", QString("Mcintyre")}}));
    QCOMPARE(clientIds(*view), (QList<int>{2, 3, 7}));
    view->setFilter("Surname='mccarthy-\u00e9t\u00e9'");
    QCOMPARE(clientIds(*view), (QList<int>{3}));
}

void TestFilter::unitSearch_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("needle");
    QTest::addColumn<bool>("found");
    QTest::newRow("empty needle") << "abc" << "" << true;
    QTest::newRow("needle longer than the text") << "abc" << "abcd" << false;
    QTest::newRow("one unit") << "xyz" << "z" << true;
    QTest::newRow("first and last unit match, middle does not") << "0181 0x71 0191" << "0171" << false;
    QTest::newRow("at the end of a long text") << QString("+44 20 7946 0958 ext 12 0171") << "0171" << true;
    QTest::newRow("first unit only at the last place") << QString("abcdefghijklmnop") << "pq" << false;
    QTest::newRow("units beyond 16 bits") << "a\U0001F600b\U0001F601" << "\U0001F601" << true;
    QTest::newRow("high unit of a pair alone") << "a\U0001F600b" << "\U0001F601" << false;
}

void TestFilter::unitSearch()
{
    QFETCH(QString, text);
    QFETCH(QString, needle);
    QFETCH(bool, found);
    QCOMPARE(filter::containsUnits(units(text), units(needle)), found);
}

void TestFilter::unitSearchFindsTheNeedleAtEveryPlace()
{
    // Texts of many lengths, so that the needle lies in, across and after
    // every block the search tries at once, with near misses around it.
    const QString needles[] = {"q", "qr", "qrs", "qrstuvwxy"};
    for (const QString &needle : needles) {
        for (int length = needle.size(); length <= 40; ++length) {
            for (int at = 0; at + needle.size() <= length; ++at) {
                QString text(length, QLatin1Char('q'));
                text.replace(at, needle.size(), needle);
                const QString missing = QString(text).replace(at + needle.size() - 1, 1, QLatin1Char('z'));
                QVERIFY2(filter::containsUnits(units(text), units(needle)), qPrintable(text));
                QCOMPARE(filter::containsUnits(units(missing), units(needle)), missing.contains(needle));
            }
        }
    }
}

void TestFilter::listedInTheViewsOrder_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<int>("deleted"); // ClientID removed before filtering, 0 for none
    QTest::addColumn<QList<int>>("expected");
    // OrgID: 1 has 2001, 2, 5 and 6 have 0, 3 and 4 have 2002.
    QTest::newRow("number term") << "Yellow=false" << 0 << QList<int>{2, 5, 1, 3};
    QTest::newRow("text term") << "Surname>'N'" << 0 << QList<int>{2, 5, 6, 3};
    QTest::newRow("a deleted row that would pass stays out") << "Yellow=false" << 2 << QList<int>{5, 1, 3};
}

void TestFilter::listedInTheViewsOrder()
{
    QFETCH(QString, filter);
    QFETCH(int, deleted);
    QFETCH(QList<int>, expected);
    auto view = fixtureView();
    view->setIndexDefs({{"byOrganisation", "OrgID"}});
    view->setIndexName("byOrganisation");
    if (deleted > 0) {
        QVERIFY(view->locate("ClientID", qint32(deleted)));
        view->remove();
    }
    view->setFilter(filter);
    QCOMPARE(listedIds(*view), expected);
}

void TestFilter::largeTableTestedInParts_data()
{
    QTest::addColumn<int>("rows");
    QTest::newRow("one part") << 1000;
    QTest::newRow("parts of uneven size") << 70001;
}

void TestFilter::largeTableTestedInParts()
{
    // Every seventh row passes, the first and the last among them, wherever
    // the parts begin and end.
    QFETCH(int, rows);
    auto table = std::make_shared<RecordTable>(personFields());
    for (int i = 0; i < rows; ++i) {
        const bool passes = i % 7 == 0 || i == rows - 1;
        table->insertRow(test::person({{"ClientID", qint32(i)}, {"Memo", QString(passes ? "met in K\u00f6ln" : "met in Bonn")}}));
    }
    TableView view("personList", personFields());
    view.loadTable(table);
    view.setCaseInsensitive(true);
    view.setFilter("Memo LIKE '%K\u00d6LN%'");
    QList<int> expected;
    for (int i = 0; i < rows; ++i) {
        if (i % 7 == 0 || i == rows - 1)
            expected << i;
    }
    QCOMPARE(clientIds(view), expected);
}

QTEST_APPLESS_MAIN(TestFilter)
#include "tst_filter.moc"
