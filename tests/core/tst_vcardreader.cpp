#include "VCardDump.h"

#include "exchange/vcard/VCardReader.h"

#include <QTest>

using namespace qv;
using namespace qv::vcard;

namespace {

QByteArray card(const QByteArray &version, const QByteArray &body)
{
    QByteArray text = "BEGIN:VCARD\r\n";
    if (!version.isEmpty())
        text += "VERSION:" + version + "\r\n";
    return text + body + "END:VCARD\r\n";
}

// One letter per card: o for a good card, u for an unterminated one, q for
// broken quoted-printable; with the line of the fault for broken ones.
QString summary(const std::vector<ReadCard> &cards)
{
    QStringList parts;
    for (const ReadCard &c : cards) {
        switch (c.fault) {
        case CardFault::None:
            parts << QStringLiteral("o");
            break;
        case CardFault::Unterminated:
            parts << QStringLiteral("u%1").arg(c.faultLine);
            break;
        case CardFault::BadQuotedPrintable:
            parts << QStringLiteral("q%1").arg(c.faultLine);
            break;
        }
    }
    return parts.join(u' ');
}

} // namespace

class TestVCardReader : public QObject {
    Q_OBJECT
private slots:
    void properties_data();
    void properties();
    void cards_data();
    void cards();
    void cardsKeepFileOrder();
    void faultTexts();
    void tenMegabyteLine();
    void millionFoldedLines();
    void hundredThousandNestedBegins();
    void deeplyEmbeddedAgents();
    void nulBytes();
    void utf16File();
};

void TestVCardReader::properties_data()
{
    QTest::addColumn<QByteArray>("version");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("expected");

    const QString en = QStringLiteral("en_US");
    const QString zh = QStringLiteral("zh_CN");

    // Folding
    QTest::newRow("3.0 fold drops one blank") << QByteArray("3.0") << QByteArray("NOTE:abc\r\n  def\r\n") << en
                                              << "NOTE:abc def";
    QTest::newRow("3.0 fold with a tab") << QByteArray("3.0") << QByteArray("NOTE:abc\r\n\tdef\r\n") << en
                                         << "NOTE:abcdef";
    QTest::newRow("4.0 fold inside a UTF-8 sequence")
        << QByteArray("4.0") << QByteArray("FN:\xe7\x8e\r\n \x8b\r\n") << en << QString::fromUtf8("FN:\u738b");
    QTest::newRow("2.1 fold keeps the blank") << QByteArray("2.1") << QByteArray("NOTE:abc\r\n def\r\n") << en
                                              << "NOTE:abc def";
    QTest::newRow("no version folds as 2.1") << QByteArray() << QByteArray("NOTE:abc\r\n def\r\n") << en
                                             << "NOTE:abc def";
    QTest::newRow("3.0 fold inside the header") << QByteArray("3.0") << QByteArray("TEL;TYPE=HO\r\n ME:1\r\n") << en
                                                << "TEL;HOME:1";
    QTest::newRow("2.1 fold between parameters") << QByteArray("2.1") << QByteArray("TEL;HOME;\r\n FAX:1\r\n") << en
                                                 << "TEL;HOME;FAX:1";
    QTest::newRow("LF line ends") << QByteArray("3.0") << QByteArray("FN:a\n b\nTEL:1\n") << en << "FN:ab\nTEL:1";
    QTest::newRow("lone CR line ends") << QByteArray("3.0") << QByteArray("FN:a\r b\rTEL:1\r") << en << "FN:ab\nTEL:1";
    QTest::newRow("blank lines between properties") << QByteArray("3.0") << QByteArray("FN:a\r\n\r\nTEL:1\r\n") << en
                                                     << "FN:a\nTEL:1";
    QTest::newRow("line without colon passed over") << QByteArray("3.0") << QByteArray("junk\r\nFN:a\r\n") << en
                                                    << "FN:a";

    // Escapes
    QTest::newRow("3.0 escapes") << QByteArray("3.0") << QByteArray("NOTE:a\\, b\\; c\\\\ d\\nE\\Nf\\:g\r\n") << en
                                 << "NOTE:a, b; c\\ d\nE\nf:g";
    QTest::newRow("3.0 unknown escape stays") << QByteArray("3.0") << QByteArray("NOTE:a\\x\r\n") << en
                                              << "NOTE:a\\x";
    QTest::newRow("2.1 keeps backslash n") << QByteArray("2.1") << QByteArray("NOTE:C:\\new\\; x\r\n") << en
                                           << "NOTE:C:\\new; x";
    QTest::newRow("escaped semicolon inside a component")
        << QByteArray("3.0") << QByteArray("N:Do\\;e;John\\,Paul;;;\r\n") << en << "N;F=Do;e;G=John,Paul";
    QTest::newRow("escaped backslash before a separator")
        << QByteArray("3.0") << QByteArray("N:a\\\\;b;;;\r\n") << en << "N;F=a\\;G=b";
    QTest::newRow("unknown property kept as written")
        << QByteArray("3.0") << QByteArray("X-FOO;BAR=1:a\\,b;c\r\n") << en << "X-FOO;BAR=1:a\\,b;c";

    // Structured values
    QTest::newRow("ADR components") << QByteArray("3.0") << QByteArray("ADR;TYPE=home:1;2;3;4;5;6;7\r\n") << en
                                    << "ADR;HOME;BOX=1;EXT ADD=2;STREET=3;L=4;R=5;PC=6;C=7";
    QTest::newRow("ADR with STREET and L only") << QByteArray("2.1") << QByteArray("ADR:;;Main St;Town;;;\r\n") << en
                                                << "ADR;STREET=Main St;L=Town";
    QTest::newRow("ADR beyond seven components") << QByteArray("3.0") << QByteArray("ADR:;;s;;;;C;x\r\n") << en
                                                 << "ADR;STREET=s;C=C;x";
    QTest::newRow("ORG with units") << QByteArray("2.1") << QByteArray("ORG:Acme;Sales;East;North\r\n") << en
                                    << "ORG;ORGNAME=Acme;OUN=Sales;OUN2=East;OUN3=North";
    QTest::newRow("parameter named like a component left out")
        << QByteArray("3.0") << QByteArray("N;F=x;X=y:Doe;John;;;\r\n") << en << "N;X=y;F=Doe;G=John";
    QTest::newRow("N short") << QByteArray("4.0") << QByteArray("N:Doe\r\n") << en << "N;F=Doe";

    // Quoted-printable
    QTest::newRow("soft line break") << QByteArray("2.1")
                                     << QByteArray("NOTE;ENCODING=QUOTED-PRINTABLE:abc=\r\ndef\r\n") << en
                                     << "NOTE;QUOTED-PRINTABLE:abcdef";
    QTest::newRow("soft break before a blank") << QByteArray("2.1")
                                               << QByteArray("NOTE;QUOTED-PRINTABLE:abc=\r\n def=\r\n\r\n") << en
                                               << "NOTE;QUOTED-PRINTABLE:abc def";
    QTest::newRow("blanks after a soft line break dropped")
        << QByteArray("2.1") << QByteArray("NOTE;QUOTED-PRINTABLE:abc= \t\r\ndef  \r\n") << en
        << "NOTE;QUOTED-PRINTABLE:abcdef  ";
    QTest::newRow("QP line breaks") << QByteArray("2.1") << QByteArray("NOTE;QUOTED-PRINTABLE:a=0D=0Ab=0Ac\r\n") << en
                                    << "NOTE;QUOTED-PRINTABLE:a\nb\nc";
    QTest::newRow("QP lowercase hex") << QByteArray("2.1")
                                      << QByteArray("FN;CHARSET=UTF-8;QUOTED-PRINTABLE:=e7=8e=8b\r\n") << en
                                      << QString::fromUtf8("FN;CHARSET=UTF-8;QUOTED-PRINTABLE:\u738b");
    QTest::newRow("value starting with U+FEFF kept")
        << QByteArray("2.1") << QByteArray("NOTE;CHARSET=UTF-8;QUOTED-PRINTABLE:=EF=BB=BFa=EF=BB=BF\r\n") << en
        << QString::fromUtf8("NOTE;CHARSET=UTF-8;QUOTED-PRINTABLE:\uFEFFa\uFEFF");
    QTest::newRow("QP structured") << QByteArray("2.1")
                                   << QByteArray("N;ENCODING=QUOTED-PRINTABLE;CHARSET=UTF-8:=E7=8E=8B;=E5=B0=8F=\r\n"
                                                 "=E6=98=8E;;;\r\n")
                                   << en
                                   << QString::fromUtf8("N;QUOTED-PRINTABLE;CHARSET=UTF-8;F=\u738b;G=\u5c0f\u660e");
    QTest::newRow("QP with an escaped =") << QByteArray("2.1") << QByteArray("NOTE;QUOTED-PRINTABLE:1+1=3D2\r\n")
                                          << en << "NOTE;QUOTED-PRINTABLE:1+1=2";

    // Character sets
    QTest::newRow("ISO-8859-1") << QByteArray("2.1") << QByteArray("FN;CHARSET=ISO-8859-1:Caf\xe9\r\n") << en
                                << QString::fromUtf8("FN;CHARSET=ISO-8859-1:Caf\u00e9");
    QTest::newRow("GBK named") << QByteArray("2.1") << QByteArray("FN;CHARSET=GBK:\xcd\xf5\r\n") << en
                               << QString::fromUtf8("FN;CHARSET=GBK:\u738b");
    QTest::newRow("Big5 named") << QByteArray("2.1") << QByteArray("FN;CHARSET=BIG5:\xa4\xfd\r\n") << en
                                << QString::fromUtf8("FN;CHARSET=BIG5:\u738b");
    QTest::newRow("Windows-1252 QP") << QByteArray("2.1")
                                     << QByteArray("NOTE;CHARSET=WINDOWS-1252;QUOTED-PRINTABLE:=80 5\r\n") << en
                                     << QString::fromUtf8("NOTE;CHARSET=WINDOWS-1252;QUOTED-PRINTABLE:\u20ac 5");
    QTest::newRow("ISO-8859-7 QP") << QByteArray("2.1") << QByteArray("FN;CHARSET=ISO-8859-7;QUOTED-PRINTABLE:=E1\r\n")
                                   << en << QString::fromUtf8("FN;CHARSET=ISO-8859-7;QUOTED-PRINTABLE:\u03b1");
    QTest::newRow("QP without charset, UTF-8") << QByteArray("2.1") << QByteArray("FN;QUOTED-PRINTABLE:=E7=8E=8B\r\n")
                                               << zh << QString::fromUtf8("FN;QUOTED-PRINTABLE:\u738b");
    QTest::newRow("QP without charset, legacy") << QByteArray("2.1") << QByteArray("FN;QUOTED-PRINTABLE:=CD=F5\r\n")
                                                << zh << QString::fromUtf8("FN;QUOTED-PRINTABLE:\u738b");
    QTest::newRow("file in the legacy code page") << QByteArray("2.1") << QByteArray("FN:\xcd\xf5\r\n") << zh
                                                  << QString::fromUtf8("FN:\u738b");
    QTest::newRow("unknown charset falls back") << QByteArray("2.1") << QByteArray("FN;CHARSET=NO-SUCH:Caf\xe9\r\n")
                                                << en << QString::fromUtf8("FN;CHARSET=NO-SUCH:Caf\u00e9");
    QTest::newRow("odd charset name never reaches iconv")
        << QByteArray("2.1") << QByteArray("FN;CHARSET=\"UTF-8//x y\":Caf\xe9\r\n") << en
        << QString::fromUtf8("FN;CHARSET=UTF-8//x y:Caf\u00e9");

    // Parameters of each version
    QTest::newRow("2.1 bare types") << QByteArray("2.1") << QByteArray("TEL;HOME;FAX:1\r\n") << en
                                    << "TEL;HOME;FAX:1";
    QTest::newRow("2.1 TYPE= form") << QByteArray("2.1") << QByteArray("TEL;TYPE=HOME:1\r\n") << en << "TEL;HOME:1";
    QTest::newRow("type named twice stands once") << QByteArray("2.1") << QByteArray("TEL;HOME;TYPE=home:1\r\n") << en
                                                  << "TEL;HOME:1";
    QTest::newRow("3.0 TYPE list") << QByteArray("3.0") << QByteArray("TEL;TYPE=work,voice:1\r\n") << en
                                   << "TEL;WORK;VOICE:1";
    QTest::newRow("3.0 repeated TYPE") << QByteArray("3.0") << QByteArray("TEL;type=CELL;type=pref:1\r\n") << en
                                       << "TEL;CELL;PREF:1";
    QTest::newRow("3.0 ENCODING=b") << QByteArray("3.0") << QByteArray("PHOTO;ENCODING=b;TYPE=JPEG:QUJD\r\n RA==\r\n")
                                    << en << "PHOTO;BASE64;JPEG:QUJDRA==";
    QTest::newRow("4.0 quoted TYPE list") << QByteArray("4.0") << QByteArray("TEL;TYPE=\"work,voice\":1\r\n") << en
                                          << "TEL;WORK;VOICE:1";
    QTest::newRow("4.0 quoted TYPE values") << QByteArray("4.0") << QByteArray("TEL;TYPE=\"work\",\"cell\":1\r\n")
                                            << en << "TEL;WORK;CELL:1";
    QTest::newRow("4.0 PREF=1") << QByteArray("4.0") << QByteArray("EMAIL;PREF=1:a@b\r\n") << en << "EMAIL;PREF:a@b";
    QTest::newRow("4.0 PREF=2 is no preference") << QByteArray("4.0") << QByteArray("EMAIL;PREF=2:a@b\r\n") << en
                                                 << "EMAIL;PREF=2:a@b";
    QTest::newRow("4.0 tel URI") << QByteArray("4.0") << QByteArray("TEL;VALUE=uri;TYPE=home:tel:+1-555-0100\r\n")
                                 << en << "TEL;HOME:+1-555-0100";
    QTest::newRow("4.0 other URI kept") << QByteArray("4.0") << QByteArray("TEL;VALUE=uri:sip:a@b\r\n") << en
                                        << "TEL;VALUE=uri:sip:a@b";
    QTest::newRow("4.0 caret encoding") << QByteArray("4.0") << QByteArray("X-A;LABEL=\"a^nb^'c^^\":v\r\n") << en
                                        << "X-A;LABEL=a\nb\"c^:v";
    QTest::newRow("quoted value with ; and :")
        << QByteArray("4.0") << QByteArray("ADR;LABEL=\"1 Main St; Town: X\":;;1 Main St;;;;\r\n") << en
        << "ADR;LABEL=1 Main St; Town: X;STREET=1 Main St";
    QTest::newRow("group") << QByteArray("3.0") << QByteArray("item1.EMAIL;type=INTERNET:a@b\r\n") << en
                           << "item1.EMAIL;INTERNET:a@b";
    QTest::newRow("names in any case") << QByteArray("3.0") << QByteArray("tel;Type=Home:1\r\n") << en << "TEL;HOME:1";
    QTest::newRow("parameter names not ASCII left out")
        << QByteArray("2.1") << QByteArray("TEL;T\xa9PE=HOME;\xe7\x8e\x8b;CELL;TYPE=\xe7,WORK:1\r\n") << en
        << "TEL;CELL;WORK:1";
    QTest::newRow("LANGUAGE kept with its value") << QByteArray("3.0") << QByteArray("FN;LANGUAGE=de:A\r\n") << en
                                                  << "FN;LANGUAGE=de:A";

    // Base64
    QTest::newRow("2.1 base64 up to a blank line")
        << QByteArray("2.1") << QByteArray("PHOTO;ENCODING=BASE64;TYPE=GIF:\r\n    QUJD\r\nREVG\r\n\r\nTEL:1\r\n") << en
        << "PHOTO;BASE64;GIF:QUJDREVG\nTEL:1";
    QTest::newRow("2.1 base64 ends at the next property")
        << QByteArray("2.1") << QByteArray("PHOTO;BASE64:QUJD\r\nTEL:1\r\n") << en << "PHOTO;BASE64:QUJD\nTEL:1";
    QTest::newRow("base64 keeps its alphabet only")
        << QByteArray("3.0") << QByteArray("PHOTO;ENCODING=b:QU\\,J\xe7" "D;\r\n") << en << "PHOTO;BASE64:QUJD";
    QTest::newRow("truncated base64 kept as it is")
        << QByteArray("2.1") << QByteArray("PHOTO;BASE64:QUJ\r\n") << en << "PHOTO;BASE64:QUJ";

    // Dates are values like others; the card object reads them.
    QTest::newRow("BDAY basic") << QByteArray("3.0") << QByteArray("BDAY:19700302\r\n") << en << "BDAY:19700302";
}

void TestVCardReader::properties()
{
    QFETCH(QByteArray, version);
    QFETCH(QByteArray, body);
    QFETCH(QString, locale);
    QFETCH(QString, expected);
    QCOMPARE(test::dumpOnlyCard(card(version, body), locale), expected);
}

void TestVCardReader::cards_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("expected");

    const QByteArray good = "BEGIN:VCARD\r\nFN:a\r\nEND:VCARD\r\n";
    QTest::newRow("empty file") << QByteArray() << "";
    QTest::newRow("text without cards") << QByteArray("hello\r\nFN:a\r\nEND:VCARD\r\n") << "";
    QTest::newRow("two cards") << good + good << "o o";
    QTest::newRow("calendar passed over") << "BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n" + good << "o";
    QTest::newRow("lower case delimiters") << QByteArray("begin:vcard\r\nFN:a\r\nend:vcard  \r\n") << "o";
    QTest::newRow("UTF-8 mark") << "\xef\xbb\xbf" + good << "o";
    QTest::newRow("end of file inside a card") << good + "BEGIN:VCARD\r\nFN:b\r\n" << "o u4";
    QTest::newRow("unterminated before a good card") << "BEGIN:VCARD\r\nFN:b\r\n" + good + good << "u1 o o";
    QTest::newRow("broken QP between good cards")
        << good + "BEGIN:VCARD\r\nNOTE;QUOTED-PRINTABLE:a=ZZ\r\nEND:VCARD\r\n" + good << "o q5 o";
    QTest::newRow("QP soft break at the card's end")
        << "BEGIN:VCARD\r\nFN:a\r\nNOTE;QUOTED-PRINTABLE:a=\r\nEND:VCARD\r\n" + good << "q3 o";
    QTest::newRow("QP cut inside an escape") << "BEGIN:VCARD\r\nNOTE;QUOTED-PRINTABLE:a=4\r\nEND:VCARD\r\n" + good
                                             << "q2 o";
    QTest::newRow("QP cut by the end of the file") << QByteArray("BEGIN:VCARD\r\nNOTE;QUOTED-PRINTABLE:a=") << "u1";
    QTest::newRow("base64 cut by the end of the file") << QByteArray("BEGIN:VCARD\r\nPHOTO;BASE64:\r\n QUJ") << "u1";
    QTest::newRow("embedded agent card passed over")
        << QByteArray("BEGIN:VCARD\r\nAGENT:\r\nBEGIN:VCARD\r\nFN:x\r\nEND:VCARD\r\nFN:a\r\nEND:VCARD\r\n") + good
        << "o o";
    QTest::newRow("stray END passed over") << "END:VCARD\r\n" + good << "o";
}

void TestVCardReader::cards()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, expected);
    QCOMPARE(summary(readVCards(file)), expected);
}

void TestVCardReader::cardsKeepFileOrder()
{
    const QByteArray file = "BEGIN:VCARD\r\nAGENT:\r\nBEGIN:VCARD\r\nFN:inner\r\nEND:VCARD\r\nFN:first\r\nEND:VCARD\r\n"
                            "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:second\r\nEND:VCARD\r\n";
    const auto cards = readVCards(file);
    QCOMPARE(cards.size(), 2u);
    QCOMPARE(test::dumpCard(cards[0].card), "AGENT:\nFN:first");
    QCOMPARE(cards[1].beginLine, 8);
    QCOMPARE(test::dumpCard(cards[1].card), "FN:second");
}

void TestVCardReader::faultTexts()
{
    QCOMPARE(cardFaultText(CardFault::Unterminated), "END:VCARD is missing");
    QCOMPARE(cardFaultText(CardFault::BadQuotedPrintable), "its quoted-printable text is broken");
}

void TestVCardReader::tenMegabyteLine()
{
    const QByteArray value(10 * 1024 * 1024, 'x');
    const auto cards = readVCards(card("3.0", "NOTE:" + value + "\r\nFN:after\r\n"));
    QCOMPARE(cards.size(), 1u);
    QCOMPARE(cards[0].card.child(1).value().size(), value.size());
    QCOMPARE(cards[0].card.child(2).value(), "after");
    // The same line without a colon is no property.
    QCOMPARE(test::dumpOnlyCard(card("3.0", value + "\r\nFN:a\r\n")), "FN:a");
}

void TestVCardReader::millionFoldedLines()
{
    QByteArray body = "NOTE:";
    for (int i = 0; i < 1000000; ++i)
        body += "\r\n x";
    const auto cards = readVCards(card("3.0", body + "\r\nFN:after\r\n"));
    QCOMPARE(cards.size(), 1u);
    QCOMPARE(cards[0].card.child(1).value(), QString(1000000, u'x'));
    QCOMPARE(cards[0].card.child(2).value(), "after");

    // A header that never ends in a million continuation lines holding colons.
    QByteArray header = "X-A;P=\"";
    for (int i = 0; i < 1000000; ++i)
        header += "\r\n :";
    QCOMPARE(test::dumpOnlyCard(card("3.0", header + "\r\nFN:after\r\n")), "FN:after");
}

void TestVCardReader::hundredThousandNestedBegins()
{
    const int depth = 100000;
    const QByteArray file = QByteArray("BEGIN:VCARD\r\n").repeated(depth) + QByteArray("END:VCARD\r\n").repeated(depth);
    const auto cards = readVCards(file);
    QCOMPARE(cards.size(), std::size_t(depth));
    QCOMPARE(cards.front().fault, CardFault::Unterminated);
    QCOMPARE(cards[depth - 2].fault, CardFault::Unterminated);
    QCOMPARE(cards.back().fault, CardFault::None);
}

void TestVCardReader::deeplyEmbeddedAgents()
{
    const int depth = 100000;
    const QByteArray file = QByteArray("BEGIN:VCARD\r\nAGENT:\r\n").repeated(depth)
        + QByteArray("END:VCARD\r\n").repeated(depth);
    const auto cards = readVCards(file);
    QCOMPARE(summary(cards), "o");
    QCOMPARE(test::dumpCard(cards[0].card), "AGENT:");
    // One END short: the outer card never ends.
    QCOMPARE(summary(readVCards(file.chopped(11))), "u1");
}

void TestVCardReader::nulBytes()
{
    // In a value a NUL is dropped; a name or a parameter holding one is no name.
    const QByteArray body("FN:a\0b\r\nN\0X:c\r\nTEL;HO\0ME;CELL:1\r\n", 33);
    QCOMPARE(test::dumpOnlyCard(card("3.0", body)), "FN:ab\nTEL;CELL:1");
    QCOMPARE(readVCards(QByteArray(4096, '\0')).size(), 0u);
}

void TestVCardReader::utf16File()
{
    const QString text = QString::fromUtf8("BEGIN:VCARD\r\nFN;CHARSET=ISO-8859-1:\u738b\r\nNOTE;CHARSET=ISO-8859-1;"
                                           "QUOTED-PRINTABLE:=E9\r\nEND:VCARD\r\n");
    QByteArray file("\xff\xfe");
    for (QChar c : text)
        file.append(static_cast<char>(c.unicode() & 0xff)).append(static_cast<char>(c.unicode() >> 8));
    // The CHARSET no longer describes the text, but still the bytes quoted-printable hides.
    QCOMPARE(test::dumpOnlyCard(file),
             QString::fromUtf8("FN;CHARSET=ISO-8859-1:\u738b\nNOTE;CHARSET=ISO-8859-1;QUOTED-PRINTABLE:\u00e9"));
}

QTEST_APPLESS_MAIN(TestVCardReader)
#include "tst_vcardreader.moc"
