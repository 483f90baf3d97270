#include "common/TextDecoding.h"

#include <QTest>

class TestTextDecoding : public QObject {
    Q_OBJECT
private slots:
    void decode_data();
    void decode();
    void utf16WithoutLoneSurrogates_data();
    void utf16WithoutLoneSurrogates();
};

void TestTextDecoding::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");

    QTest::newRow("ascii") << QByteArray("Name=Li") << "en_US" << "Name=Li";
    QTest::newRow("utf-8 without mark") << QByteArray("\xe7\x8e\x8b") << "en_US" << "\u738b";
    QTest::newRow("utf-8 mark removed") << QByteArray("\xef\xbb\xbfx") << "zh_CN" << "x";
    QTest::newRow("utf-16le mark") << QByteArray("\xff\xfe\x8b\x73", 4) << "en_US" << "\u738b";
    QTest::newRow("utf-16be mark") << QByteArray("\xfe\xff\x73\x8b", 4) << "en_US" << "\u738b";
    QTest::newRow("gbk on zh_CN") << QByteArray("\xcd\xf5") << "zh_CN" << "\u738b";
    QTest::newRow("big5 on zh_TW") << QByteArray("\xa4\xfd") << "zh_TW" << "\u738b";
    QTest::newRow("windows-1252 elsewhere") << QByteArray("\x80 caf\xe9") << "de_DE" << "\u20ac caf\u00e9";
    QTest::newRow("cut-off gbk pair") << QByteArray("a\xcd") << "zh_CN" << "a\ufffd";
}

void TestTextDecoding::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QCOMPARE(qv::decodeText(bytes, QLocale(locale)), text);
}

// Units of UTF-16, written little-endian.
static QByteArray utf16le(std::initializer_list<char16_t> units)
{
    QByteArray bytes;
    for (char16_t u : units)
        bytes.append(char(u & 0xff)).append(char(u >> 8));
    return bytes;
}

void TestTextDecoding::utf16WithoutLoneSurrogates_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("plain") << utf16le({u'a', 0x738b}) << "a\u738b";
    QTest::newRow("pair kept") << utf16le({0xd83d, 0xde00, u'x'}) << "\U0001F600x";
    QTest::newRow("high at the end") << utf16le({u'a', 0xd83d}) << "a\ufffd";
    QTest::newRow("high before a plain unit") << utf16le({0xd83d, u'b'}) << "\ufffdb";
    QTest::newRow("two lone lows") << utf16le({0xdfdf, 0xdfdf}) << "\ufffd\ufffd";
    QTest::newRow("low before high") << utf16le({0xde00, 0xd83d}) << "\ufffd\ufffd";
    QTest::newRow("two highs, then a low") << utf16le({0xd83d, 0xd83d, 0xde00}) << "\ufffd\U0001F600";
}

void TestTextDecoding::utf16WithoutLoneSurrogates()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(qv::decodeUtf16Le(bytes), text);
}

QTEST_APPLESS_MAIN(TestTextDecoding)
#include "tst_textdecoding.moc"
