#pragma once

#include <QByteArray>
#include <QDateTime>

#include <cstdint>
#include <optional>

namespace qv::archive {

// Signatures and fixed sizes of the ZIP records we read and write (APPNOTE 4.3).
constexpr std::uint32_t kLocalHeaderSignature = 0x04034B50;
constexpr std::uint32_t kDataDescriptorSignature = 0x08074B50;
constexpr std::uint32_t kCentralHeaderSignature = 0x02014B50;
constexpr std::uint32_t kEndRecordSignature = 0x06054B50;
constexpr std::uint32_t kZip64EndRecordSignature = 0x06064B50;
constexpr std::uint32_t kZip64LocatorSignature = 0x07064B50;
constexpr qsizetype kLocalHeaderSize = 30;
constexpr qsizetype kCentralHeaderSize = 46;
constexpr qsizetype kEndRecordSize = 22;
constexpr qsizetype kZip64EndRecordSize = 56;
constexpr qsizetype kZip64LocatorSize = 20;

// ZIP64 (APPNOTE 4.3.14 to 4.3.15, 4.5.3): a 32-bit field holding 0xFFFFFFFF, or a
// 16-bit one holding 0xFFFF, has its value in the ZIP64 records instead.
constexpr std::uint16_t kZip64ExtraId = 0x0001;
constexpr std::uint32_t kZip64Marker32 = 0xFFFFFFFFu;
constexpr std::uint16_t kZip64Marker16 = 0xFFFF;

constexpr std::uint16_t kVersionNeeded = 20; // 2.0: Deflate and traditional encryption
constexpr std::uint16_t kVersionNeededAes = 51; // 5.1: AES encryption
constexpr std::uint16_t kMethodStored = 0;
constexpr std::uint16_t kMethodDeflated = 8;
constexpr std::uint16_t kMethodAes = 99; // the real method is in the AE-x extra field

constexpr std::uint16_t kFlagEncrypted = 1u << 0;
constexpr std::uint16_t kFlagDataDescriptor = 1u << 3;
constexpr std::uint16_t kFlagStrongEncryption = 1u << 6;
constexpr std::uint16_t kFlagUtf8Name = 1u << 11;
constexpr std::uint16_t kFlagMaskedHeaders = 1u << 13;

// A little-endian cursor over a byte buffer that never reads past its end:
// a read beyond it yields 0 and marks the reader failed.
class ByteReader {
public:
    ByteReader(const QByteArray &data, qsizetype pos = 0) : m_data(data), m_pos(pos) {}

    bool ok() const { return m_ok; }
    qsizetype pos() const { return m_pos; }
    bool has(qsizetype count) const { return m_pos >= 0 && count >= 0 && count <= m_data.size() - m_pos; }

    std::uint16_t u16();
    std::uint32_t u32();
    std::uint64_t u64();
    QByteArray bytes(qsizetype count);
    void skip(qsizetype count);

private:
    const QByteArray &m_data;
    qsizetype m_pos;
    bool m_ok = true;
};

// The data of the extra field with this id among a header's extra fields;
// nothing when there is none or the fields are cut off before its end.
std::optional<QByteArray> extraField(const QByteArray &extraFields, std::uint16_t id);

void appendU16(QByteArray &out, std::uint16_t value);
void appendU32(QByteArray &out, std::uint32_t value);
void appendU64(QByteArray &out, std::uint64_t value);

struct DosDateTime {
    std::uint16_t time = 0;
    std::uint16_t date = 0;
};

// MS-DOS form of a local time; times before 1980 become 1 January 1980.
DosDateTime toDosDateTime(const QDateTime &time);

} // namespace qv::archive
