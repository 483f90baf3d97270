#pragma once

#include <QByteArray>

#include <cstdint>
#include <memory>

struct evp_cipher_ctx_st;

namespace qv::archive {

// The member encryption of WinZip's AE-1 and AE-2, which 7-Zip and WinZip read:
// PBKDF2-HMAC-SHA1 with 1,000 iterations over the password and a random salt
// gives the AES key, the authentication key and a 2-byte password verifier;
// the data is encrypted with AES in counter mode, the counter little-endian
// and starting at 1; HMAC-SHA1 over the encrypted bytes, cut to 10 bytes,
// authenticates them. The primitives are OpenSSL's.
class AesCipher {
public:
    static constexpr int kVerifierSize = 2;
    static constexpr int kAuthenticationSize = 10;
    static constexpr int kStrength256 = 3;

    // The key strength of the AE-x extra field: 1, 2 or 3 for AES-128, -192 and -256.
    static bool validStrength(int strength);
    // 8, 12 or 16 bytes: half the key.
    static int saltSize(int strength);

    // Derives the keys. The strength must be valid and the salt of its size.
    // Throws std::bad_alloc when OpenSSL cannot get memory.
    AesCipher(const QByteArray &password, const QByteArray &salt, int strength);
    ~AesCipher();
    AesCipher(AesCipher &&) noexcept;
    AesCipher &operator=(AesCipher &&) noexcept;

    const QByteArray &verifier() const { return m_verifier; }
    // The code stored after the encrypted bytes.
    QByteArray authenticationCode(const char *encrypted, qsizetype size) const;
    // Encrypts or decrypts in place, which in counter mode is the same;
    // each call goes on where the one before stopped.
    void apply(char *data, qsizetype size);

private:
    void refillKeystream();

    struct ContextFree {
        void operator()(evp_cipher_ctx_st *context) const;
    };
    std::unique_ptr<evp_cipher_ctx_st, ContextFree> m_context;
    QByteArray m_authenticationKey;
    QByteArray m_verifier;
    std::uint64_t m_counter = 0; // of the last block encrypted
    QByteArray m_keystream;
    qsizetype m_keystreamUsed = 0;
};

} // namespace qv::archive
