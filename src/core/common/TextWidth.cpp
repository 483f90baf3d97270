#include "common/TextWidth.h"


namespace qv {

bool isWide(char32_t c)
{
    // The W and F ranges of Unicode's East Asian Width property.
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x231A && c <= 0x231B) || (c >= 0x2329 && c <= 0x232A)
        || (c >= 0x2E80 && c <= 0x303E) || (c >= 0x3041 && c <= 0x33FF) || (c >= 0x3400 && c <= 0x4DBF)
        || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) || (c >= 0xA960 && c <= 0xA97F)
        || (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE10 && c <= 0xFE19)
        || (c >= 0xFE30 && c <= 0xFE6F) || (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6)
        || (c >= 0x1F300 && c <= 0x1F64F) || (c >= 0x1F900 && c <= 0x1F9FF) || (c >= 0x20000 && c <= 0x3FFFD);
}

namespace {

// The code point at i, and how many UTF-16 units it takes.
char32_t codePointAt(const QString &text, qsizetype i, qsizetype &units)
{
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        units = 2;
        return QChar::surrogateToUcs4(c, text[i + 1]);
    }
    units = 1;
    return c.unicode();
}

} // namespace

int textWidth(const QString &text)
{
    int width = 0;
    qsizetype units = 0;
    for (qsizetype i = 0; i < text.size(); i += units)
        width += isWide(codePointAt(text, i, units)) ? 2 : 1;
    return width;
}

QString cutToWidth(const QString &text, int maxWidth)
{
    // Most texts are narrow and short: no need to walk them.
    if (text.size() <= maxWidth / 2)
        return text;
    int width = 0;
    qsizetype units = 0;
    for (qsizetype i = 0; i < text.size(); i += units) {
        width += isWide(codePointAt(text, i, units)) ? 2 : 1;
        if (width > maxWidth)
            return text.left(i);
    }
    return text;
}

} // namespace qv
