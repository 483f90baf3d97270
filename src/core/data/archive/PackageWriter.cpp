#include "data/archive/PackageWriter.h"

#include "common/Error.h"
#include "data/archive/AesExtraField.h"
#include "data/archive/AesPayload.h"
#include "data/archive/ArchiveError.h"
#include "data/archive/TraditionalCipher.h"
#include "data/archive/ZipFormat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>

#include <libdeflate.h>
#include <openssl/rand.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace qv::archive {

namespace {

struct WrittenMember {
    QByteArray name;
    std::uint16_t versionNeeded = kVersionNeeded;
    std::uint16_t flags = 0;
    std::uint16_t method = kMethodDeflated;
    DosDateTime time;
    std::uint32_t crc = 0;
    std::uint32_t compressedSize = 0;
    std::uint32_t size = 0;
    std::uint32_t offset = 0;
    QByteArray extra;
};

Error archiveFailure(ArchiveCode code, const QString &detail)
{
    return Error(QStringLiteral("%1: %2").arg(archiveCodeText(code), QDir::toNativeSeparators(detail)));
}

// The same with the system's reason, as it words it ("Permission denied").
Error archiveFailure(ArchiveCode code, const QString &path, const QString &reason)
{
    return Error(QStringLiteral("%1: %2 (%3)").arg(archiveCodeText(code), QDir::toNativeSeparators(path), reason));
}

// A member's CRC and Deflate body, computed apart from the archive's layout
// so that several members can be compressed at once.
struct CompressedMember {
    std::uint32_t crc = 0;
    QByteArray body;
    bool failed = false;
};

CompressedMember compress(const QByteArray &data)
{
    CompressedMember c;
    c.crc = libdeflate_crc32(0, data.constData(), static_cast<size_t>(data.size()));
    // libdeflate's level 6 is its normal one: over twice zlib's speed, slightly smaller output.
    libdeflate_compressor *compressor = libdeflate_alloc_compressor(6);
    if (!compressor) {
        c.failed = true;
        return c;
    }
    c.body = QByteArray(static_cast<qsizetype>(libdeflate_deflate_compress_bound(compressor, static_cast<size_t>(data.size()))),
                        Qt::Uninitialized);
    const size_t produced = libdeflate_deflate_compress(compressor, data.constData(), static_cast<size_t>(data.size()),
                                                        c.body.data(), static_cast<size_t>(c.body.size()));
    libdeflate_free_compressor(compressor);
    c.failed = produced == 0 && !data.isEmpty();
    c.body.truncate(static_cast<qsizetype>(produced));
    return c;
}

// Compresses every member on the machine's cores, the largest first, so that
// the book's big table and the rest are packed side by side.
std::vector<CompressedMember> compressAll(const QList<PackMember> &members)
{
    std::vector<qsizetype> bySize(static_cast<size_t>(members.size()));
    for (qsizetype i = 0; i < members.size(); ++i)
        bySize[static_cast<size_t>(i)] = i;
    std::sort(bySize.begin(), bySize.end(), [&](qsizetype a, qsizetype b) { return members[a].data.size() > members[b].data.size(); });

    std::vector<CompressedMember> results(static_cast<size_t>(members.size()));
    std::atomic<size_t> next = 0;
    auto work = [&] {
        for (size_t n = next++; n < bySize.size(); n = next++)
            results[static_cast<size_t>(bySize[n])] = compress(members[bySize[n]].data);
    };
    const unsigned helpers = std::min<unsigned>(std::max(1u, std::thread::hardware_concurrency()), bySize.size()) - 1;
    std::vector<std::thread> threads;
    for (unsigned i = 0; i < helpers; ++i)
        threads.emplace_back(work);
    work();
    for (std::thread &t : threads)
        t.join();
    return results;
}

QByteArray encryptionHeader(std::uint32_t crc, const RandomSource &random)
{
    QByteArray header(TraditionalCipher::kHeaderSize, Qt::Uninitialized);
    for (int i = 0; i < TraditionalCipher::kHeaderSize - 1; ++i)
        header[i] = static_cast<char>(random ? random() : QRandomGenerator::system()->generate());
    // Without a data descriptor the check byte is the CRC's high byte.
    header[TraditionalCipher::kHeaderSize - 1] = static_cast<char>(crc >> 24);
    return header;
}

// An AES salt: from the test's source when there is one, else from OpenSSL's generator.
QByteArray salt(const RandomSource &random, const QString &memberName)
{
    QByteArray bytes(AesCipher::saltSize(AesCipher::kStrength256), Qt::Uninitialized);
    if (random) {
        for (char &b : bytes)
            b = static_cast<char>(random());
    } else if (RAND_bytes(reinterpret_cast<unsigned char *>(bytes.data()), int(bytes.size())) != 1) {
        throw Error(QStringLiteral("No random bytes to encrypt %1").arg(memberName));
    }
    return bytes;
}

// Encrypts the member's compressed body with the cipher and marks it so in its headers.
QByteArray encrypt(WrittenMember &m, QByteArray body, const QByteArray &password, PackageCipher cipher,
                   const RandomSource &random, const QString &memberName)
{
    m.flags |= kFlagEncrypted;
    if (cipher == PackageCipher::Traditional) {
        body.prepend(encryptionHeader(m.crc, random));
        TraditionalCipher(password).encrypt(body.data(), body.size());
        return body;
    }
    // AE-2: the CRC is not stored, so it tells nothing of a small member.
    m.versionNeeded = kVersionNeededAes;
    m.method = kMethodAes;
    m.crc = 0;
    m.extra = AesExtraField().encoded();
    return sealAesPayload(body, password, salt(random, memberName));
}

// The fields both headers give in the same order: flags to name length.
void appendMemberFields(QByteArray &out, const WrittenMember &m)
{
    appendU16(out, m.flags);
    appendU16(out, m.method);
    appendU16(out, m.time.time);
    appendU16(out, m.time.date);
    appendU32(out, m.crc);
    appendU32(out, m.compressedSize);
    appendU32(out, m.size);
    appendU16(out, static_cast<std::uint16_t>(m.name.size()));
}

void appendLocalHeader(QByteArray &out, const WrittenMember &m)
{
    appendU32(out, kLocalHeaderSignature);
    appendU16(out, m.versionNeeded);
    appendMemberFields(out, m);
    appendU16(out, static_cast<std::uint16_t>(m.extra.size()));
    out.append(m.name);
    out.append(m.extra);
}

void appendCentralHeader(QByteArray &out, const WrittenMember &m)
{
    appendU32(out, kCentralHeaderSignature);
    appendU16(out, (3u << 8) | m.versionNeeded); // made by: Unix, the version the member needs
    appendU16(out, m.versionNeeded);
    appendMemberFields(out, m);
    appendU16(out, static_cast<std::uint16_t>(m.extra.size()));
    appendU16(out, 0); // comment
    appendU16(out, 0); // disk
    appendU16(out, 0); // internal attributes
    appendU32(out, 0100644u << 16); // a regular file, rw-r--r--
    appendU32(out, m.offset);
    out.append(m.name);
    out.append(m.extra);
}

bool isAscii(const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

} // namespace

QByteArray buildArchive(const QList<PackMember> &members, const QString &password, PackageCipher cipher,
                        const RandomSource &random)
{
    constexpr qint64 kZipLimit = 0xFFFFFFFFll; // beyond it a ZIP64 archive would be needed
    if (members.size() > 0xFFFF)
        throw archiveFailure(ArchiveCode::UnsupportedArchive, QString::number(members.size()));

    const QByteArray passwordBytes = password.toUtf8();
    for (const PackMember &member : members) {
        if (member.data.size() > kZipLimit)
            throw archiveFailure(ArchiveCode::BadLengths, member.name);
    }
    std::vector<CompressedMember> compressed = compressAll(members);

    QByteArray out;
    QList<WrittenMember> written;
    for (qsizetype i = 0; i < members.size(); ++i) {
        const PackMember &member = members[i];
        CompressedMember &c = compressed[static_cast<size_t>(i)];
        if (c.failed)
            throw archiveFailure(ArchiveCode::OutOfMemory, member.name);
        WrittenMember m;
        m.name = member.name.toUtf8();
        m.flags = isAscii(member.name) ? 0 : kFlagUtf8Name;
        m.time = toDosDateTime(member.modified);
        m.crc = c.crc;
        m.size = static_cast<std::uint32_t>(member.data.size());
        QByteArray body = std::move(c.body);
        if (!passwordBytes.isEmpty())
            body = encrypt(m, std::move(body), passwordBytes, cipher, random, member.name);
        if (out.size() + body.size() > kZipLimit)
            throw archiveFailure(ArchiveCode::BadLengths, member.name);
        m.compressedSize = static_cast<std::uint32_t>(body.size());
        m.offset = static_cast<std::uint32_t>(out.size());
        appendLocalHeader(out, m);
        out.append(body);
        written << m;
    }

    const auto directoryOffset = static_cast<std::uint32_t>(out.size());
    for (const WrittenMember &m : std::as_const(written))
        appendCentralHeader(out, m);
    const auto directorySize = static_cast<std::uint32_t>(out.size() - directoryOffset);

    appendU32(out, kEndRecordSignature);
    appendU16(out, 0); // this disk
    appendU16(out, 0); // disk of the central directory
    appendU16(out, static_cast<std::uint16_t>(written.size()));
    appendU16(out, static_cast<std::uint16_t>(written.size()));
    appendU32(out, directorySize);
    appendU32(out, directoryOffset);
    appendU16(out, 0); // no comment
    return out;
}

QStringList packageMemberFiles(const QString &sourceDir)
{
    const QDir dir(sourceDir);
    QStringList files;
    for (const char *pattern : {"*.dbf", "*.dff"}) {
        files << dir.entryList(QStringList{QString::fromLatin1(pattern)}, QDir::Files | QDir::Hidden,
                               QDir::Name | QDir::IgnoreCase);
    }
    return files;
}

void pack(const QString &packagePath, const QString &sourceDir, const QString &password, PackageCipher cipher,
          const RandomSource &random)
{
    pack(packagePath, sourceDir, password, {}, cipher, random);
}

void pack(const QString &packagePath, const QString &sourceDir, const QString &password,
          const QMap<QString, QByteArray> &held, PackageCipher cipher, const RandomSource &random)
{
    QList<PackMember> members;
    const QDir dir(sourceDir);
    for (const QString &name : packageMemberFiles(sourceDir)) {
        const auto kept = held.constFind(name.toLower());
        if (kept != held.cend()) {
            members << PackMember{name, *kept, QFileInfo(dir.filePath(name)).lastModified()};
            continue;
        }
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            throw archiveFailure(ArchiveCode::OpenError, file.fileName(), file.errorString());
        PackMember member{name, file.readAll(), QFileInfo(file).lastModified()};
        if (file.error() != QFile::NoError)
            throw archiveFailure(ArchiveCode::ReadError, file.fileName(), file.errorString());
        members << member;
    }
    writePackageFile(packagePath, buildArchive(members, password, cipher, random));
}

void writePackageFile(const QString &packagePath, const QByteArray &bytes)
{
    constexpr QFile::Permissions kOwnerOnly = QFile::ReadOwner | QFile::WriteOwner;
    const QFileInfo replaced(packagePath);
    const QFile::Permissions mode = replaced.exists() ? replaced.permissions() & kOwnerOnly : kOwnerOnly;
    QSaveFile out(packagePath);
    // The mode is set before the first byte is written, so no one else can ever read the data.
    if (!out.open(QIODevice::WriteOnly) || !out.setPermissions(mode))
        throw archiveFailure(ArchiveCode::OpenError, packagePath, out.errorString());
    // For a failed write or commit the save file keeps no reason ("Unknown error"): the code alone says it.
    if (out.write(bytes) != bytes.size())
        throw archiveFailure(ArchiveCode::WriteError, packagePath);
    if (!out.commit())
        throw archiveFailure(ArchiveCode::CloseError, packagePath);
}

} // namespace qv::archive
