// The AES path past its authentication: the input's bytes become one member's
// compressed data, encrypted and authenticated with the password the reader
// is given, so that whatever they are reaches inflation. The header fields
// the reader checks afterwards come from the input too. A member is written
// only when its size (and with AE-1 its CRC) is right; a payload with one
// byte flipped is never written.
#include "RawZip.h"

#include "data/archive/PackageReader.h"

#include <libdeflate.h>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace qv::archive;
    if (size < 10)
        return 0;
    // Options: bit 0 AE-1 (else AE-2), bits 1-2 the key strength (0: AES-256),
    // bit 3 stored (else deflated), bit 4 one payload byte flipped, at byte 1.
    const std::uint8_t options = data[0];
    const bool aeOne = options & 1;
    const int strength = (options >> 1) & 3 ? (options >> 1) & 3 : 3;
    const bool tampered = options & 0x10;
    const auto u32 = [&](size_t at) {
        return std::uint32_t(data[at]) | std::uint32_t(data[at + 1]) << 8 | std::uint32_t(data[at + 2]) << 16
            | std::uint32_t(data[at + 3]) << 24;
    };

    qv::test::RawMember member;
    member.name = "Names.dbf";
    member.method = (options & 8) ? 0 : 8;
    member.size = u32(2) & 0xFFFFFF; // up to 16 MiB: enough to reach every check, little to allocate
    member.crc = u32(6);
    member.data = QByteArray(reinterpret_cast<const char *>(data + 10), static_cast<qsizetype>(size - 10));
    member = qv::test::aesEncrypted(member, "pw", aeOne ? 1 : 2, strength);
    if (tampered) {
        const qsizetype at = data[1] % member.data.size();
        member.data[at] = static_cast<char>(member.data[at] ^ 0x01);
    }

    UnpackSinks sinks;
    sinks.password = [](const QString &) { return PasswordAnswer{QStringLiteral("pw"), true}; };
    KnownPasswords known;
    MemoryTarget target;
    const int written = unpack(qv::test::composeZip({member}), target, known, sinks);
    if (written != target.files.size() || (tampered && written != 0))
        __builtin_trap();
    for (const QByteArray &content : std::as_const(target.files)) {
        if (std::uint64_t(content.size()) != member.size)
            __builtin_trap();
        if (aeOne && libdeflate_crc32(0, content.constData(), size_t(content.size())) != member.crc)
            __builtin_trap();
    }
    return 0;
}
