#include "settings/IniDocument.h"

#include <QTest>

using qv::IniDocument;

class TestIniDocument : public QObject {
    Q_OBJECT
private slots:
    void value_data();
    void value();
    void setValue_data();
    void setValue();
    void linesKeepFileOrder();
    void clearedSectionIsRefilledInPlace_data();
    void clearedSectionIsRefilledInPlace();
};

void TestIniDocument::value_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("value");

    const QString ini = QStringLiteral("[Misc]\nFormWidth = 700 \nDataDir=/a b/ \n[misc]\nFormWidth=1\n; c=1\n");
    QTest::newRow("exact") << ini << "Misc" << "FormWidth" << true << "700";
    QTest::newRow("section and key ignore case") << ini << "MISC" << "formwidth" << true << "700";
    QTest::newRow("blanks around value trimmed") << ini << "Misc" << "DataDir" << true << "/a b/";
    QTest::newRow("missing key") << ini << "Misc" << "FormHeight" << false << "";
    QTest::newRow("missing section") << ini << "Fonts" << "FormWidth" << false << "";
    QTest::newRow("comment is not a key") << ini << "misc" << "; c" << false << "";
    QTest::newRow("crlf line ends") << "[A]\r\nk=v\r\n" << "A" << "k" << true << "v";
    QTest::newRow("value with equals sign") << "[A]\nk=a=b\n" << "A" << "k" << true << "a=b";
    QTest::newRow("empty value") << "[A]\nk=\n" << "A" << "k" << true << "";
}

void TestIniDocument::value()
{
    QFETCH(QString, text);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(bool, found);
    QFETCH(QString, value);
    const auto v = IniDocument(text).value(section, key);
    QCOMPARE(v.has_value(), found);
    if (found)
        QCOMPARE(*v, value);
}

void TestIniDocument::setValue_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("after");

    QTest::newRow("empty file") << "" << "A" << "k" << "1" << "[A]\nk=1\n";
    QTest::newRow("replace keeps neighbours and spelling")
        << "; top\n[A]\nx=0\nKEY=old\ny=2\n" << "a" << "key" << "new" << "; top\n[A]\nx=0\nKEY=new\ny=2\n";
    QTest::newRow("add at section end before blank line")
        << "[A]\nx=0\n\n[B]\ny=1\n" << "A" << "k" << "1" << "[A]\nx=0\nk=1\n\n[B]\ny=1\n";
    QTest::newRow("new section after the last")
        << "[A]\nx=0\n" << "B" << "k" << "1" << "[A]\nx=0\n\n[B]\nk=1\n";
    QTest::newRow("only the first of a twice-stated key")
        << "[A]\nk=1\nk=2\n" << "A" << "k" << "9" << "[A]\nk=9\nk=2\n";
    QTest::newRow("unicode value") << "[A]\n" << "A" << "k" << "\u738b\u5c0f\u660e" << "[A]\nk=\u738b\u5c0f\u660e\n";
}

void TestIniDocument::setValue()
{
    QFETCH(QString, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QString, after);
    IniDocument doc(before);
    doc.setValue(section, key, value);
    QCOMPARE(doc.toText(), after);
}

void TestIniDocument::linesKeepFileOrder()
{
    const IniDocument doc(QStringLiteral("[L]\nz=1\na=2\nbad line\nm=3\n[N]\nq=4\n"));
    const QList<qv::IniLine> expected = {{"z", "1"}, {"a", "2"}, {"m", "3"}};
    QCOMPARE(doc.lines(QStringLiteral("l")), expected);
}

void TestIniDocument::clearedSectionIsRefilledInPlace_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after"); // cleared, then k=1 and s=2 written

    QTest::newRow("between two sections")
        << "[A]\nx=0\n\n[L]\nold=1\n; note\nold2=2\n\n[B]\ny=1\n" << "[A]\nx=0\n\n[L]\nk=1\ns=2\n\n[B]\ny=1\n";
    QTest::newRow("the last section") << "[A]\nx=0\n[L]\nold=1\n" << "[A]\nx=0\n[L]\nk=1\ns=2\n";
    QTest::newRow("header spelt otherwise") << "[l]\nold=1\n[B]\n" << "[l]\nk=1\ns=2\n[B]\n";
    QTest::newRow("missing: added at the end") << "[A]\nx=0\n" << "[A]\nx=0\n\n[L]\nk=1\ns=2\n";
}

void TestIniDocument::clearedSectionIsRefilledInPlace()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    IniDocument doc(before);
    doc.clearSection("L");
    doc.setValue("L", "k", "1");
    doc.setValue("L", "s", "2");
    QCOMPARE(doc.toText(), after);
}

QTEST_APPLESS_MAIN(TestIniDocument)
#include "tst_inidocument.moc"
