#include "exchange/vcard/VCardNames.h"

#include <array>
#include <cstring>

namespace qv::vcard {

namespace {

constexpr qsizetype LongestKnownName = 24;
constexpr std::size_t Slots = 256; // a power of two, well above the number of names

std::uint32_t hashOf(const char *upper, qsizetype size)
{
    std::uint32_t hash = 2166136261u;
    for (qsizetype i = 0; i < size; ++i)
        hash = (hash ^ static_cast<unsigned char>(upper[i])) * 16777619u;
    return hash;
}

struct KnownName {
    QByteArray bytes;
    QString text;
};

// Open addressing over the names cards are made of; a slot with empty bytes is free.
const std::array<KnownName, Slots> &knownNames()
{
    static const std::array<KnownName, Slots> table = [] {
        std::array<KnownName, Slots> t;
        for (const char *name : {"VCARD", "VERSION", "N", "FN", "BDAY", "TEL", "EMAIL", "ADR", "ORG", "TITLE", "URL",
                                 "NOTE", "LABEL", "PHOTO", "LOGO", "SOUND", "KEY", "AGENT", "ROLE", "NICKNAME",
                                 "CATEGORIES", "UID", "REV", "TZ", "GEO", "PRODID", "X-ABLABEL", "X-ABUID", "TYPE",
                                 "PREF", "WORK", "HOME", "VOICE", "FAX", "MSG", "CELL", "PAGER", "BBS", "MODEM", "CAR",
                                 "ISDN", "VIDEO", "INTERNET", "DOM", "INTL", "POSTAL", "PARCEL", "QUOTED-PRINTABLE",
                                 "BASE64", "8BIT", "7BIT", "B", "CHARSET", "ENCODING", "VALUE", "LANGUAGE", "JPEG",
                                 "PNG", "GIF"}) {
            const auto size = static_cast<qsizetype>(std::strlen(name));
            std::size_t slot = hashOf(name, size) & (Slots - 1);
            while (!t[slot].bytes.isEmpty())
                slot = (slot + 1) & (Slots - 1);
            t[slot] = {QByteArray(name), QString::fromLatin1(name)};
        }
        return t;
    }();
    return table;
}

} // namespace

QString treeName(QByteArrayView name)
{
    if (name.size() <= LongestKnownName) {
        char upper[LongestKnownName];
        for (qsizetype i = 0; i < name.size(); ++i) {
            const char c = name[i];
            upper[i] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        }
        const QByteArrayView key(upper, name.size());
        const auto &names = knownNames();
        for (std::size_t slot = hashOf(upper, name.size()) & (Slots - 1); !names[slot].bytes.isEmpty();
             slot = (slot + 1) & (Slots - 1)) {
            if (names[slot].bytes == key)
                return names[slot].text;
        }
    }
    return QString::fromLatin1(name.toByteArray().toUpper());
}

} // namespace qv::vcard
