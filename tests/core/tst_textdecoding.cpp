#include "common/TextDecoding.h"

#include <QTest>

class TestTextDecoding : public QObject {
    Q_OBJECT
private slots:
    void decode_data();
    void decode();
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

QTEST_APPLESS_MAIN(TestTextDecoding)
#include "tst_textdecoding.moc"
