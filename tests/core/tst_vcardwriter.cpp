#include "VCardDump.h"

#include "exchange/vcard/VCard.h"
#include "exchange/vcard/VCardFlags.h"
#include "exchange/vcard/VCardReader.h"
#include "exchange/vcard/VCardWriter.h"

#include <QTest>

using namespace qv;
using namespace qv::vcard;

Q_DECLARE_METATYPE(qv::vcard::VCardVersion)

namespace {

VCardObject makeProperty(const QString &name, const QString &value, const QStringList &parameters = {})
{
    VCardObject p(name, value);
    for (const QString &parameter : parameters)
        p.addParameter(parameter);
    return p;
}

// The lines of the written card between VERSION and END:VCARD.
QByteArray body(const VCardObject &card, VCardVersion version)
{
    QByteArray out;
    appendVCard(out, card, version);
    const qsizetype start = out.indexOf("\r\n", out.indexOf("VERSION:")) + 2;
    const qsizetype end = out.lastIndexOf("END:VCARD");
    return out.mid(start, end - start);
}

VCardObject cardOf(std::initializer_list<VCardObject> properties)
{
    VCardObject card(QStringLiteral("VCARD"));
    for (const VCardObject &p : properties)
        card.addChild(p);
    return card;
}

QString longText()
{
    return QString::fromUtf8("\u738b\u5c0f\u660e, Main Street 1; \\back\nsecond line ").repeated(6);
}

} // namespace

class TestVCardWriter : public QObject {
    Q_OBJECT
private slots:
    void newCardAtOnce();
    void properties_data();
    void properties();
    void linesStayShort_data();
    void linesStayShort();
    void roundTrip_data();
    void roundTrip();
    void base64RoundTrip_data();
    void base64RoundTrip();
};

void TestVCardWriter::newCardAtOnce()
{
    QByteArray out;
    appendVCard(out, VCard().object(), VCardVersion::V21);
    QCOMPARE(out, "BEGIN:VCARD\r\nVERSION:2.1\r\nN:;;;;\r\nEND:VCARD\r\n");
    out.clear();
    appendVCard(out, VCard().object(), VCardVersion::V30);
    QCOMPARE(out, "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:\r\nN:;;;;\r\nEND:VCARD\r\n");
}

void TestVCardWriter::properties_data()
{
    QTest::addColumn<VCardObject>("card");
    QTest::addColumn<VCardVersion>("version");
    QTest::addColumn<QByteArray>("expected");

    const auto v21 = VCardVersion::V21;
    const auto v30 = VCardVersion::V30;
    const auto v40 = VCardVersion::V40;
    const QString wang = QString::fromUtf8("\u738b");

    VCard phones;
    phones.addTelephone(QStringLiteral("1"), TypeFlag::Home | TypeFlag::Fax);
    phones.addTelephone(QStringLiteral("2"), TypeFlag::Pref | TypeFlag::Work);
    QTest::newRow("2.1 bare types") << phones.object() << v21 << QByteArray("N:;;;;\r\nTEL;HOME;FAX:1\r\nTEL;PREF;WORK:2\r\n");
    QTest::newRow("3.0 TYPE list") << phones.object() << v30
                                   << QByteArray("FN:\r\nN:;;;;\r\nTEL;TYPE=HOME,FAX:1\r\nTEL;TYPE=PREF,WORK:2\r\n");
    QTest::newRow("4.0 PREF=1") << phones.object() << v40
                                << QByteArray("FN:\r\nN:;;;;\r\nTEL;TYPE=home,fax:1\r\nTEL;PREF=1;TYPE=work:2\r\n");

    const VCardObject cjk = cardOf({makeProperty(QStringLiteral("FN"), wang)});
    QTest::newRow("2.1 not ASCII") << cjk << v21 << QByteArray("FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=E7=8E=8B\r\n");
    QTest::newRow("3.0 UTF-8 as it is") << cjk << v30 << QByteArray("N:;;;;\r\nFN:\xe7\x8e\x8b\r\n");

    VCard address;
    PostalAddress home;
    home.street = QStringLiteral("Main St; 1");
    home.postalCode = QStringLiteral("12345");
    address.addAddress(home, AddressFlag::Home | AddressFlag::QuotedPrintable);
    QTest::newRow("2.1 marked quoted-printable")
        << address.object() << v21 << QByteArray("N:;;;;\r\nADR;HOME;ENCODING=QUOTED-PRINTABLE:;;Main St\\; 1;;;12345;\r\n");
    QTest::newRow("3.0 drops the 2.1 encoding") << address.object() << v30
                                                << QByteArray("FN:\r\nN:;;;;\r\nADR;TYPE=HOME:;;Main St\\; 1;;;12345;\r\n");

    const VCardObject note = cardOf({makeProperty(QStringLiteral("NOTE"), QStringLiteral("a\nb, c; d\\e"))});
    QTest::newRow("2.1 line break") << note << v21
                                    << QByteArray("NOTE;ENCODING=QUOTED-PRINTABLE:a=0D=0Ab, c; d\\\\e\r\n");
    QTest::newRow("3.0 escapes") << note << v30 << QByteArray("FN:\r\nN:;;;;\r\nNOTE:a\\nb\\, c\\; d\\\\e\r\n");

    const VCardObject blankEnd = cardOf({makeProperty(QStringLiteral("NOTE"), QStringLiteral("a b "), {QStringLiteral("QUOTED-PRINTABLE")})});
    QTest::newRow("2.1 blank at the value's end encoded") << blankEnd << v21
                                                          << QByteArray("NOTE;ENCODING=QUOTED-PRINTABLE:a b=20\r\n");

    // Cut anywhere, a quoted-printable value shows no line a reader takes for END:VCARD.
    const VCardObject delimiter = cardOf({makeProperty(QStringLiteral("NOTE"), QString::fromUtf8("\u738bEND:VCARD"))});
    QTest::newRow("2.1 colon encoded") << delimiter << v21
                                       << QByteArray("NOTE;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=E7=8E=8BEND=3AVCARD\r\n");

    VCard org;
    org.setOrganisation(QStringLiteral("Acme"), QString(), QStringLiteral("East"));
    QTest::newRow("ORG up to its last unit") << org.object() << v21 << QByteArray("N:;;;;\r\nORG:Acme;;East\r\n");

    VCard birthday;
    birthday.setBirthday(QDate(1970, 3, 2));
    QTest::newRow("2.1 BDAY extended") << birthday.object() << v21 << QByteArray("N:;;;;\r\nBDAY:1970-03-02\r\n");
    QTest::newRow("4.0 BDAY basic") << birthday.object() << v40 << QByteArray("FN:\r\nN:;;;;\r\nBDAY:19700302\r\n");

    VCardObject grouped = makeProperty(QStringLiteral("EMAIL"), QStringLiteral("a@b"), {QStringLiteral("INTERNET")});
    grouped.setGroup(QStringLiteral("item1"));
    grouped.addChild(VCardObject(QStringLiteral("X-LABEL"), QStringLiteral("a;b:c,d\"e")));
    QTest::newRow("2.1 parameter value made safe") << cardOf({grouped}) << v21
                                                   << QByteArray("item1.EMAIL;INTERNET;X-LABEL=abc,de:a@b\r\n");
    QTest::newRow("3.0 parameter value quoted") << cardOf({grouped}) << v30
                                                << QByteArray("FN:\r\nN:;;;;\r\nitem1.EMAIL;TYPE=INTERNET;X-LABEL=\"a;b:c,de\":a@b\r\n");
    QTest::newRow("4.0 parameter value caret-encoded")
        << cardOf({grouped}) << v40 << QByteArray("FN:\r\nitem1.EMAIL;TYPE=internet;X-LABEL=\"a;b:c,d^'e\":a@b\r\n");

    VCardObject kept(QStringLiteral("X-KEPT"), QStringLiteral("a\\,b;c"));
    kept.addChild(VCardObject(QStringLiteral("CHARSET"), QStringLiteral("GBK")));
    kept.addChild(VCardObject(QStringLiteral("ENCODING"), QStringLiteral("QUOTED-PRINTABLE")));
    QTest::newRow("kept value as it came, old charset and encoding dropped") << cardOf({kept}) << v30
                                                                << QByteArray("FN:\r\nN:;;;;\r\nX-KEPT:a\\,b;c\r\n");
    const VCardObject version = cardOf({makeProperty(QStringLiteral("VERSION"), QStringLiteral("4.0"))});
    QTest::newRow("the tree's VERSION gives way") << version << v21 << QByteArray();
}

void TestVCardWriter::properties()
{
    QFETCH(VCardObject, card);
    QFETCH(VCardVersion, version);
    QFETCH(QByteArray, expected);
    QCOMPARE(body(card, version), expected);
}

void TestVCardWriter::linesStayShort_data()
{
    QTest::addColumn<VCardVersion>("version");
    QTest::newRow("2.1") << VCardVersion::V21;
    QTest::newRow("3.0") << VCardVersion::V30;
    QTest::newRow("4.0") << VCardVersion::V40;
}

// Every line ends in CR LF, is at most 75 octets and, where it is folded,
// breaks no UTF-8 sequence apart.
void TestVCardWriter::linesStayShort()
{
    QFETCH(VCardVersion, version);
    VCard card;
    card.setFormattedName(longText());
    card.setFamilyName(longText());
    card.addNote(longText(), NoteFlag::Home);
    card.addEmail(QString(100, u'a') + QStringLiteral("@example.com"), NoEmailType, TypeFlag::Home);
    VCardObject manyTypes = card.object();
    VCardObject &tel = manyTypes.addChild(VCardObject(QStringLiteral("TEL"), QStringLiteral("1")));
    for (int i = 0; i < 30; ++i)
        tel.addParameter(QStringLiteral("X-TYPE%1").arg(i));
    QByteArray out;
    appendVCard(out, manyTypes, version);
    QVERIFY(out.endsWith("\r\n"));
    const QList<QByteArray> lines = out.chopped(1).split('\n');
    for (const QByteArray &line : lines) {
        QVERIFY2(line.endsWith('\r'), line.constData());
        QVERIFY2(line.size() - 1 <= 75, line.constData());
        if (version != VCardVersion::V21)
            QVERIFY2(line.isValidUtf8(), line.toHex().constData());
    }
    const auto cards = readVCards(out);
    QCOMPARE(cards.size(), 1u);
    const VCard back(cards[0].card);
    QCOMPARE(back.formattedName(), longText());
    QCOMPARE(back.familyName(), longText());
    QCOMPARE(back.note(0), longText());
    QCOMPARE(back.telephoneCount(), 1);
}

void TestVCardWriter::roundTrip_data()
{
    QTest::addColumn<VCardVersion>("version");
    QTest::addColumn<QString>("text");
    for (const auto &[versionName, version] : {std::pair{"2.1", VCardVersion::V21}, std::pair{"3.0", VCardVersion::V30},
                                               std::pair{"4.0", VCardVersion::V40}}) {
        const QString texts[] = {QStringLiteral("plain"), QString::fromUtf8("\u738b\u5c0f\u660e"),
                                 QStringLiteral("a,b;c\\d:e"), QStringLiteral("line\nbreak"),
                                 QStringLiteral(" blanks at both ends "), QStringLiteral("=3D and ^^ and \"quotes\""),
                                 longText()};
        const char *names[] = {"plain", "CJK", "separators", "line break", "blanks", "look-alikes", "long"};
        for (int i = 0; i < 7; ++i)
            QTest::addRow("%s %s", versionName, names[i]) << version << texts[i];
    }
}

// What the setters put in comes back through the reader and the getters.
void TestVCardWriter::roundTrip()
{
    QFETCH(VCardVersion, version);
    QFETCH(QString, text);
    VCard card;
    card.setFamilyName(text);
    card.setGivenName(text);
    card.setAdditionalNames(text);
    card.setFormattedName(text);
    card.setTitle(text);
    card.setBirthday(QDate(1970, 3, 2));
    card.setOrganisation(text, text, text);
    card.addTelephone(text, TypeFlag::Home | TypeFlag::Fax);
    card.addEmail(text, NoEmailType, TypeFlag::Work);
    PostalAddress address{text, text, text, text, text, text, text};
    card.addAddress(address, AddressFlag::Work | AddressFlag::QuotedPrintable);
    card.addNote(text, NoteFlag::Home | NoteFlag::QuotedPrintable);

    QByteArray out;
    appendVCard(out, card.object(), version);
    appendVCard(out, card.object(), version);
    const auto cards = readVCards(out);
    QCOMPARE(cards.size(), 2u);
    QVERIFY(!cards[1].isBroken());
    const VCard back(cards[1].card);
    QCOMPARE(back.familyName(), text);
    QCOMPARE(back.givenName(), text);
    QCOMPARE(back.additionalNames(), text);
    QCOMPARE(back.formattedName(), text);
    QCOMPARE(back.title(), text);
    QCOMPARE(back.birthday()->toDate(), QDate(1970, 3, 2));
    QCOMPARE(back.organisationText(), text + QStringLiteral("; ") + text + QStringLiteral("; ") + text);
    QCOMPARE(back.telephone(0), text);
    QCOMPARE(back.telephoneTypes(0), TypeFlag::Home | TypeFlag::Fax);
    QCOMPARE(back.email(0), text);
    QCOMPARE(back.emailTypes(0), TypeFlag::Work);
    QCOMPARE(back.address(0), address);
    QCOMPARE(back.addressTypes(0), AddressFlag::Work);
    QCOMPARE(back.note(0), text);
    QCOMPARE(back.noteTypes(0) & ~NoteFlag::QuotedPrintable, NoteFlag::Home);
}

void TestVCardWriter::base64RoundTrip_data()
{
    QTest::addColumn<VCardVersion>("version");
    QTest::addColumn<QByteArray>("expectedStart");
    QTest::newRow("2.1") << VCardVersion::V21 << QByteArray("PHOTO;JPEG;ENCODING=BASE64:\r\n ");
    QTest::newRow("3.0") << VCardVersion::V30 << QByteArray("PHOTO;TYPE=JPEG;ENCODING=b:");
    QTest::newRow("4.0") << VCardVersion::V40 << QByteArray("PHOTO:data:image/jpeg;base64,");
}

void TestVCardWriter::base64RoundTrip()
{
    QFETCH(VCardVersion, version);
    QFETCH(QByteArray, expectedStart);
    const QString data = QString::fromLatin1(QByteArray(300, '\x5a').toBase64());
    const VCardObject card = cardOf({makeProperty(QStringLiteral("PHOTO"), data, {QStringLiteral("JPEG"), QStringLiteral("BASE64")}),
                                     makeProperty(QStringLiteral("TEL"), QStringLiteral("1"))});
    const QByteArray written = body(card, version);
    QVERIFY2(written.contains(expectedStart), written.constData());
    const auto cards = readVCards("BEGIN:VCARD\r\nVERSION:" + versionText(version) + "\r\n" + written + "END:VCARD\r\n");
    QCOMPARE(cards.size(), 1u);
    const VCardObject &back = cards[0].card;
    const VCardObject *photo = back.firstChild(u"PHOTO");
    QVERIFY(photo);
    QVERIFY(photo->value().endsWith(data));
    QVERIFY(back.firstChild(u"TEL"));
}

QTEST_APPLESS_MAIN(TestVCardWriter)
#include "tst_vcardwriter.moc"
