// A generated book with Western and Chinese names exported as vCards in each version and imported into an
// empty book: every field the export writes comes back as it was.
#include "ScriptedPrompter.h"

#include "data/BookGenerator.h"
#include "data/RecordStore.h"
#include "data/RecordTable.h"
#include "editing/EditModel.h"
#include "editing/OrganisationSameName.h"
#include "exchange/vcard/EntryCards.h"
#include "exchange/vcard/VCardFile.h"
#include "exchange/vcard/VCardImport.h"
#include "navigation/CategoryTreeModel.h"

#include <QHash>
#include <QTemporaryDir>
#include <QTest>

using namespace qv;
using namespace qv::vcard;

Q_DECLARE_METATYPE(qv::vcard::VCardVersion)

namespace {

const QStringList kPersonFields = {"Name", "SurName", "GivenName", "MidName", "Position", "Phone", "Mobile", "Pager",
                                   "DPhone", "Fax", "EMail", "Birthday", "Address", "Zip", "Memo"};
const QStringList kOrganisationFields = {"Company", "CAddress", "CZip", "CPhone", "CFax", "CEMail", "CMemo"};

struct Book {
    RecordStore data;
    CategoryTreeModel tree;
    EditModel edit{tree};

    explicit Book(const GeneratedBook &content)
    {
        data.personRead.loadTable(content.persons);
        data.organisationRead.loadTable(content.organisations);
        data.bindViews();
        data.personList.setLogChanges(true);
        data.organisationList.setLogChanges(true);
        edit.scanPersonTable(data.personList);
        edit.scanOrganisationTable(data.organisationList);
        tree.loadTree("All\r\nSearch\r\n", "1000\r\n101\r\n");
    }
};

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

// Each person's exported fields, then its organisation's, as texts.
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
        const int org = organisationRows.value(valueText(persons.value(row, persons.fieldIndex("OrgID"))), -1);
        for (const QString &field : kOrganisationFields)
            values << (org < 0 ? QStringLiteral("?") : valueText(organisations.value(org, organisations.fieldIndex(field))));
        texts << values.join(u'|');
    }
    return texts;
}

class KeepingComparer : public OrganisationComparer {
public:
    Choice compare(const OrganisationComparison &) override { return Choice::Keep; }
};

} // namespace

class TestVCardRoundTrip : public QObject {
    Q_OBJECT
private slots:
    void everyExportedFieldComesBack_data();
    void everyExportedFieldComesBack();
};

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

QTEST_GUILESS_MAIN(TestVCardRoundTrip)
#include "tst_vcardroundtrip.moc"
