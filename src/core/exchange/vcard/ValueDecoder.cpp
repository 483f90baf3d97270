#include "exchange/vcard/ValueDecoder.h"

#include <QStringDecoder>

#include <cstdint>
#include <cstring>

namespace qv::vcard {

namespace {

// Conversions kept open per file; a file naming more code pages than this is
// hostile or broken, and its further ones fall back to the default decoding.
constexpr std::size_t MaxCodePages = 8;
constexpr qsizetype LongestCodePageName = 40;

bool isAscii(QByteArrayView bytes)
{
    qsizetype i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        if (word & 0x8080808080808080ULL)
            return false;
    }
    for (; i < bytes.size(); ++i) {
        if (static_cast<unsigned char>(bytes[i]) >= 0x80)
            return false;
    }
    return true;
}

// Only names made of the characters code page names use reach iconv.
bool isPlausibleCodePage(QByteArrayView name)
{
    if (name.isEmpty() || name.size() > LongestCodePageName)
        return false;
    for (char c : name) {
        const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-'
            || c == '_' || c == '.' || c == ':';
        if (!ok)
            return false;
    }
    return true;
}

bool isUtf8Name(QByteArrayView name)
{
    return name.compare("UTF-8", Qt::CaseInsensitive) == 0 || name.compare("UTF8", Qt::CaseInsensitive) == 0;
}

// UTF-8 text as it stands: a value may begin with U+FEFF, which the
// library's decoding would drop as a byte-order mark.
QString utf8Text(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder(bytes);
}

} // namespace

ValueDecoder::ValueDecoder(bool fileIsUtf8, bool fileWasUtf16, QByteArray legacyCodePage)
    : m_fileIsUtf8(fileIsUtf8), m_fileWasUtf16(fileWasUtf16), m_legacyCodePage(std::move(legacyCodePage))
{
}

QString ValueDecoder::decode(QByteArrayView bytes, QByteArrayView charset, bool wasQuotedPrintable)
{
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    const bool charsetApplies = !charset.isEmpty() && (wasQuotedPrintable || !m_fileWasUtf16);
    if (charsetApplies && isUtf8Name(charset))
        return utf8Text(bytes);
    if (charsetApplies) {
        if (CodePageDecoder *decoder = decoderFor(charset))
            return decoder->decode(bytes);
    }
    return decodeWithoutCharset(bytes, wasQuotedPrintable ? bytes.isValidUtf8() : m_fileIsUtf8);
}

QString ValueDecoder::decodeWithoutCharset(QByteArrayView bytes, bool utf8)
{
    if (utf8)
        return utf8Text(bytes);
    if (!m_legacy)
        m_legacy = std::make_unique<CodePageDecoder>(m_legacyCodePage);
    return m_legacy->decode(bytes);
}

CodePageDecoder *ValueDecoder::decoderFor(QByteArrayView charset)
{
    if (!isPlausibleCodePage(charset))
        return nullptr;
    const QByteArray name = charset.toByteArray().toUpper();
    for (const auto &[known, decoder] : m_decoders) {
        if (known == name)
            return decoder->isValid() ? decoder.get() : nullptr;
    }
    if (m_decoders.size() >= MaxCodePages)
        return nullptr;
    m_decoders.emplace_back(name, std::make_unique<CodePageDecoder>(name));
    return m_decoders.back().second->isValid() ? m_decoders.back().second.get() : nullptr;
}

} // namespace qv::vcard
