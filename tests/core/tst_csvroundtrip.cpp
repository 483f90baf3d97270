// The CSV round trip through the command-line tool: every catalogue field of
// a generated 1,000-entry book exported, imported into a new book with a
// full mapping, exported again: the two files are the same bytes. Also the
// import into a book with a password, saved and opened again.
#include "common/MemberLines.h"
#include "data/BookGenerator.h"
#include "data/RecordTable.h"
#include "data/TableFile.h"
#include "data/archive/PackageWriter.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace qv;

namespace {

const QString kAllFields = QStringLiteral("Name,SurName,MidName,GivenName,Position,Address,Zip,EMail,Phone,Fax,Mobile,Pager,"
                                          "DPhone,Birthday,Memo,URL,ICQ,Company,CAddress,CZip,CPhone,CFax,CEMail,CMemo,CURL");

struct Result {
    int exitCode = -1;
    QString out;
    QString err;
};

Result qvtool(const QStringList &args, const QString &password = {})
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!password.isEmpty())
        env.insert("QV_PASSWORD", password);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(QVTOOL_PATH), args);
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

void writePackage(const QString &path, const RecordTable &persons, const RecordTable &organisations, const QString &password = {})
{
    const QDateTime t(QDate(2026, 1, 1), QTime(0, 0));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(archive::buildArchive({{"Agents.dbf", writeTableBytes(organisations), t},
                                   {"Names.dbf", writeTableBytes(persons), t},
                                   {"surname.dff", memberText({"\u6b27\u9633", "\u53f8\u9a6c"}), t},
                                   {"tree.dff", memberText({"All Entries", "\tFriends", "Search Results"}), t},
                                   {"treeno.dff", memberText({"1000", "1001", "101"}), t}},
                                  password));
}

// A generated book made fit for a file round trip: no yellow pages (the
// import makes white pages, which sort elsewhere) and company names that
// differ (an import links equal names to the first organisation).
void writeGeneratedBook(const QString &path)
{
    GeneratedBook book = generateBook(1000, 40, 7);
    const int yellow = book.persons->fieldIndex("Yellow");
    for (int row = 0; row < book.persons->rowSlots(); ++row) {
        std::vector<Value> values = book.persons->rowValues(row);
        values[size_t(yellow)] = false;
        book.persons->updateRow(row, values);
    }
    for (int row = 1; row < book.organisations->rowSlots(); ++row) {
        std::vector<Value> values = book.organisations->rowValues(row);
        values[1] = valueText(values[1]) + " #" + valueText(values[0]);
        book.organisations->updateRow(row, values);
    }
    writePackage(path, *book.persons, *book.organisations);
}

void writeEmptyBook(const QString &path, const QString &password = {})
{
    RecordTable persons(personFields());
    RecordTable organisations(organisationFields());
    organisations.insertRow({qint32(0), QString("(No organisation)")});
    writePackage(path, persons, organisations, password);
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// "Label=column" for every title of the export's title line but Name, which the import composes from its parts.
QString fullMapping(const QByteArray &titleLine)
{
    QStringList items;
    const QStringList titles = QString::fromUtf8(titleLine).split(',');
    for (int i = 0; i < titles.size(); ++i) {
        if (!titles[i].isEmpty() && titles[i] != "Name")
            items << titles[i] + '=' + QString::number(i + 1);
    }
    return items.join(';');
}

} // namespace

class TestCsvRoundTrip : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void roundTrip();
    void passwordBook();
    void tickedFieldsOfFilteredEntries();
    void everyWordOfTheNameStays();
    void sameNameCheckInTheTerminal_data();
    void sameNameCheckInTheTerminal();
    void mapRefused_data();
    void mapRefused();

private:
    QTemporaryDir m_home;
};

void TestCsvRoundTrip::initTestCase()
{
    qputenv("QUORVEL_HOME", m_home.path().toUtf8()); // no aa.ini there: the shipped catalogue
}

void TestCsvRoundTrip::roundTrip()
{
    QTemporaryDir dir;
    const QString source = dir.filePath("source.qvp"), target = dir.filePath("target.qvp");
    writeGeneratedBook(source);
    writeEmptyBook(target);
    const QString first = dir.filePath("first.csv"), second = dir.filePath("second.csv");
    Result r = qvtool({"export-csv", source, first, "--fields", kAllFields, "--header"});
    QCOMPARE(r.err, QString());
    QCOMPARE(r.out, "1000 entries written to " + first + "\n");
    const QByteArray written = contents(first);
    const QByteArray titles = written.left(written.indexOf("\r\n"));
    QCOMPARE(titles.count(','), 25);

    r = qvtool({"import-csv", target, first, "--header", "--map", fullMapping(titles)});
    QCOMPARE(r.err, QString());
    QCOMPARE(r.out, "1000 entries got imported.\n");
    r = qvtool({"export-csv", target, second, "--fields", kAllFields, "--header"});
    QCOMPARE(r.exitCode, 0);
    const QByteArray again = contents(second);
    QCOMPARE(again.size(), written.size());
    QVERIFY(again == written);
    // The file holds the hard cases: quoted commas, memos, dates, Chinese names, no birthday.
    QVERIFY(written.contains("\"1899-12-30\""));
    QVERIFY(written.contains(", "));
    QVERIFY(written.contains(QString("\u6709\u9650\u516c\u53f8").toUtf8()));
}

void TestCsvRoundTrip::passwordBook()
{
    QTemporaryDir dir;
    const QString book = dir.filePath("locked.qvp"), csv = dir.filePath("in.csv");
    writeEmptyBook(book, "secret");
    QFile f(csv);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("Ann,Lee,\"Memo, with comma\r\nand a line\",1970-03-02,Acme,1 Main St\r\n");
    f.close();
    Result r = qvtool({"import-csv", book, csv, "--map", "GivenName=1;SurName=2;Memo=3;Birthday=4;Company=5;CAddress=6",
                       "--category", "1001"},
                      "secret");
    QCOMPARE(r.err, QString());
    QCOMPARE(r.out, QString("1 entries got imported.\n"));
    r = qvtool({"info", book}, "secret");
    QVERIFY2(r.out.contains("encrypted: ") && !r.out.contains("encrypted: no"), qPrintable(r.out + r.err));
    r = qvtool({"list", book, "--fields", "Name,SurName,GivenName,Memo,Birthday,Group1,OrgID"}, "secret");
    QCOMPARE(r.out, QString("Ann Lee\tLee\tAnn\tMemo, with comma\\r\\nand a line\t1970-03-02\t1001\t2001\n"));
    r = qvtool({"export-csv", book, dir.filePath("out.csv"), "--fields", "Name,Company,CAddress"}, "secret");
    QCOMPARE(contents(dir.filePath("out.csv")), QByteArray("Ann Lee,Acme,1 Main St,\r\n"));
}

// Without --fields the ticked fields of the shipped settings, person fields
// then organisation fields, each in table order; only the entries passing the filter.
void TestCsvRoundTrip::tickedFieldsOfFilteredEntries()
{
    QTemporaryDir dir;
    const QString book = dir.filePath("book.qvp"), csv = dir.filePath("in.csv"), out = dir.filePath("out.csv");
    writeEmptyBook(book);
    QFile f(csv);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("Ann Lee,Acme,555\r\nBob Ray,Initech,777\r\n");
    f.close();
    Result r = qvtool({"import-csv", book, csv, "--map", "Name=1;Company=2;CPhone=3"});
    QCOMPARE(r.out, QString("2 entries got imported.\n"));
    r = qvtool({"export-csv", book, out, "--filter", "Name='Bob*'"});
    QCOMPARE(r.err, QString());
    QCOMPARE(r.out, "1 entries written to " + out + "\n");
    // Name Position Address Zip EMail Phone Fax Mobile Birthday DPhone URL, Company CAddress CZip CPhone CFax CEMail CURL
    QCOMPARE(contents(out), QByteArray("Bob Ray,,,,,,,,\"1899-12-30\",,,Initech,,,777,,,,\r\n"));
}

// The tool's summary says which names were cut; no word of a name is lost.
void TestCsvRoundTrip::everyWordOfTheNameStays()
{
    QTemporaryDir dir;
    const QString book = dir.filePath("book.qvp"), csv = dir.filePath("in.csv");
    writeEmptyBook(book);
    QFile f(csv);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("Anna Maria del Rio\r\nAnna Maria Luisa Schmidt\r\n");
    f.close();
    Result r = qvtool({"import-csv", book, csv, "--map", "Name=1"});
    QCOMPARE(r.err, QString());
    QCOMPARE(r.out, QString("2 entries got imported.\n1 name was too long for its fields and was cut.\n"));
    r = qvtool({"list", book, "--fields", "Name,GivenName,MidName,SurName"});
    // The list's order by surname is the locale's; the entries are what counts.
    QStringList listed = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    listed.sort();
    QCOMPARE(listed, QStringList({"Anna Maria Luisa Schmidt\tAnna\tMaria Luis\tSchmidt", "Anna Maria del Rio\tAnna\tMaria\tdel Rio"}));
}

void TestCsvRoundTrip::sameNameCheckInTheTerminal_data()
{
    QTest::addColumn<QStringList>("flags");
    QTest::addColumn<QString>("err");
    QTest::newRow("linked without question") << QStringList() << QString();
    QTest::newRow("--check-org-same-name shows both and keeps the stored")
        << QStringList{"--check-org-same-name"}
        << "Acme --- Ann Lee\nInfo of the existing:\n111\nInfo of the to-be-imported:\n999\nkept the existing\n";
}

// The tool asks nobody: with the check it shows what a user would compare
// and keeps the stored organisation, as the answer No does.
void TestCsvRoundTrip::sameNameCheckInTheTerminal()
{
    QFETCH(QStringList, flags);
    QFETCH(QString, err);
    QTemporaryDir dir;
    const QString book = dir.filePath("book.qvp"), csv = dir.filePath("in.csv");
    RecordTable persons(personFields());
    RecordTable organisations(organisationFields());
    organisations.insertRow({qint32(0), QString("(No organisation)")});
    organisations.insertRow({qint32(7), QString("Acme"), Value(), Value(), QString("111")});
    writePackage(book, persons, organisations);
    QFile f(csv);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("Ann Lee,ACME,999\r\n");
    f.close();
    Result r = qvtool(QStringList{"import-csv", book, csv, "--map", "Name=1;Company=2;CPhone=3"} + flags);
    QCOMPARE(r.err, err);
    QCOMPARE(r.out, QString("1 entries got imported.\n"));
    r = qvtool({"export-csv", book, dir.filePath("out.csv"), "--fields", "Name,Company,CPhone"});
    QCOMPARE(contents(dir.filePath("out.csv")), QByteArray("Ann Lee,Acme,111,\r\n"));
}

void TestCsvRoundTrip::mapRefused_data()
{
    QTest::addColumn<QString>("map");
    QTest::addColumn<QString>("err");
    QTest::addColumn<QStringList>("more"); // further arguments
    QTest::newRow("six columns") << "Name=1,2,3,4,5,6" << "qvtool: --map: more than five columns for Name\n" << QStringList();
    QTest::newRow("unknown field") << "Nope=1" << "qvtool: --map: no catalogue field \"Nope\"\n" << QStringList();
    QTest::newRow("no column number") << "Name=x" << "qvtool: --map: \"x\" is no column number\n" << QStringList();
    QTest::newRow("column 0") << "Name=0" << "qvtool: --map: \"0\" is no column number\n" << QStringList();
    QTest::newRow("no such category") << "Name=1" << "qvtool: the book has no category 4242\n"
                                      << QStringList{"--category", "4242"};
}

// A mapping or a category the tool cannot use leaves the book untouched.
void TestCsvRoundTrip::mapRefused()
{
    QFETCH(QString, map);
    QFETCH(QString, err);
    QFETCH(QStringList, more);
    QTemporaryDir dir;
    const QString book = dir.filePath("book.qvp"), csv = dir.filePath("in.csv");
    writeEmptyBook(book);
    const QByteArray before = contents(book);
    QFile f(csv);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("a,b,c,d,e,f\r\n");
    f.close();
    const Result r = qvtool(QStringList{"import-csv", book, csv, "--map", map} + more);
    QCOMPARE(r.exitCode, 2);
    QCOMPARE(r.err, err);
    QCOMPARE(r.out, QString());
    QVERIFY(contents(book) == before);
}

QTEST_GUILESS_MAIN(TestCsvRoundTrip)
#include "tst_csvroundtrip.moc"
