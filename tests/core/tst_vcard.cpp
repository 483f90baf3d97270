#include "VCardDump.h"

#include "exchange/vcard/VCard.h"
#include "exchange/vcard/VCardFlags.h"
#include "exchange/vcard/VCardReader.h"

#include <QTest>

using namespace qv;
using namespace qv::vcard;

Q_DECLARE_METATYPE(std::optional<qv::vcard::VCardDate>)

namespace {

// The card of a 2.1 file made of the given properties.
VCard readCard(const QByteArray &properties)
{
    const auto cards = readVCards("BEGIN:VCARD\r\nVERSION:2.1\r\n" + properties + "END:VCARD\r\n");
    return cards.size() == 1 ? VCard(cards[0].card) : VCard();
}

QString lastProperty(const VCard &card)
{
    return test::dumpProperty(card.object().children().back());
}

} // namespace

class TestVCard : public QObject {
    Q_OBJECT
private slots:
    void newCard();
    void typeFlagsWritten_data();
    void typeFlagsWritten();
    void typeFlagsRead_data();
    void typeFlagsRead();
    void addressFlags_data();
    void addressFlags();
    void noteFlags_data();
    void noteFlags();
    void emailTypes_data();
    void emailTypes();
    void emailTypeRead_data();
    void emailTypeRead();
    void addressWithoutText();
    void addressParts();
    void setOrAdd();
    void organisation_data();
    void organisation();
    void birthday_data();
    void birthday();
    void lastSingleItemCounts();
    void listsInCardOrder();
};

void TestVCard::newCard()
{
    const VCard card;
    QCOMPARE(test::dumpCard(card.object()), "N");
    QCOMPARE(card.object().child(0).value(), "2.1");
    QCOMPARE(card.familyName(), QString());
    QCOMPARE(card.organisationText(), QString());
    QVERIFY(!card.birthday());
    QCOMPARE(card.telephoneCount(), 0);
}

void TestVCard::typeFlagsWritten_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("expected");
    QTest::newRow("20: HOME then FAX") << 20 << "TEL;HOME;FAX:1";
    QTest::newRow("3: PREF then WORK") << 3 << "TEL;PREF;WORK:1";
    QTest::newRow("6144: VIDEO before ISDN") << 6144 << "TEL;VIDEO;ISDN:1";
    QTest::newRow("all thirteen") << 8191
                                  << "TEL;PREF;WORK;HOME;VOICE;FAX;MSG;CELL;PAGER;BBS;MODEM;CAR;VIDEO;ISDN:1";
    QTest::newRow("none") << 0 << "TEL:1";
}

void TestVCard::typeFlagsWritten()
{
    QFETCH(int, flags);
    QFETCH(QString, expected);
    VCard card;
    card.addTelephone(QStringLiteral("1"), static_cast<quint16>(flags));
    QCOMPARE(lastProperty(card), expected);
    QCOMPARE(card.telephoneTypes(0), flags);
}

void TestVCard::typeFlagsRead_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("flags");
    QTest::newRow("VIDEO and ISDN") << QByteArray("TEL;VIDEO;ISDN:1") << 6144;
    QTest::newRow("3.0 list") << QByteArray("TEL;TYPE=work,fax,pref:1") << 19;
    QTest::newRow("unknown types ignored") << QByteArray("TEL;X-ODD;CELL;CHARSET=UTF-8:1") << 64;
    QTest::newRow("4.0 PREF=1") << QByteArray("TEL;PREF=1;TYPE=cell:1") << 65;
    QTest::newRow("a valued HOME is no type") << QByteArray("TEL;X=1;HOME=1:1") << 0;
}

void TestVCard::typeFlagsRead()
{
    QFETCH(QByteArray, line);
    QFETCH(int, flags);
    QCOMPARE(readCard(line + "\r\n").telephoneTypes(0), flags);
}

void TestVCard::addressFlags_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("written");
    QTest::addColumn<int>("read");
    QTest::newRow("80: HOME, QUOTED-PRINTABLE") << 80 << "ADR;PC=1;HOME;QUOTED-PRINTABLE" << 16;
    QTest::newRow("96: WORK, QUOTED-PRINTABLE") << 96 << "ADR;PC=1;WORK;QUOTED-PRINTABLE" << 32;
    QTest::newRow("all seven in order") << 127 << "ADR;PC=1;DOM;INTL;POSTAL;PARCEL;HOME;WORK;QUOTED-PRINTABLE" << 63;
}

void TestVCard::addressFlags()
{
    QFETCH(int, flags);
    QFETCH(QString, written);
    QFETCH(int, read);
    VCard card;
    PostalAddress address;
    address.postalCode = QStringLiteral("1");
    card.addAddress(address, static_cast<quint8>(flags));
    QCOMPARE(lastProperty(card), written);
    QCOMPARE(card.addressTypes(0), read);
}

void TestVCard::noteFlags_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("written");
    QTest::newRow("10: QUOTED-PRINTABLE, HOME") << 10 << "NOTE;QUOTED-PRINTABLE;HOME:n";
    QTest::newRow("18: QUOTED-PRINTABLE, WORK") << 18 << "NOTE;QUOTED-PRINTABLE;WORK:n";
    QTest::newRow("all five in order") << 31 << "NOTE;BASE64;8BIT;QUOTED-PRINTABLE;WORK;HOME:n";
}

void TestVCard::noteFlags()
{
    QFETCH(int, flags);
    QFETCH(QString, written);
    VCard card;
    card.addNote(QStringLiteral("n"), static_cast<quint8>(flags));
    QCOMPARE(lastProperty(card), written);
    QCOMPARE(card.noteTypes(0), flags);
}

void TestVCard::emailTypes_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("written");
    QTest::newRow("12 with HOME: HOME alone") << 12 << 4 << "EMAIL;HOME:a@b";
    QTest::newRow("INTERNET after the flags") << 5 << 2 << "EMAIL;WORK;INTERNET:a@b";
    QTest::newRow("IBMMail as the table spells it") << 6 << 0 << "EMAIL;IBMMail:a@b";
    QTest::newRow("outside the table: nothing") << 13 << 0 << "EMAIL:a@b";
}

void TestVCard::emailTypes()
{
    QFETCH(int, type);
    QFETCH(int, flags);
    QFETCH(QString, written);
    VCard card;
    card.addEmail(QStringLiteral("a@b"), type, static_cast<quint16>(flags));
    QCOMPARE(lastProperty(card), written);
    QCOMPARE(card.emailType(0), type > NoEmailType ? NoEmailType : type);
}

void TestVCard::emailTypeRead_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("type");
    QTest::newRow("none") << QByteArray("EMAIL;HOME:a") << 12;
    QTest::newRow("the last one counts") << QByteArray("EMAIL;X400;INTERNET:a") << 5;
    QTest::newRow("any case") << QByteArray("EMAIL;TYPE=ibmmail:a") << 6;
}

void TestVCard::emailTypeRead()
{
    QFETCH(QByteArray, line);
    QFETCH(int, type);
    QCOMPARE(readCard(line + "\r\n").emailType(0), type);
}

void TestVCard::addressWithoutText()
{
    VCard card;
    card.addAddress(PostalAddress(), AddressFlag::Home);
    QCOMPARE(card.addressCount(), 0);
    QCOMPARE(test::dumpCard(card.object()), "N");
}

void TestVCard::addressParts()
{
    VCard card;
    card.addAddress({QStringLiteral("b"), QStringLiteral("e"), QStringLiteral("s"), QStringLiteral("l"),
                     QStringLiteral("r"), QStringLiteral("p"), QStringLiteral("c")},
                    0);
    QCOMPARE(lastProperty(card), "ADR;BOX=b;EXT ADD=e;STREET=s;L=l;R=r;PC=p;C=c");
    const VCard read = readCard("ADR;WORK:;;Main St;Town;;;\r\n");
    QCOMPARE(read.address(0), (PostalAddress{{}, {}, QStringLiteral("Main St"), QStringLiteral("Town"), {}, {}, {}}));
    QCOMPARE(read.addressTypes(0), AddressFlag::Work);
}

void TestVCard::setOrAdd()
{
    VCard card;
    card.setFormattedName(QStringLiteral("one"));
    card.setFormattedName(QStringLiteral("two"));
    card.setFamilyName(QStringLiteral("Lee"));
    card.setFamilyName(QStringLiteral("Li"));
    card.setTitle(QStringLiteral("line\r\nbreak"));
    card.addTelephone(QStringLiteral("1"), 0);
    card.addTelephone(QStringLiteral("1"), 0);
    QCOMPARE(test::dumpCard(card.object()), "N;F=Li\nFN:two\nTITLE:line\nbreak\nTEL:1\nTEL:1");
    QCOMPARE(card.formattedName(), "two");
    QCOMPARE(card.familyName(), "Li");
}

void TestVCard::organisation_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("text");
    QTest::newRow("name and unit") << QByteArray("ORG:Acme;Sales") << "Acme; Sales";
    QTest::newRow("empty unit skipped") << QByteArray("ORG:Acme;;East") << "Acme; East";
    QTest::newRow("third unit not read") << QByteArray("ORG:Acme;A;B;C") << "Acme; A; B";
    QTest::newRow("name only") << QByteArray("ORG:Acme") << "Acme";
}

void TestVCard::organisation()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, text);
    QCOMPARE(readCard(line + "\r\n").organisationText(), text);
}

void TestVCard::birthday_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<std::optional<VCardDate>>("date");
    const std::optional<VCardDate> march2 = VCardDate{1970, 3, 2};
    const std::optional<VCardDate> none;
    QTest::newRow("basic") << QByteArray("BDAY:19700302") << march2;
    QTest::newRow("extended") << QByteArray("BDAY:1970-03-02") << march2;
    QTest::newRow("with a time") << QByteArray("BDAY:1970-03-02T10:00:00Z") << march2;
    QTest::newRow("one-digit month and day") << QByteArray("BDAY:1970-3-2") << march2;
    QTest::newRow("slashes") << QByteArray("BDAY:1970/03/02") << march2;
    QTest::newRow("no year, basic") << QByteArray("BDAY:--0302") << std::optional<VCardDate>(VCardDate{0, 3, 2});
    QTest::newRow("no year, extended") << QByteArray("BDAY:--03-02") << std::optional<VCardDate>(VCardDate{0, 3, 2});
    QTest::newRow("29 February without year") << QByteArray("BDAY:--0229")
                                              << std::optional<VCardDate>(VCardDate{0, 2, 29});
    QTest::newRow("year left out the Apple way") << QByteArray("BDAY;X-APPLE-OMIT-YEAR=1604:1604-03-02")
                                                 << std::optional<VCardDate>(VCardDate{0, 3, 2});
    QTest::newRow("no such day") << QByteArray("BDAY:1970-02-30") << none;
    QTest::newRow("year 0") << QByteArray("BDAY:00000302") << none;
    QTest::newRow("mixed separators") << QByteArray("BDAY:1970-03/02") << none;
    QTest::newRow("seven digits") << QByteArray("BDAY:1970032") << none;
    QTest::newRow("words") << QByteArray("BDAY:March 2") << none;
    QTest::newRow("empty") << QByteArray("BDAY:") << none;
    QTest::newRow("absent") << QByteArray("FN:x") << none;
}

void TestVCard::birthday()
{
    QFETCH(QByteArray, line);
    QFETCH(std::optional<VCardDate>, date);
    QCOMPARE(readCard(line + "\r\n").birthday(), date);
}

void TestVCard::lastSingleItemCounts()
{
    const VCard card = readCard("FN:first\r\nN:A;B\r\nTITLE:t1\r\nFN:second\r\nN:C;D;E\r\nTITLE:t2\r\n");
    QCOMPARE(card.formattedName(), "second");
    QCOMPARE(card.familyName(), "C");
    QCOMPARE(card.givenName(), "D");
    QCOMPARE(card.additionalNames(), "E");
    QCOMPARE(card.title(), "t2");
}

void TestVCard::listsInCardOrder()
{
    const VCard card = readCard("TEL;HOME:1\r\nURL;WORK:http://w\r\nNOTE:n1\r\nTEL;HOME:2\r\nEMAIL;WORK:a@w\r\n"
                                "URL:http://h\r\nNOTE;WORK:n2\r\nX-OTHER:x\r\n");
    QCOMPARE(card.telephoneCount(), 2);
    QCOMPARE(card.telephone(0), "1");
    QCOMPARE(card.telephone(1), "2");
    QCOMPARE(card.urlCount(), 2);
    QCOMPARE(card.url(0), "http://w");
    QCOMPARE(card.urlTypes(0), TypeFlag::Work);
    QCOMPARE(card.url(1), "http://h");
    QCOMPARE(card.noteCount(), 2);
    QCOMPARE(card.noteTypes(1), NoteFlag::Work);
    QCOMPARE(card.emailCount(), 1);
    QCOMPARE(card.emailTypes(0), TypeFlag::Work);
    QCOMPARE(card.telephone(2), QString());
}

QTEST_APPLESS_MAIN(TestVCard)
#include "tst_vcard.moc"
