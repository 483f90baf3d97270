// Writes the seed inputs of the archive fuzzers: our own packages and the
// hostile shapes the tests know, each prefixed with the fuzzer's mode byte.
#include "RawZip.h"

#include "data/archive/PackageWriter.h"
#include "data/archive/ZipFormat.h"

#include <QDir>
#include <QFile>

using namespace qv::test;

namespace {

void save(const QString &dir, const QString &name, char mode, const QByteArray &archive)
{
    QFile f(dir + QLatin1Char('/') + name);
    if (f.open(QIODevice::WriteOnly))
        f.write(QByteArray(1, mode) + archive);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2)
        return 2;
    const QString dir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dir);
    const QDateTime t(QDate(2024, 1, 1), QTime(12, 0));
    const QList<qv::archive::PackMember> book = {
        {QStringLiteral("Names.dbf"), QByteArray("rows ").repeated(200), t},
        {QStringLiteral("tree.dff"), QByteArray("Friends\n"), t}};
    std::uint32_t n = 1;
    auto random = [&n] { return n = n * 1664525u + 1013904223u; };
    save(dir, QStringLiteral("plain"), 0, qv::archive::buildArchive(book, QString(), qv::archive::PackageCipher::Aes256, random));
    save(dir, QStringLiteral("encrypted"), 1,
         qv::archive::buildArchive(book, QStringLiteral("pw"), qv::archive::PackageCipher::Traditional, random));
    save(dir, QStringLiteral("aes"), 1, qv::archive::buildArchive(book, QStringLiteral("pw"), qv::archive::PackageCipher::Aes256, random));

    RawMember streamed = deflatedMember("Names.dbf", QByteArray("streamed ").repeated(50));
    streamed.flags |= qv::archive::kFlagDataDescriptor;
    streamed.zeroSizesInLocalHeader = true;
    RawZipOptions walked;
    walked.centralDirectory = false;
    save(dir, QStringLiteral("descriptor"), 1, composeZip({encrypted(streamed, "pw"), storedMember("a.dff", "x")}));
    save(dir, QStringLiteral("walked"), 0, composeZip({streamed, storedMember("a.dff", "x")}, walked));
    save(dir, QStringLiteral("slip"), 0, composeZip({deflatedMember("../../x.dbf", "x"), deflatedMember("C:\\y.dff", "y")}));
    RawMember bomb = deflatedMember("Names.dbf", QByteArray(1 << 20, '\0'));
    bomb.size = 10;
    save(dir, QStringLiteral("bomb"), 0, composeZip({bomb}));
    RawMember badCrc = deflatedMember("Names.dbf", "abc");
    badCrc.crc ^= 0x80000000u;
    save(dir, QStringLiteral("crc"), 1, composeZip({encrypted(badCrc, "pw")}));
    save(dir, QStringLiteral("wrong-password"), 1, composeZip({encrypted(deflatedMember("Names.dbf", "abc"), "other")}));
    save(dir, QStringLiteral("truncated"), 0, qv::archive::buildArchive(book, QString(), qv::archive::PackageCipher::Aes256, random).left(60));

    // ZIP64 values in every place they can sit.
    RawMember zip64 = deflatedMember("Names.dbf", QByteArray("zip64 ").repeated(50));
    zip64.zip64LocalSizes = true;
    zip64.zip64Size = true;
    zip64.zip64CompressedSize = true;
    zip64.zip64Offset = true;
    zip64.zip64Disk = true;
    RawZipOptions zip64End;
    zip64End.zip64EndRecords = true;
    zip64End.zip64EndMarkers = true;
    save(dir, QStringLiteral("zip64"), 1, composeZip({encrypted(zip64, "pw"), zip64}, zip64End));
    RawMember zip64Streamed = streamed;
    zip64Streamed.zip64LocalSizes = true;
    save(dir, QStringLiteral("zip64-descriptor-walked"), 0, composeZip({zip64Streamed, storedMember("a.dff", "x")}, walked));
    return 0;
}
