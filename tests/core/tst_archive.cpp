#include "RawZip.h"

#include "common/Error.h"
#include "data/archive/PackageReader.h"
#include "data/archive/PackageWriter.h"
#include "data/archive/ZipDirectory.h"
#include "data/archive/ZipFormat.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace qv::archive;
using qv::test::RawMember;

Q_DECLARE_METATYPE(QList<qv::test::RawMember>)

namespace {

// What one unpack reported.
struct Run {
    int written = 0;
    QList<int> errors;
    QStringList passed;
    QStringList failed;
    int asked = 0;
    QMap<QString, QByteArray> files;
};

// Unpacks into memory, answering password questions from the list; an
// answer "<cancel>" gives up.
Run unpackBytes(const QByteArray &archive, QStringList answers = {}, KnownPasswords known = {})
{
    Run run;
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
        QCOMPARE(text, archiveCodeText(code));
        run.errors << int(code);
    };
    sinks.memberEnd = [&](const QString &name, bool ok) { (ok ? run.passed : run.failed) << name; };
    MemoryTarget target;
    run.written = unpack(archive, target, known, sinks);
    run.files = target.files;
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
    void reproducibleWithFixedRandomness();
    void passwords_data();
    void passwords();
    void lastUsedPasswordTriedFirst();
    void readsForeignShapes_data();
    void readsForeignShapes();
    void hostile_data();
    void hostile();
    void truncatedAnywhere();
    void failedMemberLeavesNoFile();
    void capitalisedMemberFound();
    void extraMemberCarriedIntoNextPackage();
    void failedPackKeepsOldPackage();
    void unpackFileErrors();
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
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("plain") << QString() << QByteArray("abc").repeated(10000);
    QTest::newRow("password") << QString("secret") << QByteArray("abc").repeated(10000);
    QTest::newRow("non-ascii password") << QString("p\u00e4ss\u5bc6") << QByteArray("x");
    QTest::newRow("empty member") << QString("secret") << QByteArray();
    QTest::newRow("incompressible, several chunks") << QString("k") << [] {
        QByteArray b(1500000, Qt::Uninitialized);
        std::uint32_t x = 1;
        for (char &c : b) {
            x = x * 1103515245u + 12345u;
            c = char(x >> 24);
        }
        return b;
    }();
}

void TestArchive::roundTrip()
{
    QFETCH(QString, password);
    QFETCH(QByteArray, content);
    const QByteArray zip = buildArchive({{"Names.dbf", content, fixedTime()}, {"\u5206\u7ec4.dff", "x", fixedTime()}}, password);
    const Run run = unpackBytes(zip, {password});
    QCOMPARE(run.errors, QList<int>());
    QCOMPARE(run.written, 2);
    QCOMPARE(run.files.value("Names.dbf"), content);
    QCOMPARE(run.files.value("\u5206\u7ec4.dff"), QByteArray("x"));
    QCOMPARE(run.asked, password.isEmpty() ? 0 : 1);
}

void TestArchive::reproducibleWithFixedRandomness()
{
    auto seeded = [] {
        std::uint32_t n = 7;
        return [n]() mutable { return n = n * 1664525u + 1013904223u; };
    };
    QCOMPARE(buildArchive(bookMembers(), "pw", seeded()), buildArchive(bookMembers(), "pw", seeded()));
    QVERIFY(buildArchive(bookMembers(), "pw", seeded()) != buildArchive(bookMembers(), "pw", counter));
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

void TestArchive::readsForeignShapes_data()
{
    QTest::addColumn<QList<RawMember>>("members");
    QTest::addColumn<bool>("centralDirectory");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QList<int>>("errors");

    RawMember streamed = qv::test::deflatedMember("Names.dbf", QByteArray("streamed ").repeated(100));
    streamed.flags |= kFlagDataDescriptor;
    streamed.zeroSizesInLocalHeader = true;
    const RawMember stored = qv::test::storedMember("Agents.dbf", "stored bytes");

    // Without a central directory every member is read, and the missing end is reported.
    const QList<int> none;
    const QList<int> cutOff{int(ArchiveCode::ReadError)};
    QTest::newRow("stored") << QList<RawMember>{stored} << true << QString() << none;
    QTest::newRow("data descriptor") << QList<RawMember>{streamed, stored} << true << QString() << none;
    QTest::newRow("data descriptor, no central directory") << QList<RawMember>{streamed, stored} << false << QString() << cutOff;
    QTest::newRow("encrypted with descriptor: time check byte")
        << QList<RawMember>{qv::test::encrypted(streamed, "pw"), qv::test::encrypted(stored, "pw")} << true << QString("pw") << none;
    QTest::newRow("encrypted with descriptor, walked")
        << QList<RawMember>{qv::test::encrypted(streamed, "pw")} << false << QString("pw") << cutOff;
}

void TestArchive::readsForeignShapes()
{
    QFETCH(QList<RawMember>, members);
    QFETCH(bool, centralDirectory);
    QFETCH(QString, password);
    QFETCH(QList<int>, errors);
    qv::test::RawZipOptions options;
    options.centralDirectory = centralDirectory;
    const Run run = unpackBytes(qv::test::composeZip(members, options), {password});
    QCOMPARE(run.errors, errors);
    QCOMPARE(run.written, members.size());
    for (const RawMember &m : members)
        QCOMPARE(qv::test::crcOf(run.files.value(QString::fromUtf8(m.name))), m.crc);
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
    qv::test::RawZipOptions zip64;
    zip64.zip64Locator = true;
    QTest::newRow("zip64") << composeZip({deflatedMember("Names.dbf", body)}, zip64)
                           << QList<int>{int(ArchiveCode::UnsupportedArchive)} << QStringList();
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

void TestArchive::truncatedAnywhere()
{
    const QByteArray zip = buildArchive(bookMembers(), "pw", counter);
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
    KnownPasswords known;
    QList<int> errors;
    UnpackSinks sinks;
    sinks.error = [&](ArchiveCode code, const QString &) { errors << int(code); };
    QCOMPARE(unpackFile(dir.filePath("bad.qvp"), dir.filePath("work"), known, sinks), 0);
    QCOMPARE(errors, QList<int>{int(ArchiveCode::CrcFailed)});
    QCOMPARE(QDir(dir.filePath("work")).entryList(QDir::Files | QDir::Hidden), QStringList());
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
    KnownPasswords known;
    QList<int> errors;
    UnpackSinks sinks;
    sinks.error = [&](ArchiveCode code, const QString &) { errors << int(code); };
    QCOMPARE(unpackFile(dir.filePath("missing.qvp"), dir.filePath("work"), known, sinks), 0);
    writeFile(dir.filePath("p.qvp"), buildArchive(bookMembers(), QString()));
    writeFile(dir.filePath("file"), "x");
    QCOMPARE(unpackFile(dir.filePath("p.qvp"), dir.filePath("file/work"), known, sinks), 0);
    QCOMPARE(errors, (QList<int>{int(ArchiveCode::FileNotFound), int(ArchiveCode::CannotCreateDirectory)}));
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
