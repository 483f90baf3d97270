#include "data/archive/ZipDirectory.h"

#include "data/archive/ZipFormat.h"

#include <QStringDecoder>

namespace qv::archive {

namespace {

std::optional<qsizetype> findEndRecord(const QByteArray &archive)
{
    const qsizetype last = archive.size() - kEndRecordSize;
    const qsizetype first = std::max<qsizetype>(0, last - 0xFFFF);
    for (qsizetype pos = last; pos >= first; --pos) {
        ByteReader r(archive, pos);
        if (r.u32() == kEndRecordSignature)
            return pos;
    }
    return std::nullopt;
}

CentralDirectory failed(ArchiveCode code)
{
    CentralDirectory d;
    d.found = true;
    d.error = code;
    return d;
}

} // namespace

QString MemberEntry::name() const
{
    if (flags & kFlagUtf8Name)
        return QString::fromUtf8(rawName);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(rawName);
    return utf8.hasError() ? QString::fromLatin1(rawName) : text;
}

CentralDirectory readCentralDirectory(const QByteArray &archive)
{
    const auto endPos = findEndRecord(archive);
    if (!endPos)
        return {};
    if (*endPos >= kZip64LocatorSize && ByteReader(archive, *endPos - kZip64LocatorSize).u32() == kZip64LocatorSignature)
        return failed(ArchiveCode::UnsupportedArchive);

    ByteReader end(archive, *endPos + 4);
    const std::uint16_t disk = end.u16();
    const std::uint16_t directoryDisk = end.u16();
    const std::uint16_t entriesHere = end.u16();
    const std::uint16_t entries = end.u16();
    const std::uint32_t directorySize = end.u32();
    const std::uint32_t directoryOffset = end.u32();
    if (disk != 0 || directoryDisk != 0 || entriesHere != entries)
        return failed(ArchiveCode::UnsupportedArchive); // one volume of several
    if (entries == 0xFFFF || directorySize == 0xFFFFFFFFu || directoryOffset == 0xFFFFFFFFu)
        return failed(ArchiveCode::UnsupportedArchive); // ZIP64
    if (qint64(directoryOffset) + directorySize > *endPos)
        return failed(ArchiveCode::ReadError);

    CentralDirectory d;
    d.found = true;
    ByteReader r(archive, directoryOffset);
    for (int i = 0; i < entries; ++i) {
        if (r.u32() != kCentralHeaderSignature) {
            d.error = r.ok() ? ArchiveCode::BadFileHeader : ArchiveCode::ReadError;
            return d;
        }
        MemberEntry m;
        r.skip(4); // versions made by and needed
        m.flags = r.u16();
        m.method = r.u16();
        m.dosTime = r.u16();
        r.skip(2); // date
        m.crc = r.u32();
        m.compressedSize = r.u32();
        m.size = r.u32();
        const std::uint16_t nameLength = r.u16();
        const std::uint16_t extraLength = r.u16();
        const std::uint16_t commentLength = r.u16();
        r.skip(8); // disk, attributes
        m.localHeaderOffset = r.u32();
        m.rawName = r.bytes(nameLength);
        r.skip(extraLength + commentLength);
        if (!r.ok() || r.pos() > *endPos) {
            d.error = ArchiveCode::ReadError;
            return d;
        }
        d.members << m;
    }
    return d;
}

LocalHeader readLocalHeader(const QByteArray &archive, qsizetype offset)
{
    LocalHeader h;
    ByteReader r(archive, offset);
    std::uint32_t signature = r.u32();
    if (signature == kDataDescriptorSignature) {
        r.skip(12);
        signature = r.u32();
    }
    if (signature != kLocalHeaderSignature) {
        h.error = r.ok() ? ArchiveCode::BadFileHeader : ArchiveCode::ReadError;
        return h;
    }
    h.entry.localHeaderOffset = r.pos() - 4;
    r.skip(2); // version needed
    h.entry.flags = r.u16();
    h.entry.method = r.u16();
    h.entry.dosTime = r.u16();
    r.skip(2); // date
    h.entry.crc = r.u32();
    h.entry.compressedSize = r.u32();
    h.entry.size = r.u32();
    const std::uint16_t nameLength = r.u16();
    const std::uint16_t extraLength = r.u16();
    h.entry.rawName = r.bytes(nameLength);
    r.skip(extraLength);
    if (!r.ok())
        h.error = ArchiveCode::ReadError;
    h.dataOffset = r.pos();
    return h;
}

} // namespace qv::archive
