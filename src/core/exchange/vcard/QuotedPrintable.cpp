#include "exchange/vcard/QuotedPrintable.h"

#include <cstring>

namespace qv::vcard {

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// A colon is always encoded: a line of the value can then never read as
// END:VCARD or any other property line.
bool isLiteral(char c)
{
    return (c >= '!' && c <= '~' && c != '=' && c != ':') || c == ' ' || c == '\t';
}

} // namespace

bool decodeQuotedPrintable(QByteArrayView text, QByteArray &out)
{
    out.resize(text.size());
    char *o = out.data();
    const char *p = text.data();
    const char *const end = p + text.size();
    while (p < end) {
        const auto *equals = static_cast<const char *>(std::memchr(p, '=', static_cast<size_t>(end - p)));
        const char *literalEnd = equals ? equals : end;
        std::memcpy(o, p, static_cast<size_t>(literalEnd - p));
        o += literalEnd - p;
        if (!equals)
            break;
        if (end - equals < 3)
            return false;
        const int high = hexValue(equals[1]);
        const int low = hexValue(equals[2]);
        if (high < 0 || low < 0)
            return false;
        *o++ = static_cast<char>(high * 16 + low);
        p = equals + 3;
    }
    out.truncate(o - out.data());
    return true;
}

void appendQuotedPrintable(QByteArray &out, QByteArrayView data, qsizetype firstLineUsed, qsizetype lineLength)
{
    static const char hex[] = "0123456789ABCDEF";
    qsizetype used = firstLineUsed;
    for (qsizetype i = 0; i < data.size(); ++i) {
        const char c = data[i];
        const bool last = i + 1 == data.size();
        // A blank at the end of a line or of the value would be taken for padding.
        const bool literal = isLiteral(c) && !((c == ' ' || c == '\t') && last);
        const qsizetype width = literal ? 1 : 3;
        // Room is kept for the "=" of a soft break unless this is the value's end.
        if (used + width + (last ? 0 : 1) > lineLength) {
            out.append("=\r\n");
            used = 0;
        }
        if (literal) {
            out.append(c);
        } else {
            const auto byte = static_cast<unsigned char>(c);
            const char escaped[3] = {'=', hex[byte >> 4], hex[byte & 15]};
            out.append(escaped, 3);
        }
        used += width;
    }
}

} // namespace qv::vcard
