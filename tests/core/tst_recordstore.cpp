#include "PersonFixture.h"

#include "data/RecordStore.h"
#include "data/DatabaseError.h"
#include "data/RecordTable.h"
#include "data/TableFile.h"

#include <QCollator>
#include <QTest>

#include <cstdio>
#include <new>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace qv;
using test::person;

namespace {

QByteArray tableBytes(const QList<FieldDef> &fields, const std::vector<std::vector<Value>> &rows)
{
    RecordTable t(fields);
    for (const auto &r : rows)
        t.insertRow(r);
    return writeTableBytes(t);
}

// Every live row of the view's table, in row order, as text: what a rollback must restore.
QString contents(const TableView &view)
{
    QStringList lines;
    const RecordTable &t = *view.table();
    for (int row = 0; row < t.rowSlots(); ++row) {
        if (!t.isAlive(row))
            continue;
        QStringList cells;
        for (const Value &v : t.rowValues(row))
            cells << valueText(v);
        lines << cells.join('|');
    }
    return lines.join('\n');
}

QStringList names(TableView &view)
{
    QStringList list;
    for (view.first(); !view.atEnd(); view.next())
        list << view.text("Name");
    return list;
}

void loadFixture(RecordStore &data)
{
    data.personRead.loadFromBytes(tableBytes(personFields(), test::filterFixture()));
    std::vector<Value> def(10), acme(10);
    def[0] = qint32(0);
    def[1] = QString("(No organisation)");
    acme[0] = qint32(2002);
    acme[1] = QString("Acme Ltd");
    data.organisationRead.loadFromBytes(tableBytes(organisationFields(), {def, acme}));
    data.bindViews();
}

} // namespace

class TestRecordStore : public QObject {
    Q_OBJECT
private slots:
    void schemas();
    void emptyBeforeAnyBook();
    void changeLog_data();
    void changeLog();
    void readingTheCounterPostsAnOpenRow();
    void rollbackCancelsAnOpenRow();
    void mergeResetsTheCounter();
    void viewsShareRows();
    void bindingKeepsOrTakesOverSettings();
    void workBoxFollowsThePerson();
    void savingAFilteredViewWritesEveryRow();
    void roundTripKeepsEveryValue();
    void savedBytesAreExact();
    void loadedThenSavedBytesAreExact_data();
    void loadedThenSavedBytesAreExact();
    void columnMemoryRunningOutIsAnError();
    void readingThatReleasesTheBytes();
    void earlyFieldsAreReadyFirst_data();
    void earlyFieldsAreReadyFirst();
    void loadedColumnsOutgrowTheirMemory();
    void loneSurrogatesStayInTheirRow();
    void brokenUtf8OutgrowsTheCountedRoom();
    void columnBuffersStayInsideTheirArena();
    void loadedRoomNoRowUsesIsReclaimed_data();
    void loadedRoomNoRowUsesIsReclaimed();
    void numbersKeepTheirWholeRange();
    void oldFormatTableNeedsItsOwnOrder();
    void badTableFiles_data();
    void badTableFiles();
    void truncatedAnywhere();
    void textCellsThroughEditsAndRollback_data();
    void textCellsThroughEditsAndRollback();
    void loadedTextsKeepTheirBounds_data();
    void loadedTextsKeepTheirBounds();
    void caseFoldedCopyFollowsTheColumn_data();
    void caseFoldedCopyFollowsTheColumn();
    void loadedOrderFollowsTheCollation_data();
    void loadedOrderFollowsTheCollation();
    void loadedOrderByNumbers_data();
    void loadedOrderByNumbers();
    void textIsCutToTheFieldWidth_data();
    void textIsCutToTheFieldWidth();
    void loadedTextIsCutToTheFieldWidth_data();
    void loadedTextIsCutToTheFieldWidth();
    void locate_data();
    void locate();
    void bookmarks();
    void indexOrder();
    void orderStaysSortedThroughManyNewTexts();
    void orderBatch();
    void cursorMoves();
    void deleteMovesToTheNextRow();
    void notificationsSuspended();
    void fieldsByNameIgnoreCase_data();
    void fieldsByNameIgnoreCase();
};

void TestRecordStore::schemas()
{
    QCOMPARE(personFields().size(), 29);
    QCOMPARE(organisationFields().size(), 10);
    QCOMPARE(personFields()[26], (FieldDef{"Yellow", FieldType::Boolean, 0}));
    QCOMPARE(organisationFields()[9], (FieldDef{"CURL", FieldType::Text, 100}));
}

void TestRecordStore::emptyBeforeAnyBook()
{
    RecordStore data;
    for (TableView *v : {&data.personRead, &data.personList, &data.organisationRead, &data.organisationList}) {
        QCOMPARE(v->recordCount(), 0);
        QVERIFY(v->atEnd());
    }
    QCOMPARE(data.personList.fieldCount(), 29);
    QCOMPARE(data.organisationList.fieldCount(), 10);
}

void TestRecordStore::changeLog_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("counted");
    QTest::addColumn<bool>("netChange");
    QTest::newRow("edit") << QStringList{"edit 1"} << 1 << true;
    QTest::newRow("insert") << QStringList{"insert"} << 1 << true;
    QTest::newRow("delete") << QStringList{"delete 2"} << 1 << true;
    QTest::newRow("insert then edit it then delete it") << QStringList{"insert", "edit 99", "delete 99"} << 3 << false;
    QTest::newRow("across inserts, edits and deletes")
        << QStringList{"edit 1", "delete 3", "insert", "edit 2", "edit 2", "delete 1", "insert", "edit 99"} << 8 << true;
}

void TestRecordStore::changeLog()
{
    QFETCH(QStringList, steps);
    QFETCH(int, counted);
    QFETCH(bool, netChange);
    RecordStore data;
    loadFixture(data);
    TableView &list = data.personList;
    list.setLogChanges(true);
    const QString before = contents(list);
    const int start = list.changeCount();
    for (const QString &step : steps) {
        const QStringList words = step.split(' ');
        if (words[0] == "insert") {
            list.append();
            list.setValue("ClientID", qint32(99));
            list.setValue("Name", QString("New"));
            list.post();
            continue;
        }
        QVERIFY(list.locate("ClientID", qint32(words[1].toInt())));
        if (words[0] == "edit") {
            list.edit();
            list.setValue("Name", list.text("Name") + "!");
            list.setValue("Yellow", true);
            list.post();
        } else {
            list.remove();
        }
    }
    QCOMPARE(list.changeCount() - start, counted);
    QCOMPARE(contents(list) != before, netChange);
    list.rollbackTo(start);
    QCOMPARE(contents(list), before);
    QCOMPARE(list.changeCount(), start);
    QCOMPARE(data.personLookup.recordCount(), 6);
}

void TestRecordStore::readingTheCounterPostsAnOpenRow()
{
    RecordStore data;
    loadFixture(data);
    TableView &list = data.personList;
    list.setLogChanges(true);
    list.first();
    list.edit();
    list.setValue("Position", QString("Chef"));
    QCOMPARE(list.changeCount(), 1);
    QCOMPARE(list.state(), TableView::State::Browse);
    QVERIFY(data.personLookup.locate("Position", QString("Chef")));
}

void TestRecordStore::rollbackCancelsAnOpenRow()
{
    RecordStore data;
    loadFixture(data);
    TableView &list = data.personList;
    list.setLogChanges(true);
    const int start = list.changeCount();
    list.append();
    list.setValue("Name", QString("Never posted"));
    list.rollbackTo(start);
    QCOMPARE(list.state(), TableView::State::Browse);
    QCOMPARE(list.recordCount(), 6);
    QVERIFY(!list.locate("Name", QString("Never posted")));
}

void TestRecordStore::mergeResetsTheCounter()
{
    RecordStore data;
    loadFixture(data);
    data.personList.setLogChanges(true);
    data.personList.first();
    data.personList.remove();
    QCOMPARE(data.personList.changeCount(), 1);
    data.personList.mergeChangeLog();
    QCOMPARE(data.personList.changeCount(), 0);
    data.personList.rollbackTo(0);
    QCOMPARE(data.personList.recordCount(), 5); // merged changes stay
}

void TestRecordStore::viewsShareRows()
{
    RecordStore data;
    loadFixture(data);
    QVERIFY(data.personList.locate("ClientID", qint32(3)));
    data.personList.edit();
    data.personList.setValue("Position", QString("Pilot"));
    QVERIFY(!data.personLookup.locate("Position", QString("Pilot"))); // not posted yet
    data.personList.post();
    QVERIFY(data.personLookup.locate("Position", QString("Pilot")));
    QCOMPARE(data.personLookup.text("ClientID"), QString("3"));
    QVERIFY(data.personRead.locate("Position", QString("Pilot")));
}

void TestRecordStore::bindingKeepsOrTakesOverSettings()
{
    RecordStore data;
    loadFixture(data);
    data.personRead.setFilter("Yellow=true");
    data.personList.setFilter("OrgID=0");
    data.personList.setCaseInsensitive(true);
    data.bindViews();
    QCOMPARE(data.personList.filter(), QString("OrgID=0")); // keeps its own
    QVERIFY(data.personList.caseInsensitive());
    QCOMPARE(data.personLookup.filter(), QString("Yellow=true")); // takes over the read copy's
    QCOMPARE(data.personLookup.recordCount(), 1);
    QCOMPARE(data.personPrint.filter(), QString("OrgID=0")); // takes over the list copy's
    QCOMPARE(data.personPrint.recordCount(), 3);
}

void TestRecordStore::workBoxFollowsThePerson()
{
    RecordStore data;
    loadFixture(data);
    QVERIFY(data.personList.locate("ClientID", qint32(3))); // OrgID 2002
    QCOMPARE(data.organisationList.text("Company"), QString("Acme Ltd"));
    QVERIFY(data.personList.locate("ClientID", qint32(1))); // OrgID 2001 has no organisation
    QCOMPARE(data.organisationList.text("CoID"), QString("0"));
    QVERIFY(data.personList.locate("ClientID", qint32(4)));
    QCOMPARE(data.organisationList.text("CoID"), QString("2002"));
}

void TestRecordStore::savingAFilteredViewWritesEveryRow()
{
    RecordStore data;
    loadFixture(data);
    data.personList.setFilter("Yellow=true");
    QCOMPARE(data.personList.recordCount(), 1);
    TableView copy("copy", personFields());
    const PageBuffer saved = data.personList.saveToBuffer();
    copy.loadFromBytes(QByteArray(saved.data(), qsizetype(saved.size())));
    QCOMPARE(copy.recordCount(), 6);
}

namespace {

// Table file bytes written out by hand; the blanks are for reading only.
QByteArray hex(const char *digits)
{
    return QByteArray::fromHex(digits);
}

} // namespace

void TestRecordStore::savedBytesAreExact()
{
    // The saved form, byte for byte: texts cut to the field's width, empty
    // and absent values, a deleted row left out.
    RecordTable t({{"Name", FieldType::Text, 4}, {"Count", FieldType::Integer, 0}, {"Born", FieldType::Date, 0},
                   {"Flag", FieldType::Boolean, 0}, {"Note", FieldType::Memo, 0}});
    t.insertRow({QString("Abcdef"), qint32(7), QDate(2000, 1, 1), true, QString("\u00e9")});
    t.insertRow({QString("Zed"), qint32(1), Value(), Value(), QString("gone")});
    t.insertRow({QString(""), Value(), Value(), false, QString("\U0001F600x")});
    t.insertRow({QString("\u738b\u738b\u738b"), qint32(-2), Value(), Value(), Value()});
    t.deleteRow(1);
    QCOMPARE(writeTableBytes(t).toHex(' '),
             hex("51565442 0100 0500"
                 " 02 0400 0400 4e616d65  01 0000 0500 436f756e74  03 0000 0400 426f726e"
                 " 05 0000 0400 466c6167  04 0000 0400 4e6f7465"
                 " 03000000"
                 " 05 04000000 06000000 41626364 e78e8be78e8b"
                 " 05 07000000 feffffff"
                 " 01 59682500"
                 " 03 01 00"
                 " 03 02000000 05000000 c3a9 f09f988078")
                 .toHex(' '));
}

void TestRecordStore::loadedThenSavedBytesAreExact_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("saved");
    // Name is a text field three wide, Note a memo; three rows.
    const char *header = "51565442 0100 0200 02 0300 0400 4e616d65 04 0000 0400 4e6f7465 03000000";
    QTest::newRow("ASCII only, one text too wide; broken UTF-8; a present empty text")
        << hex(header) + hex("05 06000000 02000000 616263646566 7879"
                             " 07 02000000 00000000 02000000 ff61 c3a9")
        << hex(header) + hex("05 03000000 02000000 616263 7879"
                             " 05 04000000 02000000 efbfbd61 c3a9");
    QTest::newRow("ASCII among other texts, both too wide")
        << hex(header) + hex("07 06000000 08000000 01000000 616263646566 c3a9c3a9c3a9c3a9 7a"
                             " 00")
        << hex(header) + hex("07 03000000 06000000 01000000 616263 c3a9c3a9c3a9 7a"
                             " 00");
}

void TestRecordStore::loadedThenSavedBytesAreExact()
{
    // A table as the open reads it (all at once, bytes given up), saved again.
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, saved);
    PageBuffer bytes(size_t(file.size()));
    std::copy(file.cbegin(), file.cend(), bytes.data());
    const auto loaded = readTableBytesReleasing(std::move(bytes), {{"Name"}, [](RecordTable &) {}});
    QCOMPARE(writeTableBytes(*loaded).toHex(' '), saved.toHex(' '));
}

void TestRecordStore::columnMemoryRunningOutIsAnError()
{
#ifdef __SANITIZE_ADDRESS__
    QSKIP("a limit on the address space leaves the sanitizer no room of its own");
#endif
    // Two number columns of 2^25 empty rows, each decoded on a thread of its
    // own into 128 MB of column memory that a child process limited in its
    // address space cannot get: the load fails as any allocation would,
    // whichever thread it failed on, and the child goes on.
    const quint32 rows = 1u << 25;
    QByteArray file = hex("51565442 0100 0200 01 0000 0100 41 01 0000 0100 42");
    file.append(reinterpret_cast<const char *>(&rows), 4); // little-endian, as the machines this runs on
    file.append(QByteArray(2 * rows / 8, '\0'));
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        long pages = 0;
        if (FILE *statm = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(statm, "%ld", &pages) != 1)
                pages = 0;
            std::fclose(statm);
        }
        const rlim_t room = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + (rlim_t(80) << 20);
        const rlimit limit{room, room};
        int code = pages > 0 && setrlimit(RLIMIT_AS, &limit) == 0 ? 1 : 3;
        try {
            if (code == 1)
                readTableBytes(file);
        } catch (const std::bad_alloc &) {
            code = 0;
        } catch (...) {
            code = 2;
        }
        _exit(code);
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY2(WIFEXITED(status), qPrintable(QString("the child ended by signal %1").arg(WTERMSIG(status))));
    if (WEXITSTATUS(status) == 3)
        QSKIP("the address space cannot be limited here");
    QCOMPARE(WEXITSTATUS(status), 0);
}

void TestRecordStore::roundTripKeepsEveryValue()
{
    RecordTable t(personFields());
    t.insertRow(person({{"ClientID", qint32(-7)}, {"Name", QString("\u738b \U0001F600 \"quoted\" \ttab")},
                        {"Memo", QString("line\nline\r\n").repeated(5000)}, {"Birthday", QDate(1899, 12, 30)},
                        {"Yellow", true}, {"Searched", false}, {"OrgID", qint32(2147483647)}}));
    t.insertRow(person({}));
    const int gone = t.insertRow(person({{"Name", QString("deleted")}}));
    t.deleteRow(gone);
    const auto back = readTableBytes(writeTableBytes(t));
    QCOMPARE(back->fields(), t.fields());
    QCOMPARE(back->liveRowCount(), 2);
    for (int row = 0; row < 2; ++row)
        QCOMPARE(back->rowValues(row), t.rowValues(row));
    QVERIFY(isNull(back->value(1, 1)));
}

void TestRecordStore::oldFormatTableNeedsItsOwnOrder()
{
    const QList<FieldDef> oldFields = personFields().mid(0, 24);
    std::vector<Value> row(24);
    row[0] = qint32(2001);
    row[2] = QString("Li");
    const QByteArray old = tableBytes(oldFields, {row});
    RecordStore data;
    try {
        data.personRead.loadFromBytes(old);
        QFAIL("an order naming Yellow must refuse a table without it");
    } catch (const DatabaseError &e) {
        QCOMPARE(e.text(), QString("Field 'Yellow' not found"));
    }
    QCOMPARE(data.personRead.fieldCount(), 29); // left as it was
    data.personRead.setFirstIndexFields("Surname");
    data.personRead.loadFromBytes(old);
    QCOMPARE(data.personRead.fieldCount(), 24);
    QCOMPARE(data.personRead.text("SurName"), QString("Li"));
}

void TestRecordStore::badTableFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    const QByteArray good = tableBytes(personFields(), test::filterFixture());
    QTest::newRow("empty file") << QByteArray() << "The table file is damaged: the file header runs past the end of the file";
    QTest::newRow("not a table") << QByteArray("PK\x03\x04 rest") << "The file is not a Quorvel table";
    QTest::newRow("legacy data packet cut short") << QByteArray("\x96\x19\xE0\xBD rest")
        << "The data packet is damaged: the header runs past the end of the file";
    QByteArray future = good;
    future[4] = 9;
    QTest::newRow("newer version") << future << "The table file has format version 9; this version reads version 1";
    QByteArray manyRows = tableBytes(personFields(), {});
    manyRows.chop(4);
    manyRows += QByteArray("\xff\xff\xff\x7f", 4);
    QTest::newRow("row count the file cannot hold") << manyRows << "The table file is damaged: it declares 2147483647 rows";
    QByteArray badType = good;
    badType[8] = 77;
    QTest::newRow("unknown field type") << badType << "The table file is damaged: field 1 has an unknown type 77";
    QTest::newRow("trailing bytes") << good + "xx" << "The table file is damaged: 2 bytes follow the last column";
    QByteArray longText = tableBytes({{"T", FieldType::Memo, 0}}, {{QString("hello")}});
    longText[longText.size() - 5 - 1] = '\x7f'; // the length of "hello" now claims 2 GB
    QTest::newRow("text longer than the file") << longText << "The table file is damaged: the texts runs past the end of the file";
    QByteArray twice = tableBytes({{"A", FieldType::Integer, 0}, {"a", FieldType::Integer, 0}}, {});
    QTest::newRow("repeated field name") << twice << "The table file is damaged: field 2 has an empty or repeated name";
}

void TestRecordStore::badTableFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    RecordStore data;
    loadFixture(data);
    try {
        data.personRead.loadFromBytes(bytes);
        QFAIL("the bytes were accepted");
    } catch (const DatabaseError &e) {
        QCOMPARE(e.text(), message);
    }
    QCOMPARE(data.personRead.recordCount(), 6);
}

void TestRecordStore::truncatedAnywhere()
{
    const QByteArray good = tableBytes(personFields(), test::filterFixture());
    for (qsizetype cut = 0; cut < good.size(); ++cut)
        QVERIFY_THROWS_EXCEPTION(DatabaseError, readTableBytes(good.left(cut)));
}

namespace {

// The Memo of every row slot, null read as "<null>" so that empty and null differ.
QStringList memos(const RecordTable &t)
{
    QStringList list;
    const int memo = t.fieldIndex("Memo");
    for (int row = 0; row < t.rowSlots(); ++row) {
        const Value v = t.value(row, memo);
        list << (isNull(v) ? QString("<null>") : std::get<QString>(v));
    }
    return list;
}

} // namespace

void TestRecordStore::textCellsThroughEditsAndRollback_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("rounds"); // before and after written in turn, ending with after
    QTest::newRow("shorter texts") << QStringList{"Margaret", "Bob", "Alexander"} << QStringList{"Meg", "Bo", "Al"} << 1;
    QTest::newRow("longer texts") << QStringList{"Al", "Bo", "Cy"} << QStringList{"Alexandra", "Bobby Joe", "Cyrus the Great"} << 1;
    QTest::newRow("to empty and back") << QStringList{"Ann", "", "Cy"} << QStringList{"", "Bea", ""} << 3;
    QTest::newRow("wide characters and surrogate pairs")
        << QStringList{"\u738b\u5c0f\u660e", "\U0001F600x", "abc"}
        << QStringList{"\U0001F600\U0001F600\U0001F600", "\u738b", "\u00dcn\u00efc\u00f6d\u00e9"} << 2;
    QTest::newRow("rewritten until the space is reclaimed")
        << QStringList{QString("a").repeated(40000), QString("b").repeated(30000), "short"}
        << QStringList{QString("c").repeated(50000), QString("d").repeated(35000), QString("e").repeated(70000)} << 7;
}

void TestRecordStore::textCellsThroughEditsAndRollback()
{
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    QFETCH(int, rounds);
    auto shown = [](QStringList texts) {
        for (QString &t : texts)
            t = t.isEmpty() ? QString("<null>") : t;
        return texts;
    };
    RecordTable t(personFields());
    for (const QString &memo : before)
        t.insertRow(person({{"Memo", memo}}));
    const int extra = t.insertRow(person({{"Memo", QString("kept apart")}}));
    t.setLogChanges(true);
    for (int round = rounds; round > 0; --round) {
        const QStringList &texts = round % 2 ? after : before;
        for (int row = 0; row < texts.size(); ++row)
            t.updateRow(row, person({{"Memo", texts[row]}}));
    }
    t.deleteRow(extra);
    QCOMPARE(memos(t).mid(0, 3), shown(after));
    QCOMPARE(memos(t)[3], QString("kept apart")); // a deleted row keeps its values for a rollback

    const auto reloaded = readTableBytes(writeTableBytes(t));
    QCOMPARE(memos(*reloaded), shown(after));

    t.rollback(0);
    QCOMPARE(memos(t), shown(before) << "kept apart");
    QCOMPARE(t.liveRowCount(), 4);
}

void TestRecordStore::loadedTextsKeepTheirBounds_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("mixed lengths") << QStringList{QString("long ").repeated(300), "x", "medium text", "", "yz"};
    QTest::newRow("empty and null alike") << QStringList{"", QString(), "a", QString(), ""};
    QTest::newRow("wide characters")
        << QStringList{"\u738b", "\U0001F600\U0001F600", "", "caf\u00e9", "\u738b\u5c0f\u660e\U0001F600 end"};
}

void TestRecordStore::loadedTextsKeepTheirBounds()
{
    QFETCH(QStringList, texts);
    RecordTable t(personFields());
    QStringList expected;
    for (const QString &memo : texts) {
        t.insertRow(person({{"Memo", memo}, {"Name", memo.left(20)}}));
        expected << (memo.isEmpty() ? QString("<null>") : memo);
    }
    const auto back = readTableBytes(writeTableBytes(t));
    QCOMPARE(memos(*back), expected);
    for (int row = 0; row < texts.size(); ++row)
        QCOMPARE(valueText(back->value(row, back->fieldIndex("Name"))), texts[row].left(20));
}

void TestRecordStore::readingThatReleasesTheBytes()
{
    // Columns of many pages, so that their bytes go back to the system as
    // they are decoded, and megabytes of them, so that the bytes and the
    // columns get mappings of their own.
    RecordTable t(personFields());
    for (int i = 0; i < 6000; ++i)
        t.insertRow(person({{"ClientID", qint32(i)}, {"Name", QString("Name %1").arg(i)},
                            {"Memo", QString("memo %1 \u00e9\U0001F600 ").arg(i).repeated(20)}}));
    const QByteArray written = writeTableBytes(t);
    PageBuffer bytes(size_t(written.size()));
    std::copy(written.cbegin(), written.cend(), bytes.data());
    const auto back = readTableBytesReleasing(std::move(bytes));
    QCOMPARE(back->liveRowCount(), 6000);
    QCOMPARE(memos(*back), memos(t));
    for (int row : {0, 1234, 5999})
        QCOMPARE(back->rowValues(row), t.rowValues(row));
    // Bytes the caller keeps are only read, so that they can be read again.
    const QByteArray before(written.constData(), written.size());
    QCOMPARE(readTableBytes(written)->liveRowCount(), 6000);
    QVERIFY(written == before);
}

void TestRecordStore::earlyFieldsAreReadyFirst_data()
{
    QTest::addColumn<QStringList>("early");
    QTest::addColumn<int>("calls");
    QTest::newRow("the order of persons") << QStringList{"Yellow", "SurName", "GivenName"} << 1;
    QTest::newRow("the last field") << QStringList{"CID"} << 1;
    QTest::newRow("a field the table lacks") << QStringList{"SurName", "Nickname"} << 0;
    QTest::newRow("a field named twice") << QStringList{"GivenName", "SurName", "GivenName"} << 1;
}

void TestRecordStore::earlyFieldsAreReadyFirst()
{
    // The early fields are whole when they are reported ready, whatever the
    // other columns are doing meanwhile.
    QFETCH(QStringList, early);
    QFETCH(int, calls);
    RecordTable t(personFields());
    for (int i = 0; i < 4000; ++i)
        t.insertRow(person({{"SurName", QString("Sur%1").arg(i)}, {"GivenName", QString("\u738b%1").arg(i)},
                            {"Yellow", i % 3 == 0}, {"CID", QString("c%1").arg(i)},
                            {"Memo", QString("memo %1 ").arg(i).repeated(30)}}));
    const QByteArray written = writeTableBytes(t);
    PageBuffer bytes(size_t(written.size()));
    std::copy(written.cbegin(), written.cend(), bytes.data());
    int called = 0;
    QStringList mismatches;
    const auto ready = [&](RecordTable &loaded) {
        ++called;
        for (const QString &name : early) {
            const int field = loaded.fieldIndex(name);
            for (int row = 0; row < t.rowSlots(); ++row) {
                if (loaded.value(row, field) != t.value(row, field))
                    mismatches << QString("%1 of row %2").arg(name).arg(row);
            }
        }
    };
    const auto back = readTableBytesReleasing(std::move(bytes), {early, ready});
    QCOMPARE(called, calls);
    QCOMPARE(mismatches.mid(0, 3), QStringList());
    QCOMPARE(memos(*back), memos(t));
    // Each text column holds its texts once, however often it was named.
    for (const QString &name : early) {
        const int field = back->fieldIndex(name);
        if (field < 0 || !back->column(field).isText())
            continue;
        size_t units = 0;
        for (int row = 0; row < back->rowSlots(); ++row)
            units += size_t(back->column(field).texts.view(size_t(row)).size());
        QCOMPARE(back->column(field).texts.bufferedUnits(), units);
    }
}

void TestRecordStore::loadedColumnsOutgrowTheirMemory()
{
    // Columns filled at load and then changed: longer texts, rows deleted
    // and added, all move out of the memory the load gave them.
    RecordTable t(personFields());
    for (int i = 0; i < 6000; ++i)
        t.insertRow(person({{"ClientID", qint32(i)}, {"Memo", QString("memo %1 ").arg(i).repeated(40)}}));
    const auto back = readTableBytes(writeTableBytes(t));
    back->setLogChanges(true);
    const int memo = back->fieldIndex("Memo");
    const int id = back->fieldIndex("ClientID");
    for (int row = 0; row < 6000; row += 3) {
        std::vector<Value> values = back->rowValues(row);
        values[size_t(memo)] = QString("longer memo %1 ").arg(row).repeated(60);
        back->updateRow(row, values);
    }
    back->deleteRow(1);
    const int added = back->insertRow(person({{"ClientID", qint32(7000)}, {"Memo", QString("new")}}));
    QCOMPARE(valueText(back->value(3, memo)), QString("longer memo 3 ").repeated(60));
    QCOMPARE(valueText(back->value(4, memo)), QString("memo 4 ").repeated(40));
    QCOMPARE(std::get<qint32>(back->value(added, id)), 7000);
    QVERIFY(!back->isAlive(1));
    back->rollback(0);
    QVERIFY(back->isAlive(1));
    QCOMPARE(memos(*back).first(6000), memos(t));
}

void TestRecordStore::loneSurrogatesStayInTheirRow()
{
    // UTF-8 cannot hold half of a surrogate pair: such a unit is written as a
    // replacement character of its own text and never joins the next text.
    const QStringList written = {QString("a") + QChar(0xD800), "b", QChar(0xDC00) + QString("c"), QString("d") + QChar(0xD800)};
    RecordTable t(personFields());
    for (const QString &memo : written)
        t.insertRow(person({{"Memo", memo}}));
    const auto back = readTableBytes(writeTableBytes(t));
    const int memo = back->fieldIndex("Memo");
    QCOMPARE(valueText(back->value(0, memo)), QString("a\ufffd"));
    QCOMPARE(valueText(back->value(1, memo)), QString("b"));
    QCOMPARE(valueText(back->value(2, memo)), QString("\ufffdc"));
    QCOMPARE(valueText(back->value(3, memo)), QString("d\ufffd"));
}

void TestRecordStore::brokenUtf8OutgrowsTheCountedRoom()
{
    // Every stray byte of broken UTF-8 becomes a replacement character, so
    // that a column of them holds more than its bytes promised.
    RecordTable t(personFields());
    for (int i = 0; i < 3000; ++i)
        t.insertRow(person({{"Memo", QString("\u00e9").repeated(200)}}));
    QByteArray written = writeTableBytes(t);
    written.replace("\xc3\xa9", "\xa9\xa9");
    const auto back = readTableBytes(written);
    const QString expected = QString::fromUtf8(QByteArray("\xa9\xa9").repeated(200));
    QCOMPARE(expected.size(), 400);
    const int memo = back->fieldIndex("Memo");
    for (int row : {0, 1500, 2999})
        QCOMPARE(valueText(back->value(row, memo)), expected);
}

void TestRecordStore::columnBuffersStayInsideTheirArena()
{
    // An arena the buffers do not fill evenly: the last one that fits takes
    // its rest, and those that no longer fit come from the heap, not from
    // past its end (which the address sanitizer sees).
    ColumnArena arena(100);
    std::vector<std::vector<char, ColumnAllocator<char>>> buffers;
    for (size_t size : {20, 20, 40, 40})
        buffers.emplace_back(size, 'x');
    for (auto &buffer : buffers)
        std::fill(buffer.begin(), buffer.end(), 'y');
    for (const auto &buffer : buffers)
        QVERIFY(std::all_of(buffer.cbegin(), buffer.cend(), [](char c) { return c == 'y'; }));
}

void TestRecordStore::loadedRoomNoRowUsesIsReclaimed_data()
{
    QTest::addColumn<int>("width"); // the width the file declares
    QTest::addColumn<int>("kept");  // loaded code units the buffer keeps after an edit
    QTest::newRow("little cut off: the room stays until it is worth reclaiming") << 36 << 3000 * 40;
    QTest::newRow("most cut off: the first edit reclaims the room") << 10 << 3000 * 10;
}

void TestRecordStore::loadedRoomNoRowUsesIsReclaimed()
{
    // Texts are loaded in one piece; what a cut leaves of them is room no
    // row uses, and only that counts toward reclaiming.
    QFETCH(int, width);
    QFETCH(int, kept);
    std::vector<std::vector<Value>> rows;
    for (int i = 0; i < 3000; ++i)
        rows.push_back({QString("text %1 ").arg(i, 4, 10, QChar('0')).repeated(4)});
    rows.push_back({Value()});
    QByteArray bytes = tableBytes({{"T", FieldType::Text, 40}}, rows);
    bytes[9] = char(width);
    const auto table = readTableBytes(bytes);
    table->updateRow(3000, {QString("new")});
    QCOMPARE(table->column(0).texts.bufferedUnits(), size_t(kept + 3));
    QCOMPARE(valueText(table->value(0, 0)), QString("text 0000 ").repeated(4).left(width));
    QCOMPARE(valueText(table->value(2999, 0)), QString("text 2999 ").repeated(4).left(width));
    QCOMPARE(valueText(table->value(3000, 0)), QString("new"));
}

void TestRecordStore::numbersKeepTheirWholeRange()
{
    // Numbers are kept in 32 bits, the smallest of them standing for empty
    // unless the row really holds it.
    const qint32 lowest = std::numeric_limits<qint32>::min();
    const qint32 highest = std::numeric_limits<qint32>::max();
    const QList<Value> values{lowest, Value(), highest, qint32(0), qint32(-1), lowest};
    RecordTable t(personFields());
    for (const Value &v : values)
        t.insertRow(person({{"OrgID", v}, {"Birthday", QDate(1, 1, 1)}}));
    const int orgId = t.fieldIndex("OrgID");
    auto held = [orgId](const RecordTable &table) {
        QList<Value> list;
        for (int row = 0; row < table.rowSlots(); ++row)
            list << table.value(row, orgId);
        return list;
    };
    QCOMPARE(held(t), values);
    QCOMPARE(held(*readTableBytes(writeTableBytes(t))), values);
    t.updateRow(0, person({}));
    t.updateRow(1, person({{"OrgID", lowest}}));
    QCOMPARE(held(t), (QList<Value>{Value(), lowest, highest, qint32(0), qint32(-1), lowest}));
    QCOMPARE(t.value(2, t.fieldIndex("Birthday")), Value(QDate(1, 1, 1)));
    // A day number the saved form cannot hold is not kept.
    t.updateRow(2, person({{"Birthday", QDate(9999999, 1, 1)}}));
    QVERIFY(isNull(t.value(2, t.fieldIndex("Birthday"))));
}

void TestRecordStore::caseFoldedCopyFollowsTheColumn_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("rounds"); // before and after written in turn, ending with after
    QTest::addColumn<QStringList>("folded"); // what the copy holds for after
    QTest::newRow("accents, sharp s and sigma")
        << QStringList{"\u00c9lan", "STRA\u1e9eE", "", "abc"}
        << QStringList{"\u00c9COLE", "", "\u03a3\u039f\u03a3", "A"} << 1
        << QStringList{"\u00e9cole", "", "\u03c3\u03bf\u03c3", "a"};
    QTest::newRow("letters beyond 16 bits, longer texts")
        << QStringList{"x", "", "Ab"}
        << QStringList{"\U00010400\U00010401 Lane", "K\u212a", "\u0130stanbul"} << 2
        << QStringList{"\U00010428\U00010429 lane", "kk", "\u0130stanbul"};
    QTest::newRow("rewritten until the space is reclaimed")
        << QStringList{QString("A").repeated(40000), QString("B").repeated(30000), "Short"}
        << QStringList{QString("C").repeated(50000), QString("D").repeated(35000), QString("E").repeated(70000)} << 7
        << QStringList{QString("c").repeated(50000), QString("d").repeated(35000), QString("e").repeated(70000)};
}

void TestRecordStore::caseFoldedCopyFollowsTheColumn()
{
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    QFETCH(int, rounds);
    QFETCH(QStringList, folded);
    TextColumn column;
    for (const QString &text : before)
        column.pushBack(text);
    const TextColumn &copy = column.caseFolded();
    for (int round = rounds; round > 0; --round) {
        const QStringList &texts = round % 2 ? after : before;
        for (int row = 0; row < texts.size(); ++row)
            column.set(size_t(row), texts[row]);
    }
    column.pushBack(QString("N\u00c9W"));
    column.resize(column.size() + 1);
    column.setLatin1(column.size() - 1, "\xc0 LA CARTE");
    QCOMPARE(copy.size(), column.size());
    QStringList held;
    for (size_t row = 0; row < copy.size(); ++row)
        held << copy[row];
    QCOMPARE(held, folded << "n\u00e9w" << "\u00e0 la carte");
    QCOMPARE(&column.caseFolded(), &copy);
    column.clear();
    QCOMPARE(copy.size(), size_t(0));
}

void TestRecordStore::loadedOrderFollowsTheCollation_data()
{
    QTest::addColumn<QStringList>("surnames"); // in row order
    QTest::newRow("letters of both cases and accents") << QStringList{"Zoe", "adam", "\u00c9mile", "eve", "Adam", "\u00e9mile"};
    QTest::newRow("equal texts, or equal under the collation") << QStringList{"\u00e9", "e\u0301", "\u00e9", "d", "e\u0301"};
    QTest::newRow("empty texts") << QStringList{"b", "", "a", ""};
    QTest::newRow("wide characters") << QStringList{"\u738b", "\U0001F600", "\u5c0f", "\u738b", "a"};
}

void TestRecordStore::loadedOrderFollowsTheCollation()
{
    QFETCH(QStringList, surnames);
    std::vector<std::vector<Value>> rows;
    for (const QString &surname : surnames)
        rows.push_back(person({{"SurName", surname}, {"Yellow", false}}));
    RecordStore data;
    data.personRead.loadFromBytes(tableBytes(personFields(), rows));
    const std::vector<int> &listed = data.personRead.rows();

    // Empty first, then by the system collation one pair at a time, row id breaking ties.
    QList<int> expected;
    for (int row = 0; row < surnames.size(); ++row)
        expected << row;
    QCollator collator{QLocale::system()};
    std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
        if (surnames[a].isEmpty() || surnames[b].isEmpty())
            return surnames[a].isEmpty() && !surnames[b].isEmpty();
        return collator.compare(surnames[a], surnames[b]) < 0;
    });
    QCOMPARE(QList<int>(listed.begin(), listed.end()), expected);
}

void TestRecordStore::loadedOrderByNumbers_data()
{
    // Each row as "A B C" (two integers and a Boolean), "-" for empty.
    QTest::addColumn<QString>("index");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("one integer with empties and both ends of its range")
        << "A" << QStringList{"2147483647 0 -", "- 0 -", "-2147483648 0 -", "0 0 -", "- 0 -", "0 0 -", "-1 0 -"};
    QTest::newRow("two integers spanning their whole range")
        << "A;B" << QStringList{"5 2147483647 -", "5 -2147483648 -", "-2147483648 7 -", "2147483647 -", "5 - -", "-2147483648 7 -"};
    QTest::newRow("a Boolean, then an integer, row id breaking ties")
        << "C;A" << QStringList{"3 0 1", "3 0 0", "- 0 -", "-4 0 1", "3 0 1", "9 0 0", "- 0 1"};
    QTest::newRow("a field that is always empty first") << "B;A" << QStringList{"3 - -", "1 - -", "2 - -", "1 - -"};
}

void TestRecordStore::loadedOrderByNumbers()
{
    QFETCH(QString, index);
    QFETCH(QStringList, rows);
    const QList<FieldDef> fields = {{"A", FieldType::Integer, 0}, {"B", FieldType::Integer, 0}, {"C", FieldType::Boolean, 0}};
    QList<QStringList> cells;
    std::vector<std::vector<Value>> values;
    for (const QString &row : rows) {
        cells << row.split(' ');
        std::vector<Value> v;
        for (int f = 0; f < 3; ++f) {
            const QString cell = cells.back().value(f, "-");
            if (cell == "-")
                v.push_back(Value());
            else if (f == 2)
                v.push_back(cell == "1");
            else
                v.push_back(qint32(cell.toLongLong()));
        }
        values.push_back(v);
    }
    TableView view("numbers", fields);
    view.setIndexDefs({{"ByNumbers", index}});
    view.setIndexName("ByNumbers");
    view.loadFromBytes(tableBytes(fields, values));

    // Empty lowest, then by value, field after field; row id breaking ties.
    QList<int> keyFields;
    for (const QString &name : index.split(';'))
        keyFields << (name == "A" ? 0 : name == "B" ? 1 : 2);
    QList<int> expected;
    for (int row = 0; row < rows.size(); ++row)
        expected << row;
    auto key = [&](int row, int f) {
        const QString cell = cells[row].value(f, "-");
        return cell == "-" ? std::numeric_limits<qint64>::min() : cell.toLongLong();
    };
    std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
        for (int f : keyFields) {
            if (key(a, f) != key(b, f))
                return key(a, f) < key(b, f);
        }
        return false;
    });
    const std::vector<int> &listed = view.rows();
    QCOMPARE(QList<int>(listed.begin(), listed.end()), expected);
}

void TestRecordStore::textIsCutToTheFieldWidth_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("stored");
    QTest::newRow("narrow, Zip of 10") << "Zip" << "12345678901234" << "1234567890";
    QTest::newRow("wide characters count two") << "Zip" << QString("\u738b").repeated(7) << QString("\u738b").repeated(5);
    QTest::newRow("a wide character is not split") << "Zip" << "a" + QString("\u738b").repeated(7) << "a" + QString("\u738b").repeated(4);
    QTest::newRow("surrogate pair kept whole") << "Zip" << QString("123456789\U0001F600") << "123456789";
    QTest::newRow("memo has no limit") << "Memo" << QString("m").repeated(100000) << QString("m").repeated(100000);
    QTest::newRow("empty text is empty") << "Name" << "" << "";
}

void TestRecordStore::textIsCutToTheFieldWidth()
{
    QFETCH(QString, field);
    QFETCH(QString, written);
    QFETCH(QString, stored);
    TableView view("v", personFields());
    view.append();
    view.setValue(field, written);
    view.post();
    QCOMPARE(view.text(field), stored);
    QCOMPARE(isNull(view.value(field)), stored.isEmpty());
}

void TestRecordStore::loadedTextIsCutToTheFieldWidth_data()
{
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("loaded");
    QTest::newRow("ASCII, longer") << "12345678901234567890" << "1234567890";
    QTest::newRow("ASCII, one more") << "12345678901" << "1234567890";
    QTest::newRow("ASCII, exactly the width") << "1234567890" << "1234567890";
    QTest::newRow("wide characters count two") << QString("\u738b").repeated(7) << QString("\u738b").repeated(5);
    QTest::newRow("accented letters count one") << QString("\u00e9").repeated(12) << QString("\u00e9").repeated(10);
    QTest::newRow("a wide character is not split") << "a" + QString("\u738b").repeated(7) << "a" + QString("\u738b").repeated(4);
}

void TestRecordStore::loadedTextIsCutToTheFieldWidth()
{
    // A file may declare a text field narrower than the texts it holds. The
    // texts after a cut one keep theirs.
    QFETCH(QString, written);
    QFETCH(QString, loaded);
    QByteArray bytes = tableBytes({{"T", FieldType::Text, 40}}, {{written}, {"after"}, {written}, {"end"}, {"ASCII beyond the width"}});
    QCOMPARE(bytes.mid(8, 3), QByteArray("\x02\x28\x00", 3)); // the field's type and width
    bytes[9] = 10;
    const auto table = readTableBytes(bytes);
    QCOMPARE(valueText(table->value(0, 0)), loaded);
    QCOMPARE(valueText(table->value(1, 0)), QString("after"));
    QCOMPARE(valueText(table->value(2, 0)), loaded);
    QCOMPARE(valueText(table->value(3, 0)), QString("end"));
    QCOMPARE(valueText(table->value(4, 0)), QString("ASCII beyo"));
}

void TestRecordStore::locate_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("caseInsensitive");
    QTest::addColumn<bool>("partial");
    QTest::addColumn<int>("found"); // ClientID, 0 when not found

    QTest::newRow("exact") << "Name" << "Tom mcneil" << false << false << 2;
    QTest::newRow("case differs") << "Name" << "tom MCNEIL" << false << false << 0;
    QTest::newRow("case-insensitive") << "Name" << "tom MCNEIL" << true << false << 2;
    QTest::newRow("prefix needs partial key") << "Name" << "Tom" << false << false << 0;
    QTest::newRow("partial key") << "Name" << "Tom" << false << true << 2;
    QTest::newRow("integer") << "ClientID" << "5" << false << false << 5;
    QTest::newRow("integer not found") << "ClientID" << "55" << false << false << 0;
}

void TestRecordStore::locate()
{
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(bool, caseInsensitive);
    QFETCH(bool, partial);
    QFETCH(int, found);
    RecordStore data;
    loadFixture(data);
    QVERIFY(data.personList.locate("ClientID", qint32(3)));
    const bool ok = data.personList.locate(field, value, {caseInsensitive, partial});
    QCOMPARE(ok, found != 0);
    QCOMPARE(data.personList.text("ClientID"), QString::number(found ? found : 3)); // stays when not found
}

void TestRecordStore::bookmarks()
{
    RecordStore data;
    loadFixture(data);
    TableView &list = data.personList;
    QVERIFY(list.locate("ClientID", qint32(5)));
    const Bookmark mark = list.bookmark();
    list.first();
    data.personLookup.appendRecord(person({{"ClientID", qint32(8)}, {"SurName", QString("Aaron")}}));
    QVERIFY(list.gotoBookmark(mark));
    QCOMPARE(list.text("ClientID"), QString("5"));
    list.remove();
    list.first();
    QVERIFY(!list.gotoBookmark(mark));
}

void TestRecordStore::indexOrder()
{
    RecordStore data;
    loadFixture(data);
    const QStringList ordered = names(data.personList);
    QCOMPARE(ordered.size(), 6);
    QCOMPARE(ordered.last(), QString("Acme Ltd")); // yellow pages after white pages
    QVERIFY(ordered.indexOf("Ann Null") < ordered.indexOf("Pat O'Brien")); // by surname: Null before O'Brien
    QCOMPARE(ordered.first(), QString("Ann Null")); // an empty Yellow sorts before false
    // A changed surname moves the row at once, in every view.
    QVERIFY(ordered.indexOf("Mary McDonald") < ordered.indexOf("Pat O'Brien"));
    QVERIFY(data.personList.locate("ClientID", qint32(1)));
    data.personList.edit();
    data.personList.setValue("SurName", QString("Zz"));
    data.personList.post();
    const QStringList moved = names(data.personLookup);
    QVERIFY(moved.indexOf("Mary McDonald") > moved.indexOf("Pat O'Brien"));
    QCOMPARE(moved.last(), QString("Acme Ltd"));
    data.personList.locate("ClientID", qint32(1));
    QCOMPARE(data.personList.recNo(), moved.indexOf("Mary McDonald") + 1);
}

void TestRecordStore::orderStaysSortedThroughManyNewTexts()
{
    // Each new surname lands between two others again and again, until the
    // ranks run out of room and are spread anew.
    RecordStore data;
    TableView &list = data.personList;
    QStringList expected;
    auto add = [&](const QString &surname) {
        list.appendRecord(person({{"ClientID", qint32(expected.size())}, {"Name", surname}, {"SurName", surname}, {"Yellow", false}}));
        expected << surname;
    };
    add("Ka");
    add("Kb");
    for (int i = 0; i < 27; ++i) // Kab, Kaab, Kaaab, ...: each between Ka and the one before
        add("K" + QString("a").repeated(i + 1) + "b");
    for (int i = 0; i < 20; ++i) // and a few that repeat or sit at either end
        add(i % 2 ? "A" + QString::number(i) : "Kz" + QString::number(i));
    QCollator collator{QLocale::system()};
    std::stable_sort(expected.begin(), expected.end(), [&](const QString &a, const QString &b) { return collator.compare(a, b) < 0; });
    QCOMPARE(names(data.personLookup), expected);
}

void TestRecordStore::orderBatch()
{
    // Rows added, changed, deleted and rolled back in a batch are sorted in
    // when it ends, in every view, a filtered one too.
    RecordStore data;
    TableView &list = data.personList;
    list.setLogChanges(true);
    auto add = [&](qint32 id, const QString &surname, bool yellow = false) {
        list.appendRecord(person({{"ClientID", id}, {"Name", surname}, {"SurName", surname}, {"Yellow", yellow}}));
    };
    add(1, "Kc");
    add(2, "Ka");
    list.setFilter("not (Yellow=true)");
    {
        const RecordTable::OrderBatch batch(*list.table());
        add(3, "Kd");
        add(4, "Kb");
        add(5, "Kaa");
        add(6, "Ky", true);
        const int beforeRollback = list.changeCount();
        add(7, "Kx");
        list.rollbackTo(beforeRollback);
        QVERIFY(list.locate("ClientID", qint32(1)));
        list.edit();
        list.setValue("SurName", QString("A"));
        list.setValue("Name", QString("A"));
        list.post();
        QVERIFY(list.locate("ClientID", qint32(2)));
        list.remove();
    }
    QCOMPARE(names(data.personLookup), (QStringList{"A", "Kaa", "Kb", "Kd", "Ky"}));
    QCOMPARE(names(list), (QStringList{"A", "Kaa", "Kb", "Kd"}));
    QVERIFY(list.locate("ClientID", qint32(4)));
    QCOMPARE(list.recNo(), 3);
}

void TestRecordStore::cursorMoves()
{
    RecordStore data;
    loadFixture(data);
    TableView &list = data.personList;
    list.setFilter("not (Yellow=true)");
    QCOMPARE(list.recordCount(), 5);
    list.last();
    QCOMPARE(list.recNo(), 5);
    QVERIFY(!list.atEnd());
    list.next();
    QVERIFY(list.atEnd());
    list.setRecNo(2);
    QCOMPARE(list.recNo(), 2);
    list.prior();
    list.prior();
    QCOMPARE(list.recNo(), 1);
    list.setFilter("OrgID=-1");
    QVERIFY(list.atEnd());
    QCOMPARE(list.recNo(), 0);
    QVERIFY(isNull(list.value("Name")));
}

void TestRecordStore::deleteMovesToTheNextRow()
{
    RecordStore data;
    loadFixture(data);
    TableView &list = data.personList;
    list.setRecNo(2);
    const QString third = [&] {
        list.next();
        const QString t = list.text("Name");
        list.prior();
        return t;
    }();
    list.remove();
    QCOMPARE(list.text("Name"), third);
    QCOMPARE(list.recNo(), 2);
}

void TestRecordStore::notificationsSuspended()
{
    TableView view("v", personFields());
    for (const auto &row : test::filterFixture())
        view.appendRecord(row);
    int scrolls = 0;
    view.setAfterScroll([&] { ++scrolls; });
    view.disableControls();
    for (view.first(); !view.atEnd(); view.next()) {
    }
    QCOMPARE(scrolls, 0);
    view.enableControls();
    QCOMPARE(scrolls, 1);
    view.first();
    QCOMPARE(scrolls, 2);
}

void TestRecordStore::fieldsByNameIgnoreCase_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::newRow("Surname") << "Surname" << "McDonald";
    QTest::newRow("OrgId") << "OrgId" << "2001";
    QTest::newRow("Email") << "Email" << "";
    QTest::newRow("clientid") << "clientid" << "1";
}

void TestRecordStore::fieldsByNameIgnoreCase()
{
    QFETCH(QString, name);
    QFETCH(QString, value);
    TableView view("v", personFields());
    view.appendRecord(test::filterFixture().front());
    QCOMPARE(view.text(name), value);
    QVERIFY_THROWS_EXCEPTION(DatabaseError, view.value("NoSuchField"));
}

QTEST_APPLESS_MAIN(TestRecordStore)
#include "tst_recordstore.moc"
