// The system address book import: its address texts and the import of .wab files built byte by byte.
#include "EditingBook.h"
#include "ScriptedPrompter.h"
#include "WabWriter.h"

#include "editing/OrganisationSameName.h"
#include "exchange/wab/AddressText.h"
#include "exchange/wab/WabImport.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

using namespace qv;
using test::WabWriter;
using namespace test::mapi;
using Choice = OrganisationComparer::Choice;

namespace {

const QLocale kWestern(QLocale::English, QLocale::UnitedStates);

QDateTime utc(int y, int m, int d, int h = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, 0), Qt::UTC);
}

// Three contacts, a deleted one and one without a name.
WabWriter threeContacts()
{
    WabWriter w;
    w.addRecord({1, {WabWriter::unicode(DisplayName, "John Paul Smith"), WabWriter::unicode(Title, "Engineer"),
                     WabWriter::unicode(EmailAddress, "john@example.com"),
                     WabWriter::unicodeList(EmailAddresses, {"john@example.com", "jps@example.org", "smith@example.net"}),
                     WabWriter::unicode(HomeStreet, "12 Main Street"), WabWriter::unicode(HomeCity, "Springfield"),
                     WabWriter::unicode(HomeState, "IL"), WabWriter::unicode(HomeCountry, "USA"),
                     WabWriter::unicode(HomePostalCode, "62701"), WabWriter::unicode(HomeTelephone, "555-0100"),
                     WabWriter::fileTime(Birthday, utc(1970, 5, 17, 7)), WabWriter::unicode(Department, "Sales"),
                     WabWriter::unicodeList(ChildrensNames, {"Ann", "Bob"}), WabWriter::unicode(Nickname, "JP")}});
    w.addRecord({0, {WabWriter::unicode(DisplayName, "Deleted Person")}});
    w.addRecord({1, {WabWriter::string8(DisplayName, "Ren\xe9 Dupont"), WabWriter::string8(CompanyName, "Acme"),
                     WabWriter::string8(Department, "Sales"), WabWriter::string8(BusinessTelephone, "555-0200"),
                     WabWriter::string8(BusinessFax, "555-0201"), WabWriter::string8(BusinessStreet, "1 Industry Way"),
                     WabWriter::string8(BusinessCity, "Lyon"), WabWriter::string8(BusinessPostalCode, "69001"),
                     WabWriter::string8(BusinessHomePage, "http://acme.example"),
                     WabWriter::string8(Comment, "Met at\r\nthe fair")}});
    w.addRecord({1, {WabWriter::unicode(DisplayName, "   ")}});
    w.addRecord({1, {WabWriter::unicode(DisplayName, "\u738b\u5c0f\u660e"), WabWriter::unicode(Mobile, "138 0000"),
                     WabWriter::unicode(HomeCity, "\u5317\u4eac"), WabWriter::unicode(HomeStreet, "\u957f\u5b89\u8857 1"),
                     WabWriter::unicode(HomeCountry, "\u4e2d\u56fd"), WabWriter::unicode(SpouseName, "\u674e"),
                     WabWriter::fileTime(WeddingAnniversary, utc(1850, 6, 1)),
                     WabWriter::unicode(PersonalHomePage, "http://wang.example")}});
    return w;
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
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

WabImportOptions options(int category)
{
    WabImportOptions o;
    o.categoryNumber = category;
    o.locale = kWestern;
    return o;
}

// The person of that name and the organisation it links to become current.
bool locatePerson(test::EditingBook &book, const QString &name)
{
    TableView &persons = book.edit.persons();
    if (!persons.locate(QStringLiteral("Name"), name))
        return false;
    return book.edit.organisations().locate(QStringLiteral("CoID"), persons.value(QStringLiteral("OrgID")));
}

} // namespace

class TestWabImport : public QObject {
    Q_OBJECT
private slots:
    void commaTextOfLines_data();
    void commaTextOfLines();
    void addressTextOfParts_data();
    void addressTextOfParts();
    void importsEachContact();
    void everyWordOfTheNameStays();
    void categoryOnlyAboveAll();
    void eightBitTextsInTheCodePageOfTheLocale_data();
    void eightBitTextsInTheCodePageOfTheLocale();
    void damagedFileAddsNothing_data();
    void damagedFileAddsNothing();
    void secondImportAsksForEachOrganisationFoundAgain();
};

void TestWabImport::commaTextOfLines_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("expected");
    QTest::newRow("none") << QStringList() << QString();
    QTest::newRow("one empty line") << QStringList{""} << QString("\"\"");
    QTest::newRow("plain lines") << QStringList{"Main", "Flat3"} << QString("Main,Flat3");
    QTest::newRow("space") << QStringList{"12 Main Street"} << QString("\"12 Main Street\"");
    QTest::newRow("comma and quote") << QStringList{"a,b", "say \"hi\""} << QString("\"a,b\",\"say \"\"hi\"\"\"");
    QTest::newRow("control character") << QStringList{"a\tb"} << QString("\"a\tb\"");
    QTest::newRow("empty among lines") << QStringList{"a", ""} << QString("a,");
}

void TestWabImport::commaTextOfLines()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, expected);
    QCOMPARE(commaText(lines), expected);
}

void TestWabImport::addressTextOfParts_data()
{
    QTest::addColumn<QString>("street");
    QTest::addColumn<QString>("city");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("country");
    QTest::addColumn<QString>("expected");
    QTest::newRow("all parts") << "12 Main Street" << "Springfield" << "IL" << "USA"
                               << "\"12 Main Street\", Springfield, IL, USA";
    QTest::newRow("two street lines") << "12 Main Street\r\nFlat3" << "Springfield" << "" << ""
                                      << "\"12 Main Street\",Flat3, Springfield";
    QTest::newRow("no street") << "" << "Lyon" << "" << "France" << "Lyon, , France";
    QTest::newRow("nothing") << "" << "" << "" << "" << "";
    QTest::newRow("wide text, country first") << "\u957f\u5b89\u8857" << "\u5317\u4eac" << "" << "\u4e2d\u56fd"
                                              << "\u4e2d\u56fd, , \u5317\u4eac, \u957f\u5b89\u8857";
    QTest::newRow("kana in the street only") << "\u30c6\u30b9\u30c8" << "Tokyo" << "" << "Japan"
                                             << "Japan, , Tokyo, \u30c6\u30b9\u30c8";
    QTest::newRow("accents are not wide") << "Rue" << "Orl\u00e9ans" << "" << "" << "Rue, Orl\u00e9ans";
}

void TestWabImport::addressTextOfParts()
{
    QFETCH(QString, street);
    QFETCH(QString, city);
    QFETCH(QString, state);
    QFETCH(QString, country);
    QFETCH(QString, expected);
    QCOMPARE(addressText(street, city, state, country), expected);
}

void TestWabImport::importsEachContact()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, "book.wab", threeContacts().bytes());
    test::EditingBook book;
    test::ScriptedPrompter prompter;
    ScriptedComparer comparer;
    const std::optional<ImportReport> read = importWab(book.edit, prompter, comparer, path, options(1001));
    QCOMPARE(prompter.messages(), QStringList());
    QVERIFY(read);
    const ImportReport report = *read;
    QCOMPARE(report.imported, 3);
    QCOMPARE(report.blankNames, 1);
    QCOMPARE(report.text(), QString("3 entries got imported.\n1 record was skipped because its name was blank."));
    QVERIFY(!book.edit.persons().locate(QStringLiteral("Name"), QString("Deleted Person")));

    TableView &p = book.edit.persons();
    TableView &o = book.edit.organisations();
    QVERIFY(locatePerson(book, "John Paul Smith"));
    QCOMPARE(p.text("GivenName"), QString("John"));
    QCOMPARE(p.text("MidName"), QString("Paul"));
    QCOMPARE(p.text("SurName"), QString("Smith"));
    QCOMPARE(p.text("Position"), QString("Engineer"));
    QCOMPARE(p.text("Phone"), QString("555-0100"));
    QCOMPARE(p.text("EMail"), QString("john@example.com, jps@example.org, smith@example.net"));
    QCOMPARE(p.text("Address"), QString("\"12 Main Street\", Springfield, IL, USA"));
    QCOMPARE(p.text("Zip"), QString("62701"));
    QCOMPARE(p.value("Birthday"), Value(QDate(1970, 5, 17)));
    QCOMPARE(p.text("Memo"), QString("\r\nNickname:\r\nJP\r\nChildren name:\r\nAnn\r\nBob\r\n"));
    QCOMPARE(p.value("Group1"), Value(qint32(1001)));
    QCOMPARE(p.value("Group2"), Value(qint32(1000)));
    QCOMPARE(p.value("Yellow"), Value(false));
    QCOMPARE(o.text("Company"), QString("QV Auto Org %1, Sales").arg(p.text("ClientID")));

    QVERIFY(locatePerson(book, "Ren\u00e9 Dupont"));
    QCOMPARE(p.text("Memo"), QString("Met at\r\nthe fair\r\n"));
    QCOMPARE(p.value("Birthday"), Value());
    QCOMPARE(p.text("EMail"), QString());
    QCOMPARE(o.text("Company"), QString("Acme, Sales"));
    QCOMPARE(o.text("CAddress"), QString("\"1 Industry Way\", Lyon"));
    QCOMPARE(o.text("CZip"), QString("69001"));
    QCOMPARE(o.text("CPhone"), QString("555-0200"));
    QCOMPARE(o.text("CFax"), QString("555-0201"));
    QCOMPARE(o.text("CMemo"), QString("http://acme.example"));

    QVERIFY(locatePerson(book, "\u738b\u5c0f\u660e"));
    QCOMPARE(p.text("Mobile"), QString("138 0000"));
    QCOMPARE(p.text("Address"), QString("\u4e2d\u56fd, , \u5317\u4eac, \"\u957f\u5b89\u8857 1\""));
    // The anniversary of 1850 lies before the bound that stands for an absent one.
    QCOMPARE(p.text("Memo"), QString("\r\nSpouse name:\r\n\u674e\r\nHome page:\r\nhttp://wang.example"));
}

void TestWabImport::everyWordOfTheNameStays()
{
    const QString longName = "Maximilian " + QString("Alexander Friedrich ").repeated(14) + "Hohenzollern"; // 303 characters
    QList<AddressBookContact> contacts;
    for (const QString &name : {QString("Anna Maria del Rio"), QString("Anna Maria Luisa Schmidt"), longName, QString("   ")}) {
        contacts.append(AddressBookContact());
        contacts.back().displayName = name;
    }
    test::EditingBook book;
    test::ScriptedPrompter prompter;
    ScriptedComparer comparer;
    const ImportReport report = importAddressBookContacts(book.edit, prompter, comparer, contacts, options(1000));
    QCOMPARE(report.text(), QString("3 entries got imported.\n1 record was skipped because its name was blank.\n"
                                    "2 names were too long for their fields and were cut."));
    QStringList entries;
    TableView &persons = book.data.personLookup;
    for (persons.first(); !persons.atEnd(); persons.next()) {
        QStringList parts;
        for (const char *field : {"Name", "GivenName", "MidName", "SurName"})
            parts << persons.text(QString::fromLatin1(field));
        entries << parts.join('|');
    }
    entries.sort();
    QCOMPARE(entries, (QStringList{"Anna Maria Luisa Schmidt|Anna|Maria Luis|Schmidt", "Anna Maria del Rio|Anna|Maria|del Rio",
                                   "Maximilian Alexander Friedrich Alexander Friedrich|Maximilian|Alexander|Hohenzollern"}));
}

void TestWabImport::categoryOnlyAboveAll()
{
    WabWriter w;
    w.addRecord({1, {WabWriter::unicode(DisplayName, "Ann Lee"), WabWriter::fileTime(WeddingAnniversary, utc(1995, 6, 3)),
                     WabWriter::unicode(CompanyName, "ACME")}});
    test::EditingBook book;
    test::ScriptedPrompter prompter;
    ScriptedComparer comparer;
    QTemporaryDir dir;
    QCOMPARE(importWab(book.edit, prompter, comparer, writeFile(dir, "a.wab", w.bytes()), options(1000))->imported, 1);
    QVERIFY(locatePerson(book, "Ann Lee"));
    QCOMPARE(book.edit.persons().value("Group1"), Value(qint32(1000)));
    QCOMPARE(book.edit.persons().text("Memo"), QString("\r\nWedding anniversary:\r\n6/3/95"));
    // The book's own ACME, found again; with no values of its own to compare, no question.
    QCOMPARE(book.edit.persons().value("OrgID"), Value(qint32(2001)));
    QVERIFY(comparer.headings.isEmpty());
}

void TestWabImport::eightBitTextsInTheCodePageOfTheLocale_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("current"); // the user's current address book rather than a file named
    QTest::newRow("western: Windows-1252") << kWestern << QByteArray("Ren\xe9 Dupont") << "Ren\u00e9 Dupont" << false;
    QTest::newRow("mainland Chinese: GBK") << QLocale(QLocale::Chinese, QLocale::China) << QByteArray("\xcd\xf5\xd0\xa1\xc3\xf7")
                                           << "\u738b\u5c0f\u660e" << false;
    QTest::newRow("Taiwan: Big5") << QLocale(QLocale::Chinese, QLocale::Taiwan) << QByteArray("\xa4\xfd\xa4\x70\xa9\xfa")
                                  << "\u738b\u5c0f\u660e" << false;
    QTest::newRow("western, the current address book") << kWestern << QByteArray("Ren\xe9 Dupont") << "Ren\u00e9 Dupont" << true;
    QTest::newRow("mainland Chinese, the current address book")
        << QLocale(QLocale::Chinese, QLocale::China) << QByteArray("\xcd\xf5\xd0\xa1\xc3\xf7") << "\u738b\u5c0f\u660e" << true;
}

void TestWabImport::eightBitTextsInTheCodePageOfTheLocale()
{
    QFETCH(QLocale, locale);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(bool, current);
    WabWriter w;
    w.addRecord({1, {WabWriter::string8(DisplayName, bytes), WabWriter::string8(CompanyName, bytes)}});
    QTemporaryDir dir;
    QString path = writeFile(dir, "8bit.wab", w.bytes());
    const QByteArray prefixBefore = qgetenv("WINEPREFIX");
    const auto restorePrefix = qScopeGuard([&] {
        if (prefixBefore.isEmpty())
            qunsetenv("WINEPREFIX");
        else
            qputenv("WINEPREFIX", prefixBefore);
    });
    if (current) {
        // Found by the import in the compatibility layer's user folders, as no file is named.
        const QString folder = dir.filePath("drive_c/users/someone/AppData/Roaming/Microsoft/Address Book");
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::rename(path, folder + "/8bit.wab"));
        qputenv("WINEPREFIX", dir.path().toLocal8Bit());
        path.clear();
    }
    test::EditingBook book;
    test::ScriptedPrompter prompter;
    ScriptedComparer comparer;
    WabImportOptions o = options(1000);
    o.locale = locale;
    QCOMPARE(importWab(book.edit, prompter, comparer, path, o)->imported, 1);
    QVERIFY(locatePerson(book, name));
    QCOMPARE(book.edit.organisations().text("Company"), name);
}

void TestWabImport::damagedFileAddsNothing_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");
    QByteArray cut = threeContacts().bytes();
    cut.chop(3);
    QTest::newRow("truncated") << cut
                               << "The address book file \"%1\" is damaged: a property value runs past the end of the file.";
    QTest::newRow("not an address book") << QByteArray("plain text") << "The file \"%1\" is not an address book (.wab) file.";
    QTest::newRow("older variant") << QByteArray("\x81\x32\x84\xC1 and more", 13) << "Error loading WAB API!";
}

void TestWabImport::damagedFileAddsNothing()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString path = writeFile(dir, "damaged.wab", bytes);
    test::EditingBook book;
    const QStringList persons = test::tableDump(book.edit.persons());
    const QStringList organisations = test::tableDump(book.edit.organisations());
    test::ScriptedPrompter prompter;
    prompter.expectMessage(error.contains("%1") ? error.arg(path) : error, Prompter::Icon::Plain, Prompter::Button::Ok,
                           Prompter::Button::Ok);
    ScriptedComparer comparer;
    QVERIFY(!importWab(book.edit, prompter, comparer, path, options(1001)));
    QVERIFY(prompter.verifyAllAnswered());
    QCOMPARE(test::tableDump(book.edit.persons()), persons);
    QCOMPARE(test::tableDump(book.edit.organisations()), organisations);
}

void TestWabImport::secondImportAsksForEachOrganisationFoundAgain()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, "book.wab", threeContacts().bytes());
    test::EditingBook book;
    test::ScriptedPrompter prompter;
    ScriptedComparer comparer;
    importWab(book.edit, prompter, comparer, path, options(1001));
    QVERIFY(comparer.headings.isEmpty());
    // Found again with the values it was made with: nothing to compare.
    QCOMPARE(importWab(book.edit, prompter, comparer, path, options(1001))->imported, 3);
    QVERIFY(comparer.headings.isEmpty());
    // Acme's work phone changed since: the file now brings a value it does not hold. The auto
    // organisations carry the new persons' numbers, so only Acme's is found again.
    TableView &organisations = book.edit.organisations();
    QVERIFY(organisations.locate("Company", QString("Acme, Sales")));
    organisations.edit();
    organisations.setValue("CPhone", QString("555-9999"));
    organisations.post();
    comparer.answers = {Choice::Replace};
    QCOMPARE(importWab(book.edit, prompter, comparer, path, options(1001))->imported, 3);
    QCOMPARE(comparer.headings, QStringList{"Acme, Sales --- Ren\u00e9 Dupont"});
}

QTEST_GUILESS_MAIN(TestWabImport)
#include "tst_wabimport.moc"
