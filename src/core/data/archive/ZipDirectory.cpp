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

// A position in the archive for a 64-bit offset; one beyond it becomes its size.
qsizetype positionIn(const QByteArray &archive, std::uint64_t offset)
{
    return offset < std::uint64_t(archive.size()) ? qsizetype(offset) : archive.size();
}

// The ZIP64 extended information field among a header's extra fields. It holds
// the values of just those header fields that hold the marker, in a fixed order:
// uncompressed size, compressed size, local header offset, disk number.
class Zip64Extra {
public:
    explicit Zip64Extra(const QByteArray &extra)
    {
        const std::optional<QByteArray> values = extraField(extra, kZip64ExtraId);
        m_present = values.has_value();
        m_values = values.value_or(QByteArray());
    }

    bool present() const { return m_present; }
    qsizetype size() const { return m_values.size(); }

    // Replaces a field that holds the 32-bit marker by the next 8-byte value;
    // false when that value is missing.
    bool take(std::uint64_t &field)
    {
        if (field != kZip64Marker32)
            return true;
        return next(field);
    }

    // The same for the disk number, whose marker is 0xFFFF and whose value has 4 bytes.
    bool takeDisk(std::uint32_t &disk)
    {
        if (disk != kZip64Marker16)
            return true;
        ByteReader r(m_values, m_pos);
        disk = r.u32();
        m_pos = r.pos();
        return r.ok();
    }

    // The next 8-byte value, whatever the header's field holds.
    bool next(std::uint64_t &value)
    {
        ByteReader r(m_values, m_pos);
        const std::uint64_t read = r.u64();
        if (!r.ok())
            return false;
        value = read;
        m_pos = r.pos();
        return true;
    }

private:
    bool m_present = false;
    QByteArray m_values;
    qsizetype m_pos = 0;
};

// What the end record says, with the ZIP64 end record's values for the fields
// that hold the marker.
struct EndRecord {
    std::optional<ArchiveCode> error;
    std::uint32_t disk = 0;
    std::uint32_t directoryDisk = 0;
    std::uint64_t entriesHere = 0;
    std::uint64_t entries = 0;
    std::uint64_t directorySize = 0;
    std::uint64_t directoryOffset = 0;
};

// The ZIP64 end record the locator in front of the end record points to.
std::optional<ArchiveCode> readZip64EndRecord(const QByteArray &archive, qsizetype locatorPos, EndRecord &end)
{
    ByteReader locator(archive, locatorPos + 4);
    const std::uint32_t recordDisk = locator.u32();
    const std::uint64_t recordOffset = locator.u64();
    const std::uint32_t disks = locator.u32();
    if (recordDisk != 0 || disks > 1)
        return ArchiveCode::UnsupportedArchive; // one volume of several

    ByteReader record(archive, positionIn(archive, recordOffset));
    const std::uint32_t signature = record.u32();
    if (!record.ok())
        return ArchiveCode::ReadError;
    if (signature != kZip64EndRecordSignature)
        return ArchiveCode::BadFileHeader;
    record.skip(8 + 2 + 2); // size of the record, versions made by and needed
    const std::uint32_t disk = record.u32();
    const std::uint32_t directoryDisk = record.u32();
    const std::uint64_t entriesHere = record.u64();
    const std::uint64_t entries = record.u64();
    const std::uint64_t directorySize = record.u64();
    const std::uint64_t directoryOffset = record.u64();
    if (!record.ok() || record.pos() > locatorPos)
        return ArchiveCode::ReadError;

    if (end.disk == kZip64Marker16)
        end.disk = disk;
    if (end.directoryDisk == kZip64Marker16)
        end.directoryDisk = directoryDisk;
    if (end.entriesHere == kZip64Marker16)
        end.entriesHere = entriesHere;
    if (end.entries == kZip64Marker16)
        end.entries = entries;
    if (end.directorySize == kZip64Marker32)
        end.directorySize = directorySize;
    if (end.directoryOffset == kZip64Marker32)
        end.directoryOffset = directoryOffset;
    return std::nullopt;
}

EndRecord readEndRecord(const QByteArray &archive, qsizetype endPos)
{
    EndRecord end;
    ByteReader r(archive, endPos + 4);
    end.disk = r.u16();
    end.directoryDisk = r.u16();
    end.entriesHere = r.u16();
    end.entries = r.u16();
    end.directorySize = r.u32();
    end.directoryOffset = r.u32();
    // Without ZIP64 records a field at its maximum is taken as it stands.
    const qsizetype locatorPos = endPos - kZip64LocatorSize;
    if (locatorPos >= 0 && ByteReader(archive, locatorPos).u32() == kZip64LocatorSignature)
        end.error = readZip64EndRecord(archive, locatorPos, end);
    return end;
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
    const EndRecord end = readEndRecord(archive, *endPos);
    if (end.error)
        return failed(*end.error);
    if (end.disk != 0 || end.directoryDisk != 0 || end.entriesHere != end.entries)
        return failed(ArchiveCode::UnsupportedArchive); // one volume of several
    if (end.directoryOffset > std::uint64_t(*endPos) || end.directorySize > std::uint64_t(*endPos) - end.directoryOffset)
        return failed(ArchiveCode::ReadError);

    CentralDirectory d;
    d.found = true;
    ByteReader r(archive, qsizetype(end.directoryOffset));
    for (std::uint64_t i = 0; i < end.entries; ++i) {
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
        std::uint32_t disk = r.u16();
        r.skip(6); // attributes
        std::uint64_t localHeaderOffset = r.u32();
        m.rawName = r.bytes(nameLength);
        const QByteArray extra = r.bytes(extraLength);
        r.skip(commentLength);
        if (!r.ok() || r.pos() > *endPos) {
            d.error = ArchiveCode::ReadError;
            return d;
        }
        m.aes = AesExtraField::find(extra);
        Zip64Extra zip64(extra);
        m.zip64 = zip64.present();
        if (!zip64.take(m.size) || !zip64.take(m.compressedSize) || !zip64.take(localHeaderOffset)
            || !zip64.takeDisk(disk)) {
            d.error = ArchiveCode::BadFileHeader;
            return d;
        }
        if (disk != 0) {
            d.error = ArchiveCode::UnsupportedArchive; // a member on another volume
            return d;
        }
        m.localHeaderOffset = positionIn(archive, localHeaderOffset);
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
        // The descriptor of the member before: CRC and two sizes of 4 bytes, or of 8 with ZIP64.
        const bool zip64Sizes = ByteReader(archive, r.pos() + 12).u32() != kLocalHeaderSignature
            && ByteReader(archive, r.pos() + 20).u32() == kLocalHeaderSignature;
        r.skip(zip64Sizes ? 20 : 12);
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
    const QByteArray extra = r.bytes(extraLength);
    if (!r.ok()) {
        h.error = ArchiveCode::ReadError;
        return h;
    }
    h.dataOffset = r.pos();

    h.entry.aes = AesExtraField::find(extra);
    Zip64Extra zip64(extra);
    h.entry.zip64 = zip64.present();
    bool complete = true;
    if (zip64.size() >= 16) {
        // APPNOTE has the local header's ZIP64 field hold both sizes.
        std::uint64_t size = 0;
        std::uint64_t compressedSize = 0;
        zip64.next(size);
        zip64.next(compressedSize);
        if (h.entry.size == kZip64Marker32)
            h.entry.size = size;
        if (h.entry.compressedSize == kZip64Marker32)
            h.entry.compressedSize = compressedSize;
    } else {
        complete = zip64.take(h.entry.size) && zip64.take(h.entry.compressedSize);
    }
    // Sizes in front of a data descriptor are placeholders anyway.
    if (!complete && !(h.entry.flags & kFlagDataDescriptor))
        h.error = ArchiveCode::BadFileHeader;
    return h;
}

} // namespace qv::archive
