// The four reports laid out on A4: where the bands, the records and their
// fields stand, in millimetres, and which records are printed.
#include "PersonFixture.h"
#include "ScriptedPrompter.h"

#include "data/RecordStore.h"
#include "printing/PagedReport.h"
#include "printing/ReportLayout.h"

#include <QTest>

using namespace qv;

Q_DECLARE_METATYPE(qv::PrintMode)
Q_DECLARE_METATYPE(qv::RuleStyle)

namespace {

constexpr double kLine = 25.4 * 12 / 96; // a line of the default 12 pixels
constexpr double kTop = 20.6;            // the first record, below the title band

std::vector<Value> organisation(qint32 coId, const QString &company, const QString &suffix)
{
    return {coId, company, "Address " + suffix, "Zip " + suffix, "Tel " + suffix, "Fax " + suffix, "Mail " + suffix,
            Value(), Value(), Value()};
}

// Persons in list order (Yellow, SurName, GivenName): Ann Able, Bob Baker,
// Cid Cole, Dan Ghost, then the yellow pages Acme Ltd and Beta GmbH.
struct PrintBook {
    RecordStore data;

    PrintBook()
    {
        auto p = [](int id, const char *given, const char *surname, int orgId, bool yellow) {
            const QString name = QString(given).isEmpty() ? QString(surname) : QString(given) + ' ' + surname;
            return test::person({{"ClientID", qint32(id)}, {"Name", name}, {"SurName", QString(surname)},
                                 {"GivenName", QString(given)}, {"OrgID", qint32(orgId)}, {"Yellow", yellow},
                                 {"Position", "Pos " + name}, {"Address", "Addr " + name}, {"Zip", QString("Z%1").arg(id)},
                                 {"Phone", "Tel " + name}, {"Fax", "Fax " + name}, {"Pager", "BP " + name},
                                 {"Mobile", "Mob " + name}, {"EMail", "Mail " + name}, {"DPhone", "Direct " + name}});
        };
        for (const auto &row : {p(1, "Ann", "Able", 2001, false), p(2, "Bob", "Baker", 0, false),
                                p(3, "Cid", "Cole", 2001, false), p(4, "", "Acme Ltd", 2001, true),
                                p(5, "", "Beta GmbH", 2002, true), p(6, "Dan", "Ghost", 9999, false)})
            data.personRead.appendRecord(row);
        for (const auto &row : {organisation(0, "(No organisation)", "none"), organisation(2001, "Acme Ltd", "acme"),
                                organisation(2002, "Beta GmbH", "beta"), organisation(2003, "Empty Inc", "empty")})
            data.organisationRead.appendRecord(row);
        data.bindViews();
    }

    std::vector<ReportPage> pages(const PrintSettings &settings)
    {
        content = collectReportContent(data, settings.mode);
        ReportLayout layout(settings, content, reportHeader("Kim", "1/2/26"));
        std::vector<ReportPage> result;
        while (!layout.atEnd() && result.size() < 1000)
            result.push_back(layout.nextPage());
        return result;
    }
    std::vector<ReportPage> pages(PrintMode mode)
    {
        PrintSettings settings;
        settings.mode = mode;
        return pages(settings);
    }

    ReportContent content;
};

const ReportText *findText(const ReportPage &page, const QString &text)
{
    for (const ReportText &t : page.texts) {
        if (t.text == text)
            return &t;
    }
    return nullptr;
}

QStringList textsAt(const ReportPage &page, double x)
{
    QStringList texts;
    for (const ReportText &t : page.texts) {
        if (qAbs(t.x - x) < 1e-6)
            texts << t.text;
    }
    return texts;
}

bool near(double a, double b) { return qAbs(a - b) < 1e-6; }

// Everything on a page, one line per text or rule, for comparing pages.
QStringList describe(const ReportPage &page)
{
    QStringList lines{QString("page %1").arg(page.number)};
    for (const ReportText &t : page.texts)
        lines << QString("%1 %2 %3 %4 %5 %6pt").arg(t.x).arg(t.y).arg(t.width).arg(t.text, t.font.family).arg(t.font.pointSize);
    for (const ReportRule &r : page.rules)
        lines << QString("rule %1-%2 at %3 style %4").arg(r.x1).arg(r.x2).arg(r.y).arg(int(r.style));
    return lines;
}

} // namespace

class TestReportLayout : public QObject {
    Q_OBJECT
private slots:
    void positions_data();
    void positions();
    void rules_data();
    void rules();
    void bandsOnEveryPage();
    void threeCardsStandInTheFirstColumn();
    void rulesAlongTheLines();
    void switchedOffLinesTakeNoRoom();
    void textsEndAtTheNextText();
    void recordsFlowThroughColumnsAndPages_data();
    void recordsFlowThroughColumnsAndPages();
    void listByOrganisation();
    void organisationHeadingStaysWithItsFirstPerson();
    void recordTallerThanAColumn();
    void linkedOrganisation();
    void nothingToPrint_data();
    void nothingToPrint();
    void listedEntriesOnly();
    void emptyOwnerName();
    void pagesOnDemandEqualThePagesInTurn_data();
    void pagesOnDemandEqualThePagesInTurn();
};

void TestReportLayout::positions_data()
{
    QTest::addColumn<PrintMode>("mode");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("pointSize");

    using M = PrintMode;
    // The bands: distances from the left margin (10 mm) plus the margin.
    const auto band = [](const char *name, PrintMode mode, const char *text, double x, double y, int size) {
        QTest::newRow(name) << mode << QString(text) << x + 10 << y << QString("Arial") << size;
    };
    band("title", M::Cards, "Kim's Address Book", 5.3, 10.0, 14);
    band("footer text", M::Cards, "Quorvel printing for Kim", 26.5, 276.4 + 4.8, 10);
    band("footer date", M::ByName, "1/2/26", 152.4, 281.2, 10);
    band("footer page number", M::PhoneList, "1", 175.2, 281.2, 10);

    // The first record's lines, as the tables give them: the line, and the
    // distance from the column's left edge, which is the left margin.
    const auto field = [](const char *name, PrintMode mode, const char *text, int line, double x) {
        QTest::newRow(name) << mode << QString(text) << x + 10 << kTop + (line - 1) * kLine << QString("Verdana") << 10;
    };
    const auto caption = [](const char *name, PrintMode mode, const char *text, int line, double x,
                            const char *family = "Arial") {
        QTest::newRow(name) << mode << QString(text) << x + 10 << kTop + (line - 1) * kLine << QString(family) << 8;
    };
    const char *serif = "Times New Roman";

    // Cards: Ann Able of Acme Ltd.
    field("cards: Name", M::Cards, "Ann Able", 1, 0);
    field("cards: Position", M::Cards, "Pos Ann Able", 1, 63.0);
    field("cards: Address", M::Cards, "Addr Ann Able", 2, 3.2);
    field("cards: Zip", M::Cards, "Z1", 2, 77.3);
    caption("cards: Tel caption", M::Cards, "Tel:", 3, 3.2);
    field("cards: Phone", M::Cards, "Tel Ann Able", 3, 9.0);
    caption("cards: BP caption", M::Cards, "BP: ", 4, 3.2);
    field("cards: Pager", M::Cards, "BP Ann Able", 4, 9.0);
    caption("cards: Mobile caption", M::Cards, "Mobile:", 4, 42.3);
    field("cards: Mobile", M::Cards, "Mob Ann Able", 4, 52.4);
    caption("cards: Email caption", M::Cards, "Email:", 5, 3.2);
    field("cards: EMail", M::Cards, "Mail Ann Able", 5, 12.2);
    caption("cards: Org caption", M::Cards, "Org:", 6, 3.2);
    field("cards: Company", M::Cards, "Acme Ltd", 6, 11.1);
    field("cards: CAddress", M::Cards, "Address acme", 7, 4.2);
    field("cards: CZip", M::Cards, "Zip acme", 7, 82.0);
    caption("cards: work Tel caption", M::Cards, "Tel:", 8, 4.2);
    field("cards: CPhone", M::Cards, "Tel acme", 8, 10.8);
    caption("cards: Direct caption", M::Cards, "Direct:", 9, 4.2);
    field("cards: DPhone", M::Cards, "Direct Ann Able", 9, 13.2);
    caption("cards: Fax caption", M::Cards, "Fax:", 9, 48.2);
    field("cards: CFax", M::Cards, "Fax acme", 9, 54.5);
    caption("cards: work Email caption", M::Cards, "Email:", 10, 4.2);
    field("cards: CEMail", M::Cards, "Mail acme", 10, 12.2);

    // Detail list by name: Ann Able of Acme Ltd.
    field("by name: Name", M::ByName, "Ann Able", 1, 0.5);
    field("by name: Position", M::ByName, "Pos Ann Able", 1, 89.2);
    field("by name: Address", M::ByName, "Addr Ann Able", 2, 7.9);
    field("by name: Zip", M::ByName, "Z1", 2, 112.2);
    caption("by name: Tel caption", M::ByName, "Tel:", 3, 7.9);
    field("by name: Phone", M::ByName, "Tel Ann Able", 3, 15.9);
    caption("by name: BP caption", M::ByName, "BP:", 3, 87.6);
    field("by name: Pager", M::ByName, "BP Ann Able", 3, 93.7);
    caption("by name: Mobile caption", M::ByName, "Mobile:", 3, 126.5);
    field("by name: Mobile", M::ByName, "Mob Ann Able", 3, 138.6);
    field("by name: Company", M::ByName, "Acme Ltd", 4, 7.9);
    field("by name: CAddress", M::ByName, "Address acme", 4, 96.8);
    field("by name: CZip", M::ByName, "Zip acme", 4, 176.7);
    caption("by name: W-Tel caption", M::ByName, "W-Tel:", 5, 7.9, serif);
    field("by name: CPhone", M::ByName, "Tel acme", 5, 19.1);
    caption("by name: Direct caption", M::ByName, "Direct:", 5, 84.7);
    field("by name: DPhone", M::ByName, "Direct Ann Able", 5, 94.5);
    caption("by name: W-Fax caption", M::ByName, "W-Fax:", 5, 138.9, serif);
    field("by name: CFax", M::ByName, "Fax acme", 5, 150.5);
    caption("by name: Email caption", M::ByName, "Email:", 6, 7.9, serif);
    field("by name: EMail", M::ByName, "Mail Ann Able", 6, 18.0);
    caption("by name: W-Email caption", M::ByName, "W-Email:", 6, 90.0, serif);
    field("by name: CEMail", M::ByName, "Mail acme", 6, 103.2);

    // Detail list by organisation: the first organisation by name is
    // "(No organisation)", with Bob Baker.
    field("by org: Company", M::ByOrganisation, "(No organisation)", 1, 0.5);
    field("by org: CAddress", M::ByOrganisation, "Address none", 2, 12.7);
    field("by org: CZip", M::ByOrganisation, "Zip none", 2, 172.8);
    caption("by org: Tel caption", M::ByOrganisation, "Tel:", 3, 12.4);
    field("by org: CPhone", M::ByOrganisation, "Tel none", 3, 20.4);
    caption("by org: Fax caption", M::ByOrganisation, "Fax:", 3, 101.3);
    field("by org: CFax", M::ByOrganisation, "Fax none", 3, 110.6);
    caption("by org: Email caption", M::ByOrganisation, "Email:", 3, 142.1);
    field("by org: CEMail", M::ByOrganisation, "Mail none", 3, 155.0);
    field("by org: Name", M::ByOrganisation, "Bob Baker", 4, 5.8);
    field("by org: Position", M::ByOrganisation, "Pos Bob Baker", 4, 84.9);
    field("by org: EMail", M::ByOrganisation, "Mail Bob Baker", 4, 150.3);
    field("by org: Address", M::ByOrganisation, "Addr Bob Baker", 5, 12.7);
    field("by org: Zip", M::ByOrganisation, "Z2", 5, 114.3);
    caption("by org: H-Tel caption", M::ByOrganisation, "H-Tel:", 5, 143.1);
    field("by org: Phone", M::ByOrganisation, "Tel Bob Baker", 5, 154.5);
    caption("by org: W-Direct caption", M::ByOrganisation, "W-Direct:", 6, 12.4);
    field("by org: DPhone", M::ByOrganisation, "Direct Bob Baker", 6, 25.4);
    caption("by org: Mobile caption", M::ByOrganisation, "Mobile:", 6, 106.1);
    field("by org: Mobile", M::ByOrganisation, "Mob Bob Baker", 6, 118.5);
    caption("by org: BP caption", M::ByOrganisation, "BP:", 6, 151.1);
    field("by org: Pager", M::ByOrganisation, "BP Bob Baker", 6, 156.1);

    // Phone list: Ann Able of Acme Ltd.
    field("phone: Name", M::PhoneList, "Ann Able", 1, 0);
    caption("phone: Tel caption", M::PhoneList, "Tel:", 2, 3.2);
    field("phone: Phone", M::PhoneList, "Tel Ann Able", 2, 9.0);
    caption("phone: Mobile caption", M::PhoneList, "Mobile:", 3, 3.2);
    field("phone: Mobile", M::PhoneList, "Mob Ann Able", 3, 13.2);
    caption("phone: BP caption", M::PhoneList, "BP: ", 4, 3.2);
    field("phone: Pager", M::PhoneList, "BP Ann Able", 4, 9.0);
    caption("phone: Org caption", M::PhoneList, "Org:", 5, 3.2);
    field("phone: Company", M::PhoneList, "Acme Ltd", 5, 11.1);
    caption("phone: W-Tel caption", M::PhoneList, "W-Tel:", 6, 4.2);
    field("phone: CPhone", M::PhoneList, "Tel acme", 6, 13.8);
    caption("phone: Direct caption", M::PhoneList, "Direct:", 7, 4.2);
    field("phone: DPhone", M::PhoneList, "Direct Ann Able", 7, 13.2);
    caption("phone: W-Fax caption", M::PhoneList, "W-Fax:", 8, 4.2);
    field("phone: CFax", M::PhoneList, "Fax acme", 8, 14.8);
}

void TestReportLayout::positions()
{
    QFETCH(PrintMode, mode);
    QFETCH(QString, text);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(QString, family);
    QFETCH(int, pointSize);
    PrintBook book;
    const std::vector<ReportPage> pages = book.pages(mode);
    QCOMPARE(pages.size(), size_t(1));
    // A caption may stand on several lines: the one on the expected line counts.
    const ReportText *found = nullptr;
    QStringList seen;
    for (const ReportText &t : pages[0].texts) {
        if (t.text != text)
            continue;
        seen << QString("%1, %2 mm").arg(t.x).arg(t.y);
        if (near(t.y, y) && !found)
            found = &t;
    }
    QVERIFY2(found, qPrintable(QString("\"%1\" not on its line; seen at %2").arg(text, seen.join("; "))));
    QVERIFY2(near(found->x, x), qPrintable(QString("at %1 mm, expected %2 mm").arg(found->x).arg(x)));
    QCOMPARE(found->font.family, family);
    QCOMPARE(found->font.pointSize, pointSize);
}

void TestReportLayout::rules_data()
{
    QTest::addColumn<PrintMode>("mode");
    QTest::addColumn<int>("line");
    QTest::addColumn<double>("x1");
    QTest::addColumn<double>("x2");
    QTest::addColumn<RuleStyle>("style");
    // Along the top of the line, from the distance the tables give to the column's edge.
    QTest::newRow("cards: line 1") << PrintMode::Cards << 1 << 10.0 << 10 + 93.4 << RuleStyle::DashDot;
    QTest::newRow("cards: line 6") << PrintMode::Cards << 6 << 10 + 9.0 << 10 + 93.4 << RuleStyle::Dotted;
    QTest::newRow("by name: line 1") << PrintMode::ByName << 1 << 10.0 << 200.0 << RuleStyle::DashDot;
    QTest::newRow("by name: line 4") << PrintMode::ByName << 4 << 10 + 9.0 << 200.0 << RuleStyle::Dotted;
    QTest::newRow("by org: line 1") << PrintMode::ByOrganisation << 1 << 10.0 << 200.0 << RuleStyle::DashDot;
    QTest::newRow("phone: line 1") << PrintMode::PhoneList << 1 << 10.0 << 10 + 64.8 << RuleStyle::DashDot;
    QTest::newRow("phone: line 5") << PrintMode::PhoneList << 5 << 10 + 9.0 << 10 + 64.8 << RuleStyle::Dotted;
}

void TestReportLayout::rules()
{
    QFETCH(PrintMode, mode);
    QFETCH(int, line);
    QFETCH(double, x1);
    QFETCH(double, x2);
    QFETCH(RuleStyle, style);
    PrintBook book;
    book.data.personList.setFilter("ClientID=1");
    const ReportPage page = book.pages(mode).at(0);
    const double y = kTop + (line - 1) * kLine;
    const auto rule = std::find_if(page.rules.begin(), page.rules.end(), [&](const ReportRule &r) { return near(r.y, y); });
    QVERIFY2(rule != page.rules.end(), qPrintable(QString("no rule at %1 mm").arg(y)));
    QVERIFY2(near(rule->x1, x1), qPrintable(QString("from %1 mm").arg(rule->x1)));
    QVERIFY2(near(rule->x2, x2), qPrintable(QString("to %1 mm").arg(rule->x2)));
    QCOMPARE(rule->style, style);
    // Ann Able's rules, and no more; the list by organisation prints its
    // three organisations with people, whatever the list shows.
    const int expected = mode == PrintMode::ByOrganisation ? 3 : 2;
    QCOMPARE(int(page.rules.size()), expected);
}

void TestReportLayout::bandsOnEveryPage()
{
    PrintBook book;
    for (int i = 0; i < 40; ++i)
        book.data.personRead.appendRecord(test::person({{"ClientID", qint32(100 + i)}, {"Name", QString("P%1").arg(i)},
                                                        {"SurName", QString("Z%1").arg(i, 2, 10, QChar('0'))}}));
    const std::vector<ReportPage> pages = book.pages(PrintMode::Cards);
    QCOMPARE(pages.size(), size_t(3));
    for (const ReportPage &page : pages) {
        const ReportText *footer = findText(page, "Quorvel printing for Kim");
        QVERIFY(footer);
        QCOMPARE(footer->font, (ReportFont{"Arial", 10, true}));
        QVERIFY(findText(page, QString::number(page.number)));
        QVERIFY(findText(page, "1/2/26"));
        QCOMPARE(findText(page, "Kim's Address Book") != nullptr, page.number == 1);
    }
    QCOMPARE(findText(pages[0], "Kim's Address Book")->font, (ReportFont{"Arial", 14}));
    // Later pages start at the top margin; entries without a Yellow value come first.
    QCOMPARE(textsAt(pages[1], 10.0).value(0), QString("P16"));
    QVERIFY(near(findText(pages[1], "P16")->y, 10.0));
}

void TestReportLayout::threeCardsStandInTheFirstColumn()
{
    PrintBook book;
    book.data.personList.setFilter("ClientID<=3");
    const std::vector<ReportPage> pages = book.pages(PrintMode::Cards);
    QCOMPARE(pages.size(), size_t(1));
    QCOMPARE(textsAt(pages[0], 10.0), (QStringList{"Ann Able", "Bob Baker", "Cid Cole"}));
    const double card = 10 * kLine;
    QVERIFY(near(findText(pages[0], "Ann Able")->y, kTop));
    QVERIFY(near(findText(pages[0], "Bob Baker")->y, kTop + card));
    QVERIFY(near(findText(pages[0], "Cid Cole")->y, kTop + 2 * card));
    for (const ReportText &t : pages[0].texts)
        QVERIFY2(t.x < 10 + 93.4 || t.y > 270, qPrintable(t.text)); // nothing in the second column
}

void TestReportLayout::rulesAlongTheLines()
{
    PrintBook book;
    book.data.personList.setFilter("ClientID=1");
    const ReportPage page = book.pages(PrintMode::Cards).at(0);
    QCOMPARE(page.rules.size(), size_t(2));
    QCOMPARE(page.rules[0].style, RuleStyle::DashDot);
    QVERIFY(near(page.rules[0].x1, 10) && near(page.rules[0].x2, 10 + 93.4) && near(page.rules[0].y, kTop));
    QCOMPARE(page.rules[1].style, RuleStyle::Dotted);
    QVERIFY(near(page.rules[1].x1, 19) && near(page.rules[1].x2, 10 + 93.4) && near(page.rules[1].y, kTop + 5 * kLine));
}

void TestReportLayout::switchedOffLinesTakeNoRoom()
{
    PrintBook book;
    book.data.personList.setFilter("ClientID<=2");
    PrintSettings settings;
    settings.mode = PrintMode::Cards;
    settings.setLinePrinted(2, false);
    settings.lineHeights[0] = 24; // 6.35 mm
    const ReportPage page = book.pages(settings).at(0);
    QVERIFY(!findText(page, "Addr Ann Able"));
    QVERIFY(near(findText(page, "Tel Ann Able")->y, kTop + 2 * kLine));
    QVERIFY(near(findText(page, "Bob Baker")->y, kTop + 10 * kLine)); // 2 + 8 lines of 12
    QVERIFY(!findText(page, "Fax Ann Able")); // the person's fax is never printed
}

void TestReportLayout::textsEndAtTheNextText()
{
    PrintBook book;
    const ReportPage page = book.pages(PrintMode::Cards).at(0);
    QVERIFY(near(findText(page, "Ann Able")->width, 63.0));
    QVERIFY(near(findText(page, "Pos Ann Able")->width, 93.4 - 63.0)); // to the column's edge
    QVERIFY(near(findText(page, "Mobile:")->width, 52.4 - 42.3));
    QVERIFY(near(findText(page, "Ann Able")->height, kLine));
}

void TestReportLayout::recordsFlowThroughColumnsAndPages_data()
{
    QTest::addColumn<PrintMode>("mode");
    QTest::addColumn<int>("persons");
    QTest::addColumn<QList<double>>("columnLefts");
    QTest::addColumn<int>("pageCount");
    // Cards: 10 lines of 3.175 mm, 8 per column; phone list: 8 lines, 10 per
    // column; by name: 6 lines, 13 per page.
    QTest::newRow("cards") << PrintMode::Cards << 30 << QList<double>{10, 106.4} << 2;
    QTest::newRow("phone list") << PrintMode::PhoneList << 50 << QList<double>{10, 74.8, 139.6} << 2;
    QTest::newRow("by name") << PrintMode::ByName << 30 << QList<double>{10.5} << 3;
}

void TestReportLayout::recordsFlowThroughColumnsAndPages()
{
    QFETCH(PrintMode, mode);
    QFETCH(int, persons);
    QFETCH(QList<double>, columnLefts);
    QFETCH(int, pageCount);
    PrintBook book;
    book.data.personList.setFilter("ClientID>=100");
    for (int i = 0; i < persons; ++i)
        book.data.personRead.appendRecord(test::person({{"ClientID", qint32(100 + i)}, {"Name", QString("P%1").arg(i)},
                                                        {"SurName", QString("Z%1").arg(i, 3, 10, QChar('0'))}}));
    book.data.personList.reapplyFilter();
    const std::vector<ReportPage> pages = book.pages(mode);
    QCOMPARE(int(pages.size()), pageCount);
    // Down the first column, then the next: names in order, column by column, page by page.
    QStringList flow;
    for (const ReportPage &page : pages) {
        for (double left : columnLefts)
            flow << textsAt(page, left).filter(QRegularExpression("^P\\d+$"));
    }
    QStringList expected;
    for (int i = 0; i < persons; ++i)
        expected << QString("P%1").arg(i);
    QCOMPARE(flow, expected);
    for (const ReportPage &page : pages) {
        for (const ReportText &t : page.texts)
            QVERIFY2(t.y + t.height <= 276.4 + 1e-6 || t.y > 276.4, qPrintable(t.text)); // above the footer
    }
}

void TestReportLayout::listByOrganisation()
{
    PrintBook book;
    book.data.personList.setFilter("ClientID=2"); // the list by organisation ignores the list
    const ReportPage page = book.pages(PrintMode::ByOrganisation).at(0);
    // In the order of the names; Empty Inc has nobody; Beta GmbH only its yellow-page entry.
    QCOMPARE(textsAt(page, 10.5), (QStringList{"(No organisation)", "Acme Ltd", "Beta GmbH"}));
    QCOMPARE(textsAt(page, 15.8), (QStringList{"Bob Baker", "Ann Able", "Cid Cole"}));
    QVERIFY(near(findText(page, "Acme Ltd")->y, kTop + 6 * kLine));
    QVERIFY(near(findText(page, "Beta GmbH")->y, kTop + 15 * kLine));
    QVERIFY(!findText(page, "Dan Ghost")); // his organisation does not exist
    QCOMPARE(page.rules.size(), size_t(3)); // one dash-dot rule per organisation
}

void TestReportLayout::organisationHeadingStaysWithItsFirstPerson()
{
    PrintBook book;
    PrintSettings settings;
    settings.mode = PrintMode::ByOrganisation;
    // Lines of 90 pixels (23.8 mm): an organisation and its person take 142.9
    // mm, so Acme's heading would fit below Bob Baker but not with Ann Able.
    settings.lineHeights.fill(90);
    const std::vector<ReportPage> pages = book.pages(settings);
    QCOMPARE(textsAt(pages.at(0), 10.5), QStringList{"(No organisation)"});
    QCOMPARE(textsAt(pages.at(1), 10.5).value(0), QString("Acme Ltd"));
    QCOMPARE(textsAt(pages.at(1), 15.8).value(0), QString("Ann Able"));
}

void TestReportLayout::recordTallerThanAColumn()
{
    PrintBook book;
    PrintSettings settings;
    settings.mode = PrintMode::Cards;
    settings.lineHeights.fill(1000); // a card of 2.6 metres
    const std::vector<ReportPage> pages = book.pages(settings);
    QCOMPARE(pages.size(), size_t(3)); // four cards, one per column
}

void TestReportLayout::linkedOrganisation()
{
    PrintBook book;
    const ReportPage page = book.pages(PrintMode::Cards).at(0);
    const double bob = findText(page, "Bob Baker")->y;
    QVERIFY(near(findText(page, "(No organisation)")->y, bob + 5 * kLine)); // OrgID 0
    // Dan Ghost's organisation is missing: his organisation lines hold only
    // the captions and his own direct line.
    const double dan = findText(page, "Dan Ghost")->y;
    QStringList lines;
    for (const ReportText &t : page.texts) {
        if (t.y > dan + 5 * kLine - 1e-6 && t.y < dan + 10 * kLine && t.x < 10 + 93.4)
            lines << t.text;
    }
    QCOMPARE(lines, (QStringList{"Org:", "Tel:", "Direct:", "Direct Dan Ghost", "Fax:", "Email:"}));
}

void TestReportLayout::nothingToPrint_data()
{
    QTest::addColumn<PrintMode>("mode");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<bool>("oneOrganisation");
    QTest::addColumn<bool>("refused");
    QTest::newRow("cards, none listed") << PrintMode::Cards << "OrgID=-1" << false << true;
    QTest::newRow("by name, none listed") << PrintMode::ByName << "OrgID=-1" << false << true;
    QTest::newRow("phone list, none listed") << PrintMode::PhoneList << "OrgID=-1" << false << true;
    QTest::newRow("by org, none listed: all printed") << PrintMode::ByOrganisation << "OrgID=-1" << false << false;
    QTest::newRow("by org, one organisation") << PrintMode::ByOrganisation << "" << true << true;
    QTest::newRow("cards, one organisation") << PrintMode::Cards << "" << true << false;
}

void TestReportLayout::nothingToPrint()
{
    QFETCH(PrintMode, mode);
    QFETCH(QString, filter);
    QFETCH(bool, oneOrganisation);
    QFETCH(bool, refused);
    PrintBook book;
    if (oneOrganisation) {
        book.data.organisationRead.emptyTable();
        book.data.organisationRead.appendRecord(organisation(0, "(No organisation)", "none"));
    }
    book.data.personList.setFilter(filter);
    test::ScriptedPrompter prompter;
    if (refused)
        prompter.expectMessage("Please specify what to print.", Prompter::Icon::Plain, Prompter::Button::Ok, Prompter::Button::Ok);
    QCOMPARE(prepareReport(book.data, mode, prompter).has_value(), !refused);
    QCOMPARE(book.data.personList.filter(), filter); // the list keeps its filter
}

void TestReportLayout::listedEntriesOnly()
{
    PrintBook book;
    book.data.personList.setFilter("Yellow=true");
    const ReportPage page = book.pages(PrintMode::PhoneList).at(0);
    QCOMPARE(textsAt(page, 10.0), (QStringList{"Acme Ltd", "Beta GmbH"}));
}

void TestReportLayout::emptyOwnerName()
{
    const ReportHeader header = reportHeader(QString(), "d");
    QCOMPARE(header.title, QString("'s Address Book"));
    QCOMPARE(header.footer, QString("Quorvel printing for "));
}

void TestReportLayout::pagesOnDemandEqualThePagesInTurn_data()
{
    QTest::addColumn<PrintMode>("mode");
    QTest::addColumn<int>("persons");
    QTest::addColumn<int>("lineHeight");
    QTest::addColumn<int>("pageCount");
    QTest::newRow("cards over pages") << PrintMode::Cards << 70 << 12 << 5;
    QTest::newRow("phone list") << PrintMode::PhoneList << 130 << 12 << 5;
    QTest::newRow("by organisation") << PrintMode::ByOrganisation << 0 << 90 << 3;
    QTest::newRow("records taller than a column") << PrintMode::Cards << 0 << 1000 << 3;
    QTest::newRow("nothing listed: one page of bands") << PrintMode::ByName << -1 << 12 << 1;
}

void TestReportLayout::pagesOnDemandEqualThePagesInTurn()
{
    QFETCH(PrintMode, mode);
    QFETCH(int, persons);
    QFETCH(int, lineHeight);
    QFETCH(int, pageCount);
    PrintBook book;
    for (int i = 0; i < persons; ++i)
        book.data.personRead.appendRecord(test::person({{"ClientID", qint32(100 + i)}, {"Name", QString("P%1").arg(i)},
                                                        {"SurName", QString("Z%1").arg(i, 3, 10, QChar('0'))}}));
    book.data.personList.setFilter(persons < 0 ? "OrgID=-1" : "ClientID>0");
    PrintSettings settings;
    settings.mode = mode;
    settings.lineHeights.fill(lineHeight);
    const std::vector<ReportPage> inTurn = book.pages(settings);
    const PagedReport report(settings, collectReportContent(book.data, mode), reportHeader("Kim", "1/2/26"));
    QCOMPARE(report.pageCount(), pageCount);
    QCOMPARE(int(inTurn.size()), pageCount);
    // From the last page back, so that no page relies on the one before it.
    for (int number = pageCount; number >= 1; --number)
        QCOMPARE(describe(report.page(number)), describe(inTurn[number - 1]));
}

QTEST_GUILESS_MAIN(TestReportLayout)
#include "tst_reportlayout.moc"
