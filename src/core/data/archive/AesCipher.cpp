#include "data/archive/AesCipher.h"

#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <QtEndian>

#include <cstring>
#include <new>

namespace qv::archive {

namespace {

constexpr int kIterations = 1000;
constexpr int kBlockSize = 16;
// Keystream made per call into OpenSSL: large enough that AES-NI runs at full speed.
constexpr int kKeystreamBlocks = 1024;

int keySize(int strength)
{
    return 8 + 8 * strength;
}

const EVP_CIPHER *blockCipher(int strength)
{
    switch (strength) {
    case 1: return EVP_aes_128_ecb();
    case 2: return EVP_aes_192_ecb();
    default: return EVP_aes_256_ecb();
    }
}

// data ^= key, eight bytes at a time where it can: a byte loop would cost more than AES itself.
void xorInto(char *data, const char *key, qsizetype size)
{
    qsizetype i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t d;
        std::uint64_t k;
        std::memcpy(&d, data + i, 8);
        std::memcpy(&k, key + i, 8);
        d ^= k;
        std::memcpy(data + i, &d, 8);
    }
    for (; i < size; ++i)
        data[i] ^= key[i];
}

} // namespace

void AesCipher::ContextFree::operator()(evp_cipher_ctx_st *context) const
{
    EVP_CIPHER_CTX_free(context);
}

bool AesCipher::validStrength(int strength)
{
    return strength >= 1 && strength <= 3;
}

int AesCipher::saltSize(int strength)
{
    return keySize(strength) / 2;
}

AesCipher::AesCipher(const QByteArray &password, const QByteArray &salt, int strength)
    : m_context(EVP_CIPHER_CTX_new())
{
    const int keyBytes = keySize(strength);
    QByteArray derived(2 * keyBytes + kVerifierSize, Qt::Uninitialized);
    if (!m_context
        || PKCS5_PBKDF2_HMAC(password.constData(), int(password.size()), reinterpret_cast<const unsigned char *>(salt.constData()),
                             int(salt.size()), kIterations, EVP_sha1(), int(derived.size()),
                             reinterpret_cast<unsigned char *>(derived.data()))
            != 1)
        throw std::bad_alloc();
    // The counter blocks are encrypted one by one: ECB here is counter mode's block step, not a mode of its own.
    if (EVP_EncryptInit_ex(m_context.get(), blockCipher(strength), nullptr,
                           reinterpret_cast<const unsigned char *>(derived.constData()), nullptr)
            != 1
        || EVP_CIPHER_CTX_set_padding(m_context.get(), 0) != 1)
        throw std::bad_alloc();
    m_authenticationKey = derived.mid(keyBytes, keyBytes);
    m_verifier = derived.right(kVerifierSize);
    OPENSSL_cleanse(derived.data(), size_t(derived.size()));
}

AesCipher::~AesCipher()
{
    if (!m_authenticationKey.isEmpty())
        OPENSSL_cleanse(m_authenticationKey.data(), size_t(m_authenticationKey.size()));
}

AesCipher::AesCipher(AesCipher &&) noexcept = default;
AesCipher &AesCipher::operator=(AesCipher &&) noexcept = default;

QByteArray AesCipher::authenticationCode(const char *encrypted, qsizetype size) const
{
    unsigned char code[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (!HMAC(EVP_sha1(), m_authenticationKey.constData(), int(m_authenticationKey.size()),
              reinterpret_cast<const unsigned char *>(encrypted), size_t(size), code, &length))
        throw std::bad_alloc();
    return QByteArray(reinterpret_cast<const char *>(code), kAuthenticationSize);
}

void AesCipher::refillKeystream()
{
    QByteArray counters(kKeystreamBlocks * kBlockSize, '\0');
    char *block = counters.data();
    for (int i = 0; i < kKeystreamBlocks; ++i, block += kBlockSize) {
        // A 128-bit little-endian counter; a member never gets past the low 64 bits.
        qToLittleEndian(++m_counter, block);
    }
    m_keystream.resize(counters.size());
    int produced = 0;
    if (EVP_EncryptUpdate(m_context.get(), reinterpret_cast<unsigned char *>(m_keystream.data()), &produced,
                          reinterpret_cast<const unsigned char *>(counters.constData()), int(counters.size()))
            != 1
        || produced != counters.size())
        throw std::bad_alloc();
    m_keystreamUsed = 0;
}

void AesCipher::apply(char *data, qsizetype size)
{
    qsizetype done = 0;
    while (done < size) {
        if (m_keystreamUsed == m_keystream.size())
            refillKeystream();
        const qsizetype n = std::min(size - done, m_keystream.size() - m_keystreamUsed);
        xorInto(data + done, m_keystream.constData() + m_keystreamUsed, n);
        done += n;
        m_keystreamUsed += n;
    }
}

} // namespace qv::archive
