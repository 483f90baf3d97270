// The .wab reader and the contact-reading layer over it, on files built byte by byte.
#include "DataPacketWriter.h"
#include "WabWriter.h"

#include "common/Error.h"
#include "exchange/SystemAddressBook.h"
#include "exchange/wab/WabContacts.h"
#include "exchange/wab/WabFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace qv;
using test::WabWriter;
using namespace test::mapi;

namespace {

const QLocale kWestern(QLocale::English, QLocale::UnitedStates);

QDateTime utc(int y, int m, int d, int h = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, 0), Qt::UTC);
}

// Three contacts, a deleted one between them and a group at the end.
WabWriter threeContacts()
{
    WabWriter w;
    w.addRecord({1, {WabWriter::unicode(DisplayName, "John Paul Smith"), WabWriter::unicode(Title, "Engineer"),
                     WabWriter::unicode(EmailAddress, "john@example.com"),
                     WabWriter::unicodeList(EmailAddresses, {"john@example.com", "jps@example.org", "smith@example.net"}),
                     WabWriter::unicode(HomeStreet, "12 Main Street\r\nFlat 3"), WabWriter::unicode(HomeCity, "Springfield"),
                     WabWriter::unicode(HomeState, "IL"), WabWriter::unicode(HomeCountry, "USA"),
                     WabWriter::unicode(HomePostalCode, "62701"), WabWriter::unicode(HomeTelephone, "555-0100"),
                     WabWriter::fileTime(Birthday, utc(1970, 5, 17, 7)),
                     WabWriter::unicodeList(ChildrensNames, {"Ann", "Bob"}), WabWriter::unicode(Nickname, "JP"),
                     WabWriter::int32(ObjectType, 6)}});
    w.addRecord({0, {WabWriter::unicode(DisplayName, "Deleted Person")}});
    w.addRecord({1, {WabWriter::string8(DisplayName, "Ren\xe9 Dupont"), WabWriter::string8(CompanyName, "Acme"),
                     WabWriter::string8(Department, "Sales"), WabWriter::string8(BusinessTelephone, "555-0200"),
                     WabWriter::string8(BusinessFax, "555-0201"), WabWriter::string8(BusinessStreet, "1 Industry Way"),
                     WabWriter::string8(BusinessCity, "Lyon"), WabWriter::string8(BusinessState, "Rh\xf4ne"),
                     WabWriter::string8(BusinessCountry, "France"), WabWriter::string8(BusinessPostalCode, "69001"),
                     WabWriter::string8(BusinessHomePage, "http://acme.example"), WabWriter::string8(Comment, "Met at\r\nthe fair")}});
    w.addRecord({1, {WabWriter::unicode(DisplayName, "\u738b\u5c0f\u660e"), WabWriter::unicode(Mobile, "138 0000"),
                     WabWriter::unicode(Pager, "99"), WabWriter::unicode(HomeFax, "010-1"),
                     WabWriter::unicode(SpouseName, "\u674e"), WabWriter::fileTime(WeddingAnniversary, utc(1850, 6, 1)),
                     WabWriter::unicode(PersonalHomePage, "http://wang.example")}});
    w.addRecord({1, {WabWriter::unicode(DisplayName, "Friends"), WabWriter::int32(ObjectType, 8)}});
    return w;
}

QList<AddressBookContact> expectedThree()
{
    AddressBookContact john;
    john.displayName = "John Paul Smith";
    john.title = "Engineer";
    john.emailAddress = "john@example.com";
    john.emailAddresses = {"john@example.com", "jps@example.org", "smith@example.net"};
    john.homeStreet = "12 Main Street\r\nFlat 3";
    john.homeCity = "Springfield";
    john.homeStateOrProvince = "IL";
    john.homeCountry = "USA";
    john.homePostalCode = "62701";
    john.homeTelephone = "555-0100";
    john.birthday = utc(1970, 5, 17, 7);
    john.childrensNames = {"Ann", "Bob"};
    john.nickname = "JP";
    AddressBookContact rene;
    rene.displayName = "Ren\u00e9 Dupont";
    rene.companyName = "Acme";
    rene.department = "Sales";
    rene.businessTelephone = "555-0200";
    rene.businessFax = "555-0201";
    rene.businessStreet = "1 Industry Way";
    rene.businessCity = "Lyon";
    rene.businessStateOrProvince = "Rh\u00f4ne";
    rene.businessCountry = "France";
    rene.businessPostalCode = "69001";
    rene.businessHomePage = "http://acme.example";
    rene.comment = "Met at\r\nthe fair";
    AddressBookContact wang;
    wang.displayName = "\u738b\u5c0f\u660e";
    wang.mobileTelephone = "138 0000";
    wang.pager = "99";
    wang.homeFax = "010-1";
    wang.spouseName = "\u674e";
    wang.weddingAnniversary = utc(1850, 6, 1);
    wang.personalHomePage = "http://wang.example";
    return {john, rene, wang};
}

// The kind of the error, and its text.
std::pair<int, QString> failure(const QByteArray &bytes)
{
    try {
        wab::readWabContacts(bytes, kWestern);
    } catch (const wab::WabError &e) {
        return {int(e.kind()), e.text()};
    }
    return {-1, QString()};
}

QByteArray withU32(QByteArray bytes, qsizetype at, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char(v >> (8 * i));
    return bytes;
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

QString errorOf(const std::function<void()> &read)
{
    try {
        read();
    } catch (const Error &e) {
        return e.text();
    }
    return QString();
}

} // namespace

class TestWab : public QObject {
    Q_OBJECT
private slots:
    void threeContactsDeletedAndGroupSkipped();
    void indexOrderIsTheContactOrder();
    void eightBitStringsInTheSystemCodePage();
    void damaged_data();
    void damaged();
    void truncatedAtEveryOffset();
    void fileErrorsNameTheFile();
    void currentAddressBook();
};

void TestWab::threeContactsDeletedAndGroupSkipped()
{
    const QList<AddressBookContact> contacts = wab::readWabContacts(threeContacts().bytes(), kWestern);
    const QList<AddressBookContact> expected = expectedThree();
    QCOMPARE(contacts.size(), expected.size());
    for (qsizetype i = 0; i < contacts.size(); ++i)
        QVERIFY2(contacts[i] == expected[i], qPrintable(contacts[i].displayName));
}

void TestWab::indexOrderIsTheContactOrder()
{
    WabWriter w = threeContacts();
    w.setIndexOrder({3, 0, 2, 0}); // the third contact first; a record listed twice counts once
    const QList<AddressBookContact> contacts = wab::readWabContacts(w.bytes(), kWestern);
    QStringList names;
    for (const AddressBookContact &c : contacts)
        names << c.displayName;
    QCOMPARE(names, (QStringList{"\u738b\u5c0f\u660e", "John Paul Smith", "Ren\u00e9 Dupont"}));
}

void TestWab::eightBitStringsInTheSystemCodePage()
{
    WabWriter w;
    w.addRecord({1, {WabWriter::string8(DisplayName, test::encodeCodePage("\u738b\u5c0f\u660e", "GBK"))}});
    QCOMPARE(wab::readWabContacts(w.bytes(), QLocale(QLocale::Chinese, QLocale::China)).first().displayName,
             QString("\u738b\u5c0f\u660e"));
    QCOMPARE(wab::readWabContacts(w.bytes(), QLocale(QLocale::Chinese, QLocale::Taiwan)).first().displayName.size(), 3);
    QVERIFY(wab::readWabContacts(w.bytes(), QLocale(QLocale::Chinese, QLocale::Taiwan)).first().displayName
            != QString("\u738b\u5c0f\u660e"));
}

void TestWab::damaged_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("message");
    const int notWab = int(wab::WabError::Kind::NotAnAddressBook);
    const int older = int(wab::WabError::Kind::OlderVariant);
    const int bad = int(wab::WabError::Kind::Damaged);
    const QByteArray good = threeContacts().bytes();
    const QList<qsizetype> offsets = threeContacts().recordOffsets();
    const qsizetype indexDescriptor = 24;

    QTest::newRow("empty file") << QByteArray() << notWab << "it does not begin as an address book file";
    QTest::newRow("a ZIP file") << QByteArray("PK\x03\x04....") << notWab << "it does not begin as an address book file";
    QTest::newRow("older variant") << QByteArray("\x81\x32\x84\xC1 and more", 13) << older << "it is of the older variant";
    QByteArray noIndex = good;
    noIndex[indexDescriptor] = 0;
    QTest::newRow("no index") << noIndex << bad << "it has no index of its records";
    QTest::newRow("index outside the file") << withU32(good, indexDescriptor + 8, 0x7FFFFFF0) << bad << "the index points outside the file";
    QTest::newRow("index of 4 billion entries") << withU32(good, indexDescriptor + 12, 0xFFFFFFFF) << bad
                                                << "the index runs past the end of the file";
    QTest::newRow("index of 4 billion entries of 4 GB") << withU32(withU32(good, indexDescriptor + 12, 0xFFFFFFFF), indexDescriptor + 4, 0xFFFFFFFF)
                                                        << bad << "the index runs past the end of the file";
    QTest::newRow("index entries of 4 bytes") << withU32(good, indexDescriptor + 4, 4) << bad << "its index has entries of 4 bytes";
    QTest::newRow("record offset outside the file") << withU32(good, 120 + 4, 0xFFFFFFF0) << bad << "a record points outside the file";
    QTest::newRow("four billion properties") << withU32(good, offsets[0] + 12, 0xFFFFFFFF) << bad
                                             << "a record's property list runs past the end of the file";
    // Where the n-th property of the first record begins: its tag, a count for a list, its length.
    const auto property = [&good, &offsets](int n) {
        qsizetype at = offsets[0] + 32 + 4 * 14;
        for (int k = 0; k < n; ++k) {
            const bool list = quint8(good[at + 1]) & 0x10;
            at += list ? 8 : 4;
            at += 4 + qsizetype(quint8(good[at])) + (qsizetype(quint8(good[at + 1])) << 8);
        }
        return at;
    };
    QTest::newRow("value longer than the file") << withU32(good, property(0) + 4, 0x7FFFFFFF) << bad
                                                << "a property value runs past the end of the file";
    const qsizetype list = property(3); // the e-mail addresses
    QCOMPARE(quint8(good[list + 2]), quint8(0x56));
    QTest::newRow("list of 4 billion items") << withU32(good, list + 4, 0xFFFFFFFF) << bad << "a list property declares 4294967295 items";
    QTest::newRow("list item beyond its property") << withU32(good, list + 12, 0x1000) << bad
                                                  << "a list item runs past the end of the file";
    QTest::newRow("overlapping records") << withU32(good, 120 + 8 + 4, quint32(offsets[0] + 8)) << bad
                                         << QString("its record at offset %1 overlaps the one before").arg(offsets[0] + 8);
}

void TestWab::damaged()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, kind);
    QFETCH(QString, message);
    QCOMPARE(failure(bytes), std::make_pair(kind, message));
}

void TestWab::truncatedAtEveryOffset()
{
    const QByteArray whole = threeContacts().bytes();
    QCOMPARE(wab::readWabContacts(whole, kWestern).size(), 3);
    for (qsizetype cut = 0; cut < whole.size(); ++cut) {
        const auto [kind, message] = failure(whole.first(cut));
        QVERIFY2(kind == int(cut < 16 ? wab::WabError::Kind::NotAnAddressBook : wab::WabError::Kind::Damaged),
                 qPrintable(QString("cut at %1: %2").arg(cut).arg(message)));
    }
}

void TestWab::fileErrorsNameTheFile()
{
    QTemporaryDir dir;
    QByteArray truncated = threeContacts().bytes();
    truncated.chop(3);
    const QString cut = writeFile(dir, "cut.wab", truncated);
    QCOMPARE(errorOf([&] { systemaddressbook::readFile(cut, kWestern); }),
             QString("The address book file \"%1\" is damaged: a property value runs past the end of the file.").arg(cut));
    const QString older = writeFile(dir, "old.wab", QByteArray("\x81\x32\x84\xC1 and more", 13));
    QCOMPARE(errorOf([&] { systemaddressbook::readFile(older, kWestern); }), QString("Error loading WAB API!"));
    const QString text = writeFile(dir, "notes.wab", "plain text");
    QCOMPARE(errorOf([&] { systemaddressbook::readFile(text, kWestern); }),
             QString("The file \"%1\" is not an address book (.wab) file.").arg(text));
    const QString missing = dir.filePath("missing.wab");
    QCOMPARE(errorOf([&] { systemaddressbook::readFile(missing, kWestern); }),
             QString("Cannot open the address book file \"%1\".").arg(missing));
    const QString good = writeFile(dir, "good.wab", threeContacts().bytes());
    const QByteArray before = threeContacts().bytes();
    QCOMPARE(systemaddressbook::readFile(good, kWestern), expectedThree());
    QFile again(good);
    QVERIFY(again.open(QIODevice::ReadOnly));
    QCOMPARE(again.readAll(), before); // read, never written
}

void TestWab::currentAddressBook()
{
    QTemporaryDir home;
    qunsetenv("WINEPREFIX");
    QCOMPARE(systemaddressbook::findCurrent(home.path()), QString());
    QCOMPARE(errorOf([&] { systemaddressbook::readCurrent(home.path(), kWestern); }), QString("Error loading WAB API!"));

    qputenv("USER", "zed");
    const QString older = writeFile(home, ".wine/drive_c/users/alice/Application Data/Microsoft/Address Book/alice.wab",
                                    threeContacts().bytes());
    QCOMPARE(systemaddressbook::findCurrent(home.path()), older);
    const QString mine = writeFile(home, ".wine/drive_c/users/zed/AppData/Roaming/Microsoft/Address Book/zed.wab",
                                   threeContacts().bytes());
    QCOMPARE(systemaddressbook::findCurrent(home.path()), mine); // this user's book before another's
    QCOMPARE(systemaddressbook::readCurrent(home.path(), kWestern).size(), 3);

    QTemporaryDir prefix;
    const QString elsewhere = writeFile(prefix, "drive_c/users/zed/AppData/Roaming/Microsoft/Address Book/x.wab", "x");
    qputenv("WINEPREFIX", prefix.path().toLocal8Bit());
    QCOMPARE(systemaddressbook::findCurrent(home.path()), elsewhere);
    qunsetenv("WINEPREFIX");
}

QTEST_APPLESS_MAIN(TestWab)
#include "tst_wab.moc"
