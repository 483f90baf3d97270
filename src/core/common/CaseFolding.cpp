#include "common/CaseFolding.h"

#include <QChar>

namespace qv {

QStringView foldCase(QStringView text, std::u16string &buffer)
{
    // Room for a 16-bit unit folding to a surrogate pair, though no letter
    // does so today.
    if (buffer.size() < size_t(text.size()) * 2)
        buffer.resize(size_t(text.size()) * 2);
    char16_t *out = buffer.data();
    const char16_t *p = text.utf16();
    const char16_t *end = p + text.size();
    while (p != end) {
        const char16_t c = *p++;
        if (c < 0x80) { // the common case, without the table look-up
            *out++ = c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
            continue;
        }
        char32_t code = c;
        if (QChar::isHighSurrogate(c) && p != end && QChar::isLowSurrogate(*p))
            code = QChar::surrogateToUcs4(c, *p++);
        const char32_t folded = QChar::toCaseFolded(code);
        if (QChar::requiresSurrogates(folded)) {
            *out++ = QChar::highSurrogate(folded);
            *out++ = QChar::lowSurrogate(folded);
        } else {
            *out++ = char16_t(folded);
        }
    }
    return QStringView(buffer.data(), qsizetype(out - buffer.data()));
}

} // namespace qv
