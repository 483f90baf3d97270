#include "common/CodePageDecoder.h"

#include <cerrno>

namespace qv {

CodePageDecoder::CodePageDecoder(const QByteArray &codePage) : m_cd(iconv_open("UTF-16LE", codePage.constData())) {}

CodePageDecoder::~CodePageDecoder()
{
    if (isValid())
        iconv_close(m_cd);
}

QString CodePageDecoder::decode(QByteArrayView bytes)
{
    if (!isValid())
        return QString::fromLatin1(bytes);
    iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
    QString result;
    result.reserve(bytes.size());
    char out[4096];
    char *in = const_cast<char *>(bytes.data());
    size_t inLeft = static_cast<size_t>(bytes.size());
    while (inLeft > 0) {
        char *outPtr = out;
        size_t outLeft = sizeof out;
        const size_t rc = iconv(m_cd, &in, &inLeft, &outPtr, &outLeft);
        result.append(reinterpret_cast<const QChar *>(out), static_cast<qsizetype>((sizeof out - outLeft) / 2));
        if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
            // An invalid or cut-off sequence: mark it and go on after its first byte.
            result.append(QChar::ReplacementCharacter);
            ++in;
            --inLeft;
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return result;
}

} // namespace qv
