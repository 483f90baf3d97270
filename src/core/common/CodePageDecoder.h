#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <iconv.h>

namespace qv {

// Decodes bytes of one iconv code page, keeping the conversion open so that
// many small texts (the values of a file) do not each open their own.
class CodePageDecoder {
public:
    explicit CodePageDecoder(const QByteArray &codePage);
    ~CodePageDecoder();
    CodePageDecoder(const CodePageDecoder &) = delete;
    CodePageDecoder &operator=(const CodePageDecoder &) = delete;

    // False when iconv does not know the code page.
    bool isValid() const { return m_cd != invalid(); }
    // Undecodable bytes become U+FFFD; an invalid decoder reads Latin-1.
    QString decode(QByteArrayView bytes);

private:
    static iconv_t invalid() { return reinterpret_cast<iconv_t>(-1); }

    iconv_t m_cd;
};

} // namespace qv
