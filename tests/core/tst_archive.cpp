#include "RawZip.h"

#include "common/Error.h"
#include "data/archive/AesCipher.h"
#include "data/archive/PackageReader.h"
#include "data/archive/PackageWriter.h"
#include "data/archive/ZipDirectory.h"
#include "data/archive/ZipFormat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace qv::archive;
using qv::test::RawMember;

Q_DECLARE_METATYPE(QList<qv::test::RawMember>)
Q_DECLARE_METATYPE(qv::test::RawZipOptions)
Q_DECLARE_METATYPE(qv::archive::PackageCipher)

namespace {

// Every code with the text the user reads, written out here rather than taken
// from the code under test.
struct PinnedCode {
    ArchiveCode code;
    int number;
    const char *text;
};

const PinnedCode kPinnedCodes[] = {
    {ArchiveCode::BadFileHeader, 25110, "Bad file header"},
    {ArchiveCode::BadBlock, 25111, "Bad block"},
    {ArchiveCode::WriteError, 25136, "Error writing to file"},
    {ArchiveCode::CloseError, 25137, "Error closing file"},
    {ArchiveCode::IncompleteCodeSet, 25138, "Incomplete code set"},
    {ArchiveCode::CrcFailed, 25151, "File fails CRC check"},
    {ArchiveCode::AuthenticationFailed, 25152, "File fails authentication check"},
    {ArchiveCode::DiskFull, 25155, "Not enough disk space"},
    {ArchiveCode::CannotCreateDirectory, 25156, "Unable to create directory"},
    {ArchiveCode::FileNotFound, 25172, "File not found"},
    {ArchiveCode::OpenError, 25235, "Error opening file"},
    {ArchiveCode::ReadError, 25236, "Error reading file or unexpected end of file"},
    {ArchiveCode::UnsupportedArchive, 25242, "Invalid or unsupported archive type for this operation"},
    {ArchiveCode::BadLengths, 25247, "Bad lengths"},
    {ArchiveCode::InconsistentLocalHeader, 25248, "Inconsistant local header"},
    {ArchiveCode::OutOfMemory, 25253, "Out of memory"},
    {ArchiveCode::UnsupportedMethod, 25326, "Unsupported compression method"},
    {ArchiveCode::UserCanceled, 25449, "User canceled"},
    {ArchiveCode::InvalidPassword, 26517, "Invalid password"},
    {ArchiveCode::PasswordFailed, 26522, "Password failed"},
};

QString pinnedText(int number)
{
    for (const PinnedCode &p : kPinnedCodes) {
        if (p.number == number)
            return QString::fromUtf8(p.text);
    }
    return QStringLiteral("(no text pinned for %1)").arg(number);
}

// What one unpack reported; every text is checked against the pinned one.
struct Run {
    int written = 0;
    QList<int> errors;
    QStringList texts;
    QStringList passed;
    QStringList failed;
    int asked = 0;
    QMap<QString, QByteArray> files;
    QMap<QString, PackageCipher> ciphers;
    int opened = 0; // members the target was asked to open
};

// A memory target that counts the members it is asked to open: a member
// refused before that was never decrypted into it or inflated.
class CountingTarget : public MemoryTarget {
public:
    explicit CountingTarget(int &opened) : m_opened(opened) {}
    bool open(const QString &name) override
    {
        ++m_opened;
        return MemoryTarget::open(name);
    }

private:
    int &m_opened;
};

// Sinks that record into the run, answering password questions from the
// list; an answer "<cancel>" gives up.
UnpackSinks recordingSinks(Run &run, QStringList &answers)
{
    UnpackSinks sinks;
    sinks.password = [&](const QString &) -> PasswordAnswer {
        ++run.asked;
        if (answers.isEmpty() || answers.first() == "<cancel>") {
            if (!answers.isEmpty())
                answers.removeFirst();
            return {QString(), false};
        }
        return {answers.takeFirst(), true};
    };
    sinks.error = [&](ArchiveCode code, const QString &text) {
        run.errors << int(code);
        run.texts << text;
        // A failed authentication names its member after the text.
        if (code == ArchiveCode::AuthenticationFailed)
            QVERIFY(text.startsWith(pinnedText(int(code)) + ": "));
        else
            QCOMPARE(text, pinnedText(int(code)));
    };
    sinks.memberEnd = [&](const QString &name, bool ok) { (ok ? run.passed : run.failed) << name; };
    sinks.cipher = [&](const QString &name, PackageCipher cipher) { run.ciphers[name] = cipher; };
    return sinks;
}

// Unpacks into memory.
Run unpackBytes(const QByteArray &archive, QStringList answers = {}, KnownPasswords known = {})
{
    Run run;
    CountingTarget target(run.opened);
    run.written = unpack(archive, target, known, recordingSinks(run, answers));
    run.files = target.files;
    return run;
}

// Unpacks a package file into a directory.
Run unpackPackage(const QString &packagePath, const QString &directory)
{
    Run run;
    QStringList answers;
    KnownPasswords known;
    run.written = unpackFile(packagePath, directory, known, recordingSinks(run, answers));
    return run;
}

QDateTime fixedTime()
{
    return QDateTime(QDate(2024, 5, 17), QTime(13, 45, 30));
}

QList<PackMember> bookMembers()
{
    return {{"Agents.dbf", QByteArray(3000, 'a'), fixedTime()},
            {"Names.dbf", QByteArray("person table ").repeated(500), fixedTime()},
            {"surname.dff", QByteArray("\xe6\xac\xa7\xe9\x98\xb3\n"), fixedTime()},
            {"tree.dff", QByteArray("Friends\n"), fixedTime()},
            {"treeno.dff", QByteArray(), fixedTime()}};
}

std::uint32_t counter()
{
    static std::uint32_t n = 0;
    return n++ * 2654435761u;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class TestArchive : public QObject {
    Q_OBJECT
private slots:
    void packWritesTheMemberSet();
    void packedHeaders();
    void roundTrip_data();
    void roundTrip();
    void membersKeepTheirPlace_data();
    void membersKeepTheirPlace();
    void reproducibleWithFixedRandomness_data();
    void reproducibleWithFixedRandomness();
    void passwords_data();
    void passwords();
    void lastUsedPasswordTriedFirst();
    void aesHeaders();
    void readsSevenZipAes_data();
    void readsSevenZipAes();
    void aesPasswords_data();
    void aesPasswords();
    void aesTampering_data();
    void aesTampering();
    void wrongPasswordPassingTheVerifier();
    void aesRefused_data();
    void aesRefused();
    void aeOneChecksTheCrc_data();
    void aeOneChecksTheCrc();
    void readsForeignShapes_data();
    void readsForeignShapes();
    void descriptorInFrontSkipped_data();
    void descriptorInFrontSkipped();
    void hostile_data();
    void hostile();
    void inconsistentLocalHeader_data();
    void inconsistentLocalHeader();
    void writeAndCloseErrors_data();
    void writeAndCloseErrors();
    void truncatedAnywhere_data();
    void truncatedAnywhere();
    void failedMemberLeavesNoFile();
    void keptMembers_data();
    void keptMembers();
    void largeMemberKeptAndWritten();
    void keptMemberInPiecesOfBothKinds();
    void capitalisedMemberFound();
    void extraMemberCarriedIntoNextPackage();
    void heldMembersPackedFromMemory_data();
    void heldMembersPackedFromMemory();
    void largeMemberRoundTrip_data();
    void largeMemberRoundTrip();
    void failedPackKeepsOldPackage();
    void unpackFileErrors();
    void codeTexts_data();
    void codeTexts();
    void messageForm_data();
    void messageForm();
};

void TestArchive::packWritesTheMemberSet()
{
    QTemporaryDir dir;
    for (const char *name : {"Names.dbf", "Agents.dbf", "tree.dff", "treeno.dff", "surname.dff", "notes.txt", "old.dbf.bak"})
        writeFile(dir.filePath(name), name);
    QVERIFY(QDir(dir.path()).mkdir("sub.dbf"));
    QCOMPARE(packageMemberFiles(dir.path()),
             (QStringList{"Agents.dbf", "Names.dbf", "surname.dff", "tree.dff", "treeno.dff"}));
}

void TestArchive::packedHeaders()
{
    const QByteArray zip = buildArchive(bookMembers(), QString());
    const CentralDirectory d = readCentralDirectory(zip);
    QVERIFY(d.found);
    QVERIFY(!d.error);
    QCOMPARE(d.members.size(), 5);
    QStringList names;
    for (const MemberEntry &m : d.members) {
        names << m.name();
        QCOMPARE(m.method, std::uint16_t(8));
        QCOMPARE(m.flags, std::uint16_t(0)); // normal level, no encryption, no descriptor
        const LocalHeader local = readLocalHeader(zip, m.localHeaderOffset);
        QVERIFY(!local.error);
        QCOMPARE(ByteReader(zip, m.localHeaderOffset + 4).u16(), std::uint16_t(20)); // version needed 2.0
        QCOMPARE(local.entry.crc, m.crc);
    }
    QCOMPARE(names, (QStringList{"Agents.dbf", "Names.dbf", "surname.dff", "tree.dff", "treeno.dff"}));
    // 13:45:30 on 17 May 2024 in MS-DOS form; no archive comment.
    QCOMPARE(d.members.first().dosTime, std::uint16_t((13 << 11) | (45 << 5) | 15));
    QCOMPARE(ByteReader(zip, zip.size() - 2).u16(), std::uint16_t(0));

    const QByteArray locked = buildArchive(bookMembers(), "secret");
    for (const MemberEntry &m : readCentralDirectory(locked).members)
        QCOMPARE(m.flags, std::uint16_t(kFlagEncrypted));
}

void TestArchive::roundTrip_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<PackageCipher>("cipher");
    QTest::addColumn<QByteArray>("content");
    const QByteArray incompressible = [] {
        QByteArray b(1500000, Qt::Uninitialized);
        std::uint32_t x = 1;
        for (char &c : b) {
            x = x * 1103515245u + 12345u;
            c = char(x >> 24);
        }
        return b;
    }();
    QTest::newRow("plain") << QString() << PackageCipher::Aes256 << QByteArray("abc").repeated(10000);
    for (PackageCipher cipher : {PackageCipher::Traditional, PackageCipher::Aes256}) {
        const QByteArray name = cipher == PackageCipher::Aes256 ? "AES: " : "traditional: ";
        QTest::newRow(name + "password") << QString("secret") << cipher << QByteArray("abc").repeated(10000);
        QTest::newRow(name + "non-ascii password") << QString("p\u00e4ss\u5bc6") << cipher << QByteArray("x");
        QTest::newRow(name + "1,000-character password") << QString("\u5bc6").repeated(1000) << cipher << QByteArray("abc");
        QTest::newRow(name + "empty member") << QString("secret") << cipher << QByteArray();
        // AES makes its keystream in blocks of 16 KiB: a member of one byte more crosses into the next.
        QTest::newRow(name + "one byte past a keystream block") << QString("k") << cipher << incompressible.left(16385);
        QTest::newRow(name + "incompressible, several chunks") << QString("k") << cipher << incompressible;
    }
}

void TestArchive::roundTrip()
{
    QFETCH(QString, password);
    QFETCH(PackageCipher, cipher);
    QFETCH(QByteArray, content);
    const QByteArray zip
        = buildArchive({{"Names.dbf", content, fixedTime()}, {"\u5206\u7ec4.dff", "x", fixedTime()}}, password, cipher);
    const Run run = unpackBytes(zip, {password});
    QCOMPARE(run.errors, QList<int>());
    QCOMPARE(run.written, 2);
    QCOMPARE(run.files.value("Names.dbf"), content);
    QCOMPARE(run.files.value("\u5206\u7ec4.dff"), QByteArray("x"));
    QCOMPARE(run.asked, password.isEmpty() ? 0 : 1);
}

// Members are compressed side by side, the largest first; each must still
// come out under its own name, in the given order, with its own CRC.
void TestArchive::membersKeepTheirPlace_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<PackageCipher>("cipher");
    QTest::addColumn<QList<QByteArray>>("contents");
    const QByteArray check("123456789"); // its CRC-32 is 0xCBF43926
    const QByteArray big = QByteArray("person table ").repeated(40000);
    const QByteArray middle = QByteArray("organisation ").repeated(9000);
    const PackageCipher aes = PackageCipher::Aes256;
    QTest::newRow("smallest first") << QString() << aes << QList<QByteArray>{check, middle, big};
    QTest::newRow("largest in the middle") << QString() << aes << QList<QByteArray>{middle, big, check, QByteArray()};
    QTest::newRow("equal sizes") << QString() << aes << QList<QByteArray>{check, "abcdefghi", "ihgfedcba"};
    QTest::newRow("traditional, smallest first")
        << QString("pw") << PackageCipher::Traditional << QList<QByteArray>{check, QByteArray(), middle, big};
    QTest::newRow("AES, smallest first") << QString("pw") << aes << QList<QByteArray>{check, QByteArray(), middle, big};
}

void TestArchive::membersKeepTheirPlace()
{
    QFETCH(QString, password);
    QFETCH(PackageCipher, cipher);
    QFETCH(QList<QByteArray>, contents);
    QList<PackMember> members;
    QStringList names;
    for (qsizetype i = 0; i < contents.size(); ++i) {
        names << QStringLiteral("m%1.dff").arg(i);
        members << PackMember{names.last(), contents[i], fixedTime()};
    }
    const QByteArray zip = buildArchive(members, password, cipher, counter);
    const CentralDirectory d = readCentralDirectory(zip);
    // AE-2 stores no CRC.
    const bool crcStored = password.isEmpty() || cipher == PackageCipher::Traditional;
    QStringList stored;
    for (const MemberEntry &m : d.members) {
        stored << m.name();
        if (contents.value(names.indexOf(m.name())) == "123456789")
            QCOMPARE(m.crc, crcStored ? std::uint32_t(0xCBF43926u) : 0u);
    }
    QCOMPARE(stored, names);
    const Run run = unpackBytes(zip, {password});
    QCOMPARE(run.errors, QList<int>());
    for (qsizetype i = 0; i < contents.size(); ++i)
        QCOMPARE(run.files.value(names[i]), contents[i]);
}

void TestArchive::reproducibleWithFixedRandomness_data()
{
    QTest::addColumn<PackageCipher>("cipher");
    QTest::newRow("traditional") << PackageCipher::Traditional;
    QTest::newRow("AES") << PackageCipher::Aes256;
}

void TestArchive::reproducibleWithFixedRandomness()
{
    QFETCH(PackageCipher, cipher);
    auto seeded = [] {
        std::uint32_t n = 7;
        return [n]() mutable { return n = n * 1664525u + 1013904223u; };
    };
    QCOMPARE(buildArchive(bookMembers(), "pw", cipher, seeded()), buildArchive(bookMembers(), "pw", cipher, seeded()));
    QVERIFY(buildArchive(bookMembers(), "pw", cipher, seeded()) != buildArchive(bookMembers(), "pw", cipher, counter));
}

void TestArchive::passwords_data()
{
    QTest::addColumn<QStringList>("memberPasswords");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QList<int>>("errors");
    QTest::addColumn<QStringList>("written");
    QTest::addColumn<int>("asked");

    const int invalid = int(ArchiveCode::InvalidPassword);
    const int failed = int(ArchiveCode::PasswordFailed);
    QTest::newRow("asked once for several members")
        << QStringList{"s", "s", "s"} << QStringList{"s"} << QList<int>() << QStringList{"m0", "m1", "m2"} << 1;
    QTest::newRow("three wrong: three invalid, one failed, next member asks again")
        << QStringList{"s", "s"} << QStringList{"w1", "w2", "w3", "s"}
        << QList<int>{invalid, invalid, invalid, failed} << QStringList{"m1"} << 4;
    QTest::newRow("wrong then right")
        << QStringList{"s", "s"} << QStringList{"w", "s"} << QList<int>{invalid} << QStringList{"m0", "m1"} << 2;
    QTest::newRow("cancel stops asking for that member")
        << QStringList{"s", "s"} << QStringList{"<cancel>", "s"} << QList<int>{failed} << QStringList{"m1"} << 2;
    QTest::newRow("members with different passwords")
        << QStringList{"a", "b", "a"} << QStringList{"a", "b"} << QList<int>() << QStringList{"m0", "m1", "m2"} << 2;
    QTest::newRow("plain member between locked ones")
        << QStringList{"s", "", "s"} << QStringList{"s"} << QList<int>() << QStringList{"m0", "m1", "m2"} << 1;
    QTest::newRow("empty typed password is wrong")
        << QStringList{"s"} << QStringList{"", "<cancel>"} << QList<int>{invalid, failed} << QStringList() << 2;
}

void TestArchive::passwords()
{
    QFETCH(QStringList, memberPasswords);
    QFETCH(QStringList, answers);
    QFETCH(QList<int>, errors);
    QFETCH(QStringList, written);
    QFETCH(int, asked);

    QList<RawMember> members;
    for (int i = 0; i < memberPasswords.size(); ++i) {
        RawMember m = qv::test::deflatedMember(QByteArray("m") + QByteArray::number(i), QByteArray("content ") + QByteArray::number(i));
        members << (memberPasswords[i].isEmpty() ? m : qv::test::encrypted(m, memberPasswords[i].toUtf8()));
    }
    const Run run = unpackBytes(qv::test::composeZip(members), answers);
    QCOMPARE(run.errors, errors);
    QCOMPARE(run.files.keys(), written);
    QCOMPARE(run.written, written.size());
    QCOMPARE(run.passed, written);
    QCOMPARE(run.asked, asked);
}

void TestArchive::lastUsedPasswordTriedFirst()
{
    const QByteArray zip = buildArchive(bookMembers(), "s");
    KnownPasswords known;
    known.lastUsed = "s";
    const Run run = unpackBytes(zip, {}, known);
    QCOMPARE(run.asked, 0);
    QCOMPARE(run.written, 5);
}

// Method 99, version needed 5.1, the encryption flag, CRC 0 (AE-2) and the AE-x
// field (AE-2, "AE", AES-256, Deflate) in both headers, written out here byte
// for byte; the data is the Deflate body with 28 bytes around it: salt 16,
// verifier 2, authentication code 10.
void TestArchive::aesHeaders()
{
    const QByteArray plain = buildArchive(bookMembers(), QString());
    const QByteArray zip = buildArchive(bookMembers(), "secret", PackageCipher::Aes256);
    const QList<MemberEntry> plainMembers = readCentralDirectory(plain).members;
    const CentralDirectory d = readCentralDirectory(zip);
    QCOMPARE(d.members.size(), 5);
    const QByteArray aesField("\x01\x99\x07\x00\x02\x00\x41\x45\x03\x08\x00", 11);
    for (qsizetype i = 0; i < d.members.size(); ++i) {
        const MemberEntry &m = d.members[i];
        QCOMPARE(m.method, std::uint16_t(99));
        QCOMPARE(m.flags, std::uint16_t(kFlagEncrypted));
        QCOMPARE(m.crc, 0u);
        QCOMPARE(m.compressedSize, plainMembers[i].compressedSize + 28);
        QCOMPARE(m.size, plainMembers[i].size);
        const qsizetype local = m.localHeaderOffset;
        QCOMPARE(ByteReader(zip, local + 4).u16(), std::uint16_t(51));
        QCOMPARE(ByteReader(zip, local + 8).u16(), std::uint16_t(99));
        QCOMPARE(ByteReader(zip, local + 14).u32(), 0u);
        const std::uint16_t nameLength = ByteReader(zip, local + 26).u16();
        QCOMPARE(ByteReader(zip, local + 28).u16(), std::uint16_t(11));
        QCOMPARE(zip.mid(local + 30 + nameLength, 11), aesField);
        QVERIFY(zip.contains(m.rawName + aesField)); // the central header's name and extra field
    }
}

// Archives that 7-Zip 26 wrote with `7zz a -tzip -mem=AES256 -ppw`: a small member
// it stored and one it deflated. Our reader against an independent writer,
// even where 7-Zip is not installed.
void TestArchive::readsSevenZipAes_data()
{
    QTest::addColumn<QByteArray>("archive");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("stored") << QByteArray::fromHex(
        "504b0304330001006300af6db15800000000300000001400000008000b00747265652e64666601990700020041450300"
        "00b588999762b87b9cf9bf4cbed234ff7c43073f7e61015bcebd40436bc64d37b13da1ca44fb813f9dc4f6afbc69066c"
        "79504b01023f03330001006300af6db15800000000300000001400000008002f000000000000002080a4810000000074"
        "7265652e6466660a002000000000000100180000b94f7b60a8da01000000000000000000000000000000000199070002"
        "004145030000504b0506000000000100010065000000610000000000")
                            << "tree.dff" << QByteArray("Friends\nWork\nFamily\n");
    QTest::newRow("deflated") << QByteArray::fromHex(
        "504b0304330001006300597f8a5d000000003c0000000401000009000b006e616d65732e646666019907000200414503"
        "08009389e20d39f5b83043b424f86a253c182c9d2f3ae942af3617bb53a28d8456b09dfbe345264409d16d08ab066ba5"
        "4b16acb581131dcebd525fb6cfdb504b01023f03330001006300597f8a5d000000003c0000000401000009002f000000"
        "000000002080a481000000006e616d65732e6466660a0020000000000001001800682d6758bf88dd0100000000000000"
        "0000000000000000000199070002004145030800504b05060000000001000100660000006e0000000000")
                              << "names.dff" << QByteArray("Friends\nWork\n").repeated(20);
}

void TestArchive::readsSevenZipAes()
{
    QFETCH(QByteArray, archive);
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    const Run wrong = unpackBytes(archive, {"PW", "<cancel>"});
    QCOMPARE(wrong.errors, (QList<int>{int(ArchiveCode::InvalidPassword), int(ArchiveCode::PasswordFailed)}));
    QCOMPARE(wrong.opened, 0);
    const Run run = unpackBytes(archive, {"pw"});
    QCOMPARE(run.errors, QList<int>());
    QCOMPARE(run.files, (QMap<QString, QByteArray>{{name, content}}));
    QCOMPARE(run.ciphers.value(name), PackageCipher::Aes256);
}

void TestArchive::aesPasswords_data()
{
    passwords_data();
    const int invalid = int(ArchiveCode::InvalidPassword);
    QTest::newRow("AES and traditional members with one password")
        << QStringList{"s", "t:s", "s"} << QStringList{"s"} << QList<int>() << QStringList{"m0", "m1", "m2"} << 1;
    QTest::newRow("AES and traditional members, wrong then right")
        << QStringList{"t:s", "s"} << QStringList{"w", "s"} << QList<int>{invalid} << QStringList{"m0", "m1"} << 2;
}

// The password order, the retries and the messages are the traditional
// cipher's; here the verifier decides whether a password fits. A member
// password "t:..." is the traditional cipher's.
void TestArchive::aesPasswords()
{
    QFETCH(QStringList, memberPasswords);
    QFETCH(QStringList, answers);
    QFETCH(QList<int>, errors);
    QFETCH(QStringList, written);
    QFETCH(int, asked);

    QList<RawMember> members;
    for (int i = 0; i < memberPasswords.size(); ++i) {
        RawMember m = qv::test::deflatedMember(QByteArray("m") + QByteArray::number(i), QByteArray("content ") + QByteArray::number(i));
        const QString password = memberPasswords[i];
        if (password.startsWith("t:"))
            m = qv::test::encrypted(m, password.mid(2).toUtf8());
        else if (!password.isEmpty())
            m = qv::test::aesEncrypted(m, password.toUtf8());
        members << m;
    }
    const Run run = unpackBytes(qv::test::composeZip(members), answers);
    QCOMPARE(run.errors, errors);
    QCOMPARE(run.files.keys(), written);
    QCOMPARE(run.passed, written);
    QCOMPARE(run.asked, asked);
    for (int i = 0; i < memberPasswords.size(); ++i) {
        const QString name = QStringLiteral("m%1").arg(i);
        if (!written.contains(name) || memberPasswords[i].isEmpty())
            QVERIFY(!run.ciphers.contains(name));
        else
            QCOMPARE(run.ciphers.value(name), memberPasswords[i].startsWith("t:") ? PackageCipher::Traditional : PackageCipher::Aes256);
    }
}

void TestArchive::aesTampering_data()
{
    QTest::addColumn<QString>("part");
    QTest::addColumn<QList<int>>("errors");
    const QList<int> noPasswordFits{int(ArchiveCode::InvalidPassword), int(ArchiveCode::PasswordFailed)};
    const QList<int> damaged{int(ArchiveCode::AuthenticationFailed)};
    // A changed salt gives other keys, so the right password's verifier no longer matches.
    QTest::newRow("salt") << "salt" << noPasswordFits;
    QTest::newRow("verifier") << "verifier" << noPasswordFits;
    QTest::newRow("first byte of the encrypted data") << "data start" << damaged;
    QTest::newRow("last byte of the encrypted data") << "data end" << damaged;
    QTest::newRow("authentication code") << "code" << damaged;
}

// One flipped byte in the payload of Names.dbf: the member is refused before
// the target opens it, no file of it is written, and tree.dff after it still comes out.
void TestArchive::aesTampering()
{
    QFETCH(QString, part);
    QFETCH(QList<int>, errors);
    const QByteArray content = QByteArray("person table ").repeated(500);
    QByteArray zip = buildArchive({{"Names.dbf", content, fixedTime()}, {"tree.dff", "Friends\n", fixedTime()}}, "pw",
                                  PackageCipher::Aes256, counter);
    const MemberEntry names = readCentralDirectory(zip).members.first();
    const qsizetype payload = readLocalHeader(zip, names.localHeaderOffset).dataOffset;
    const qsizetype payloadEnd = payload + qsizetype(names.compressedSize);
    const QMap<QString, qsizetype> offsets = {{"salt", payload + 5},
                                              {"verifier", payload + 16},
                                              {"data start", payload + 18},
                                              {"data end", payloadEnd - 11},
                                              {"code", payloadEnd - 1}};
    zip[offsets.value(part)] = char(zip[offsets.value(part)] ^ 0x01);

    // Where no password fits Names.dbf, tree.dff asks again.
    const Run run = unpackBytes(zip, {"pw", "<cancel>", "pw"});
    QCOMPARE(run.errors, errors);
    if (errors.contains(int(ArchiveCode::AuthenticationFailed)))
        QCOMPARE(run.texts, QStringList{"File fails authentication check: Names.dbf"});
    QCOMPARE(run.failed, QStringList{"Names.dbf"});
    QCOMPARE(run.files.keys(), QStringList{"tree.dff"});
    QCOMPARE(run.opened, 1); // tree.dff alone

    QTemporaryDir dir;
    writeFile(dir.filePath("book.qvp"), zip);
    KnownPasswords known;
    known.accepted << "pw";
    QCOMPARE(unpackFile(dir.filePath("book.qvp"), dir.filePath("work"), known, {}), 1);
    QCOMPARE(QDir(dir.filePath("work")).entryList(QDir::Files | QDir::Hidden), QStringList{"tree.dff"});
}

// One password in 65,536 has the verifier of another: the authentication code
// then refuses it before anything is inflated, as a damaged member. Made here
// by giving the member the verifier of the wrong password.
void TestArchive::wrongPasswordPassingTheVerifier()
{
    RawMember member = qv::test::aesEncrypted(qv::test::deflatedMember("Names.dbf", "rows"), "right");
    const QByteArray salt = member.data.left(16);
    member.data.replace(16, 2, AesCipher("wrong", salt, 3).verifier());
    const Run run = unpackBytes(qv::test::composeZip({member}), {"wrong", "right"});
    QCOMPARE(run.errors, QList<int>{int(ArchiveCode::AuthenticationFailed)});
    QCOMPARE(run.asked, 1);
    QCOMPARE(run.opened, 0);
    QCOMPARE(run.written, 0);
}

void TestArchive::aesRefused_data()
{
    QTest::addColumn<QByteArray>("archive");
    QTest::addColumn<QList<int>>("errors");
    using qv::test::aesEncrypted;
    using qv::test::aesExtraField;
    using qv::test::composeZip;
    using qv::test::deflatedMember;
    const RawMember good = aesEncrypted(deflatedMember("Names.dbf", QByteArray("rows ").repeated(20)), "pw");
    const QList<int> method{int(ArchiveCode::UnsupportedMethod)};
    const QList<int> unsupported{int(ArchiveCode::UnsupportedArchive)};

    RawMember noField = good;
    noField.extra.clear();
    QTest::newRow("method 99 without its extra field") << composeZip({noField}) << method;
    RawMember strength = good;
    strength.extra = aesExtraField(2, 0x4541, 4, 8);
    QTest::newRow("unknown key strength") << composeZip({strength}) << method;
    RawMember vendor = good;
    vendor.extra = aesExtraField(2, 0x5858, 3, 8);
    QTest::newRow("another vendor") << composeZip({vendor}) << method;
    RawMember variant = good;
    variant.extra = aesExtraField(3, 0x4541, 3, 8);
    QTest::newRow("unknown variant") << composeZip({variant}) << method;
    RawMember bzip2 = good;
    bzip2.extra = aesExtraField(2, 0x4541, 3, 12);
    QTest::newRow("bzip2 under the encryption") << composeZip({bzip2}) << method;
    RawMember cutField = good;
    cutField.extra.chop(1);
    QTest::newRow("extra field cut off") << composeZip({cutField}) << method;
    RawMember notEncrypted = good;
    notEncrypted.flags = 0;
    QTest::newRow("encryption flag clear") << composeZip({notEncrypted}) << unsupported;
    RawMember tooShort = good;
    tooShort.data = tooShort.data.left(27);
    tooShort.compressedSize = 27;
    QTest::newRow("payload shorter than salt, verifier and code") << composeZip({tooShort}) << QList<int>{int(ArchiveCode::ReadError)};
    RawMember streamed = good;
    streamed.flags |= kFlagDataDescriptor;
    streamed.zeroSizesInLocalHeader = true;
    qv::test::RawZipOptions walked;
    walked.centralDirectory = false;
    QTest::newRow("data descriptor and no central directory: end unknown")
        << composeZip({streamed}, walked) << unsupported;
}

void TestArchive::aesRefused()
{
    QFETCH(QByteArray, archive);
    QFETCH(QList<int>, errors);
    const Run run = unpackBytes(archive, {"pw"});
    QCOMPARE(run.errors, errors);
    QCOMPARE(run.opened, 0);
    QCOMPARE(run.written, 0);
}

void TestArchive::aeOneChecksTheCrc_data()
{
    QTest::addColumn<bool>("crcRight");
    QTest::addColumn<int>("strength");
    QTest::addColumn<QList<int>>("errors");
    QTest::newRow("right CRC") << true << 3 << QList<int>();
    QTest::newRow("wrong CRC") << false << 3 << QList<int>{int(ArchiveCode::CrcFailed)};
    QTest::newRow("AES-128") << true << 1 << QList<int>();
    QTest::newRow("AES-192") << true << 2 << QList<int>();
}

// AE-1 stores the CRC and it is checked, after the authentication code;
// AES-128 and -192 members of other archivers open too.
void TestArchive::aeOneChecksTheCrc()
{
    QFETCH(bool, crcRight);
    QFETCH(int, strength);
    QFETCH(QList<int>, errors);
    RawMember member = qv::test::deflatedMember("Names.dbf", QByteArray("rows ").repeated(20));
    if (!crcRight)
        member.crc ^= 1;
    const Run run = unpackBytes(qv::test::composeZip({qv::test::aesEncrypted(member, "pw", 1, strength)}), {"pw"});
    QCOMPARE(run.errors, errors);
    QCOMPARE(run.written, errors.isEmpty() ? 1 : 0);
    QCOMPARE(run.files.value("Names.dbf"), errors.isEmpty() ? QByteArray("rows ").repeated(20) : QByteArray());
}

void TestArchive::readsForeignShapes_data()
{
    QTest::addColumn<QList<RawMember>>("members");
    QTest::addColumn<qv::test::RawZipOptions>("options");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QList<int>>("errors");

    RawMember streamed = qv::test::deflatedMember("Names.dbf", QByteArray("streamed ").repeated(100));
    streamed.flags |= kFlagDataDescriptor;
    streamed.zeroSizesInLocalHeader = true;
    const RawMember stored = qv::test::storedMember("Agents.dbf", "stored bytes");

    // Without a central directory every member is read, and the missing end is reported.
    const qv::test::RawZipOptions directory;
    qv::test::RawZipOptions walked;
    walked.centralDirectory = false;
    const QList<int> none;
    const QList<int> cutOff{int(ArchiveCode::ReadError)};
    QTest::newRow("stored") << QList<RawMember>{stored} << directory << QString() << none;
    QTest::newRow("data descriptor") << QList<RawMember>{streamed, stored} << directory << QString() << none;
    QTest::newRow("data descriptor, no central directory") << QList<RawMember>{streamed, stored} << walked << QString() << cutOff;
    QTest::newRow("encrypted with descriptor: time check byte")
        << QList<RawMember>{qv::test::encrypted(streamed, "pw"), qv::test::encrypted(stored, "pw")} << directory << QString("pw") << none;
    QTest::newRow("encrypted with descriptor, walked")
        << QList<RawMember>{qv::test::encrypted(streamed, "pw")} << walked << QString("pw") << cutOff;

    // ZIP64: each place a ZIP64 value can sit, on every member of the archive.
    const RawMember deflated = qv::test::deflatedMember("Names.dbf", QByteArray("zip64 ").repeated(300));
    const RawMember second = qv::test::deflatedMember("tree.dff", "Friends\n");
    auto each = [](QList<RawMember> members, const std::function<void(RawMember &)> &change) {
        for (RawMember &m : members)
            change(m);
        return members;
    };
    auto localSizes = [](RawMember &m) { m.zip64LocalSizes = true; };
    QTest::newRow("ZIP64 local sizes") << each({deflated, second}, localSizes) << directory << QString() << none;
    QTest::newRow("ZIP64 local sizes, walked") << each({deflated, second}, localSizes) << walked << QString() << cutOff;
    QTest::newRow("ZIP64 local sizes, stored, walked") << each({stored, second}, localSizes) << walked << QString() << cutOff;
    QTest::newRow("ZIP64 local sizes, only the compressed size marked, walked") << each({deflated, second}, [](RawMember &m) {
        m.zip64LocalSizes = true;
        m.zip64LocalSizeInField = true;
    }) << walked << QString() << cutOff;
    QTest::newRow("ZIP64 data descriptor") << each({streamed, stored}, localSizes) << directory << QString() << none;
    RawMember streamedAgents = streamed;
    streamedAgents.name = "Agents.dbf";
    QTest::newRow("ZIP64 data descriptor, walked") << each({streamed, streamedAgents}, localSizes) << walked << QString() << cutOff;
    QTest::newRow("ZIP64 data descriptor, encrypted, walked")
        << QList<RawMember>{qv::test::encrypted(each({streamed}, localSizes).first(), "pw")} << walked << QString("pw") << cutOff;
    QTest::newRow("ZIP64 central uncompressed size")
        << each({deflated, second}, [](RawMember &m) { m.zip64Size = true; }) << directory << QString() << none;
    QTest::newRow("ZIP64 central compressed size")
        << each({deflated, second}, [](RawMember &m) { m.zip64CompressedSize = true; }) << directory << QString() << none;
    QTest::newRow("ZIP64 central local header offset")
        << each({deflated, second}, [](RawMember &m) { m.zip64Offset = true; }) << directory << QString() << none;
    QTest::newRow("ZIP64 central disk number")
        << each({deflated, second}, [](RawMember &m) { m.zip64Disk = true; }) << directory << QString() << none;
    QTest::newRow("ZIP64 central size and offset, compressed size in its field") << each({deflated, second}, [](RawMember &m) {
        m.zip64Size = true;
        m.zip64Offset = true;
    }) << directory << QString() << none;
    QTest::newRow("ZIP64 central compressed size and disk number") << each({deflated, second}, [](RawMember &m) {
        m.zip64CompressedSize = true;
        m.zip64Disk = true;
    }) << directory << QString() << none;
    auto everywhere = [](RawMember &m) {
        m.zip64LocalSizes = true;
        m.zip64Size = true;
        m.zip64CompressedSize = true;
        m.zip64Offset = true;
        m.zip64Disk = true;
    };
    qv::test::RawZipOptions endRecords;
    endRecords.zip64EndRecords = true;
    QTest::newRow("ZIP64 end records beside a complete end record") << QList<RawMember>{deflated, second} << endRecords << QString() << none;
    qv::test::RawZipOptions endMarkers = endRecords;
    endMarkers.zip64EndMarkers = true;
    QTest::newRow("ZIP64 end records, the end record at its markers") << QList<RawMember>{deflated, second} << endMarkers << QString() << none;
    QTest::newRow("ZIP64 everywhere, encrypted")
        << QList<RawMember>{qv::test::encrypted(each({deflated}, everywhere).first(), "pw"), each({stored}, everywhere).first()}
        << endMarkers << QString("pw") << none;
}

void TestArchive::readsForeignShapes()
{
    QFETCH(QList<RawMember>, members);
    QFETCH(qv::test::RawZipOptions, options);
    QFETCH(QString, password);
    QFETCH(QList<int>, errors);
    const Run run = unpackBytes(qv::test::composeZip(members, options), {password});
    QCOMPARE(run.errors, errors);
    QCOMPARE(run.written, members.size());
    for (const RawMember &m : members)
        QCOMPARE(qv::test::crcOf(run.files.value(QString::fromUtf8(m.name))), m.crc);
}

void TestArchive::descriptorInFrontSkipped_data()
{
    QTest::addColumn<bool>("zip64");
    QTest::newRow("32-bit sizes") << false;
    QTest::newRow("ZIP64 sizes") << true;
}

// A local header looked up where the data descriptor of the member before it starts.
void TestArchive::descriptorInFrontSkipped()
{
    QFETCH(bool, zip64);
    RawMember streamed = qv::test::deflatedMember("Names.dbf", QByteArray("streamed ").repeated(100));
    streamed.flags |= kFlagDataDescriptor;
    streamed.zeroSizesInLocalHeader = true;
    streamed.zip64LocalSizes = zip64;
    qv::test::RawZipOptions walked;
    walked.centralDirectory = false;
    const QByteArray zip = qv::test::composeZip({streamed, qv::test::storedMember("Agents.dbf", "stored bytes")}, walked);
    const qsizetype descriptor = kLocalHeaderSize + streamed.name.size() + (zip64 ? 20 : 0) + streamed.data.size();
    QCOMPARE(ByteReader(zip, descriptor).u32(), kDataDescriptorSignature);

    const LocalHeader local = readLocalHeader(zip, descriptor);
    QVERIFY(!local.error);
    QCOMPARE(local.entry.name(), QString("Agents.dbf"));
    QCOMPARE(local.entry.localHeaderOffset, descriptor + (zip64 ? 24 : 16));
}

void TestArchive::hostile_data()
{
    QTest::addColumn<QByteArray>("archive");
    QTest::addColumn<QList<int>>("errors");
    QTest::addColumn<QStringList>("written");

    using qv::test::composeZip;
    using qv::test::deflatedMember;
    const QByteArray body = "data";
    QTest::newRow("zip-slip parent path") << composeZip({deflatedMember("../../evil.dbf", body)}) << QList<int>() << QStringList{"evil.dbf"};
    QTest::newRow("absolute path") << composeZip({deflatedMember("/etc/cron.d/evil.dff", body)}) << QList<int>() << QStringList{"evil.dff"};
    QTest::newRow("drive letter and backslashes") << composeZip({deflatedMember("C:\\Windows\\evil.dbf", body)}) << QList<int>() << QStringList{"evil.dbf"};
    QTest::newRow("bare drive letter") << composeZip({deflatedMember("D:evil.dbf", body)}) << QList<int>() << QStringList{"evil.dbf"};
    QTest::newRow("directory entry is empty after stripping")
        << composeZip({deflatedMember("sub/", QByteArray()), deflatedMember("Names.dbf", body)})
        << QList<int>{int(ArchiveCode::OpenError)} << QStringList{"Names.dbf"};
    QTest::newRow("dot dot alone") << composeZip({deflatedMember("..", body)}) << QList<int>{int(ArchiveCode::OpenError)} << QStringList();

    RawMember bomb = deflatedMember("Names.dbf", QByteArray(20 * 1024 * 1024, '\0'));
    bomb.size = 1000; // claims to be small
    QTest::newRow("inflates beyond its stated size") << composeZip({bomb}) << QList<int>{int(ArchiveCode::BadLengths)} << QStringList();
    RawMember shortMember = deflatedMember("Names.dbf", QByteArray(1000, 'x'));
    shortMember.size = 2000;
    QTest::newRow("inflates short of its stated size") << composeZip({shortMember}) << QList<int>{int(ArchiveCode::BadLengths)} << QStringList();

    RawMember badCrc = deflatedMember("Names.dbf", body);
    badCrc.crc ^= 1;
    QTest::newRow("wrong CRC") << composeZip({badCrc, deflatedMember("tree.dff", body)})
                               << QList<int>{int(ArchiveCode::CrcFailed)} << QStringList{"tree.dff"};
    RawMember garbage = deflatedMember("Names.dbf", body);
    garbage.data = QByteArray("\xff\xff\xff\xff\xff\xff", 6);
    garbage.compressedSize = 6;
    QTest::newRow("bad deflate data") << composeZip({garbage}) << QList<int>{int(ArchiveCode::BadBlock)} << QStringList();

    RawMember bzip2 = deflatedMember("Names.dbf", body);
    bzip2.method = 12;
    QTest::newRow("unsupported method") << composeZip({bzip2, deflatedMember("tree.dff", body)})
                                        << QList<int>{int(ArchiveCode::UnsupportedMethod)} << QStringList{"tree.dff"};
    RawMember strong = deflatedMember("Names.dbf", body);
    strong.flags |= kFlagEncrypted | kFlagStrongEncryption;
    QTest::newRow("strong encryption") << composeZip({strong}) << QList<int>{int(ArchiveCode::UnsupportedArchive)} << QStringList();

    // ZIP64 values that are missing, out of bounds or on another volume.
    RawMember unmarked = deflatedMember("Names.dbf", body);
    unmarked.flags |= kFlagDataDescriptor;
    unmarked.zeroSizesInLocalHeader = true;
    unmarked.compressedSize = 0xFFFFFFFFu; // in the central header, with no ZIP64 field after it
    QTest::newRow("ZIP64 marker without a ZIP64 field") << composeZip({unmarked}) << QList<int>{int(ArchiveCode::BadFileHeader)} << QStringList();
    RawMember shortCentral = deflatedMember("Names.dbf", body);
    shortCentral.zip64Size = true;
    shortCentral.zip64Offset = true;
    shortCentral.zip64MissingBytes = 8;
    QTest::newRow("central ZIP64 field short of a value") << composeZip({shortCentral})
                                                          << QList<int>{int(ArchiveCode::BadFileHeader)} << QStringList();
    RawMember shortOfDisk = deflatedMember("Names.dbf", body);
    shortOfDisk.zip64Size = true;
    shortOfDisk.zip64Disk = true;
    shortOfDisk.zip64MissingBytes = 4; // the 8-byte size is there, the 4-byte disk number is not
    QTest::newRow("central ZIP64 field short of the disk number") << composeZip({shortOfDisk})
                                                                  << QList<int>{int(ArchiveCode::BadFileHeader)} << QStringList();
    RawMember otherVolume = deflatedMember("Names.dbf", body);
    otherVolume.disk = 1;
    QTest::newRow("member on disk 1") << composeZip({otherVolume})
                                      << QList<int>{int(ArchiveCode::UnsupportedArchive)} << QStringList();
    otherVolume.zip64Disk = true;
    QTest::newRow("ZIP64 disk number 1") << composeZip({otherVolume})
                                         << QList<int>{int(ArchiveCode::UnsupportedArchive)} << QStringList();
    RawMember shortLocal = deflatedMember("Names.dbf", body);
    shortLocal.zip64LocalSizes = true;
    shortLocal.zip64MissingBytes = 8;
    qv::test::RawZipOptions walked;
    walked.centralDirectory = false;
    QTest::newRow("local ZIP64 field short of a value, walked")
        << composeZip({shortLocal}, walked) << QList<int>{int(ArchiveCode::BadFileHeader)} << QStringList();
    qv::test::RawZipOptions zip64End;
    zip64End.zip64EndRecords = true;
    zip64End.zip64EndMarkers = true;
    QByteArray noZip64End = composeZip({deflatedMember("Names.dbf", body)}, zip64End);
    noZip64End[noZip64End.size() - kEndRecordSize - kZip64LocatorSize - kZip64EndRecordSize] = 'X';
    QTest::newRow("no ZIP64 end record where the locator points")
        << noZip64End << QList<int>{int(ArchiveCode::BadFileHeader)} << QStringList();
    QByteArray locatorBeyond = composeZip({deflatedMember("Names.dbf", body)}, zip64End);
    locatorBeyond[locatorBeyond.size() - kEndRecordSize - 6] = '\x7f'; // the ZIP64 end record's offset
    QTest::newRow("ZIP64 end record beyond the end") << locatorBeyond << QList<int>{int(ArchiveCode::ReadError)} << QStringList();
    QByteArray directoryTooLong = composeZip({deflatedMember("Names.dbf", body)}, zip64End);
    // the top bytes of the ZIP64 end record's directory size
    directoryTooLong[directoryTooLong.size() - kEndRecordSize - kZip64LocatorSize - kZip64EndRecordSize + 40 + 6] = '\x7f';
    QTest::newRow("ZIP64 end record: directory size beyond the end record")
        << directoryTooLong << QList<int>{int(ArchiveCode::ReadError)} << QStringList();
    QByteArray spannedZip64 = composeZip({deflatedMember("Names.dbf", body)}, zip64End);
    spannedZip64[spannedZip64.size() - kEndRecordSize - 4] = 2; // the locator's number of disks
    QTest::newRow("ZIP64 multi-volume") << spannedZip64 << QList<int>{int(ArchiveCode::UnsupportedArchive)} << QStringList();
    RawMember huge = deflatedMember("Names.dbf", body);
    huge.size = qint64(5) << 30;
    huge.zip64Size = true;
    QTest::newRow("ZIP64 size above the largest member") << composeZip({huge}) << QList<int>{int(ArchiveCode::BadLengths)} << QStringList();
    RawMember far = deflatedMember("Names.dbf", body);
    far.compressedSize = std::uint64_t(1) << 40;
    far.zip64CompressedSize = true;
    QTest::newRow("ZIP64 compressed size beyond the end") << composeZip({far}) << QList<int>{int(ArchiveCode::ReadError)} << QStringList();
    qv::test::RawZipOptions spanned;
    spanned.disk = 2;
    QTest::newRow("multi-volume") << composeZip({deflatedMember("Names.dbf", body)}, spanned)
                                  << QList<int>{int(ArchiveCode::UnsupportedArchive)} << QStringList();
    QTest::newRow("not an archive") << QByteArray("hello, world") << QList<int>{int(ArchiveCode::UnsupportedArchive)} << QStringList();
    QTest::newRow("empty file") << QByteArray() << QList<int>{int(ArchiveCode::UnsupportedArchive)} << QStringList();

    QByteArray badOffset = composeZip({deflatedMember("Names.dbf", body)});
    badOffset[badOffset.size() - 6] = '\x7f'; // central directory offset far beyond the end
    QTest::newRow("directory beyond the end") << badOffset << QList<int>{int(ArchiveCode::ReadError)} << QStringList();
    RawMember lying = deflatedMember("Names.dbf", body);
    lying.compressedSize = 0x7FFFFFF0;
    QTest::newRow("compressed size beyond the end") << composeZip({lying}) << QList<int>{int(ArchiveCode::ReadError)} << QStringList();
}

void TestArchive::hostile()
{
    QFETCH(QByteArray, archive);
    QFETCH(QList<int>, errors);
    QFETCH(QStringList, written);
    const Run run = unpackBytes(archive);
    QCOMPARE(run.errors, errors);
    QCOMPARE(run.files.keys(), written);
}

void TestArchive::inconsistentLocalHeader_data()
{
    QTest::addColumn<QByteArray>("archive");

    RawMember storedLocally = qv::test::deflatedMember("Names.dbf", "rows");
    storedLocally.localMethod = 0;
    QTest::newRow("method") << qv::test::composeZip({storedLocally, qv::test::deflatedMember("tree.dff", "Friends\n")});
    // Our own package, its first local header claiming encryption that its central header does not.
    QByteArray package = buildArchive({{"Names.dbf", "rows", fixedTime()}, {"tree.dff", "Friends\n", fixedTime()}}, QString());
    package[6] = char(package[6] | kFlagEncrypted);
    QTest::newRow("encryption flag") << package;
}

void TestArchive::inconsistentLocalHeader()
{
    QFETCH(QByteArray, archive);
    const Run run = unpackBytes(archive);
    QCOMPARE(run.errors, QList<int>{25248});
    QCOMPARE(run.texts, QStringList{"Inconsistant local header"});
    QCOMPARE(run.files.keys(), QStringList{"tree.dff"});
    QCOMPARE(run.written, 1);
}

void TestArchive::writeAndCloseErrors_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    // The file buffers small writes and writes large ones at once: a large member
    // fails while it is written, a small one when the file is flushed and closed.
    QTest::newRow("large member") << QByteArray("row ").repeated(256 * 1024) << 25136 << "Error writing to file";
    QTest::newRow("small member") << QByteArray("rows") << 25137 << "Error closing file";
}

void TestArchive::writeAndCloseErrors()
{
    QFETCH(QByteArray, content);
    QFETCH(int, code);
    QFETCH(QString, text);
    if (!QFileInfo::exists("/dev/full"))
        QSKIP("needs /dev/full, a device that is always full");
    QTemporaryDir dir;
    writeFile(dir.filePath("book.qvp"), buildArchive({{"Names.dbf", content, fixedTime()}, {"tree.dff", "Friends\n", fixedTime()}}, QString()));
    // The working directory's Names.dbf leads to a full device.
    QVERIFY(QDir(dir.path()).mkdir("work"));
    QVERIFY(QFile::link("/dev/full", dir.filePath("work/Names.dbf")));

    const Run run = unpackPackage(dir.filePath("book.qvp"), dir.filePath("work"));
    QCOMPARE(run.errors, QList<int>{code});
    QCOMPARE(run.texts, QStringList{text});
    QCOMPARE(run.failed, QStringList{"Names.dbf"});
    QCOMPARE(run.passed, QStringList{"tree.dff"});
    QCOMPARE(run.written, 1);
}

void TestArchive::truncatedAnywhere_data()
{
    reproducibleWithFixedRandomness_data();
}

void TestArchive::truncatedAnywhere()
{
    QFETCH(PackageCipher, cipher);
    const QByteArray zip = buildArchive(bookMembers(), "pw", cipher, counter);
    for (qsizetype cut = 0; cut < zip.size(); cut += 7) {
        const Run run = unpackBytes(zip.left(cut), {"pw"});
        QVERIFY2(!run.errors.isEmpty(), qPrintable(QString::number(cut)));
        // Whatever came out is whole.
        for (auto it = run.files.cbegin(); it != run.files.cend(); ++it) {
            bool known = false;
            for (const PackMember &m : bookMembers())
                known = known || (m.name == it.key() && m.data == it.value());
            QVERIFY2(known, qPrintable(it.key()));
        }
    }
    QVERIFY(unpackBytes(zip.left(zip.size() / 2), {"pw"}).errors.contains(int(ArchiveCode::ReadError)));
}

void TestArchive::failedMemberLeavesNoFile()
{
    QTemporaryDir dir;
    RawMember badCrc = qv::test::deflatedMember("Names.dbf", QByteArray("x").repeated(100000));
    badCrc.crc ^= 1;
    writeFile(dir.filePath("bad.qvp"), qv::test::composeZip({badCrc}));
    const Run run = unpackPackage(dir.filePath("bad.qvp"), dir.filePath("work"));
    QCOMPARE(run.written, 0);
    QCOMPARE(run.errors, QList<int>{int(ArchiveCode::CrcFailed)});
    QCOMPARE(QDir(dir.filePath("work")).entryList(QDir::Files | QDir::Hidden), QStringList());
}

// Members unpacked into memory instead of files: those named, ignoring case;
// a member that fails is not kept, as it would leave no file.
void TestArchive::keptMembers_data()
{
    QTest::addColumn<QList<RawMember>>("members");
    QTest::addColumn<QStringList>("keptNames");
    QTest::addColumn<QStringList>("files");
    using qv::test::deflatedMember;
    using qv::test::storedMember;
    RawMember badCrc = deflatedMember("Names.dbf", "names");
    badCrc.crc ^= 1;
    QTest::newRow("named members kept, the rest written")
        << QList<RawMember>{deflatedMember("Agents.dbf", "agents"), deflatedMember("Names.dbf", "names"),
                            storedMember("tree.dff", "tree")}
        << QStringList{"agents.dbf", "names.dbf"} << QStringList{"tree.dff"};
    QTest::newRow("names compared ignoring case")
        << QList<RawMember>{deflatedMember("NAMES.DBF", "names"), deflatedMember("Notes.dff", "notes")}
        << QStringList{"names.dbf"} << QStringList{"Notes.dff"};
    QTest::newRow("a failed member is not kept")
        << QList<RawMember>{badCrc, deflatedMember("Agents.dbf", "agents")} << QStringList{"agents.dbf"} << QStringList();
    QTest::newRow("a failed copy drops the member kept before it")
        << QList<RawMember>{deflatedMember("Names.dbf", "names"), badCrc} << QStringList() << QStringList();
    QTest::newRow("a later member of the same name takes its place")
        << QList<RawMember>{deflatedMember("Names.dbf", "stale"), deflatedMember("NAMES.DBF", "names")}
        << QStringList{"names.dbf"} << QStringList();
    QTest::newRow("a stored member kept as well")
        << QList<RawMember>{storedMember("Names.dbf", "names")} << QStringList{"names.dbf"} << QStringList();
}

void TestArchive::keptMembers()
{
    QFETCH(QList<RawMember>, members);
    QFETCH(QStringList, keptNames);
    QFETCH(QStringList, files);
    QTemporaryDir dir;
    writeFile(dir.filePath("book.qvp"), qv::test::composeZip(members));
    KeepingTarget target(dir.filePath("work"), {"Names.dbf", "agents.DBF"});
    KnownPasswords known;
    unpackFile(dir.filePath("book.qvp"), target, known, {});
    QStringList names;
    for (const auto &[name, bytes] : target.kept) {
        names << name;
        QCOMPARE(bytes.view(), name.chopped(4).toUtf8());
    }
    QCOMPARE(names, keptNames);
    QCOMPARE(QDir(dir.filePath("work")).entryList(QDir::Files | QDir::Hidden, QDir::Name), files);
}

// A kept member may come as a whole piece and as pieces, in any order;
// it holds them all, in the order they came.
void TestArchive::keptMemberInPiecesOfBothKinds()
{
    const auto piece = [](const QByteArray &text) {
        qv::PageBuffer buffer(size_t(text.size()));
        std::copy(text.cbegin(), text.cend(), buffer.data());
        return buffer;
    };
    QTemporaryDir dir;
    KeepingTarget target(dir.filePath("work"), {"names.dbf"});
    QVERIFY(target.open("Names.dbf"));
    QVERIFY(target.writeAll(piece("whole ")));
    QVERIFY(target.write("then ", 5));
    QVERIFY(target.writeAll(piece("whole again")));
    QVERIFY(target.commit());
    QCOMPARE(target.kept.at("names.dbf").view(), QByteArrayView("whole then whole again"));
}

// A member of megabytes goes through the whole-member path into a buffer
// of its own, kept or written alike.
void TestArchive::largeMemberKeptAndWritten()
{
    QByteArray large;
    for (int i = 0; large.size() < 5 * 1024 * 1024; ++i)
        large += QByteArray::number(qint64(i) * 7919) + ' ';
    QTemporaryDir dir;
    writeFile(dir.filePath("book.qvp"),
              qv::test::composeZip({qv::test::deflatedMember("Names.dbf", large), qv::test::deflatedMember("big.dff", large)}));
    KeepingTarget target(dir.filePath("work"), {"names.dbf"});
    KnownPasswords known;
    QCOMPARE(unpackFile(dir.filePath("book.qvp"), target, known, {}), 2);
    QCOMPARE(target.kept.at("names.dbf").view(), large);
    QFile written(dir.filePath("work/big.dff"));
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), large);
}

void TestArchive::capitalisedMemberFound()
{
    QTemporaryDir dir;
    writeFile(dir.filePath("p.qvp"), qv::test::composeZip({qv::test::deflatedMember("NAMES.DBF", "rows")}));
    KnownPasswords known;
    QCOMPARE(unpackFile(dir.filePath("p.qvp"), dir.filePath("work"), known, {}), 1);
    const QString found = findMemberFile(dir.filePath("work"), "names.dbf");
    QCOMPARE(QFileInfo(found).fileName(), QString("NAMES.DBF"));
    QVERIFY(findMemberFile(dir.filePath("work"), "agents.dbf").isEmpty());
}

void TestArchive::extraMemberCarriedIntoNextPackage()
{
    QTemporaryDir dir;
    QList<PackMember> members = bookMembers();
    members << PackMember{"custom.dff", "kept", fixedTime()};
    writeFile(dir.filePath("old.qvp"), buildArchive(members, QString()));
    KnownPasswords known;
    QCOMPARE(unpackFile(dir.filePath("old.qvp"), dir.filePath("work"), known, {}), 6);
    pack(dir.filePath("new.qvp"), dir.filePath("work"), QString());
    QFile f(dir.filePath("new.qvp"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const Run run = unpackBytes(f.readAll());
    QCOMPARE(run.files.value("custom.dff"), QByteArray("kept"));
    QCOMPARE(run.written, 6);
}

using Members = QMap<QString, QByteArray>;

void TestArchive::heldMembersPackedFromMemory_data()
{
    QTest::addColumn<Members>("held"); // by lower-case name
    QTest::addColumn<Members>("expected"); // by member name
    const Members onDisk = {{"Agents.dbf", "agents on disk"}, {"Names.dbf", "names on disk"},
                                              {"custom.dff", "custom on disk"}};
    QTest::newRow("nothing held") << Members{} << onDisk;
    QTest::newRow("tables held") << Members{{"agents.dbf", "agents held"}, {"names.dbf", "names held"}}
                                 << Members{{"Agents.dbf", "agents held"}, {"Names.dbf", "names held"}, {"custom.dff", "custom on disk"}};
    // Only files of the directory become members: a held name without one is left out.
    QTest::newRow("held without a file")
        << Members{{"names.dbf", "names held"}, {"other.dff", "no file"}}
        << Members{{"Agents.dbf", "agents on disk"}, {"Names.dbf", "names held"}, {"custom.dff", "custom on disk"}};
}

void TestArchive::heldMembersPackedFromMemory()
{
    QFETCH(Members, held);
    QFETCH(Members, expected);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("work"));
    writeFile(dir.filePath("work/Agents.dbf"), "agents on disk");
    writeFile(dir.filePath("work/Names.dbf"), "names on disk");
    writeFile(dir.filePath("work/custom.dff"), "custom on disk");
    pack(dir.filePath("book.qvp"), dir.filePath("work"), QString(), held);
    QFile f(dir.filePath("book.qvp"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const Run run = unpackBytes(f.readAll());
    QCOMPARE(run.files, expected);
    QCOMPARE(run.passed, (QStringList{"Agents.dbf", "Names.dbf", "custom.dff"}));
}

void TestArchive::largeMemberRoundTrip_data()
{
    QTest::addColumn<QString>("password");
    QTest::newRow("no password") << "";
    QTest::newRow("password") << "s3cret";
}

// A member of megabytes, as the person table of a big book, beside small ones.
void TestArchive::largeMemberRoundTrip()
{
    QFETCH(QString, password);
    QByteArray table;
    for (int i = 0; table.size() < 3'000'000; ++i)
        table += QByteArray::number(i) + '\t' + QByteArray::number(i * 7919 % 100003) + "\tname\n";
    QList<PackMember> members = bookMembers();
    members[1].data = table;
    const Run run = unpackBytes(buildArchive(members, password), {password});
    QCOMPARE(run.written, 5);
    QVERIFY(run.files.value("Names.dbf") == table);
    QCOMPARE(run.files.value("Agents.dbf"), members[0].data);
    QVERIFY(run.failed.isEmpty());
}

void TestArchive::failedPackKeepsOldPackage()
{
    QTemporaryDir dir;
    writeFile(dir.filePath("book.qvp"), "old package");
    QVERIFY(QDir(dir.path()).mkdir("work"));
    writeFile(dir.filePath("work/Agents.dbf"), "rows");
    // A member that opens but cannot be read, whatever the rights of the user.
    QVERIFY(QFile::link("/proc/self/mem", dir.filePath("work/Names.dbf")));
    QVERIFY_THROWS_EXCEPTION(qv::Error, pack(dir.filePath("book.qvp"), dir.filePath("work"), QString()));
    QFile old(dir.filePath("book.qvp"));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("old package"));
}

void TestArchive::unpackFileErrors()
{
    QTemporaryDir dir;
    const Run missing = unpackPackage(dir.filePath("missing.qvp"), dir.filePath("work"));
    QCOMPARE(missing.written, 0);
    QCOMPARE(missing.errors, QList<int>{int(ArchiveCode::FileNotFound)});
    writeFile(dir.filePath("p.qvp"), buildArchive(bookMembers(), QString()));
    writeFile(dir.filePath("file"), "x");
    const Run blocked = unpackPackage(dir.filePath("p.qvp"), dir.filePath("file/work"));
    QCOMPARE(blocked.written, 0);
    QCOMPARE(blocked.errors, QList<int>{int(ArchiveCode::CannotCreateDirectory)});
}

void TestArchive::codeTexts_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("text");
    for (const PinnedCode &p : kPinnedCodes)
        QTest::newRow(p.text) << int(p.code) << p.number << QString::fromUtf8(p.text);
}

void TestArchive::codeTexts()
{
    QFETCH(int, code);
    QFETCH(int, number);
    QFETCH(QString, text);
    QCOMPARE(code, number);
    QCOMPARE(archiveCodeText(ArchiveCode(code)), text);
}

void TestArchive::messageForm_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("error") << int(ArchiveCode::CrcFailed) << "Error: 25151 - File fails CRC check";
    QTest::newRow("last error code") << int(ArchiveCode::UserCanceled) << "Error: 25449 - User canceled";
    QTest::newRow("message") << int(ArchiveCode::InvalidPassword) << "Message: 26517 - Invalid password";
    QTest::newRow("spelling kept") << int(ArchiveCode::InconsistentLocalHeader) << "Error: 25248 - Inconsistant local header";
}

void TestArchive::messageForm()
{
    QFETCH(int, code);
    QFETCH(QString, message);
    QCOMPARE(archiveMessage(ArchiveCode(code)), message);
}

QTEST_APPLESS_MAIN(TestArchive)
#include "tst_archive.moc"
