#pragma once

#include "data/archive/AesCipher.h"

#include <QByteArray>

#include <optional>

namespace qv::archive {

// A member's data when it is encrypted with AES: the salt, the password
// verifier, the encrypted data and the authentication code, one after another.
struct AesPayload {
    QByteArray salt;
    QByteArray verifier;
    qsizetype dataBegin = 0; // the encrypted data, as positions in the archive
    qsizetype dataEnd = 0;
    QByteArray code;

    // The parts of the payload from begin to end; nothing when it is too
    // short to hold them.
    static std::optional<AesPayload> locate(const QByteArray &archive, qsizetype begin, qsizetype end, int strength);
};

// The payload of a member's compressed body, with AES-256 keys from the
// password and the salt (16 bytes).
QByteArray sealAesPayload(const QByteArray &body, const QByteArray &password, const QByteArray &salt);

// The payload's data decrypted by the cipher, once its authentication code
// has been found right; nothing when it is not, and then nothing is decrypted.
std::optional<QByteArray> openAesPayload(AesCipher &cipher, const QByteArray &archive, const AesPayload &payload);

} // namespace qv::archive
