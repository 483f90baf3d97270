#pragma once

#include "data/archive/ZipFormat.h"

#include <QByteArray>

#include <cstdint>
#include <optional>

namespace qv::archive {

// The AE-x extra field (id 0x9901) of a member whose method is 99: the
// variant, the key strength and the compression method under the encryption.
struct AesExtraField {
    static constexpr std::uint16_t kId = 0x9901;
    // AE-1 stores the CRC and readers check it; AE-2 stores 0 there, so that
    // the CRC of a small member tells nothing of its content, and the
    // authentication code alone checks the member.
    static constexpr std::uint16_t kAe1 = 1;
    static constexpr std::uint16_t kAe2 = 2;

    std::uint16_t vendorVersion = kAe2;
    int strength = 3; // AES-256
    std::uint16_t method = kMethodDeflated;

    // The field among a header's extra fields; nothing when it is missing or
    // not one we can read (another vendor, an unknown variant or strength).
    static std::optional<AesExtraField> find(const QByteArray &extraFields);
    // The whole extra field: id, size and data.
    QByteArray encoded() const;
};

} // namespace qv::archive
