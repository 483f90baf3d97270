// The vCard export and import mappings between entries and cards, and the import of whole files.
#include "EditingBook.h"
#include "PersonFixture.h"
#include "ScriptedPrompter.h"
#include "VCardDump.h"

#include "common/Error.h"
#include "data/RecordTable.h"
#include "editing/OrganisationSameName.h"
#include "exchange/vcard/CardAddressText.h"
#include "exchange/vcard/EntryCards.h"
#include "exchange/vcard/VCardFile.h"
#include "exchange/vcard/VCardCommands.h"
#include "exchange/vcard/VCardImport.h"
#include "exchange/wab/WabCommands.h"
#include "settings/Settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(qv::vcard::PostalAddress)
Q_DECLARE_METATYPE(std::vector<qv::Value>)
Q_DECLARE_METATYPE(std::vector<int>)

using namespace qv;
using namespace qv::vcard;
using Choice = OrganisationComparer::Choice;
using FieldValues = QMap<QString, QString>;
using PersonFields = QMap<QString, Value>;

namespace {

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("!unreadable");
}

class ScriptedComparer : public OrganisationComparer {
public:
    QList<Choice> answers;
    QStringList headings;
    Choice compare(const OrganisationComparison &comparison) override
    {
        headings << comparison.heading;
        if (answers.isEmpty()) {
            QTest::qFail("compare window not expected", __FILE__, __LINE__);
            return Choice::Keep;
        }
        return answers.takeFirst();
    }
};

QByteArray card(const QByteArray &properties)
{
    return "BEGIN:VCARD\r\nVERSION:2.1\r\n" + properties + "END:VCARD\r\n";
}

// The fields of the person just imported (open or committed) and of its organisation.
FieldValues importedFields(test::EditingBook &book)
{
    TableView &p = book.edit.persons();
    TableView &o = book.edit.organisations();
    FieldValues fields;
    for (const char *name : {"Name", "SurName", "GivenName", "MidName", "Position", "Phone", "Fax", "Pager", "Mobile",
                             "DPhone", "Birthday", "Memo", "EMail", "Address", "Zip", "URL"})
        fields[name] = p.text(name);
    if (o.locate(QStringLiteral("CoID"), p.value(QStringLiteral("OrgID")))) {
        for (const char *name : {"Company", "CAddress", "CZip", "CPhone", "CFax", "CEMail", "CMemo"})
            fields[name] = o.text(name);
    }
    return fields;
}

class ScriptedCategoryQuestion : public CategoryQuestion {
public:
    std::optional<int> answer = 0;
    int asked = 0;
    std::optional<int> askCategory() override
    {
        ++asked;
        return answer;
    }
};

} // namespace

class TestVCardImport : public QObject {
    Q_OBJECT
private slots:
    void addressText_data();
    void addressText();
    void exportMapping_data();
    void exportMapping();
    void defaultOrganisationIsNoWorkplace_data();
    void defaultOrganisationIsNoWorkplace();
    void importMapping_data();
    void importMapping();
    void importsEveryCardInFileOrder();
    void namesWiderThanTheirFieldsAreCutAndCounted();
    void fileWithoutCardAddsNothing_data();
    void fileWithoutCardAddsNothing();
    void sameNameInOtherCaseIsCompared();
    void cardWithoutWorkValuesLinksWithoutAsking();
    void exportCommandWritesCurrentOrMarked_data();
    void exportCommandWritesCurrentOrMarked();
    void exportCommandWithNothingListed();
    void importCommandAsksCategoryAndShowsSummary();
    void summaryTexts_data();
    void summaryTexts();
    void exportWriteErrorKeepsTheFile_data();
    void exportWriteErrorKeepsTheFile();
};

void TestVCardImport::addressText_data()
{
    QTest::addColumn<PostalAddress>("address");
    QTest::addColumn<QString>("expected");
    QTest::newRow("street and locality") << PostalAddress{"", "", "1 Main St", "Springfield", "", "", ""}
                                         << "1 Main St, Springfield";
    QTest::newRow("all parts, PC left out") << PostalAddress{"PO 5", "Flat 2", "1 Main St", "Springfield", "IL", "62701", "USA"}
                                            << "PO 5, Flat 2, 1 Main St, Springfield, IL, USA";
    QTest::newRow("empty inner part") << PostalAddress{"", "", "1 Main St", "", "IL", "", ""} << "1 Main St, , IL";
    QTest::newRow("country only") << PostalAddress{"", "", "", "", "", "", "France"} << "France";
    QTest::newRow("postal code only") << PostalAddress{"", "", "", "", "", "62701", ""} << "";
    QTest::newRow("commas of the street itself at its start") << PostalAddress{"", "", ", 1 Main St,", "", "", "", ""} << "1 Main St";
    QTest::newRow("wide text, country first, no separators")
        << PostalAddress{"", "", "\u957f\u5b89\u8857 1", "\u5317\u4eac", "", "", "\u4e2d\u56fd"}
        << "\u4e2d\u56fd\u5317\u4eac\u957f\u5b89\u8857 1";
}

void TestVCardImport::addressText()
{
    QFETCH(PostalAddress, address);
    QFETCH(QString, expected);
    QCOMPARE(cardAddressText(address), expected);
}

void TestVCardImport::exportMapping_data()
{
    QTest::addColumn<PersonFields>("person");
    QTest::addColumn<std::vector<Value>>("organisation");
    QTest::addColumn<QString>("expected");
    QTest::newRow("name and phone, default organisation")
        << PersonFields{{"Name", QString("Ann Lee")}, {"Phone", QString("555-1")}, {"OrgID", qint32(0)}}
        << std::vector<Value>{} << "N\nFN:Ann Lee\nTEL;HOME:555-1";
    QTest::newRow("every field in mapping order")
        << PersonFields{{"Name", QString("John Paul Smith")},
                                {"SurName", QString("Smith")},
                                {"GivenName", QString("John")},
                                {"MidName", QString("Paul")},
                                {"Birthday", QDate(1970, 3, 2)},
                                {"Position", QString("Boss")},
                                {"Phone", QString("1")},
                                {"Mobile", QString("2")},
                                {"Pager", QString("3")},
                                {"DPhone", QString("4")},
                                {"Fax", QString("5")},
                                {"EMail", QString("j@x.org")},
                                {"Address", QString("1 Main St")},
                                {"Zip", QString("62701")},
                                {"Memo", QString("two\r\nlines")},
                                {"URL", QString("http://left.out")},
                                {"ICQ", QString("123")},
                                {"OrgID", qint32(3001)}}
        << test::organisation(3001, "Acme", {QString("9 Works Rd"), QString("100"), QString("6"), QString("7"),
                                             QString("info@acme.org"), QString("org memo")})
        << "N;F=Smith;G=John;ADDN=Paul\nFN:John Paul Smith\nBDAY:1970-03-02\nTITLE:Boss\nTEL;HOME:1\nTEL;CELL:2\n"
           "TEL;PAGER:3\nTEL;PREF;WORK:4\nTEL;HOME;FAX:5\nEMAIL;HOME:j@x.org\n"
           "ADR;STREET=1 Main St;PC=62701;HOME;QUOTED-PRINTABLE\nNOTE;QUOTED-PRINTABLE;HOME:two\nlines\nORG;ORGNAME=Acme\n"
           "ADR;STREET=9 Works Rd;PC=100;WORK;QUOTED-PRINTABLE\nTEL;WORK:6\nTEL;WORK;FAX:7\n"
           "NOTE;QUOTED-PRINTABLE;WORK:org memo\nEMAIL;WORK:info@acme.org";
    QTest::newRow("zip without address, zero date birthday")
        << PersonFields{{"Name", QString("Z")}, {"Zip", QString("62701")}, {"Birthday", QDate(1899, 12, 30)},
                                {"OrgID", qint32(0)}}
        << std::vector<Value>{} << "N\nFN:Z\nADR;PC=62701;HOME;QUOTED-PRINTABLE";
    QTest::newRow("unknown organisation reads as the default one")
        << PersonFields{{"Name", QString("Q")}, {"OrgID", qint32(4711)}} << std::vector<Value>{} << "N\nFN:Q";
}

void TestVCardImport::exportMapping()
{
    QFETCH(PersonFields, person);
    QFETCH(std::vector<Value>, organisation);
    std::vector<std::vector<Value>> organisations;
    if (!organisation.empty())
        organisations.push_back(organisation);
    test::EditingBook book({test::person(person)}, organisations);
    const EntryCards cards(*book.data.personList.table(), *book.data.organisationList.table());
    QFETCH(QString, expected);
    QCOMPARE(test::dumpCard(cards.cardOf(0).object()), expected);
}

void TestVCardImport::defaultOrganisationIsNoWorkplace_data()
{
    QTest::addColumn<qint32>("orgId");
    QTest::newRow("linked to the default organisation") << qint32(0);
    QTest::newRow("linked to an organisation the book lacks") << qint32(4711);
}

// The default organisation stands for a workplace not given: none of its
// values is the person's, though someone may have filled them in; the
// person's own work telephone stays.
void TestVCardImport::defaultOrganisationIsNoWorkplace()
{
    QFETCH(qint32, orgId);
    test::EditingBook book({test::person({{"Name", QString("Ann")}, {"DPhone", QString("4")}, {"OrgID", orgId}})});
    TableView &organisations = book.data.organisationList;
    QVERIFY(organisations.locate("CoID", qint32(0)));
    organisations.edit();
    for (const char *field : {"CAddress", "CZip", "CPhone", "CFax", "CEMail", "CMemo", "CURL"})
        organisations.setValue(QString::fromLatin1(field), QStringLiteral("x"));
    organisations.post();
    const EntryCards cards(*book.data.personList.table(), *organisations.table());
    QCOMPARE(test::dumpCard(cards.cardOf(0).object()), QString("N\nFN:Ann\nTEL;PREF;WORK:4"));
}

void TestVCardImport::importMapping_data()
{
    QTest::addColumn<QByteArray>("properties");
    QTest::addColumn<FieldValues>("expected"); // the fields that are not empty
    QTest::newRow("no name at all: added all the same")
        << QByteArray("TEL;HOME:555\r\nORG:O\r\n") << FieldValues{{"Phone", "555"}, {"Company", "O"}};
    QTest::newRow("names as given, no name step")
        << QByteArray("N:Smith;John;Paul;Dr;Jr\r\nFN:Johnny\r\nTITLE:Boss\r\nORG:Acme Inc\r\n")
        << FieldValues{{"Name", "Johnny"}, {"SurName", "Smith"}, {"GivenName", "John"}, {"MidName", "Paul"},
                       {"Position", "Boss"}, {"Company", "Acme Inc"}};
    QTest::newRow("two home telephones joined")
        << QByteArray("FN:A\r\nTEL;HOME:1\r\nTEL;HOME;VOICE:2\r\nORG:O\r\n")
        << FieldValues{{"Name", "A"}, {"Phone", "1, 2"}, {"Company", "O"}};
    QTest::newRow("HOME and FAX is the fax, the last one wins")
        << QByteArray("FN:A\r\nTEL;HOME;FAX:1\r\nTEL;HOME;FAX:2\r\nORG:O\r\n")
        << FieldValues{{"Name", "A"}, {"Fax", "2"}, {"Company", "O"}};
    QTest::newRow("conditions tested one by one")
        << QByteArray("FN:A\r\nTEL;HOME;CELL:1\r\nTEL;PAGER:2\r\nTEL;WORK;PREF:3\r\nTEL;VOICE:4\r\nORG:O\r\n")
        << FieldValues{{"Name", "A"}, {"Phone", "1"}, {"Mobile", "1"}, {"Pager", "2"}, {"DPhone", "3"}, {"Company", "O"}};
    QTest::newRow("work telephones and faxes")
        << QByteArray("FN:A\r\nTEL;WORK:1\r\nTEL;WORK;VOICE:2\r\nTEL;WORK;FAX:3\r\nTEL;WORK;FAX:4\r\nORG:O\r\n")
        << FieldValues{{"Name", "A"}, {"Company", "O"}, {"CPhone", "1, 2"}, {"CFax", "4"}};
    QTest::newRow("3.0 type lists")
        << QByteArray("FN:A\r\nTEL;TYPE=home,fax:1\r\nTEL;TYPE=WORK;TYPE=PREF:2\r\nORG:O\r\n")
        << FieldValues{{"Name", "A"}, {"Fax", "1"}, {"DPhone", "2"}, {"Company", "O"}};
    QTest::newRow("e-mails joined, work apart")
        << QByteArray("FN:A\r\nEMAIL:a@x\r\nEMAIL;INTERNET;HOME:b@x\r\nEMAIL;WORK:c@x\r\nEMAIL;WORK:d@x\r\nORG:O\r\n")
        << FieldValues{{"Name", "A"}, {"EMail", "a@x, b@x"}, {"Company", "O"}, {"CEMail", "c@x, d@x"}};
    QTest::newRow("URL and note")
        << QByteArray("FN:A\r\nNOTE:first\r\nNOTE;ENCODING=QUOTED-PRINTABLE:last=0D=0Aline\r\nURL:http://a.example\r\nORG:O\r\n")
        << FieldValues{{"Name", "A"}, {"URL", "http://a.example"}, {"Memo", "http://a.example\r\nlast\r\nline"},
                       {"Company", "O"}};
    QTest::newRow("URL without note")
        << QByteArray("FN:A\r\nURL:http://a.example\r\nURL:http://b.example\r\nORG:O\r\n")
        << FieldValues{{"Name", "A"}, {"URL", "http://a.example, http://b.example"},
                       {"Memo", "http://a.example, http://b.example\r\n"}, {"Company", "O"}};
    QTest::newRow("work URL and note go to the organisation memo")
        << QByteArray("FN:A\r\nNOTE;WORK:n\r\nURL;WORK:http://o.example\r\nORG:O\r\n")
        << FieldValues{{"Name", "A"}, {"Company", "O"}, {"CMemo", "http://o.example\r\nn"}};
    QTest::newRow("ADR with STREET and L; the last one wins")
        << QByteArray("FN:A\r\nADR;HOME:;;9 Old St;Old Town;;111;\r\nADR:;;1 Main St;Springfield;;;\r\nORG:O\r\n")
        << FieldValues{{"Name", "A"}, {"Address", "1 Main St, Springfield"}, {"Company", "O"}};
    QTest::newRow("work ADR")
        << QByteArray("FN:A\r\nADR;WORK:;;9 Works Rd;Lyon;;69001;France\r\nORG:O\r\n")
        << FieldValues{{"Name", "A"}, {"Company", "O"}, {"CAddress", "9 Works Rd, Lyon, , France"}, {"CZip", "69001"}};
    QTest::newRow("ORG with units") << QByteArray("FN:A\r\nORG:Acme;Sales;East\r\n")
                                    << FieldValues{{"Name", "A"}, {"Company", "Acme; Sales; East"}};
    QTest::newRow("basic BDAY") << QByteArray("FN:A\r\nBDAY:19700302\r\nORG:O\r\n")
                                << FieldValues{{"Name", "A"}, {"Birthday", "1970-03-02"}, {"Company", "O"}};
    QTest::newRow("BDAY without year stays empty") << QByteArray("FN:A\r\nBDAY:--0302\r\nORG:O\r\n")
                                                   << FieldValues{{"Name", "A"}, {"Company", "O"}};
    QTest::newRow("quoted-printable UTF-8 names")
        << QByteArray("N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=E7=8E=8B;=E5=B0=8F=E6=98=8E\r\n"
                      "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=E7=8E=8B=E5=B0=8F=E6=98=8E\r\nORG:O\r\n")
        << FieldValues{{"Name", "\u738b\u5c0f\u660e"}, {"SurName", "\u738b"}, {"GivenName", "\u5c0f\u660e"}, {"Company", "O"}};
}

void TestVCardImport::importMapping()
{
    QFETCH(QByteArray, properties);
    QFETCH(FieldValues, expected);
    QTemporaryDir dir;
    test::EditingBook book;
    test::ScriptedPrompter prompter;
    ScriptedComparer comparer;
    const auto report = importVCardFile(book.edit, prompter, comparer, writeFile(dir, "a.vcf", card(properties)), {});
    QVERIFY(report);
    QCOMPARE(report->text(), QString("1 entries got imported."));
    FieldValues actual = importedFields(book);
    actual.removeIf([](const auto &field) { return field.value().isEmpty(); });
    QCOMPARE(actual, expected);
    QCOMPARE(book.edit.persons().value("Group1"), Value(qint32(1000)));
    QCOMPARE(book.edit.persons().value("Yellow"), Value(false));
}

void TestVCardImport::importsEveryCardInFileOrder()
{
    const QByteArray file = card("FN:First\r\nBDAY:1970-13-45\r\n") + card("FN:Second\r\nORG:Acme\r\n")
                          + "BEGIN:VCARD\r\nVERSION:2.1\r\nFN;ENCODING=QUOTED-PRINTABLE:bad=Z\r\nEND:VCARD\r\n"
                          + card("FN:Fourth\r\nBDAY:1980-01-31\r\n") + "BEGIN:VCARD\r\nFN:Cut off\r\n";
    QTemporaryDir dir;
    test::EditingBook book;
    const int before = book.edit.persons().recordCount();
    test::ScriptedPrompter prompter;
    ScriptedComparer comparer;
    VCardImportOptions options;
    options.categoryNumber = 1002;
    options.checkSameName = false;
    const auto report = importVCardFile(book.edit, prompter, comparer, writeFile(dir, "four.vcf", file), options);
    QVERIFY(report);
    QCOMPARE(report->text(), QString("3 entries got imported.\n1 date could not be read and was left empty.\n"
                                     "2 cards were skipped because their vCard text is broken:\n"
                                     "card 3: its quoted-printable text is broken\ncard 5: END:VCARD is missing"));
    TableView &p = book.edit.persons();
    QCOMPARE(p.recordCount(), before + 3);
    // New persons get rising numbers, so file order is number order.
    QVERIFY(p.locate("Name", QString("First")));
    const qint32 first = std::get<qint32>(p.value("ClientID"));
    QCOMPARE(p.value("Birthday"), Value());
    QCOMPARE(p.value("Group1"), Value(qint32(1002)));
    QVERIFY(p.locate("Name", QString("Second")));
    QCOMPARE(p.value("ClientID"), Value(first + 1));
    QCOMPARE(p.value("OrgID"), Value(qint32(2001))); // the book's own ACME in any case, linked without question
    QVERIFY(p.locate("Name", QString("Fourth")));
    QCOMPARE(p.value("ClientID"), Value(first + 2));
    QCOMPARE(p.value("Birthday"), Value(QDate(1980, 1, 31)));
    QVERIFY(!p.locate("Name", QString("Cut off")));
}

void TestVCardImport::namesWiderThanTheirFieldsAreCutAndCounted()
{
    const QByteArray file =
        card("FN:Maximilian Alexander Friedrich Wilhelm Carl Anton Hohenzollern-Sigmaringen\r\n"
             "N:Hohenzollern-Sigmaringen;Maximilian Alexander Friedrich Wilhelm;Carl Anton;;\r\n")
        + card("FN:Anna Maria del Rio\r\nN:del Rio;Anna;Maria;;\r\n");
    QTemporaryDir dir;
    test::EditingBook book;
    test::ScriptedPrompter prompter;
    ScriptedComparer comparer;
    const auto report = importVCardFile(book.edit, prompter, comparer, writeFile(dir, "names.vcf", file), {});
    QVERIFY(report);
    QCOMPARE(report->text(), QString("2 entries got imported.\n1 name was too long for its fields and was cut."));
    TableView &p = book.edit.persons();
    QVERIFY(p.locate("SurName", QString("Hohenzollern-Sigmaringen")));
    QCOMPARE(p.text("Name"), QString("Maximilian Alexander Friedrich Wilhelm Carl Anton"));
    QCOMPARE(p.text("GivenName"), QString("Maximilian Alexander Friedrich"));
    QCOMPARE(p.text("MidName"), QString("Carl Anton"));
}

void TestVCardImport::fileWithoutCardAddsNothing_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");
    QTest::newRow("empty") << QByteArray() << "No vCard found in %1.";
    QTest::newRow("text without cards") << QByteArray("hello\r\nworld\r\n") << "No vCard found in %1.";
    QTest::newRow("calendar only") << QByteArray("BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n") << "No vCard found in %1.";
}

void TestVCardImport::fileWithoutCardAddsNothing()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString path = writeFile(dir, "none.vcf", bytes);
    test::EditingBook book;
    const QStringList persons = test::tableDump(book.edit.persons());
    const QStringList organisations = test::tableDump(book.edit.organisations());
    test::ScriptedPrompter prompter;
    prompter.expectMessage(error.arg(path), Prompter::Icon::Plain, Prompter::Button::Ok, Prompter::Button::Ok);
    ScriptedComparer comparer;
    QVERIFY(!importVCardFile(book.edit, prompter, comparer, path, {}));
    QVERIFY(prompter.verifyAllAnswered());
    QCOMPARE(test::tableDump(book.edit.persons()), persons);
    QCOMPARE(test::tableDump(book.edit.organisations()), organisations);
}

void TestVCardImport::sameNameInOtherCaseIsCompared()
{
    QTemporaryDir dir;
    test::EditingBook book;
    test::ScriptedPrompter prompter;
    ScriptedComparer comparer;
    comparer.answers = {Choice::Replace};
    const QString path = writeFile(dir, "a.vcf", card("FN:Ann Lee\r\nORG:acme\r\nTEL;WORK:555\r\nEMAIL;WORK:a@acme\r\n"));
    QCOMPARE(importVCardFile(book.edit, prompter, comparer, path, {})->entries.imported, 1);
    QCOMPARE(comparer.headings, QStringList{"ACME --- Ann Lee"});
    const FieldValues fields = importedFields(book);
    QCOMPARE(fields["Company"], QString("ACME"));
    QCOMPARE(fields["CPhone"], QString("555"));
    QCOMPARE(fields["CEMail"], QString("a@acme"));

    // Without ORG: an organisation of its own, named after the person's number.
    QVERIFY(importVCardFile(book.edit, prompter, comparer, writeFile(dir, "b.vcf", card("FN:Bo\r\n")), {}));
    QCOMPARE(importedFields(book)["Company"], "QV Auto Org " + book.edit.persons().text("ClientID"));
}

void TestVCardImport::cardWithoutWorkValuesLinksWithoutAsking()
{
    QTemporaryDir dir;
    test::EditingBook book;
    test::ScriptedPrompter prompter;
    ScriptedComparer comparer; // no answers: a comparison fails the test
    const QString path = writeFile(dir, "a.vcf", card("FN:Ann Lee\r\nTEL;HOME:1\r\nORG:acme\r\n"));
    QCOMPARE(importVCardFile(book.edit, prompter, comparer, path, {})->entries.imported, 1);
    QVERIFY(comparer.headings.isEmpty());
    QCOMPARE(importedFields(book)["Company"], QString("ACME"));
}

void TestVCardImport::exportCommandWritesCurrentOrMarked_data()
{
    QTest::addColumn<std::vector<int>>("marked");
    QTest::addColumn<QString>("version"); // the one last chosen
    QTest::addColumn<int>("fileType");    // picked in the save dialog; -1 keeps the one proposed
    QTest::addColumn<QString>("written");
    QTest::addColumn<QByteArray>("expected"); // the FN lines written
    QTest::addColumn<QString>("proposed");    // the file name the save dialog offers
    QTest::newRow("no marks: the current entry") << std::vector<int>{} << "2.1" << -1 << "2.1" << QByteArray("FN:Bea\r\n")
                                                 << "Bea";
    QTest::newRow("one mark: still the current entry") << std::vector<int>{2} << "2.1" << -1 << "2.1"
                                                       << QByteArray("FN:Bea\r\n") << "Bea";
    QTest::newRow("several marks, in list order, as 3.0 last chosen, named as a lot")
        << std::vector<int>{0, 2} << "3.0" << -1 << "3.0" << QByteArray("FN:Ann\r\nFN:Cy\r\n") << "contacts";
    QTest::newRow("4.0 picked instead of 2.1, and remembered") << std::vector<int>{} << "2.1" << 2 << "4.0"
                                                               << QByteArray("FN:Bea\r\n") << "Bea";
}

void TestVCardImport::exportCommandWritesCurrentOrMarked()
{
    QFETCH(std::vector<int>, marked);
    QFETCH(QString, version);
    QFETCH(int, fileType);
    QFETCH(QString, written);
    QFETCH(QByteArray, expected);
    QFETCH(QString, proposed);
    QTemporaryDir dir;
    test::EditingBook book({test::person({{"Name", QString("Ann")}, {"OrgID", qint32(0)}}),
                            test::person({{"Name", QString("Bea")}, {"OrgID", qint32(0)}}),
                            test::person({{"Name", QString("Cy")}, {"OrgID", qint32(0)}})});
    TableView &persons = book.edit.persons();
    QVERIFY(persons.locate("Name", QString("Bea")));
    Settings settings(dir.filePath("aa.ini"));
    settings.vCardVersion = version;
    test::ScriptedPrompter prompter;
    const QString path = dir.filePath("out.vcf");
    prompter.expectSaveFile(path, fileType);
    QList<bool> busy;
    exportVCardCommand({persons, *book.data.organisationList.table(), settings, prompter, marked,
                        [&](bool on) { busy << on; }});
    QVERIFY(prompter.verifyAllAnswered());
    QCOMPARE(prompter.calls().front().save.filter,
             QString("E-Business Card (*.vcf)|*.vcf|E-Business Card, vCard 3.0 (*.vcf)|*.vcf|"
                     "E-Business Card, vCard 4.0 (*.vcf)|*.vcf"));
    QCOMPARE(prompter.calls().front().save.proposedName, proposed);
    QCOMPARE(busy, (QList<bool>{true, false}));
    QByteArray names;
    for (const QByteArray &line : readFile(path).split('\n')) {
        if (line.startsWith("FN"))
            names += line + '\n';
    }
    QCOMPARE(names, expected);
    QVERIFY(readFile(path).contains("VERSION:" + written.toLatin1() + "\r\n"));
    QCOMPARE(settings.vCardVersion, written);
}

void TestVCardImport::exportCommandWithNothingListed()
{
    test::EditingBook book;
    QTemporaryDir dir;
    Settings settings(dir.filePath("aa.ini"));
    test::ScriptedPrompter prompter;
    prompter.expectMessage("No entry to be exported, please list at least one entry.", Prompter::Icon::Plain,
                           Prompter::Button::Ok, Prompter::Button::Ok);
    exportVCardCommand({book.edit.persons(), *book.data.organisationList.table(), settings, prompter, {}, [](bool) {}});
    QVERIFY(prompter.verifyAllAnswered());
}

void TestVCardImport::importCommandAsksCategoryAndShowsSummary()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, "two.vcf", card("FN:Ann\r\nORG:O\r\n") + card("FN:Bo\r\nORG:P\r\n"));
    test::EditingBook book;
    Settings settings(dir.filePath("aa.ini"));
    test::ScriptedPrompter prompter;
    ScriptedComparer comparer;
    ScriptedCategoryQuestion question;
    question.answer = 2;
    prompter.expectOpenFile(path);
    prompter.expectMessage("2 entries got imported.", Prompter::Icon::Information, Prompter::Button::Ok, Prompter::Button::Ok);
    const std::optional<int> picked = importVCardCommand(
        {book.edit, settings, prompter, question, comparer, [](int k) { return 1000 + k; }, [](bool) {}});
    QVERIFY(prompter.verifyAllAnswered());
    QCOMPARE(picked, std::optional<int>(2));
    QVERIFY(book.edit.persons().locate("Name", QString("Bo")));
    QCOMPARE(book.edit.persons().value("Group1"), Value(qint32(1002)));

    // Cancel in the category question imports nothing.
    question.answer.reset();
    prompter.expectOpenFile(path);
    const int before = book.edit.persons().recordCount();
    QVERIFY(!importVCardCommand({book.edit, settings, prompter, question, comparer, [](int k) { return 1000 + k; },
                                 [](bool) {}}));
    QCOMPARE(book.edit.persons().recordCount(), before);
}

void TestVCardImport::summaryTexts_data()
{
    QTest::addColumn<int>("skipped");
    QTest::addColumn<QString>("text");

    const QString missing = QStringLiteral("END:VCARD is missing");
    QTest::newRow("none skipped") << 0 << "3 entries got imported.";
    QTest::newRow("one skipped") << 1 << "3 entries got imported.\n1 card was skipped because its vCard text is broken:\ncard 2: " + missing;
    QString eleven = "3 entries got imported.\n11 cards were skipped because their vCard text is broken:";
    for (int i = 1; i <= 10; ++i)
        eleven += QStringLiteral("\ncard %1: ").arg(2 * i) + missing;
    QTest::newRow("eleven skipped, the first ten named") << 11 << eleven + QString::fromUtf8("\n\u2026");
}

void TestVCardImport::summaryTexts()
{
    QFETCH(int, skipped);
    QFETCH(QString, text);
    VCardImportReport report;
    report.entries.imported = 3;
    for (int i = 1; i <= skipped; ++i)
        report.skipped.append({2 * i, QStringLiteral("END:VCARD is missing")});
    QCOMPARE(report.text(), text);
}

void TestVCardImport::exportWriteErrorKeepsTheFile_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("a folder of that name") << "folder";
    QTest::newRow("in a folder that does not exist") << "missing/a.vcf";
}

void TestVCardImport::exportWriteErrorKeepsTheFile()
{
    QFETCH(QString, target);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("folder"));
    test::EditingBook book({test::person({{"Name", QString("Ann")}, {"OrgID", qint32(0)}})});
    const EntryCards cards(*book.data.personList.table(), *book.data.organisationList.table());
    const QString path = dir.filePath(target);
    QString error;
    try {
        writeVCardFile(path, cards, {0}, VCardVersion::V21);
    } catch (const Error &e) {
        error = e.text();
    }
    QCOMPARE(error, "Unable to write to " + path);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"folder"});

    writeVCardFile(dir.filePath("a.vcf"), cards, {0}, VCardVersion::V21);
    QCOMPARE(readFile(dir.filePath("a.vcf")),
             QByteArray("BEGIN:VCARD\r\nVERSION:2.1\r\nN:;;;;\r\nFN:Ann\r\nEND:VCARD\r\n"));
}

QTEST_GUILESS_MAIN(TestVCardImport)
#include "tst_vcardimport.moc"
