#include "data/archive/PackageWriter.h"

#include "common/Error.h"
#include "data/archive/ArchiveError.h"
#include "data/archive/TraditionalCipher.h"
#include "data/archive/ZipFormat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>

#include <zlib.h>

namespace qv::archive {

namespace {

struct WrittenMember {
    QByteArray name;
    std::uint16_t flags = 0;
    DosDateTime time;
    std::uint32_t crc = 0;
    std::uint32_t compressedSize = 0;
    std::uint32_t size = 0;
    std::uint32_t offset = 0;
};

Error archiveFailure(ArchiveCode code, const QString &detail)
{
    return Error(QStringLiteral("%1: %2").arg(archiveCodeText(code), QDir::toNativeSeparators(detail)));
}

QByteArray deflateRaw(const QByteArray &data, const QString &name)
{
    z_stream zs{};
    // zlib's normal level; the largest hash memory makes it about a tenth faster.
    if (deflateInit2(&zs, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        throw archiveFailure(ArchiveCode::OutOfMemory, name);
    QByteArray out(static_cast<qsizetype>(deflateBound(&zs, static_cast<uLong>(data.size()))), Qt::Uninitialized);
    zs.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    zs.avail_in = static_cast<uInt>(data.size());
    zs.next_out = reinterpret_cast<Bytef *>(out.data());
    zs.avail_out = static_cast<uInt>(out.size());
    const int rc = deflate(&zs, Z_FINISH);
    const auto produced = static_cast<qsizetype>(zs.total_out);
    deflateEnd(&zs);
    if (rc != Z_STREAM_END)
        throw archiveFailure(ArchiveCode::BadBlock, name);
    out.truncate(produced);
    return out;
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

// The fields both headers give in the same order: flags to name length.
void appendMemberFields(QByteArray &out, const WrittenMember &m)
{
    appendU16(out, m.flags);
    appendU16(out, kMethodDeflated);
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
    appendU16(out, kVersionNeeded);
    appendMemberFields(out, m);
    appendU16(out, 0); // extra
    out.append(m.name);
}

void appendCentralHeader(QByteArray &out, const WrittenMember &m)
{
    appendU32(out, kCentralHeaderSignature);
    appendU16(out, (3u << 8) | kVersionNeeded); // made by: Unix, 2.0
    appendU16(out, kVersionNeeded);
    appendMemberFields(out, m);
    appendU16(out, 0); // extra
    appendU16(out, 0); // comment
    appendU16(out, 0); // disk
    appendU16(out, 0); // internal attributes
    appendU32(out, 0100644u << 16); // a regular file, rw-r--r--
    appendU32(out, m.offset);
    out.append(m.name);
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

QByteArray buildArchive(const QList<PackMember> &members, const QString &password, const RandomSource &random)
{
    constexpr qint64 kZipLimit = 0xFFFFFFFFll; // beyond it a ZIP64 archive would be needed
    if (members.size() > 0xFFFF)
        throw archiveFailure(ArchiveCode::UnsupportedArchive, QString::number(members.size()));

    const QByteArray passwordBytes = password.toUtf8();
    QByteArray out;
    QList<WrittenMember> written;
    for (const PackMember &member : members) {
        if (member.data.size() > kZipLimit)
            throw archiveFailure(ArchiveCode::BadLengths, member.name);
        WrittenMember m;
        m.name = member.name.toUtf8();
        m.flags = isAscii(member.name) ? 0 : kFlagUtf8Name;
        m.time = toDosDateTime(member.modified);
        m.crc = static_cast<std::uint32_t>(
            crc32_z(0, reinterpret_cast<const Bytef *>(member.data.constData()), static_cast<z_size_t>(member.data.size())));
        m.size = static_cast<std::uint32_t>(member.data.size());
        QByteArray body = deflateRaw(member.data, member.name);
        if (!passwordBytes.isEmpty()) {
            m.flags |= kFlagEncrypted;
            body.prepend(encryptionHeader(m.crc, random));
            TraditionalCipher(passwordBytes).encrypt(body.data(), body.size());
        }
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

void pack(const QString &packagePath, const QString &sourceDir, const QString &password, const RandomSource &random)
{
    QList<PackMember> members;
    const QDir dir(sourceDir);
    for (const QString &name : packageMemberFiles(sourceDir)) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            throw archiveFailure(ArchiveCode::OpenError, file.fileName());
        PackMember member{name, file.readAll(), QFileInfo(file).lastModified()};
        if (file.error() != QFile::NoError)
            throw archiveFailure(ArchiveCode::ReadError, file.fileName());
        members << member;
    }
    const QByteArray archive = buildArchive(members, password, random);

    QSaveFile out(packagePath);
    if (!out.open(QIODevice::WriteOnly))
        throw archiveFailure(ArchiveCode::OpenError, packagePath);
    if (out.write(archive) != archive.size())
        throw archiveFailure(ArchiveCode::WriteError, packagePath);
    if (!out.commit())
        throw archiveFailure(ArchiveCode::CloseError, packagePath);
}

} // namespace qv::archive
