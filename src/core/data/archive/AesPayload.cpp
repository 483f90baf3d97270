#include "data/archive/AesPayload.h"

#include <openssl/crypto.h>

namespace qv::archive {

std::optional<AesPayload> AesPayload::locate(const QByteArray &archive, qsizetype begin, qsizetype end, int strength)
{
    const int saltSize = AesCipher::saltSize(strength);
    if (begin < 0 || end > archive.size() || end - begin < saltSize + AesCipher::kVerifierSize + AesCipher::kAuthenticationSize)
        return std::nullopt;
    AesPayload p;
    p.salt = archive.mid(begin, saltSize);
    p.verifier = archive.mid(begin + saltSize, AesCipher::kVerifierSize);
    p.dataBegin = begin + saltSize + AesCipher::kVerifierSize;
    p.dataEnd = end - AesCipher::kAuthenticationSize;
    p.code = archive.mid(p.dataEnd, AesCipher::kAuthenticationSize);
    return p;
}

QByteArray sealAesPayload(const QByteArray &body, const QByteArray &password, const QByteArray &salt)
{
    AesCipher cipher(password, salt, AesCipher::kStrength256);
    QByteArray out;
    out.reserve(salt.size() + AesCipher::kVerifierSize + body.size() + AesCipher::kAuthenticationSize);
    out += salt;
    out += cipher.verifier();
    const qsizetype dataBegin = out.size();
    out += body;
    cipher.apply(out.data() + dataBegin, body.size());
    out += cipher.authenticationCode(out.constData() + dataBegin, body.size());
    return out;
}

std::optional<QByteArray> openAesPayload(AesCipher &cipher, const QByteArray &archive, const AesPayload &payload)
{
    const qsizetype size = payload.dataEnd - payload.dataBegin;
    const QByteArray code = cipher.authenticationCode(archive.constData() + payload.dataBegin, size);
    if (CRYPTO_memcmp(code.constData(), payload.code.constData(), size_t(AesCipher::kAuthenticationSize)) != 0)
        return std::nullopt;
    QByteArray data = archive.mid(payload.dataBegin, size);
    cipher.apply(data.data(), data.size());
    return data;
}

} // namespace qv::archive
