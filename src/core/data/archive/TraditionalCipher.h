#pragma once

#include <QByteArray>

#include <cstdint>

namespace qv::archive {

// The traditional PKWARE encryption of APPNOTE 6.1: three keys stirred by
// every plain byte. One object encrypts or decrypts one member.
class TraditionalCipher {
public:
    static constexpr int kHeaderSize = 12;

    explicit TraditionalCipher(const QByteArray &password);

    void encrypt(char *data, qsizetype size);
    void decrypt(char *data, qsizetype size);

private:
    std::uint8_t keyByte() const;
    void update(std::uint8_t plain);

    std::uint32_t m_keys[3];
};

} // namespace qv::archive
