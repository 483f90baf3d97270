#include "data/archive/TraditionalCipher.h"

#include <zlib.h>

namespace qv::archive {

namespace {

const z_crc_t *const kCrcTable = get_crc_table();

std::uint32_t crcStep(std::uint32_t crc, std::uint8_t byte)
{
    return kCrcTable[(crc ^ byte) & 0xFF] ^ (crc >> 8);
}

} // namespace

TraditionalCipher::TraditionalCipher(const QByteArray &password)
    : m_keys{0x12345678u, 0x23456789u, 0x34567890u}
{
    for (char c : password)
        update(static_cast<std::uint8_t>(c));
}

std::uint8_t TraditionalCipher::keyByte() const
{
    // Unsigned throughout: the product of two 16-bit values needs all 32 bits.
    const std::uint32_t temp = (m_keys[2] | 2) & 0xFFFFu;
    return static_cast<std::uint8_t>((temp * (temp ^ 1)) >> 8);
}

void TraditionalCipher::update(std::uint8_t plain)
{
    m_keys[0] = crcStep(m_keys[0], plain);
    m_keys[1] = (m_keys[1] + (m_keys[0] & 0xFF)) * 134775813u + 1;
    m_keys[2] = crcStep(m_keys[2], static_cast<std::uint8_t>(m_keys[1] >> 24));
}

void TraditionalCipher::encrypt(char *data, qsizetype size)
{
    for (qsizetype i = 0; i < size; ++i) {
        const auto plain = static_cast<std::uint8_t>(data[i]);
        data[i] = static_cast<char>(plain ^ keyByte());
        update(plain);
    }
}

void TraditionalCipher::decrypt(char *data, qsizetype size)
{
    for (qsizetype i = 0; i < size; ++i) {
        const auto plain = static_cast<std::uint8_t>(static_cast<std::uint8_t>(data[i]) ^ keyByte());
        data[i] = static_cast<char>(plain);
        update(plain);
    }
}

} // namespace qv::archive
