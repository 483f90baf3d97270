#include "exchange/vcard/FoldedUtf8.h"

#include <cstdint>
#include <cstring>

namespace qv::vcard {

namespace {

// The length of a line break followed by a blank at pos, or 0.
qsizetype foldAt(QByteArrayView s, qsizetype pos)
{
    qsizetype i = pos;
    if (i < s.size() && s[i] == '\r')
        ++i;
    if (i < s.size() && s[i] == '\n')
        ++i;
    if (i == pos || i >= s.size() || (s[i] != ' ' && s[i] != '\t'))
        return 0;
    return i + 1 - pos;
}

// The number of continuation bytes a lead byte announces and the range its
// first continuation byte must lie in (no overlong forms, no surrogates);
// -1 for a byte that cannot lead.
int continuationCount(unsigned char lead, unsigned char &low, unsigned char &high)
{
    low = 0x80;
    high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 1;
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (lead == 0xE0)
            low = 0xA0;
        if (lead == 0xED)
            high = 0x9F;
        return 2;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;
        return 3;
    }
    return -1;
}

} // namespace

bool isUtf8AcrossFolds(QByteArrayView s)
{
    qsizetype i = 0;
    while (i < s.size()) {
        // Eight ASCII bytes at a time: most of any card file is ASCII.
        if (i + 8 <= s.size()) {
            std::uint64_t word;
            std::memcpy(&word, s.data() + i, 8);
            if ((word & 0x8080808080808080ULL) == 0) {
                i += 8;
                continue;
            }
        }
        const auto lead = static_cast<unsigned char>(s[i++]);
        if (lead < 0x80)
            continue;
        unsigned char low, high;
        int need = continuationCount(lead, low, high);
        if (need < 0)
            return false;
        while (need > 0) {
            if (const qsizetype fold = foldAt(s, i)) {
                i += fold;
                continue;
            }
            if (i >= s.size())
                return false;
            const auto c = static_cast<unsigned char>(s[i]);
            if (c < low || c > high)
                return false;
            low = 0x80;
            high = 0xBF;
            ++i;
            --need;
        }
    }
    return true;
}

} // namespace qv::vcard
