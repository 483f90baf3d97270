#pragma once

#include <QByteArray>
#include <QList>

#include <cstdint>

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
    std::uint32_t compressedSize = 0;
    std::uint32_t size = 0;
    bool zeroSizesInLocalHeader = false; // as streaming writers do, with a data descriptor after the data
};

RawMember storedMember(const QByteArray &name, const QByteArray &content);
RawMember deflatedMember(const QByteArray &name, const QByteArray &content);
// Encrypts the member's data with the traditional cipher; the check byte
// follows the member's data-descriptor flag.
RawMember encrypted(RawMember member, const QByteArray &password);

struct RawZipOptions {
    bool centralDirectory = true;
    std::uint16_t disk = 0;
    bool zip64Locator = false;
};

QByteArray composeZip(const QList<RawMember> &members, const RawZipOptions &options = {});

std::uint32_t crcOf(const QByteArray &data);
QByteArray rawDeflate(const QByteArray &data);

} // namespace qv::test
