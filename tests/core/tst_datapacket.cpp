// The reader of the legacy data-packet form, over packets built byte by byte.
#include "DataPacketWriter.h"

#include "data/DatabaseError.h"
#include "data/RecordTable.h"
#include "data/legacy/DataPacket.h"
#include "data/legacy/DataPacketTable.h"

#include <QTest>

using namespace qv;
using test::DataPacketWriter;
using Cell = DataPacketWriter::Cell;

Q_DECLARE_METATYPE(qv::Value)
Q_DECLARE_METATYPE(qv::test::DataPacketWriter::Column)
Q_DECLARE_METATYPE(qv::test::DataPacketWriter::Cell)

namespace {

const QLocale kWestern(QLocale::English, QLocale::UnitedStates);

std::unique_ptr<RecordTable> read(const QByteArray &bytes, const QLocale &system = kWestern)
{
    return legacy::readDataPacketTable(bytes, system);
}

// Every current row's values, in table order.
QList<QList<Value>> rowsOf(const RecordTable &table)
{
    QList<QList<Value>> rows;
    for (int row = 0; row < table.rowSlots(); ++row) {
        if (!table.isAlive(row))
            continue;
        QList<Value> values;
        for (const Value &v : table.rowValues(row))
            values << v;
        rows << values;
    }
    return rows;
}

QString refusal(const QByteArray &bytes)
{
    try {
        read(bytes);
    } catch (const DatabaseError &e) {
        return e.text();
    }
    return QString();
}

} // namespace

class TestDataPacket : public QObject {
    Q_OBJECT
private slots:
    void exampleOfTheFormatNote();
    void valueKinds_data();
    void valueKinds();
    void fieldKindsOfTheTable();
    void chineseTexts_data();
    void chineseTexts();
    void stringPrefixWidth_data();
    void stringPrefixWidth();
    void fieldStatesAcrossBytes();
    void changeLog();
    void unknownPropertiesAreSkipped();
    void defaultOrder();
    void refused_data();
    void refused();
    void truncatedAtEveryOffset();
};

void TestDataPacket::exampleOfTheFormatNote()
{
    // One integer column "numero", inserted as 1, edited to 2 and back to 1.
    const QByteArray bytes = QByteArray::fromHex(
        "9619e0bd010000001800000001000300000003000000600006"
        "6e756d65726f04000100100000000100"
        "0a4348414e47455f4c4f470400820009000000"
        "010000000000000004000000020000000100000008000000030000000200000008000000"
        "050001000000" "0d0002000000" "0c0001000000");
    QCOMPARE(bytes.size(), 114);
    const auto table = read(bytes);
    QCOMPARE(table->fields(), (QList<FieldDef>{{"numero", FieldType::Integer, 0}}));
    QCOMPARE(rowsOf(*table), (QList<QList<Value>>{{qint32(1)}}));
}

void TestDataPacket::valueKinds_data()
{
    QTest::addColumn<DataPacketWriter::Column>("column");
    QTest::addColumn<Cell>("cell");
    QTest::addColumn<Value>("expected");
    const DataPacketWriter::Column integer{"N", 4, 0x0001, {}};
    const DataPacketWriter::Column boolean{"B", 2, 0x0003, {}};
    const DataPacketWriter::Column date{"D", 4, 0x0006, {}};
    const DataPacketWriter::Column stamp{"T", 8, 0x0008, {}};
    const DataPacketWriter::Column string{"S", 1, 0x0049, {DataPacketWriter::widthProperty(20)}};
    const DataPacketWriter::Column wide{"W", 2, 0x004A, {DataPacketWriter::widthProperty(20)}};
    const DataPacketWriter::Column memo{"M", 4, 0x004B, {DataPacketWriter::subtypeProperty("Text")}};
    const DataPacketWriter::Column wideMemo{"M", 4, 0x004B, {DataPacketWriter::subtypeProperty("WideText")}};
    const auto le = [](quint64 v, int n) {
        QByteArray b;
        for (int i = 0; i < n; ++i)
            b.append(char(v >> (8 * i)));
        return b;
    };
    QTest::newRow("integer") << integer << DataPacketWriter::integer(-5) << Value(qint32(-5));
    QTest::newRow("16-bit integer") << DataPacketWriter::Column{"N", 2, 0x0001, {}} << DataPacketWriter::value(le(0xFFFE, 2))
                                    << Value(qint32(-2));
    QTest::newRow("unsigned integer") << DataPacketWriter::Column{"N", 4, 0x0002, {}}
                                      << DataPacketWriter::value(le(0x7FFFFFFF, 4)) << Value(qint32(0x7FFFFFFF));
    QTest::newRow("null") << integer << DataPacketWriter::null() << Value();
    QTest::newRow("Boolean 1") << boolean << DataPacketWriter::boolean(1) << Value(true);
    QTest::newRow("Boolean 0xFFFF") << boolean << DataPacketWriter::boolean(0xFFFF) << Value(true);
    QTest::newRow("Boolean 0") << boolean << DataPacketWriter::boolean(0) << Value(false);
    QTest::newRow("first day of the calendar") << date << DataPacketWriter::date(QDate(1, 1, 1)) << Value(QDate(1, 1, 1));
    QTest::newRow("day 693594 is 1899-12-30") << date << DataPacketWriter::value(le(693594, 4)) << Value(QDate(1899, 12, 30));
    QTest::newRow("a date before 1900") << date << DataPacketWriter::date(QDate(1850, 6, 1)) << Value(QDate(1850, 6, 1));
    QTest::newRow("date and time keeps the day") << stamp << DataPacketWriter::timestamp(QDate(1999, 12, 31), 86399999)
                                                 << Value(QDate(1999, 12, 31));
    QTest::newRow("date and time before 1900") << stamp << DataPacketWriter::timestamp(QDate(1601, 1, 1), 3600000)
                                               << Value(QDate(1601, 1, 1));
    QTest::newRow("8-bit text, trailing NULs gone") << string << DataPacketWriter::text(QByteArray("caf\xe9\0\0", 6))
                                                    << Value(QString("caf\u00e9"));
    QTest::newRow("empty text stored as one NUL") << string << DataPacketWriter::text(QByteArray(1, '\0')) << Value();
    QTest::newRow("UTF-16 text") << wide << DataPacketWriter::text(QByteArray("\x8b\x73\x41\0\0\0", 6)) << Value(QString("\u738bA"));
    QTest::newRow("memo") << memo << DataPacketWriter::text("line one\r\nline two") << Value(QString("line one\r\nline two"));
    QTest::newRow("wide memo") << wideMemo << DataPacketWriter::text(QByteArray("\x8b\x73", 2)) << Value(QString("\u738b"));
}

void TestDataPacket::valueKinds()
{
    QFETCH(DataPacketWriter::Column, column);
    QFETCH(Cell, cell);
    QFETCH(Value, expected);
    DataPacketWriter writer;
    writer.addColumn(column);
    writer.addRow(0, {cell});
    QCOMPARE(rowsOf(*read(writer.bytes())), (QList<QList<Value>>{{expected}}));
}

void TestDataPacket::fieldKindsOfTheTable()
{
    DataPacketWriter writer;
    writer.addIntegerColumn("ClientID");
    writer.addStringColumn("Name", 50);
    writer.addDateColumn("Birthday");
    writer.addTimestampColumn("Update");
    writer.addMemoColumn("Memo");
    writer.addBooleanColumn("Yellow");
    writer.addWideStringColumn("Wide", 30);
    const auto table = read(writer.bytes());
    QCOMPARE(table->fields(), (QList<FieldDef>{{"ClientID", FieldType::Integer, 0},
                                               {"Name", FieldType::Text, 50},
                                               {"Birthday", FieldType::Date, 0},
                                               {"Update", FieldType::Date, 0},
                                               {"Memo", FieldType::Memo, 0},
                                               {"Yellow", FieldType::Boolean, 0},
                                               {"Wide", FieldType::Text, 30}}));
    QCOMPARE(table->liveRowCount(), 0);
}

void TestDataPacket::chineseTexts_data()
{
    QTest::addColumn<QByteArray>("codePage");
    QTest::addColumn<int>("lcid"); // 0: none in the packet
    QTest::addColumn<QLocale>("system");
    QTest::newRow("GBK, locale 2052") << QByteArray("GBK") << 2052 << kWestern;
    QTest::newRow("Big5, locale 1028") << QByteArray("BIG5") << 1028 << kWestern;
    QTest::newRow("Big5, Hong Kong 3076") << QByteArray("BIG5") << 3076 << QLocale(QLocale::Chinese, QLocale::China);
    QTest::newRow("GBK, no locale, on a mainland system") << QByteArray("GBK") << 0 << QLocale(QLocale::Chinese, QLocale::China);
    QTest::newRow("Big5, no locale, on a Taiwan system") << QByteArray("BIG5") << 0 << QLocale(QLocale::Chinese, QLocale::Taiwan);
}

void TestDataPacket::chineseTexts()
{
    QFETCH(QByteArray, codePage);
    QFETCH(int, lcid);
    QFETCH(QLocale, system);
    const QString name = QString::fromUtf8("\u738b\u5c0f\u660e");
    const QString memo = QString::fromUtf8("\u5317\u4eac\u5e02\r\n\u4e2d\u6b63\u8def"); // in both code pages
    DataPacketWriter writer;
    writer.addStringColumn("Name", 50);
    writer.addMemoColumn("Memo");
    if (lcid != 0)
        writer.setLocaleId(lcid);
    writer.addRow(0, {DataPacketWriter::text(test::encodeCodePage(name, codePage) + '\0'),
                      DataPacketWriter::text(test::encodeCodePage(memo, codePage))});
    // The two code pages give other bytes: a wrong choice would show.
    QVERIFY(test::encodeCodePage(name, "GBK") != test::encodeCodePage(name, "BIG5"));
    QCOMPARE(rowsOf(*read(writer.bytes(), system)), (QList<QList<Value>>{{name, memo}}));
}

void TestDataPacket::stringPrefixWidth_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("length");
    QTest::newRow("width 254: one-byte prefix") << 254 << 254;
    QTest::newRow("width 255: two-byte prefix") << 255 << 255;
    QTest::newRow("width 300: two-byte prefix, 300 bytes") << 300 << 300;
}

void TestDataPacket::stringPrefixWidth()
{
    QFETCH(int, width);
    QFETCH(int, length);
    const QByteArray text(length, 'x');
    DataPacketWriter writer;
    writer.addStringColumn("Address", quint16(width));
    writer.addIntegerColumn("After");
    writer.addRow(0, {DataPacketWriter::text(text), DataPacketWriter::integer(7)});
    writer.addRow(0, {DataPacketWriter::text("short"), DataPacketWriter::integer(8)});
    const auto table = read(writer.bytes());
    QCOMPARE(table->fields()[0].size, width);
    QCOMPARE(rowsOf(*table), (QList<QList<Value>>{{QString(text), qint32(7)}, {QString("short"), qint32(8)}}));
}

void TestDataPacket::fieldStatesAcrossBytes()
{
    // Six fields: the states of the fifth and sixth are in the second state byte.
    DataPacketWriter writer;
    for (const char *name : {"F1", "F2", "F3", "F4", "F5", "F6"})
        writer.addIntegerColumn(name);
    writer.addRow(0, {DataPacketWriter::integer(1), DataPacketWriter::null(), DataPacketWriter::integer(3),
                      DataPacketWriter::null(), DataPacketWriter::integer(5), DataPacketWriter::null()});
    writer.addRow(0, {DataPacketWriter::null(), DataPacketWriter::integer(2), DataPacketWriter::null(),
                      DataPacketWriter::integer(4), DataPacketWriter::null(), DataPacketWriter::integer(6)});
    QCOMPARE(rowsOf(*read(writer.bytes())),
             (QList<QList<Value>>{{qint32(1), Value(), qint32(3), Value(), qint32(5), Value()},
                                  {Value(), qint32(2), Value(), qint32(4), Value(), qint32(6)}}));
}

void TestDataPacket::changeLog()
{
    DataPacketWriter writer;
    writer.addIntegerColumn("ClientID");
    writer.addStringColumn("Name", 50);
    writer.addMemoColumn("Memo");
    const auto row = [](qint32 id, const QByteArray &name, const Cell &memo) {
        return QList<Cell>{DataPacketWriter::integer(id), DataPacketWriter::text(name), memo};
    };
    const Cell unchanged = DataPacketWriter::notChanged();
    // 1 kept as loaded; 2 loaded and then edited twice, the memo never touched;
    // 3 loaded and deleted; 4 inserted; 5 inserted then edited; 6 inserted then deleted.
    writer.addRow(0x00, row(1, "Kept", DataPacketWriter::text("memo 1")));
    writer.addRow(0x01, row(2, "Edited", DataPacketWriter::text("memo 2")));
    writer.addRow(0x02, row(3, "Deleted", DataPacketWriter::text("memo 3")));
    writer.addRow(0x04, row(4, "Inserted", DataPacketWriter::null()));
    writer.addRow(0x09, {unchanged, DataPacketWriter::text("Edited once"), unchanged});
    writer.addRow(0x05, row(5, "Inserted first", DataPacketWriter::text("memo 5")));
    writer.addRow(0x08, {unchanged, DataPacketWriter::text("Edited twice"), unchanged});
    writer.addRow(0x0C, {unchanged, DataPacketWriter::text("Inserted then edited"), unchanged});
    writer.addRow(0x06, row(6, "Inserted then deleted", DataPacketWriter::null()));
    writer.setChangeLog({3, 0, 2, 4, 0, 4, 5, 2, 8, 6, 0, 4, 7, 5, 8, 8, 6, 8, 9, 0, 4, 9, 0, 2});
    QCOMPARE(rowsOf(*read(writer.bytes())),
             (QList<QList<Value>>{{qint32(1), QString("Kept"), QString("memo 1")},
                                  {qint32(4), QString("Inserted"), Value()},
                                  {qint32(2), QString("Edited twice"), QString("memo 2")},
                                  {qint32(5), QString("Inserted then edited"), QString("memo 5")}}));
}

void TestDataPacket::unknownPropertiesAreSkipped()
{
    DataPacketWriter writer;
    DataPacketWriter::Column column{"Name", 1, 0x0049, {}};
    column.properties << DataPacketWriter::Property{"MD_FIELDLINKS", 4, 0x0082, QByteArray("\x02\0\0\0" "abcdefgh", 12)};
    column.properties << DataPacketWriter::widthProperty(40);
    column.properties << DataPacketWriter::Property{"ORIGIN", 1, 0x0049, QByteArray("\x05" "T.Nam", 6)};
    writer.addColumn(column);
    writer.addPacketProperty(DataPacketWriter::int32Property("AUTOINCVALUE", 17));
    writer.addPacketProperty({"MD_SEMANTICS", 2, 0x0049, QByteArray("\x03\0xyz", 5)});
    writer.addPacketProperty(DataPacketWriter::uint32ArrayProperty("UNKNOWN_ARRAY", {1, 2, 3}));
    writer.addRow(0, {DataPacketWriter::text("Li")});
    const auto table = read(writer.bytes());
    QCOMPARE(table->fields()[0].size, 40);
    QCOMPARE(rowsOf(*table), (QList<QList<Value>>{{QString("Li")}}));
}

void TestDataPacket::defaultOrder()
{
    DataPacketWriter writer;
    writer.addIntegerColumn("ClientID");
    writer.addStringColumn("SurName", 30);
    writer.addPacketProperty(DataPacketWriter::uint16ArrayProperty("DEFAULT_ORDER", {2, 9}));
    for (const auto &[id, name] : {std::pair{1, "Wang"}, {2, "Li"}, {3, "Zhao"}, {4, "Li"}})
        writer.addRow(0, {DataPacketWriter::integer(id), DataPacketWriter::text(name)});
    writer.addRow(0, {DataPacketWriter::integer(5), DataPacketWriter::null()});
    // By surname, ties as stored; the field number 9 names no column and is passed over.
    QCOMPARE(rowsOf(*read(writer.bytes())),
             (QList<QList<Value>>{{qint32(5), Value()},
                                  {qint32(2), QString("Li")},
                                  {qint32(4), QString("Li")},
                                  {qint32(1), QString("Wang")},
                                  {qint32(3), QString("Zhao")}}));
}

void TestDataPacket::refused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    const auto withColumn = [](const DataPacketWriter::Column &column) {
        DataPacketWriter writer;
        writer.addIntegerColumn("ClientID");
        writer.addColumn(column);
        return writer.bytes();
    };
    const QString holds = "Field \"%1\" of the data packet holds %2, which an address book table cannot hold";
    QTest::newRow("nested table") << withColumn({"Details", 0, 0x000C, {}}) << holds.arg("Details", "nested values");
    QTest::newRow("nested flag") << withColumn({"Details", 4, 0x0101, {}}) << holds.arg("Details", "nested values");
    QTest::newRow("array") << withColumn({"Phones", 4, 0x0081, {}}) << holds.arg("Phones", "arrays");
    QTest::newRow("floating point") << withColumn({"Rate", 8, 0x0004, {}}) << holds.arg("Rate", "floating-point numbers");
    QTest::newRow("time of day") << withColumn({"At", 4, 0x0007, {}}) << holds.arg("At", "times of day");
    QTest::newRow("picture") << withColumn({"Photo", 4, 0x004B, {DataPacketWriter::subtypeProperty("Graphics")}})
                             << holds.arg("Photo", "binary data");

    DataPacketWriter big;
    big.addColumn({"N", 4, 0x0002, {}});
    big.addRow(0, {DataPacketWriter::value(QByteArray(4, '\xff'))});
    QTest::newRow("unsigned beyond 32-bit signed") << big.bytes()
        << "Field \"N\" of the data packet holds the number 4294967295, which is too large for an address book table";

    DataPacketWriter farDate;
    farDate.addDateColumn("D");
    farDate.addRow(0, {DataPacketWriter::value(QByteArray("\x00\xff\xff\x7f", 4))});
    QTest::newRow("a day no saved table can hold") << farDate.bytes()
        << "The data packet is damaged: field \"D\" holds an impossible date";
    DataPacketWriter farStamp;
    farStamp.addTimestampColumn("T");
    farStamp.addRow(0, {DataPacketWriter::value(QByteArray("\x00\x00\x00\x00\x00\x00\xf0\x7f", 8))}); // infinity
    QTest::newRow("a date and time of infinity") << farStamp.bytes()
        << "The data packet is damaged: field \"T\" holds an impossible date";

    DataPacketWriter rows;
    rows.addIntegerColumn("N");
    rows.addRow(0, {DataPacketWriter::integer(1)});
    QTest::newRow("more rows than bytes") << rows.bytes(100000) << "The data packet is damaged: it declares 100000 rows";
    QTest::newRow("row count of 4 billion") << rows.bytes(4294967294u) << "The data packet is damaged: it declares 4294967294 rows";

    DataPacketWriter circle;
    circle.addIntegerColumn("N");
    circle.addRow(0x09, {DataPacketWriter::notChanged()});
    circle.addRow(0x09, {DataPacketWriter::notChanged()});
    circle.setChangeLog({1, 2, 8, 2, 1, 8});
    QTest::newRow("change log in a circle") << circle.bytes() << "The data packet is damaged: its change log goes round in a circle";

    DataPacketWriter outside;
    outside.addIntegerColumn("N");
    outside.addRow(0x08, {DataPacketWriter::notChanged()});
    outside.setChangeLog({1, 7, 8});
    QTest::newRow("change log names a row it does not have")
        << outside.bytes() << "The data packet is damaged: its change log names rows it does not have";

    DataPacketWriter twice;
    twice.addIntegerColumn("Name");
    twice.addIntegerColumn("NAME");
    QTest::newRow("repeated name") << twice.bytes() << "The data packet is damaged: a column has an empty or repeated name";

    DataPacketWriter none;
    QTest::newRow("no columns") << none.bytes() << "The data packet is damaged: it describes no columns";
}

void TestDataPacket::refused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    QCOMPARE(refusal(bytes), message);
}

void TestDataPacket::truncatedAtEveryOffset()
{
    DataPacketWriter writer;
    writer.addIntegerColumn("ClientID");
    writer.addStringColumn("Name", 50);
    writer.addMemoColumn("Memo");
    writer.setLocaleId(2052);
    writer.addRow(0x01, {DataPacketWriter::integer(1), DataPacketWriter::text("A"), DataPacketWriter::text("memo")});
    writer.addRow(0x08, {DataPacketWriter::notChanged(), DataPacketWriter::text("B"), DataPacketWriter::notChanged()});
    writer.setChangeLog({2, 1, 8});
    const QByteArray whole = writer.bytes();
    QCOMPARE(read(whole)->liveRowCount(), 1);
    for (qsizetype cut = 0; cut < whole.size(); ++cut) {
        const QString message = refusal(whole.first(cut));
        QVERIFY2(message.startsWith("The data packet is damaged: "), qPrintable(QString("cut at %1: %2").arg(cut).arg(message)));
    }
}

QTEST_APPLESS_MAIN(TestDataPacket)
#include "tst_datapacket.moc"
