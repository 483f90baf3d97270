// A generated book with Western and Chinese names exported as vCards in each version and imported into an
// empty book: every field the export writes comes back as it was. Also the same through the command-line tool,
// and how the tool links the organisations the cards name.
#include "BookInMemory.h"
#include "PersonFixture.h"
#include "ScriptedPrompter.h"

#include "common/MemberLines.h"
#include "data/BookGenerator.h"
#include "data/RecordStore.h"
#include "data/RecordTable.h"
#include "data/TableFile.h"
#include "data/archive/PackageWriter.h"
#include "editing/EditModel.h"
#include "editing/OrganisationSameName.h"
#include "exchange/vcard/EntryCards.h"
#include "exchange/vcard/VCardFile.h"
#include "exchange/vcard/VCardImport.h"
#include "navigation/CategoryTreeModel.h"

#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace qv;
using namespace qv::vcard;

Q_DECLARE_METATYPE(qv::vcard::VCardVersion)

namespace {

const QStringList kPersonFields = {"Name", "SurName", "GivenName", "MidName", "Position", "Phone", "Mobile", "Pager",
                                   "DPhone", "Fax", "EMail", "Birthday", "Address", "Zip", "Memo"};
const QStringList kOrganisationFields = {"Company", "CAddress", "CZip", "CPhone", "CFax", "CEMail", "CMemo"};

using Book = test::BookInMemory;

// Organisations are found again by name, so each gets a name of its own.
GeneratedBook generatedWithDistinctCompanies(int persons, int organisations)
{
    GeneratedBook book = generateBook(persons, organisations, 7);
    RecordTable &o = *book.organisations;
    const int company = o.fieldIndex("Company");
    for (int row = 1; row < o.rowSlots(); ++row) {
        std::vector<Value> values = o.rowValues(row);
        values[size_t(company)] = valueText(values[size_t(company)]) + QStringLiteral(" %1").arg(row);
        o.updateRow(row, values);
    }
    return book;
}

// A person without a workplace: of the default organisation, or of the
// organisation of its own that an import gives a card without one.
bool hasNoWorkplace(const QString &company, const QString &coId, const QString &clientId)
{
    return coId == QStringLiteral("0") || company == QStringLiteral("QV Auto Org ") + clientId;
}

// Each person's exported fields, then its organisation's, as texts; the
// name of an organisation that stands for no workplace reads "none".
QStringList entryTexts(const RecordTable &persons, const RecordTable &organisations)
{
    QHash<QString, int> organisationRows;
    const int coId = organisations.fieldIndex("CoID");
    for (int row = 0; row < organisations.rowSlots(); ++row) {
        if (organisations.isAlive(row))
            organisationRows.insert(valueText(organisations.value(row, coId)), row);
    }
    QStringList texts;
    for (int row = 0; row < persons.rowSlots(); ++row) {
        if (!persons.isAlive(row))
            continue;
        QStringList values;
        for (const QString &field : kPersonFields)
            values << valueText(persons.value(row, persons.fieldIndex(field)));
        const QString orgId = valueText(persons.value(row, persons.fieldIndex("OrgID")));
        const int org = organisationRows.value(orgId, -1);
        for (const QString &field : kOrganisationFields)
            values << (org < 0 ? QStringLiteral("?") : valueText(organisations.value(org, organisations.fieldIndex(field))));
        QString &company = values[kPersonFields.size()];
        const QString clientId = valueText(persons.value(row, persons.fieldIndex("ClientID")));
        if (org >= 0 && hasNoWorkplace(company, orgId, clientId))
            company = QStringLiteral("none");
        texts << values.join(u'|');
    }
    return texts;
}

struct ToolResult {
    int exitCode = -1;
    QString out;
    QString err;
};

ToolResult qvtool(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(QVTOOL_PATH), args);
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

class KeepingComparer : public OrganisationComparer {
public:
    Choice compare(const OrganisationComparison &) override { return Choice::Keep; }
};

// A book file with the given persons, the default organisation and one
// organisation 7 of the given name and work phone.
void writeBook(const QString &path, const std::vector<std::vector<Value>> &people, const QString &company, const QString &phone)
{
    RecordTable persons(personFields());
    for (const auto &p : people)
        persons.insertRow(p);
    RecordTable organisations(organisationFields());
    organisations.insertRow({qint32(0), QString("(No organisation)")});
    organisations.insertRow({qint32(7), company, Value(), Value(), phone});
    const QDateTime t(QDate(2026, 1, 1), QTime(0, 0));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(archive::buildArchive({{"Agents.dbf", writeTableBytes(organisations), t},
                                   {"Names.dbf", writeTableBytes(persons), t},
                                   {"surname.dff", memberText({}), t},
                                   {"tree.dff", memberText({"All Entries", "\tFriends", "Search Results"}), t},
                                   {"treeno.dff", memberText({"1000", "1001", "101"}), t}},
                                  QString()));
}

} // namespace

class TestVCardRoundTrip : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void everyExportedFieldComesBack_data();
    void everyExportedFieldComesBack();
    void throughTheTool();
    void toolRefusesWhatItCannotDo_data();
    void toolRefusesWhatItCannotDo();
    void toolLinksTheStoredOrganisation_data();
    void toolLinksTheStoredOrganisation();

private:
    QTemporaryDir m_home;
};

void TestVCardRoundTrip::initTestCase()
{
    qputenv("QUORVEL_HOME", m_home.path().toUtf8()); // no aa.ini there: the shipped catalogue
}

void TestVCardRoundTrip::everyExportedFieldComesBack_data()
{
    QTest::addColumn<VCardVersion>("version");
    QTest::newRow("2.1") << VCardVersion::V21;
    QTest::newRow("3.0") << VCardVersion::V30;
    QTest::newRow("4.0") << VCardVersion::V40;
}

void TestVCardRoundTrip::everyExportedFieldComesBack()
{
    QFETCH(VCardVersion, version);
    const GeneratedBook content = generatedWithDistinctCompanies(1000, 60);
    const RecordTable &persons = *content.persons;
    std::vector<int> rows;
    int chinese = 0;
    for (int row = 0; row < persons.rowSlots(); ++row) {
        rows.push_back(row);
        chinese += valueText(persons.value(row, persons.fieldIndex("Name"))).front().script() == QChar::Script_Han;
    }
    QVERIFY(chinese > 100);
    QTemporaryDir dir;
    const QString path = dir.filePath("book.vcf");
    writeVCardFile(path, EntryCards(persons, *content.organisations), rows, version);

    Book target(generateBook(0, 0));
    test::ScriptedPrompter prompter;
    KeepingComparer comparer;
    VCardImportOptions options;
    options.checkSameName = false;
    const auto report = importVCardFile(target.edit, prompter, comparer, path, options);
    QVERIFY(report);
    QCOMPARE(report->text(), QString("1000 entries got imported."));
    const QStringList expected = entryTexts(persons, *content.organisations);
    const QStringList actual = entryTexts(*target.data.personList.table(), *target.data.organisationList.table());
    QCOMPARE(actual.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i)
        QCOMPARE(actual[i], expected[i]);
}

void TestVCardRoundTrip::throughTheTool()
{
    QTemporaryDir dir;
    const QString source = dir.filePath("source.qvp");
    const QString target = dir.filePath("target.qvp");
    const QString cards = dir.filePath("cards.vcf");
    QCOMPARE(qvtool({"generate", "--persons", "60", "--organisations", "6", "--seed", "11", source}).exitCode, 0);
    QCOMPARE(qvtool({"generate", "--persons", "0", "--organisations", "0", target}).exitCode, 0);
    const QString filter = "Group1=1003 OR Group2=1003 OR Group3=1003 OR Group4=1003";
    ToolResult r = qvtool({"list", source, "--filter", filter, "--fields", "Name"});
    QCOMPARE(r.exitCode, 0);
    QStringList names = r.out.split(u'\n', Qt::SkipEmptyParts);
    QVERIFY(names.size() >= 2);

    r = qvtool({"export-vcard", source, cards, "--filter", filter, "--version", "3.0"});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, QString("%1 entries written to %2\n").arg(names.size()).arg(cards));
    QFile file(cards);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QCOMPARE(text.count("BEGIN:VCARD\r\nVERSION:3.0\r\n"), names.size());
    QCOMPARE(text.count("BEGIN:VCARD"), names.size());

    r = qvtool({"import-vcard", target, cards, "--category", "1003"});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, QString("%1 entries got imported.\n").arg(names.size()));
    // Saved: a fresh run finds every entry, filed in the category.
    r = qvtool({"list", target, "--filter", "Group1=1003", "--fields", "Name"});
    QCOMPARE(r.exitCode, 0);
    QStringList imported = r.out.split(u'\n', Qt::SkipEmptyParts);
    names.sort();
    imported.sort();
    QCOMPARE(imported, names);
}

void TestVCardRoundTrip::toolRefusesWhatItCannotDo_data()
{
    QTest::addColumn<QStringList>("args"); // %1 a generated book, %2 a file that is no vCard file
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("err");
    const QString exportUsage = "Usage: qvtool export-vcard PACKAGE FILE [--filter EXPR] [--version 2.1|3.0|4.0]\n";
    const QString importUsage = "Usage: qvtool import-vcard PACKAGE FILE [--category NUMBER] [--check-org-same-name]\n";
    QTest::newRow("export, unknown version") << QStringList{"export-vcard", "%1", "x.vcf", "--version", "5.0"} << 2 << exportUsage;
    QTest::newRow("export, no file") << QStringList{"export-vcard", "%1"} << 2 << exportUsage;
    QTest::newRow("export, folder missing") << QStringList{"export-vcard", "%1", "/nonexistent/x.vcf"} << 1
                                            << "Unable to write to /nonexistent/x.vcf\n";
    QTest::newRow("import, category not a number") << QStringList{"import-vcard", "%1", "%2", "--category", "one"} << 2
                                                   << importUsage;
    QTest::newRow("import, no such category") << QStringList{"import-vcard", "%1", "%2", "--category", "4242"} << 2
                                              << "qvtool: the book has no category 4242\n";
    QTest::newRow("import, no card in the file") << QStringList{"import-vcard", "%1", "%2"} << 1 << "No vCard found in %2.\n";
    QTest::newRow("import, file missing") << QStringList{"import-vcard", "%1", "/nonexistent/x.vcf"} << 1
                                          << "Cannot open file \"/nonexistent/x.vcf\". No such file or directory\n";
}

void TestVCardRoundTrip::toolRefusesWhatItCannotDo()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, err);
    QTemporaryDir dir;
    const QString book = dir.filePath("book.qvp");
    const QString notCards = dir.filePath("notes.txt");
    QCOMPARE(qvtool({"generate", "--persons", "3", "--organisations", "1", book}).exitCode, 0);
    QFile file(notCards);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("hello\r\n") == 7);
    file.close();
    for (QString &arg : args)
        arg.replace("%1", book).replace("%2", notCards);
    const ToolResult r = qvtool(args);
    QCOMPARE(r.exitCode, exitCode);
    QCOMPARE(r.err, QString(err).replace("%2", notCards));
}

void TestVCardRoundTrip::toolLinksTheStoredOrganisation_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<QStringList>("flags");
    QTest::addColumn<QString>("err");
    QTest::newRow("2.1, linked without question") << "2.1" << QStringList() << QString();
    QTest::newRow("4.0, kept after the check")
        << "4.0" << QStringList{"--check-org-same-name"}
        << QString("Acme --- Ann Lee\n%1Acme --- \u738b\u5c0f\u660e\n%1")
               .arg("Info of the existing:\n\n\n111\n\n\n\nInfo of the to-be-imported:\n\n\n999\n\n\n\nkept the existing\n");
}

// Cards naming an organisation the book holds in another letter case are
// linked to it; with --check-org-same-name the tool first shows each one and
// keeps the stored values.
void TestVCardRoundTrip::toolLinksTheStoredOrganisation()
{
    QFETCH(QString, version);
    QFETCH(QStringList, flags);
    QFETCH(QString, err);
    QTemporaryDir dir;
    const QString source = dir.filePath("source.qvp"), target = dir.filePath("target.qvp"), vcf = dir.filePath("out.vcf");
    writeBook(source,
              {test::person({{"ClientID", qint32(2001)}, {"Name", QString("Ann Lee")}, {"Phone", QString("555-1")}, {"OrgID", qint32(7)}}),
               test::person({{"ClientID", qint32(2002)}, {"Name", QString("\u738b\u5c0f\u660e")}, {"OrgID", qint32(7)}})},
              "ACME", "999");
    writeBook(target, {}, "Acme", "111");

    ToolResult r = qvtool({"export-vcard", source, vcf, "--version", version});
    QCOMPARE(r.err, QString());
    QFile written(vcf);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray cards = written.readAll();
    QCOMPARE(cards.count("BEGIN:VCARD\r\nVERSION:" + version.toLatin1() + "\r\n"), 2);

    r = qvtool(QStringList{"import-vcard", target, vcf, "--category", "1001"} + flags);
    QCOMPARE(r.err, err);
    QCOMPARE(r.out, QString("2 entries got imported.\n"));
    r = qvtool({"list", target, "--fields", "Name,Phone,Group1,OrgID"});
    QCOMPARE(r.out, QString("Ann Lee\t555-1\t1001\t7\n\u738b\u5c0f\u660e\t\t1001\t7\n"));
    r = qvtool({"export-csv", target, dir.filePath("out.csv"), "--fields", "Company,CPhone"});
    QFile csv(dir.filePath("out.csv"));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QCOMPARE(csv.readAll(), QByteArray("Acme,111,\r\nAcme,111,\r\n"));
}

QTEST_GUILESS_MAIN(TestVCardRoundTrip)
#include "tst_vcardroundtrip.moc"
