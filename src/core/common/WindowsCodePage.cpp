#include "common/WindowsCodePage.h"

#include <QHash>

namespace qv {

namespace {

// Chinese is decided by the sub-language: Taiwan, Hong Kong and Macao wrote Big5.
QByteArray chineseCodePage(quint32 localeId)
{
    switch (localeId & 0xFFFF) {
    case 0x0404: // Taiwan
    case 0x0C04: // Hong Kong
    case 0x1404: // Macao
        return "BIG5";
    default: // the People's Republic, Singapore
        return "GBK";
    }
}

} // namespace

QByteArray codePageOfLocaleId(quint32 localeId)
{
    // By primary language (the low ten bits), as the system's ANSI code page.
    static const QHash<quint32, QByteArray> byLanguage = {
        {0x11, "CP932"},  // Japanese
        {0x12, "CP949"},  // Korean
        {0x1E, "CP874"},  // Thai
        {0x2A, "CP1258"}, // Vietnamese
        // Central European
        {0x05, "WINDOWS-1250"}, {0x0E, "WINDOWS-1250"}, {0x15, "WINDOWS-1250"}, {0x18, "WINDOWS-1250"},
        {0x1A, "WINDOWS-1250"}, {0x1B, "WINDOWS-1250"}, {0x1C, "WINDOWS-1250"}, {0x24, "WINDOWS-1250"},
        // Cyrillic
        {0x02, "WINDOWS-1251"}, {0x19, "WINDOWS-1251"}, {0x22, "WINDOWS-1251"}, {0x23, "WINDOWS-1251"},
        {0x2F, "WINDOWS-1251"},
        {0x08, "WINDOWS-1253"}, // Greek
        {0x1F, "WINDOWS-1254"}, // Turkish
        {0x0D, "WINDOWS-1255"}, // Hebrew
        {0x01, "WINDOWS-1256"}, // Arabic
        // Baltic
        {0x25, "WINDOWS-1257"}, {0x26, "WINDOWS-1257"}, {0x27, "WINDOWS-1257"},
        // Western European
        {0x03, "WINDOWS-1252"}, {0x06, "WINDOWS-1252"}, {0x07, "WINDOWS-1252"}, {0x09, "WINDOWS-1252"},
        {0x0A, "WINDOWS-1252"}, {0x0B, "WINDOWS-1252"}, {0x0C, "WINDOWS-1252"}, {0x0F, "WINDOWS-1252"},
        {0x10, "WINDOWS-1252"}, {0x13, "WINDOWS-1252"}, {0x14, "WINDOWS-1252"}, {0x16, "WINDOWS-1252"},
        {0x1D, "WINDOWS-1252"}, {0x21, "WINDOWS-1252"}, {0x2D, "WINDOWS-1252"}, {0x36, "WINDOWS-1252"},
        {0x38, "WINDOWS-1252"}, {0x3E, "WINDOWS-1252"}, {0x41, "WINDOWS-1252"},
    };
    const quint32 language = localeId & 0x3FF;
    if (language == 0x04)
        return chineseCodePage(localeId);
    // Serbian and Bosnian in Cyrillic share the primary language of Croatian.
    const quint32 tag = localeId & 0xFFFF;
    if (tag == 0x0C1A || tag == 0x1C1A || tag == 0x201A)
        return "WINDOWS-1251";
    return byLanguage.value(language);
}

} // namespace qv
