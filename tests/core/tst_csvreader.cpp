#include "common/Error.h"
#include "exchange/csv/CsvReader.h"

#include <QBuffer>
#include <QTest>

using namespace qv;
using Records = QList<QStringList>;

Q_DECLARE_METATYPE(Records)

namespace {

Records readAll(const QByteArray &bytes, const QLocale &locale = QLocale(QLocale::English, QLocale::UnitedStates))
{
    QBuffer device;
    device.setData(bytes);
    device.open(QIODevice::ReadOnly);
    CsvReader reader(device, QStringLiteral("in.csv"), locale);
    Records records;
    while (!reader.atEnd())
        records << reader.readRecord();
    return records;
}

QString errorOf(const QByteArray &bytes)
{
    try {
        readAll(bytes);
    } catch (const Error &e) {
        return e.text();
    }
    return QString();
}

QByteArray utf16(const QString &text, bool littleEndian)
{
    QByteArray bytes = littleEndian ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
    for (QChar c : text) {
        const char lo = char(c.unicode() & 0xFF), hi = char(c.unicode() >> 8);
        bytes += littleEndian ? lo : hi;
        bytes += littleEndian ? hi : lo;
    }
    return bytes;
}

} // namespace

class TestCsvReader : public QObject {
    Q_OBJECT
private slots:
    void records_data();
    void records();
    void encodings_data();
    void encodings();
    void refused_data();
    void refused();
    void limitsLeaveEarlierRecords();
    void rewindStartsAgain();
    void crLfAcrossPieces();
    void legacyTextWithCrLineEnds();
    void recordLines();
};

void TestCsvReader::records_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Records>("expected");

    QTest::newRow("export line with trailing comma") << QByteArray("Ann Lee,\"1970-03-02\",\"say \"\"hi\"\"\",\r\n")
                                                     << Records{{"Ann Lee", "1970-03-02", "say \"hi\""}};
    QTest::newRow("LF line ends") << QByteArray("a,b\nc,d\n") << Records{{"a", "b"}, {"c", "d"}};
    QTest::newRow("CR LF line ends") << QByteArray("a,b\r\nc,d\r\n") << Records{{"a", "b"}, {"c", "d"}};
    QTest::newRow("lone CR line ends") << QByteArray("a,b\rc,d\r") << Records{{"a", "b"}, {"c", "d"}};
    QTest::newRow("mixed line ends") << QByteArray("a\nb\r\nc\rd") << Records{{"a"}, {"b"}, {"c"}, {"d"}};
    QTest::newRow("no final line end") << QByteArray("a,b") << Records{{"a", "b"}};
    QTest::newRow("blank lines skipped") << QByteArray("\r\na\r\n\r\n\n\rb\r\n\r\n") << Records{{"a"}, {"b"}};
    QTest::newRow("empty values kept") << QByteArray(",a,,b,,\r\n") << Records{{"", "a", "", "b", ""}};
    QTest::newRow("lone comma is one empty value") << QByteArray(",\r\n") << Records{{""}};
    QTest::newRow("empty quoted value") << QByteArray("\"\",\"\"\r\n") << Records{{"", ""}};
    QTest::newRow("comma inside quotes") << QByteArray("\"Lee, Ann\",x\r\n") << Records{{"Lee, Ann", "x"}};
    QTest::newRow("doubled quotes become one") << QByteArray("\"a\"\"b\"\"\"\r\n") << Records{{"a\"b\""}};
    QTest::newRow("quoted value over two lines keeps CR LF") << QByteArray("\"one\r\ntwo\",x\r\ny\r\n")
                                                             << Records{{"one\r\ntwo", "x"}, {"y"}};
    QTest::newRow("quoted value over lines keeps LF") << QByteArray("\"one\ntwo\nthree\"\n") << Records{{"one\ntwo\nthree"}};
    QTest::newRow("blank line inside quotes is text") << QByteArray("\"a\r\n\r\nb\"\r\n") << Records{{"a\r\n\r\nb"}};
    QTest::newRow("quote inside a plain value stays") << QByteArray("5\" disk,x\r\n") << Records{{"5\" disk", "x"}};
    QTest::newRow("lone quote inside quoted value stays") << QByteArray("\"a\"b\",c\r\n") << Records{{"a\"b", "c"}};
    QTest::newRow("unclosed quote runs to the end") << QByteArray("\"abc\r\nd,e\r\n") << Records{{"abc\r\nd,e\r\n"}};
    QTest::newRow("blanks kept") << QByteArray(" a , b \r\n") << Records{{" a ", " b "}};
    QTest::newRow("character 26 ends the file") << QByteArray("a\r\n\x1a") << Records{{"a"}};
    QTest::newRow("only line ends") << QByteArray("\r\n\r\n") << Records{};
}

void TestCsvReader::records()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Records, expected);
    QCOMPARE(readAll(bytes), expected);
}

void TestCsvReader::encodings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("encoding");

    const QString wang = QStringLiteral("\u738b\u5c0f\u660e");
    QTest::newRow("utf-8") << QByteArray("\xe7\x8e\x8b\xe5\xb0\x8f\xe6\x98\x8e,\r\n") << "en_US" << wang << int(CsvTextSource::Encoding::Utf8);
    QTest::newRow("utf-8 with mark") << QByteArray("\xef\xbb\xbf\xe7\x8e\x8b\xe5\xb0\x8f\xe6\x98\x8e\r\n") << "en_US" << wang
                                     << int(CsvTextSource::Encoding::Utf8);
    QTest::newRow("utf-16le with mark") << utf16(wang + "\r\n", true) << "en_US" << wang << int(CsvTextSource::Encoding::Utf16LE);
    QTest::newRow("utf-16be with mark") << utf16(wang + ",\r\n", false) << "en_US" << wang << int(CsvTextSource::Encoding::Utf16BE);
    QTest::newRow("gbk on zh_CN") << QByteArray("\xcd\xf5\xd0\xa1\xc3\xf7\r\n") << "zh_CN" << wang << int(CsvTextSource::Encoding::Legacy);
    QTest::newRow("big5 on zh_TW") << QByteArray("\xa4\xfd\xa4\x70\xa9\xfa\r\n") << "zh_TW" << wang << int(CsvTextSource::Encoding::Legacy);
    QTest::newRow("windows-1252 elsewhere") << QByteArray("Caf\xe9 \x80\r\n") << "de_DE" << QString("Caf\u00e9 \u20ac")
                                            << int(CsvTextSource::Encoding::Legacy);
    // Valid UTF-8 at the start does not decide: one byte that is not UTF-8 further on does.
    QTest::newRow("late non-utf-8 byte") << QByteArray(200000, 'x') + "\r\n\xe9\r\n\xc3\xa9\r\n" << "de_DE"
                                         << QString("\u00c3\u00a9") << int(CsvTextSource::Encoding::Legacy);
    // A last byte that could start a UTF-8 sequence but has nothing after it is no UTF-8.
    QTest::newRow("windows-1252 letter at the very end") << QByteArray("x\r\nCaf\xe9") << "de_DE" << QString("Caf\u00e9")
                                                         << int(CsvTextSource::Encoding::Legacy);
    // A 3-byte character cut by the 64 KiB pieces of the encoding check is still UTF-8.
    QTest::newRow("utf-8 across pieces") << QByteArray(65535, 'x') + "\xe7\x8e\x8b\r\n" + wang.toUtf8() << "de_DE" << wang
                                         << int(CsvTextSource::Encoding::Utf8);
}

void TestCsvReader::encodings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, locale);
    QFETCH(QString, value);
    QFETCH(int, encoding);
    QBuffer device;
    device.setData(bytes);
    device.open(QIODevice::ReadOnly);
    CsvReader reader(device, "in.csv", QLocale(locale));
    QCOMPARE(int(reader.encoding()), encoding);
    Records records;
    while (!reader.atEnd())
        records << reader.readRecord();
    QVERIFY(!records.isEmpty());
    QCOMPARE(records.last().value(0), value);
}

void TestCsvReader::refused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");

    QTest::newRow("0 bytes") << QByteArray() << "in.csv is empty: there is nothing to import.";
    QTest::newRow("not text") << QByteArray("PK\x03\x04\x14\x00\x00\x00", 8) << "in.csv is not a text file.";
    QTest::newRow("NUL after text") << QByteArray("a,b\r\n") + QByteArray(1, '\0') << "in.csv is not a text file.";
    QTest::newRow("10,001 values") << QByteArray("x\r\n") + QByteArray(10000, ',') + "a\r\n" << "Line 2 of in.csv holds more than 10,000 values";
    QTest::newRow("line over 1 MB") << QByteArray("x\r\n\"") + QByteArray(1024 * 1024, 'a') + "\"\r\n" << "Line 2 of in.csv is longer than 1 MB";
    QTest::newRow("second line of a quoted value over 1 MB") << QByteArray("\"a\r\n") + QByteArray(1024 * 1024 + 1, 'b') + "\"\r\n"
                                                             << "Line 2 of in.csv is longer than 1 MB";
}

void TestCsvReader::refused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    QCOMPARE(errorOf(bytes), message);
}

void TestCsvReader::limitsLeaveEarlierRecords()
{
    // Exactly at the limits is fine; the record after them is refused and the reader ends.
    QByteArray bytes = QByteArray(9999, ',') + "a\r\n" + QByteArray(1024 * 1024, 'b') + "\r\n" + QByteArray(1024 * 1024 + 1, 'c') + "\r\nd\r\n";
    QBuffer device;
    device.setData(bytes);
    device.open(QIODevice::ReadOnly);
    CsvReader reader(device, "in.csv");
    QCOMPARE(reader.readRecord().size(), 10000);
    QCOMPARE(reader.readRecord().value(0).size(), 1024 * 1024);
    QVERIFY_THROWS_EXCEPTION(Error, reader.readRecord());
    QVERIFY(reader.atEnd());
}

void TestCsvReader::rewindStartsAgain()
{
    QBuffer device;
    device.setData("\xef\xbb\xbf" "a\r\nb\r\n");
    device.open(QIODevice::ReadOnly);
    CsvReader reader(device, "in.csv");
    QCOMPARE(reader.readRecord(), QStringList{"a"});
    QCOMPARE(reader.readRecord(), QStringList{"b"});
    QVERIFY(reader.atEnd());
    reader.rewind();
    QCOMPARE(reader.readRecord(), QStringList{"a"}); // without the byte-order mark
}

void TestCsvReader::crLfAcrossPieces()
{
    // The text arrives in pieces of 64 KiB: a CR at the end of one and its LF
    // at the start of the next are still one line end, also inside quotes.
    const QByteArray first = QByteArray(65535, 'x');
    QCOMPARE(readAll(first + "\r\ny\r\n"), (Records{{QString(first)}, {"y"}}));
    const QByteArray quoted = "\"" + QByteArray(65534, 'x');
    QCOMPARE(readAll(quoted + "\r\ny\"\r\n"), (Records{{QString(quoted.mid(1)) + "\r\ny"}}));
}

void TestCsvReader::legacyTextWithCrLineEnds()
{
    // Far more than the pieces the legacy text is decoded in, each cut after
    // a line end: no two-byte character may be cut in half.
    const Records records = readAll(QByteArray("\xcd\xf5\r").repeated(100000), QLocale(QLocale::Chinese, QLocale::China));
    QCOMPARE(records.size(), 100000);
    QCOMPARE(records.count(QStringList{QStringLiteral("\u738b")}), 100000);
}

void TestCsvReader::recordLines()
{
    QBuffer device;
    device.setData("a\r\n\r\n\"b\r\nc\"\r\nd\r\n");
    device.open(QIODevice::ReadOnly);
    CsvReader reader(device, "in.csv");
    QList<int> lines;
    while (!reader.atEnd()) {
        reader.readRecord();
        lines << reader.recordLine();
    }
    QCOMPARE(lines, (QList<int>{1, 3, 5}));
}

QTEST_APPLESS_MAIN(TestCsvReader)
#include "tst_csvreader.moc"
