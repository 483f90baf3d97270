// The CSV export, the clipboard line and the CSV import through the
// exchange engine and its commands, on small books in memory.
#include "PersonFixture.h"
#include "ScriptedComparer.h"
#include "ScriptedPrompter.h"

#include "common/Error.h"
#include "data/RecordStore.h"
#include "data/RecordTable.h"
#include "editing/EditModel.h"
#include "exchange/ComparingSameNameCheck.h"
#include "exchange/CsvCommands.h"
#include "exchange/ExchangeEngine.h"
#include "exchange/ImportReport.h"
#include "exchange/OrganisationNames.h"
#include "exchange/csv/ColumnTitles.h"
#include "exchange/csv/CsvFileWriter.h"
#include "exchange/csv/CsvRowLines.h"
#include "exchange/csv/CsvValue.h"
#include "exchange/csv/ImportDate.h"
#include "exchange/csv/ImportMapping.h"
#include "navigation/CategoryTreeModel.h"
#include "settings/Settings.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>

using namespace qv;
using test::person;
using Icon = Prompter::Icon;
using Button = Prompter::Button;
using Choice = OrganisationComparer::Choice;

Q_DECLARE_METATYPE(OrganisationComparer::Choice)
using NameMapping = QList<std::pair<int, std::array<int, 5>>>;
Q_DECLARE_METATYPE(NameMapping)

namespace {

const QList<IniLine> kCatalogue = {{"Name", "Name"},       {"SurName", "Surname"},     {"MidName", "Middle name"},
                                   {"GivenName", "Given name"}, {"Phone", "Home phone"}, {"Birthday", "Birthday"},
                                   {"Memo", "Memo"},       {"Company", "Company"},     {"CAddress", "Work address"},
                                   {"CPhone", "Work phone"}, {"CUpdate", "Work updated"}};

std::vector<Value> organisation(qint32 coId, const QString &company, const QString &phone = {})
{
    std::vector<Value> row(10);
    row[0] = coId;
    row[1] = company.isNull() ? Value() : Value(company);
    if (!phone.isEmpty())
        row[4] = phone;
    return row;
}

// A book with the given persons and the organisations 0 (default, "(none)",
// phone 000) and 2001 "Acme" (phone 111).
struct Book {
    QTemporaryDir dir;
    RecordStore data;
    CategoryTreeModel tree;
    EditModel edit{tree};
    Settings settings{dir.filePath("aa.ini")};
    ExchangeEngine engine{settings, edit, data};

    explicit Book(const std::vector<std::vector<Value>> &persons = {})
    {
        for (const auto &p : persons)
            data.personRead.appendRecord(p);
        data.organisationRead.appendRecord(organisation(0, "(none)", "000"));
        data.organisationRead.appendRecord(organisation(2001, "Acme", "111"));
        data.bindViews();
        data.personList.setLogChanges(true);
        data.organisationList.setLogChanges(true);
        edit.scanPersonTable(data.personList);
        edit.scanOrganisationTable(data.organisationList);
        tree.loadTree("All\r\n\tFriends\r\n\tWork\r\nSearch\r\n", "1000\r\n1001\r\n1002\r\n101\r\n");
        settings.fieldsList = kCatalogue;
        settings.checkOrgSameName = false;
        data.personList.first();
    }

    // Rows of the person table, oldest first, as "field=value" for the named fields.
    QStringList persons(const QStringList &fields)
    {
        QStringList rows;
        const RecordTable &t = *data.personList.table();
        for (int row = 0; row < t.rowSlots(); ++row) {
            if (!t.isAlive(row))
                continue;
            QStringList cells;
            for (const QString &f : fields)
                cells << valueText(t.value(row, t.fieldIndex(f)));
            rows << cells.join('|');
        }
        return rows;
    }

    QStringList companies()
    {
        QStringList names;
        const RecordTable &t = *data.organisationList.table();
        for (int row = 0; row < t.rowSlots(); ++row) {
            if (t.isAlive(row))
                names << valueText(t.value(row, 0)) + ':' + valueText(t.value(row, 1)) + ':' + valueText(t.value(row, 4));
        }
        return names;
    }

    QString write(const QByteArray &bytes)
    {
        const QString path = dir.filePath("in.csv");
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }

    void map(const QList<std::pair<int, std::array<int, 5>>> &rows)
    {
        settings.importFieldMapping = {};
        for (const auto &[line, columns] : rows)
            settings.importFieldMapping[size_t(line)] = columns;
    }
};

// Answers the import dialog with the mapping already in the settings.
class AcceptingChooser : public ImportChooser {
public:
    explicit AcceptingChooser(int position = 0, bool accept = true) : m_position(position), m_accept(accept) {}
    bool choose(ExchangeEngine &) override { return m_accept; }
    int pickedPosition() const override { return m_position; }

private:
    int m_position;
    bool m_accept;
};

// Records the questions an import would ask about a stored organisation.
class RecordingCheck : public SameNameCheck {
public:
    explicit RecordingCheck(bool write = false) : m_write(write) {}
    bool link(const QString &name, const OrganisationValues &values) override
    {
        QStringList texts;
        for (const auto &[field, text] : values)
            texts << field + '=' + text;
        asked << name + " {" + texts.join(',') + '}';
        return m_write;
    }
    QStringList asked;

private:
    bool m_write;
};

// Fails when asked about the named organisation, as a refusing record store
// would; links any other as the compare window's No does.
class FailingCheck : public SameNameCheck {
public:
    FailingCheck(QString failing, SameNameCheck &others) : m_failing(std::move(failing)), m_others(others) {}
    bool link(const QString &name, const OrganisationValues &values) override
    {
        if (name.compare(m_failing, Qt::CaseInsensitive) == 0)
            throw Error("Record refused");
        return m_others.link(name, values);
    }

private:
    QString m_failing;
    SameNameCheck &m_others;
};

class FieldChoice : public ExportFieldChooser {
public:
    std::optional<Choice> answer;
    std::optional<Choice> choose(const QList<IniLine> &, const QList<IniLine> &, bool) override { return answer; }
};

class FailingDevice : public QIODevice {
public:
    explicit FailingDevice(qint64 room) : m_room(room) { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 size) override
    {
        if (size > m_room)
            return -1;
        m_room -= size;
        return size;
    }

private:
    qint64 m_room;
};

const std::vector<std::vector<Value>> kAnnAndBob = {
    person({{"ClientID", qint32(2001)}, {"Name", QString("Ann Lee")}, {"Birthday", QDate(1970, 3, 2)},
            {"Memo", QString("say \"hi\"")}, {"Phone", QString("1, 2")}, {"OrgID", qint32(2001)}}),
    person({{"ClientID", qint32(2002)}, {"Name", QString("Bob Ray")}, {"Memo", QString("plain")},
            {"Phone", QString("line\nbreak")}, {"OrgID", qint32(77)}}),
};

QString rowLine(Book &book, const QStringList &fields, int personRow)
{
    book.engine.selectFields(fields);
    book.data.personList.setRecNo(personRow + 1);
    return book.engine.currentEntryText();
}

} // namespace

class TestCsvExchange : public QObject {
    Q_OBJECT
private slots:
    void values_data();
    void values();
    void rowLines_data();
    void rowLines();
    void exportFile();
    void exportTitlesAndMark();
    void exportIntoMissingFolder();
    void exportFailureKeepsOldFile();
    void failedReplaceLeavesNoTemporaryFile();
    void writeFailureReported();
    void exportCommand();
    void copyCommand();
    void tickedFieldsByName();
    void importDates_data();
    void importDates();
    void importBasics();
    void importNameFromParts();
    void importKeepsEveryWordOfTheName_data();
    void importKeepsEveryWordOfTheName();
    void nameCheckRefused_data();
    void nameCheckRefused();
    void importOrganisations();
    void firstOrganisationOfANameWins();
    void sameNameCheck();
    void sameNameAnswers_data();
    void sameNameAnswers();
    void shortRecordKeepsStoredOrganisation();
    void nothingToCompareLinksWithoutAsking_data();
    void nothingToCompareLinksWithoutAsking();
    void shortRecordsReadEmpty();
    void organisationErrorAsks_data();
    void organisationErrorAsks();
    void refusedRecordEndsImport();
    void blankNamesAndDatesReported();
    void reportTexts_data();
    void reportTexts();
    void columnTitles();
    void titlesOfCommonExports_data();
    void titlesOfCommonExports();
    void titleLines_data();
    void titleLines();
    void pickingAColumnTwice();
    void examples();
    void refusedFile_data();
    void refusedFile();
};

void TestCsvExchange::rowLines_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("line");

    QTest::newRow("name, date, memo") << QStringList{"Name", "Birthday", "Memo"} << 0 << "Ann Lee,\"1970-03-02\",\"say \"\"hi\"\"\",";
    QTest::newRow("comma quoted") << QStringList{"Phone"} << 0 << "\"1, 2\",";
    QTest::newRow("line break quoted") << QStringList{"Phone"} << 1 << "\"line\nbreak\",";
    QTest::newRow("memo always quoted") << QStringList{"Memo"} << 1 << "\"plain\",";
    QTest::newRow("no birthday is the zero date") << QStringList{"Birthday"} << 1 << "\"1899-12-30\",";
    QTest::newRow("no field ticked") << QStringList{} << 0 << "";
    QTest::newRow("empty value") << QStringList{"MidName", "Name"} << 0 << "Ann Lee,,";
    QTest::newRow("organisation fields") << QStringList{"Company", "CPhone"} << 0 << "Acme,111,";
    QTest::newRow("unknown organisation gets the default") << QStringList{"CPhone", "Company"} << 1 << "(none),000,";
    QTest::newRow("integers and Booleans") << QStringList{"ClientID", "Yellow", "OrgID"} << 0 << "2001,2001,,";
}

void TestCsvExchange::values_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("written");

    QTest::newRow("plain") << "Ann Lee" << "Ann Lee,";
    QTest::newRow("empty") << "" << ",";
    QTest::newRow("comma") << "1, 2" << "\"1, 2\",";
    QTest::newRow("quotes doubled") << "say \"hi\"" << "\"say \"\"hi\"\"\",";
    QTest::newRow("LF") << "a\nb" << "\"a\nb\",";
    QTest::newRow("lone CR") << "a\rb" << "\"a\rb\",";
    QTest::newRow("character 26") << "a\x1a" << "\"a\x1a\",";
    // Built from the character: a literal turned into a QString would lose a leading U+FEFF.
    const QString mark(QChar(0xFEFF));
    QTest::newRow("U+FEFF at the start") << mark + "a" << "\"" + mark + "a\",";
    QTest::newRow("U+FEFF further on stays bare") << "a\ufeff" << "a\ufeff,";
}

void TestCsvExchange::values()
{
    QFETCH(QString, value);
    QFETCH(QString, written);
    QString line;
    appendCsvValue(line, value);
    QCOMPARE(line, written);
}

void TestCsvExchange::rowLines()
{
    QFETCH(QStringList, fields);
    QFETCH(int, row);
    QFETCH(QString, line);
    Book book(kAnnAndBob);
    QCOMPARE(rowLine(book, fields, row), line);
}

void TestCsvExchange::exportFile()
{
    Book book(kAnnAndBob);
    book.engine.selectFields({"Memo", "Name", "Company"}); // table order whatever the order named
    const QString path = book.dir.filePath("out.csv");
    book.engine.exportCsv(path, false, false);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("Ann Lee,\"say \"\"hi\"\"\",Acme,\r\nBob Ray,\"plain\",(none),\r\n"));
}

void TestCsvExchange::exportTitlesAndMark()
{
    Book book(kAnnAndBob);
    book.data.personList.setFilter("Name='Bob*'");
    book.engine.selectFields({"Name", "ICQ", "CPhone"});
    const QString path = book.dir.filePath("out.csv");
    book.engine.exportCsv(path, true, true);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    // Labels of the catalogue; a field without one by its name. Only the listed entry.
    QCOMPARE(f.readAll(), QByteArray("\xEF\xBB\xBFName,ICQ,Work phone,\r\nBob Ray,,000,\r\n"));
}

void TestCsvExchange::exportIntoMissingFolder()
{
    Book book(kAnnAndBob);
    book.engine.selectFields({"Name"});
    const QString path = book.dir.filePath("missing/out.csv");
    try {
        book.engine.exportCsv(path, false, false);
        QFAIL("written");
    } catch (const Error &e) {
        QCOMPARE(e.text(), "Unable to write to " + path);
    }
    QCOMPARE(QDir(book.dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void TestCsvExchange::exportFailureKeepsOldFile()
{
    Book book(kAnnAndBob);
    book.engine.selectFields({"Name"});
    QDir(book.dir.path()).mkdir("locked");
    const QString path = book.dir.filePath("locked/out.csv");
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    QFile::setPermissions(book.dir.filePath("locked"), QFile::ReadOwner | QFile::ExeOwner);
    if (QFileInfo(book.dir.filePath("locked")).isWritable())
        QSKIP("running with rights that ignore file permissions");
    QVERIFY_THROWS_EXCEPTION(Error, book.engine.exportCsv(path, false, false));
    try {
        book.engine.exportCsv(path, false, false);
    } catch (const Error &e) {
        QCOMPARE(e.text(), "Unable to write to " + path);
    }
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("old"));
    QCOMPARE(QDir(book.dir.filePath("locked")).entryList(QDir::Files), QStringList{"out.csv"});
    QFile::setPermissions(book.dir.filePath("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// A folder bears the file's name: the export fails with the name, and no
// temporary file stays beside it, whatever the rights of the user running the test.
void TestCsvExchange::failedReplaceLeavesNoTemporaryFile()
{
    Book book(kAnnAndBob);
    book.engine.selectFields({"Name"});
    QVERIFY(QDir(book.dir.path()).mkdir("out.csv"));
    const QString path = book.dir.filePath("out.csv");
    try {
        book.engine.exportCsv(path, false, false);
        QFAIL("written");
    } catch (const Error &e) {
        QCOMPARE(e.text(), "Unable to write to " + path);
    }
    QCOMPARE(QDir(book.dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"out.csv"});
    QVERIFY(QFileInfo(path).isDir());
}

void TestCsvExchange::writeFailureReported()
{
    Book book(kAnnAndBob);
    CsvRowLines lines(*book.data.personList.table(), {1}, *book.data.organisationList.table(), {});
    const std::vector<int> rows(100000, 0);
    FailingDevice full(1000);
    QVERIFY(!writeCsv(full, lines, rows, {}));
    FailingDevice noMark(2);
    QVERIFY(!writeCsv(noMark, lines, {}, {QStringList(), true}));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(writeCsv(buffer, lines, rows, {}));
    QCOMPARE(buffer.data().size(), qsizetype(100000) * 10);
}

void TestCsvExchange::exportCommand()
{
    Book book(kAnnAndBob);
    book.settings.checkedFieldsList = {{"Name", "True"}, {"Phone", "False"}};
    test::ScriptedPrompter prompter;
    FieldChoice chooser;
    const QString path = book.dir.filePath("chosen.csv");
    chooser.answer = ExportFieldChooser::Choice{{{"Name", "False"}, {"Phone", "True"}}, false, true};
    prompter.expectSaveFile(path);
    QList<bool> busy;
    exportCsvCommand(book.engine, book.settings, prompter, chooser, [&](bool on) { busy << on; });
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("\xEF\xBB\xBF\"1, 2\",\r\n\"line\nbreak\",\r\n"));
    QCOMPARE(book.settings.checkedFieldsList, (QList<IniLine>{{"Name", "False"}, {"Phone", "True"}}));
    QVERIFY(book.settings.csvByteOrderMark);
    QCOMPARE(busy, (QList<bool>{true, false}));
    QCOMPARE(prompter.calls().last().save.filter, "Comma Separated Values (*.csv,*.txt)|*.csv;*.txt|Any file (*.*)|*.*");
    QCOMPARE(prompter.calls().last().save.defaultExtension, "csv");

    // Cancel in the save dialog: nothing written, the new choice kept.
    chooser.answer->ticked = {{"Name", "True"}};
    prompter.expectSaveFile(std::nullopt);
    exportCsvCommand(book.engine, book.settings, prompter, chooser, [](bool) {});
    QCOMPARE(book.settings.checkedFieldsList, (QList<IniLine>{{"Name", "True"}}));

    // Nothing listed.
    book.data.personList.setFilter("Name='nobody'");
    prompter.expectMessage("No entry to be exported, please list at least one entry.", Icon::Plain, Button::Ok, Button::Ok);
    exportCsvCommand(book.engine, book.settings, prompter, chooser, [](bool) {});
    QVERIFY(prompter.verifyAllAnswered());
}

void TestCsvExchange::copyCommand()
{
    Book book(kAnnAndBob);
    test::ScriptedPrompter prompter;
    FieldChoice chooser;
    chooser.answer = ExportFieldChooser::Choice{{{"Name", "True"}, {"Birthday", "True"}, {"CPhone", "True"}}, false, false};
    book.data.personList.setRecNo(2);
    QCOMPARE(copyCurrentCommand(book.engine, book.settings, prompter, chooser), QString("Bob Ray,\"1899-12-30\",000,"));
    chooser.answer = ExportFieldChooser::Choice{{}, false, false};
    QCOMPARE(copyCurrentCommand(book.engine, book.settings, prompter, chooser), QString(""));
    chooser.answer.reset();
    QCOMPARE(copyCurrentCommand(book.engine, book.settings, prompter, chooser), std::nullopt);
}

void TestCsvExchange::tickedFieldsByName()
{
    Book book;
    // Looked up by name ignoring case, "true" in any case; other values and unknown keys tick nothing.
    book.engine.selectExportFields({{"cphone", "TRUE"}, {"Name", "true"}, {"Memo", "yes"}, {"Nothing", "True"}});
    QCOMPARE(book.engine.selectedFields(), (QStringList{"Name", "CPhone"}));
}

void TestCsvExchange::importDates_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<bool>("readable");

    QTest::newRow("iso") << "1970-03-02" << "en_US" << QDate(1970, 3, 2) << true;
    QTest::newRow("iso with blanks") << " 1970-03-02 " << "de_DE" << QDate(1970, 3, 2) << true;
    QTest::newRow("german short format") << "31.12.1999" << "de_DE" << QDate(1999, 12, 31) << true;
    QTest::newRow("german by numbers") << "1.2.1999" << "de_DE" << QDate(1999, 2, 1) << true;
    QTest::newRow("us short format") << "12/31/99" << "en_US" << QDate(1999, 12, 31) << true;
    QTest::newRow("us by numbers, four-digit year") << "2/1/1999" << "en_US" << QDate(1999, 2, 1) << true;
    QTest::newRow("us long format") << "Friday, December 31, 1999" << "en_US" << QDate(1999, 12, 31) << true;
    QTest::newRow("zero date is no date") << "1899-12-30" << "en_US" << QDate() << true;
    QTest::newRow("zero date in the locale's form is no date") << "30.12.1899" << "de_DE" << QDate() << true;
    QTest::newRow("empty") << "" << "en_US" << QDate() << true;
    QTest::newRow("no such day") << "1999-02-30" << "en_US" << QDate() << false;
    QTest::newRow("words") << "next week" << "en_US" << QDate() << false;
    QTest::newRow("german date in us locale") << "31.12.1999" << "en_US" << QDate() << false;
}

void TestCsvExchange::importDates()
{
    QFETCH(QString, text);
    QFETCH(QString, locale);
    QFETCH(QDate, date);
    QFETCH(bool, readable);
    const std::optional<QDate> read = parseImportDate(text, QLocale(locale));
    QCOMPARE(read.has_value(), readable);
    if (read)
        QCOMPARE(*read, date);
}

void TestCsvExchange::importBasics()
{
    Book book;
    // Name; three Phone columns; birthday; company; work phone.
    book.map({{0, {1}}, {4, {2, 3, 4}}, {5, {5}}, {7, {6}}, {9, {7}}});
    const QString path = book.write("John Paul Smith,111,,333,1970-03-02,acme,999,\r\n"
                                    "\"Lee, Ann\",,,,\"1899-12-30\",New Co,555\r\n"
                                    "Solo,,,,,,,\r\n");
    test::ScriptedPrompter prompter;
    AcceptingChooser chooser(2); // the second category: Work, 1002... position 2 of the pre-order
    RecordingCheck check;
    prompter.expectOpenFile(path);
    prompter.expectMessage("3 entries got imported.", Icon::Information, Button::Ok, Button::Ok);
    const auto picked = importCsvCommand(book.engine, book.settings, prompter, chooser, check,
                                         [&](int k) { return book.tree.numberAt(k); }, [](bool) {});
    QCOMPARE(picked, 2);
    QVERIFY(!book.engine.isImportFileOpen());
    QCOMPARE(book.persons({"ClientID", "Name", "GivenName", "MidName", "SurName", "Phone", "Birthday", "OrgID", "Group1", "Group2", "Yellow"}),
             (QStringList{"2001|John Paul Smith|John|Paul|Smith|111, 333|1970-03-02|2001|1002|1000|False",
                          "2002|Lee, Ann|Lee||Ann|||2002|1002|1000|False",
                          "2003|Solo|Solo|||||2003|1002|1000|False"}));
    // Acme found ignoring case keeps its phone; New Co is created with its own; an empty company gets an auto organisation.
    QCOMPARE(book.companies(), (QStringList{"0:(none):000", "2001:Acme:111", "2002:New Co:555", "2003:QV Auto Org 2003:"}));
    QVERIFY(check.asked.isEmpty());
}

void TestCsvExchange::importNameFromParts()
{
    Book book;
    book.map({{1, {1}}, {2, {2}}, {3, {3}}});
    test::ScriptedPrompter prompter;
    AcceptingChooser chooser;
    RecordingCheck check;
    prompter.expectOpenFile(book.write("Smith,,John\r\nLee,Q,Ann\r\n\xe7\x8e\x8b,,\xe5\xb0\x8f\xe6\x98\x8e\r\n"));
    prompter.expectMessage("3 entries got imported.", Icon::Information, Button::Ok, Button::Ok);
    importCsvCommand(book.engine, book.settings, prompter, chooser, check, [](int) { return 1000; }, [](bool) {});
    QCOMPARE(book.persons({"Name", "Group1", "OrgID"}),
             (QStringList{"John Smith|1000|0", "Ann Q Lee|1000|0", "\u738b\u5c0f\u660e|1000|0"}));
}

void TestCsvExchange::importKeepsEveryWordOfTheName_data()
{
    QTest::addColumn<NameMapping>("mapping");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("entries"); // Name, GivenName, MidName, SurName
    QTest::addColumn<QString>("report");
    const QByteArray longName = "Maximilian " + QByteArray("Alexander Friedrich ").repeated(14) + "Hohenzollern"; // 303 characters
    QTest::newRow("from Name: particles, middle words, a name wider than Name")
        << NameMapping{{0, {1}}} << "Anna Maria del Rio\r\nAnna Maria Luisa Schmidt\r\n" + longName + "\r\n"
        << QStringList{"Anna Maria del Rio|Anna|Maria|del Rio", "Anna Maria Luisa Schmidt|Anna|Maria Luis|Schmidt",
                       "Maximilian Alexander Friedrich Alexander Friedrich|Maximilian|Alexander|Hohenzollern"}
        << "3 entries got imported.\n2 names were too long for their fields and were cut.";
    QTest::newRow("from parts: a given name wider than its field")
        << NameMapping{{1, {1}}, {2, {2}}, {3, {3}}} << QByteArray("Smith,,Maximilian Alexander Friedrich Wilhelm\r\nLee,,Ann\r\n")
        << QStringList{"Maximilian Alexander Friedrich Smith|Maximilian Alexander Friedrich||Smith", "Ann Lee|Ann||Lee"}
        << "2 entries got imported.\n1 name was too long for its fields and was cut.";
    QTest::newRow("from parts: a composed name wider than Name")
        << NameMapping{{1, {1}}, {2, {2}}, {3, {3}}} << QByteArray("Hohenzollern-Sigmaringen,Wilhelm,Maximilian Alexander Friedrich\r\n")
        << QStringList{"Maximilian Alexander Friedrich Wilhelm Hohenzoller|Maximilian Alexander Friedrich|Wilhelm|Hohenzollern-Sigmaringen"}
        << "1 entries got imported.\n1 name was too long for its fields and was cut.";
}

void TestCsvExchange::importKeepsEveryWordOfTheName()
{
    QFETCH(NameMapping, mapping);
    QFETCH(QByteArray, file);
    QFETCH(QStringList, entries);
    QFETCH(QString, report);
    Book book;
    book.map(mapping);
    test::ScriptedPrompter prompter;
    AcceptingChooser chooser;
    RecordingCheck check;
    prompter.expectOpenFile(book.write(file));
    prompter.expectMessage(report, Icon::Information, Button::Ok, Button::Ok);
    importCsvCommand(book.engine, book.settings, prompter, chooser, check, [](int) { return 1000; }, [](bool) {});
    QCOMPARE(book.persons({"Name", "GivenName", "MidName", "SurName"}), entries);
}

void TestCsvExchange::nameCheckRefused_data()
{
    QTest::addColumn<QList<int>>("lines"); // catalogue lines given column 1
    QTest::newRow("name and surname") << QList<int>{0, 1};
    QTest::newRow("surname only") << QList<int>{1};
    QTest::newRow("given name only") << QList<int>{3};
    QTest::newRow("middle name only") << QList<int>{2};
    QTest::newRow("nothing") << QList<int>{};
}

void TestCsvExchange::nameCheckRefused()
{
    QFETCH(QList<int>, lines);
    Book book;
    book.settings.importFieldMapping = {};
    for (int line : lines)
        book.settings.importFieldMapping[size_t(line)][0] = 1;
    test::ScriptedPrompter prompter;
    AcceptingChooser chooser;
    RecordingCheck check;
    prompter.expectOpenFile(book.write("a,b,c\r\n"));
    prompter.expectMessage("Either Name or Surname+GivenName(+MidName) should be selected to make sense.", Icon::Information,
                           Button::Ok, Button::Ok);
    importCsvCommand(book.engine, book.settings, prompter, chooser, check, [](int) { return 1000; }, [](bool) {});
    QCOMPARE(book.persons({"Name"}), QStringList());
    QVERIFY(!book.engine.isImportFileOpen());
}

void TestCsvExchange::importOrganisations()
{
    Book book;
    book.map({{0, {1}}, {7, {2}}, {8, {3}}, {10, {4}}});
    test::ScriptedPrompter prompter;
    AcceptingChooser chooser;
    RecordingCheck check;
    // Companies differing in case are one; the work date is read; no Company column means no organisation.
    prompter.expectOpenFile(book.write("A,Globex,Street 1,2020-01-02\r\nB,GLOBEX,Street 2,\r\nC, globex ,x,\r\n"));
    prompter.expectMessage("3 entries got imported.", Icon::Information, Button::Ok, Button::Ok);
    importCsvCommand(book.engine, book.settings, prompter, chooser, check, [](int) { return 1000; }, [](bool) {});
    QCOMPARE(book.persons({"Name", "OrgID"}), (QStringList{"A|2002", "B|2002", "C|2002"}));
    const RecordTable &orgs = *book.data.organisationList.table();
    QCOMPARE(orgs.liveRowCount(), 3);
    QCOMPARE(valueText(orgs.value(2, 2)), "Street 1");
    QCOMPARE(valueText(orgs.value(2, 8)), "2020-01-02");

    book.map({{0, {1}}});
    prompter.expectOpenFile(book.write("D,Globex\r\n"));
    prompter.expectMessage("1 entries got imported.", Icon::Information, Button::Ok, Button::Ok);
    importCsvCommand(book.engine, book.settings, prompter, chooser, check, [](int) { return 1000; }, [](bool) {});
    QCOMPARE(book.persons({"Name", "OrgID"}).last(), "D|0");
}

void TestCsvExchange::firstOrganisationOfANameWins()
{
    Book book;
    OrganisationNames names(book.data.organisationList);
    QCOMPARE(names.coIdOf("ACME"), 2001);
    names.add("acme", 3001); // a later organisation of that name
    QCOMPARE(names.coIdOf("Acme"), 2001);
    names.add("Acme Two", 3002);
    QCOMPARE(names.coIdOf("acme two"), 3002);
    QCOMPARE(names.coIdOf("Nobody"), -1);
}

void TestCsvExchange::sameNameCheck()
{
    Book book;
    book.settings.checkOrgSameName = true;
    book.map({{0, {1}}, {7, {2}}, {9, {3, 4}}, {10, {5}}});
    test::ScriptedPrompter prompter;
    AcceptingChooser chooser;
    RecordingCheck keep(false);
    prompter.expectOpenFile(book.write("A,ACME,222,223,2020-01-02\r\nB,Newco,333,,\r\nC,newco,444,,\r\n"));
    prompter.expectMessage("3 entries got imported.", Icon::Information, Button::Ok, Button::Ok);
    importCsvCommand(book.engine, book.settings, prompter, chooser, keep, [](int) { return 1000; }, [](bool) {});
    // Asked for the stored Acme and for the Newco this import made; dates are not compared.
    QCOMPARE(keep.asked, (QStringList{"ACME {CPhone=222, 223}", "newco {CPhone=444}"}));
    QCOMPARE(book.companies(), (QStringList{"0:(none):000", "2001:Acme:111", "2002:Newco:333"}));

    RecordingCheck replace(true);
    prompter.expectOpenFile(book.write("D,acme,999,,\r\n"));
    prompter.expectMessage("1 entries got imported.", Icon::Information, Button::Ok, Button::Ok);
    importCsvCommand(book.engine, book.settings, prompter, chooser, replace, [](int) { return 1000; }, [](bool) {});
    QCOMPARE(replace.asked, QStringList{"acme {CPhone=999}"});
}

// A record that stops before a compared column says nothing of the stored
// organisation: it is linked without question, and its values and date stay
// (Yes would have emptied them).
void TestCsvExchange::shortRecordKeepsStoredOrganisation()
{
    Book book;
    book.settings.checkOrgSameName = true;
    book.map({{0, {1}}, {7, {2}}, {9, {3, 4}}, {10, {5}}});
    test::ScriptedPrompter prompter;
    test::ScriptedComparer comparer;
    comparer.answers = {Choice::Replace, Choice::Replace};
    ComparingSameNameCheck check(book.edit, prompter, comparer);
    AcceptingChooser chooser;
    prompter.expectOpenFile(book.write("A,ACME,222,223,2020-01-02\r\nB,acme,999\r\nC,Acme,444,445\r\n"));
    prompter.expectMessage("3 entries got imported.", Icon::Information, Button::Ok, Button::Ok);
    importCsvCommand(book.engine, book.settings, prompter, chooser, check, [](int) { return 1000; }, [](bool) {});
    QCOMPARE(comparer.shown.size(), 2); // A and C
    QCOMPARE(book.persons({"Name", "OrgID"}), (QStringList{"A|2001", "B|2001", "C|2001"}));
    // C reaches both phone columns but not the date column: the date A wrote stays.
    QCOMPARE(book.companies().value(1), "2001:Acme:444, 445");
    const RecordTable &orgs = *book.data.organisationList.table();
    QCOMPARE(valueText(orgs.value(1, 8)), QString("2020-01-02"));
}

void TestCsvExchange::nothingToCompareLinksWithoutAsking_data()
{
    QTest::addColumn<int>("line");   // the catalogue line mapped to column 3 besides Name and Company; 0 for none
    QTest::addColumn<QByteArray>("record");
    QTest::newRow("no organisation values beyond the name") << 0 << QByteArray("A,acme\r\n");
    QTest::newRow("an empty value") << 9 << QByteArray("A,acme,,\r\n");
    QTest::newRow("the value the stored one holds") << 9 << QByteArray("A,ACME,111\r\n");
    QTest::newRow("a date alone, which the window leaves out") << 10 << QByteArray("A,acme,2020-01-02\r\n");
}

// With nothing to set against the stored organisation the compare window
// would show empty panes: the person is linked without a question, and the
// stored values and date stay.
void TestCsvExchange::nothingToCompareLinksWithoutAsking()
{
    QFETCH(int, line);
    QFETCH(QByteArray, record);
    Book book;
    book.settings.checkOrgSameName = true;
    book.map({{0, {1}}, {7, {2}}});
    if (line > 0)
        book.settings.importFieldMapping[size_t(line)] = {3};
    test::ScriptedPrompter prompter;
    test::ScriptedComparer comparer; // no answers: a comparison fails the test
    ComparingSameNameCheck check(book.edit, prompter, comparer);
    AcceptingChooser chooser;
    prompter.expectOpenFile(book.write(record));
    prompter.expectMessage("1 entries got imported.", Icon::Information, Button::Ok, Button::Ok);
    importCsvCommand(book.engine, book.settings, prompter, chooser, check, [](int) { return 1000; }, [](bool) {});
    QVERIFY(prompter.verifyAllAnswered());
    QCOMPARE(comparer.shown.size(), 0);
    QCOMPARE(book.persons({"Name", "OrgID"}), QStringList{"A|2001"});
    QCOMPARE(book.companies(), (QStringList{"0:(none):000", "2001:Acme:111"}));
    QCOMPARE(book.data.organisationList.table()->value(1, 8), Value());
}

void TestCsvExchange::sameNameAnswers_data()
{
    QTest::addColumn<QList<Choice>>("choices");
    QTest::addColumn<QStringList>("inputs"); // answers to "Rename the Imported Org"
    QTest::addColumn<QStringList>("persons"); // Name|OrgID
    QTest::addColumn<QStringList>("companies"); // CoID:Company:CPhone:CUpdate
    // The first record makes Globex, the second names the stored Acme, the
    // third names what a rename of the second would have made.
    const QStringList none{"0:(none):000:"};
    QTest::newRow("Yes writes the values and the date")
        << QList<Choice>{Choice::Replace} << QStringList() << QStringList{"G|2002", "A|2001", "B|2003"}
        << none + QStringList{"2001:Acme:222:2020-01-02", "2002:Globex:333:", "2003:acme east:444:"};
    QTest::newRow("No keeps the stored values")
        << QList<Choice>{Choice::Keep} << QStringList() << QStringList{"G|2002", "A|2001", "B|2003"}
        << none + QStringList{"2001:Acme:111:", "2002:Globex:333:", "2003:acme east:444:"};
    QTest::newRow("Change to a new name creates it with the values, and later records find it")
        << QList<Choice>{Choice::Rename, Choice::Keep} << QStringList{"Acme East"} << QStringList{"G|2002", "A|2003", "B|2003"}
        << none + QStringList{"2001:Acme:111:", "2002:Globex:333:", "2003:Acme East:222:2020-01-02"};
    QTest::newRow("Change to another stored name compares that one")
        << QList<Choice>{Choice::Rename, Choice::Replace} << QStringList{"globex"} << QStringList{"G|2002", "A|2002", "B|2003"}
        << none + QStringList{"2001:Acme:111:", "2002:Globex:222:2020-01-02", "2003:acme east:444:"};
}

// The import asks through the compare window and honours each answer; a
// new organisation takes the imported date too, which the window leaves out.
void TestCsvExchange::sameNameAnswers()
{
    QFETCH(QList<Choice>, choices);
    QFETCH(QStringList, inputs);
    QFETCH(QStringList, persons);
    QFETCH(QStringList, companies);
    Book book;
    book.settings.checkOrgSameName = true;
    book.map({{0, {1}}, {7, {2}}, {9, {3}}, {10, {4}}});
    test::ScriptedPrompter prompter;
    prompter.expectOpenFile(book.write("G,Globex,333,\r\nA,ACME,222,2020-01-02\r\nB,acme east,444,\r\n"));
    for (const QString &answer : inputs)
        prompter.expectInput("Rename the Imported Org", "", answer);
    test::ScriptedComparer comparer;
    comparer.answers = choices;
    ComparingSameNameCheck check(book.edit, prompter, comparer);
    AcceptingChooser chooser;
    prompter.expectMessage("3 entries got imported.", Icon::Information, Button::Ok, Button::Ok);
    importCsvCommand(book.engine, book.settings, prompter, chooser, check, [](int) { return 1000; }, [](bool) {});
    QVERIFY(prompter.verifyAllAnswered());
    QVERIFY(comparer.answers.isEmpty());
    QCOMPARE(comparer.shown.first().heading, QString("Acme --- A"));
    QCOMPARE(comparer.shown.first().imported, QString("Info of the to-be-imported:\n222"));
    QCOMPARE(book.persons({"Name", "OrgID"}), persons);
    QStringList stored;
    const RecordTable &orgs = *book.data.organisationList.table();
    for (int row = 0; row < orgs.rowSlots(); ++row) {
        if (orgs.isAlive(row))
            stored << QStringList{valueText(orgs.value(row, 0)), valueText(orgs.value(row, 1)), valueText(orgs.value(row, 4)),
                                  valueText(orgs.value(row, 8))}
                          .join(':');
    }
    QCOMPARE(stored, companies);
}

void TestCsvExchange::shortRecordsReadEmpty()
{
    Book book;
    book.map({{0, {1}}, {4, {3, 4}}, {5, {5}}, {7, {6}}});
    test::ScriptedPrompter prompter;
    AcceptingChooser chooser;
    RecordingCheck check;
    // Programs leave out empty values at the end; the export's trailing comma
    // opens none. A record that stops before the Company column names no
    // organisation, unlike an empty company value, which gets an auto organisation.
    prompter.expectOpenFile(book.write("A,x,1,2,1970-01-01,Acme\r\nB,y,\r\nC,z,3\r\nD,w,,,,,\r\n"));
    prompter.expectMessage("4 entries got imported.", Icon::Information, Button::Ok, Button::Ok);
    importCsvCommand(book.engine, book.settings, prompter, chooser, check, [](int) { return 1000; }, [](bool) {});
    QCOMPARE(book.persons({"Name", "Phone", "Birthday", "OrgID"}),
             (QStringList{"A|1, 2|1970-01-01|2001", "B|||0", "C|3||0", "D|||2002"}));
    QCOMPARE(book.companies(), (QStringList{"0:(none):000", "2001:Acme:111", "2002:QV Auto Org 2004:"}));
}

void TestCsvExchange::organisationErrorAsks_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("persons");
    QTest::addColumn<QString>("count");
    QTest::newRow("Yes goes on with the next record") << int(Button::Yes) << QStringList{"A|2002", "C|2002"} << "2 entries got imported.";
    QTest::newRow("No ends the import") << int(Button::No) << QStringList{"A|2002"} << "1 entries got imported.";
}

// An error while linking the organisation asks whether to go on; the record
// is undone either way and not counted.
void TestCsvExchange::organisationErrorAsks()
{
    QFETCH(int, answer);
    QFETCH(QStringList, persons);
    QFETCH(QString, count);
    Book book;
    book.settings.checkOrgSameName = true;
    book.map({{0, {1}}, {7, {2}}, {9, {3}}});
    test::ScriptedPrompter prompter;
    AcceptingChooser chooser;
    test::ScriptedComparer comparer;
    comparer.answers = {Choice::Keep};
    ComparingSameNameCheck others(book.edit, prompter, comparer);
    FailingCheck check("Acme", others);
    prompter.expectOpenFile(book.write("A,Globex,1\r\nB,acme,2\r\nC,globex,3\r\n"));
    prompter.expectMessage("Record refused while importing entries 1. This may be due to invalid format of the imported file. Continue?",
                           Icon::Warning, Button::Yes | Button::No, Button(answer));
    prompter.expectMessage(count, Icon::Information, Button::Ok, Button::Ok);
    importCsvCommand(book.engine, book.settings, prompter, chooser, check, [](int) { return 1000; }, [](bool) {});
    QVERIFY(prompter.verifyAllAnswered());
    QCOMPARE(book.persons({"Name", "OrgID"}), persons);
    QCOMPARE(book.companies(), (QStringList{"0:(none):000", "2001:Acme:111", "2002:Globex:1"}));
    QCOMPARE(book.data.personList.state(), TableView::State::Browse);
}

void TestCsvExchange::refusedRecordEndsImport()
{
    Book book;
    book.map({{0, {1}}});
    test::ScriptedPrompter prompter;
    AcceptingChooser chooser;
    RecordingCheck check;
    const QString path = book.write("A\r\n" + QByteArray(10000, ',') + "x\r\nC\r\n");
    prompter.expectOpenFile(path);
    prompter.expectMessage("Line 2 of " + path + " holds more than 10,000 values while importing entries ", Icon::Information,
                           Button::Ok, Button::Ok);
    prompter.expectMessage("1 entries got imported.", Icon::Information, Button::Ok, Button::Ok);
    importCsvCommand(book.engine, book.settings, prompter, chooser, check, [](int) { return 1000; }, [](bool) {});
    QCOMPARE(book.persons({"Name"}), QStringList{"A"});
    QCOMPARE(book.data.personList.state(), TableView::State::Browse);
}

void TestCsvExchange::blankNamesAndDatesReported()
{
    Book book;
    book.map({{0, {1}}, {5, {2}}});
    test::ScriptedPrompter prompter;
    AcceptingChooser chooser;
    RecordingCheck check;
    prompter.expectOpenFile(book.write("A,someday\r\n  ,1970-01-01\r\n\r\n,,\r\nB,1970-01-01\r\nC,31/31/1999\r\n"));
    prompter.expectMessage("3 entries got imported.\n2 records were skipped because their names were blank.\n"
                           "2 dates could not be read and were left empty.",
                           Icon::Information, Button::Ok, Button::Ok);
    importCsvCommand(book.engine, book.settings, prompter, chooser, check, [](int) { return 1000; }, [](bool) {});
    QCOMPARE(book.persons({"ClientID", "Name", "Birthday"}), (QStringList{"2001|A|", "2004|B|1970-01-01", "2005|C|"}));
}

void TestCsvExchange::reportTexts_data()
{
    QTest::addColumn<int>("imported");
    QTest::addColumn<int>("blankNames");
    QTest::addColumn<int>("unreadableDates");
    QTest::addColumn<int>("cutNames");
    QTest::addColumn<QString>("text");

    QTest::newRow("nothing skipped") << 2 << 0 << 0 << 0 << "2 entries got imported.";
    QTest::newRow("one blank name") << 1 << 1 << 0 << 0 << "1 entries got imported.\n1 record was skipped because its name was blank.";
    QTest::newRow("one unreadable date") << 0 << 0 << 1 << 0 << "0 entries got imported.\n1 date could not be read and was left empty.";
    QTest::newRow("one name cut") << 1 << 0 << 0 << 1 << "1 entries got imported.\n1 name was too long for its fields and was cut.";
    QTest::newRow("names cut, after the others") << 5 << 2 << 2 << 3
                                                 << "5 entries got imported.\n2 records were skipped because their names were blank.\n"
                                                    "2 dates could not be read and were left empty.\n"
                                                    "3 names were too long for their fields and were cut.";
}

void TestCsvExchange::reportTexts()
{
    QFETCH(int, imported);
    QFETCH(int, blankNames);
    QFETCH(int, unreadableDates);
    QFETCH(int, cutNames);
    QFETCH(QString, text);
    ImportReport report;
    report.imported = imported;
    report.blankNames = blankNames;
    report.unreadableDates = unreadableDates;
    report.cutNames = cutNames;
    QCOMPARE(report.text(), text);
}

void TestCsvExchange::columnTitles()
{
    Book book;
    const QString path = book.write("First Name,Last Name,E-mail Address,Company,Business Phone,Whatever\r\nAnn,Lee,a@b,Acme,9\r\n");
    book.engine.openImportFile(path);
    QVERIFY(book.engine.firstLineHoldsTitles());
    const ImportFieldMapping mapping = book.engine.mappingFromTitles();
    QCOMPARE(mapping[0][0], 0); // Name
    QCOMPARE(mapping[1][0], 2); // SurName
    QCOMPARE(mapping[3][0], 1); // GivenName
    QCOMPARE(mapping[7][0], 4); // Company
    QCOMPARE(mapping[9][0], 5); // CPhone
    QCOMPARE(book.engine.nextExample(), (QStringList{"1  Ann", "2  Lee", "3  a@b", "4  Acme", "5  9"}));

    book.settings.importFieldMapping = mapping;
    RecordingCheck check;
    test::ScriptedPrompter prompter;
    QCOMPARE(book.engine.importCsv(1000, check, prompter).imported, 1);
    QCOMPARE(book.persons({"Name"}), QStringList{"Ann Lee"});

    // Unticked, the titles are an entry like any other.
    book.engine.setFirstLineHoldsTitles(false);
    QCOMPARE(book.engine.nextExample().first(), "1  First Name");
    book.engine.closeImportFile();

    // A line of names is no line of titles; a name alone is both a title and a name.
    book.engine.openImportFile(book.write("Ann Lee,Company,555\r\n"));
    QVERIFY(!book.engine.firstLineHoldsTitles());
    book.engine.openImportFile(book.write("Name,Company,Notes\r\nAnn Lee,Acme,x\r\n"));
    QVERIFY(book.engine.firstLineHoldsTitles());
    QCOMPARE(book.engine.mappingFromTitles()[0][0], 1);
}

void TestCsvExchange::titlesOfCommonExports_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("field");

    for (const auto &[title, field] : QList<std::pair<const char *, const char *>>{
             {"First Name", "GivenName"},        {"Middle Name", "MidName"},           {"Last Name", "SurName"},
             {"Given Name", "GivenName"},        {"Family Name", "SurName"},           {"E-mail Address", "EMail"},
             {"E-mail 1 - Value", "EMail"},      {"Mobile Phone", "Mobile"},           {"Home Phone", "Phone"},
             {"Business Phone", "CPhone"},       {"Phone 1 - Value", "Phone"},         {"Company", "Company"},
             {"Organization Name", "Company"},   {"Job Title", "Position"},            {"Home Street", "Address"},
             {"Business Street", "CAddress"},    {"Birthday", "Birthday"},             {"Notes", "Memo"},
             {" mobile PHONE ", "Mobile"},       {"Work e-mail", "CEMail"},            {"cemail", "CEMail"},
             {"Whatever", ""}})
        QTest::newRow(title) << title << field;
}

void TestCsvExchange::titlesOfCommonExports()
{
    QFETCH(QString, title);
    QFETCH(QString, field);
    const QList<IniLine> catalogue = {{"Name", "Name"},       {"SurName", "Surname"},     {"MidName", "Middle name"},
                                      {"GivenName", "Given name"}, {"Position", "Position"}, {"Address", "Home address"},
                                      {"EMail", "E-mail"},    {"Phone", "Home phone"},    {"Mobile", "Mobile"},
                                      {"Birthday", "Birthday"}, {"Memo", "Memo"},         {"Company", "Company"},
                                      {"CAddress", "Work address"}, {"CPhone", "Work phone"}, {"CEMail", "Work e-mail"}};
    const int line = ColumnTitles(catalogue).catalogueLineOf(title);
    QCOMPARE(line < 0 ? QString() : catalogue[line].key, field);
}

void TestCsvExchange::titleLines_data()
{
    QTest::addColumn<QStringList>("record");
    QTest::addColumn<bool>("titles");
    QTest::addColumn<QList<int>>("firstColumns"); // of Name, SurName, MidName, GivenName

    QTest::newRow("half of the values are no titles") << QStringList{"Ann Lee", "Memo"} << false << QList<int>{0, 0, 0, 0};
    QTest::newRow("most values are titles") << QStringList{"Name", "Memo", "x"} << true << QList<int>{1, 0, 0, 0};
    QTest::newRow("empty values do not count") << QStringList{"", "Name", " "} << true << QList<int>{2, 0, 0, 0};
    QTest::newRow("whole name and surname: the whole name kept")
        << QStringList{"Last Name", "Name", "Memo"} << true << QList<int>{2, 0, 0, 0};
    QTest::newRow("whole name and all parts: the parts kept")
        << QStringList{"Name", "First Name", "Middle Name", "Last Name"} << true << QList<int>{0, 4, 3, 2};
}

void TestCsvExchange::titleLines()
{
    QFETCH(QStringList, record);
    QFETCH(bool, titles);
    QFETCH(QList<int>, firstColumns);
    const ColumnTitles columnTitles(kCatalogue);
    QCOMPARE(columnTitles.areTitles(record), titles);
    const ImportFieldMapping mapping = columnTitles.mappingOf(record);
    QCOMPARE((QList<int>{mapping[0][0], mapping[1][0], mapping[2][0], mapping[3][0]}), firstColumns);
    QVERIFY(!titles || firstColumns == (QList<int>{0, 0, 0, 0}) || nameMappingMakesSense(mapping));
}

void TestCsvExchange::pickingAColumnTwice()
{
    MappedColumns columns{};
    assignColumn(columns, 3);
    assignColumn(columns, 3);
    assignColumn(columns, 1);
    QCOMPARE(columns, (MappedColumns{3, 1, 0, 0, 0}));
    columns = {1, 2, 3, 4, 5};
    assignColumn(columns, 6); // five at most
    QCOMPARE(columns, (MappedColumns{1, 2, 3, 4, 5}));
}

void TestCsvExchange::examples()
{
    Book book;
    book.engine.openImportFile(book.write("a,b\r\nc\r\n"));
    QCOMPARE(book.engine.nextExample(), (QStringList{"1  a", "2  b"}));
    QCOMPARE(book.engine.nextExample(), QStringList{"1  c"});
    QCOMPARE(book.engine.nextExample(), QStringList{"1  c"}); // at the end: unchanged
    QCOMPARE(book.engine.nextExample(), (QStringList{"1  a", "2  b"})); // then the first again
}

void TestCsvExchange::refusedFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::newRow("0 bytes") << QByteArray() << "%1 is empty: there is nothing to import.";
    QTest::newRow("not text") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << "%1 is not a text file.";
}

void TestCsvExchange::refusedFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    Book book;
    const QString path = book.write(bytes);
    try {
        book.engine.openImportFile(path);
        QFAIL("opened");
    } catch (const Error &e) {
        QCOMPARE(e.text(), message.arg(path));
    }
    QVERIFY(!book.engine.isImportFileOpen());
}

QTEST_GUILESS_MAIN(TestCsvExchange)
#include "tst_csvexchange.moc"
