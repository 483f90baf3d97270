#pragma once

#include <QByteArray>
#include <QList>

#include <cstdint>
#include <optional>

namespace qv::test {

// One member exactly as the bytes of a hostile or foreign archive should
// show it: any name, flags, sizes and CRC, whatever the data really is.
struct RawMember {
    QByteArray name;
    QByteArray data; // as stored: compressed and encrypted already
    std::uint16_t method = 8;
    std::uint16_t flags = 0;
    std::uint16_t dosTime = 0x6000;
    std::uint32_t crc = 0;
    std::uint64_t compressedSize = 0; // beyond 32 bits only with the matching ZIP64 flag below
    std::uint64_t size = 0;
    bool zeroSizesInLocalHeader = false; // as streaming writers do, with a data descriptor after the data
    // A local header whose method differs from the central directory's.
    std::optional<std::uint16_t> localMethod;
    std::uint32_t disk = 0; // the central header's disk number: another volume's member when not 0
    QByteArray extra; // further extra fields of both headers, after any ZIP64 field

    // ZIP64: the fields that hold their marker (0xFFFFFFFF, 0xFFFF for the disk),
    // their values in a ZIP64 extra field of the header, in the fixed order.
    bool zip64LocalSizes = false; // both local sizes; a data descriptor then has 8-byte sizes
    bool zip64LocalSizeInField = false; // with zip64LocalSizes: the uncompressed size in its field as well
    bool zip64Size = false; // the central header's uncompressed size
    bool zip64CompressedSize = false; // the central header's compressed size
    bool zip64Offset = false; // the central header's local header offset
    bool zip64Disk = false; // the central header's disk number
    int zip64MissingBytes = 0; // bytes left out at the end of each ZIP64 extra field
};

RawMember storedMember(const QByteArray &name, const QByteArray &content);
RawMember deflatedMember(const QByteArray &name, const QByteArray &content);
// Encrypts the member's data with the traditional cipher; the check byte
// follows the member's data-descriptor flag.
RawMember encrypted(RawMember member, const QByteArray &password);
// Encrypts the member's data with AES as WinZip's AE-1 or AE-2 do, with a
// fixed salt: method 99 and the AE-x extra field, whose compression method is
// the member's; AE-2 stores 0 as the CRC.
RawMember aesEncrypted(RawMember member, const QByteArray &password, std::uint16_t vendorVersion = 2, int strength = 3);
// The AE-x extra field as its bytes stand, for fields we must refuse.
QByteArray aesExtraField(std::uint16_t vendorVersion, std::uint16_t vendorId, int strength, std::uint16_t method);

struct RawZipOptions {
    bool centralDirectory = true;
    std::uint16_t disk = 0;
    bool zip64EndRecords = false; // the ZIP64 end record and its locator in front of the end record
    bool zip64EndMarkers = false; // the end record's counts, directory size and offset hold their markers
};

QByteArray composeZip(const QList<RawMember> &members, const RawZipOptions &options = {});

std::uint32_t crcOf(const QByteArray &data);
QByteArray rawDeflate(const QByteArray &data);

} // namespace qv::test
