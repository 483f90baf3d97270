#include "exchange/vcard/VCardNames.h"

#include <string_view>
#include <unordered_map>

namespace qv::vcard {

namespace {

constexpr qsizetype LongestKnownName = 24;

const std::unordered_map<std::string_view, QString> &knownNames()
{
    static const std::unordered_map<std::string_view, QString> names = [] {
        std::unordered_map<std::string_view, QString> map;
        for (const char *name : {"VCARD", "VERSION", "N", "FN", "BDAY", "TEL", "EMAIL", "ADR", "ORG", "TITLE", "URL",
                                 "NOTE", "LABEL", "PHOTO", "LOGO", "SOUND", "KEY", "AGENT", "ROLE", "NICKNAME",
                                 "CATEGORIES", "UID", "REV", "TZ", "GEO", "PRODID", "X-ABLABEL", "X-ABUID", "TYPE",
                                 "PREF", "WORK", "HOME", "VOICE", "FAX", "MSG", "CELL", "PAGER", "BBS", "MODEM", "CAR",
                                 "ISDN", "VIDEO", "INTERNET", "DOM", "INTL", "POSTAL", "PARCEL", "QUOTED-PRINTABLE",
                                 "BASE64", "8BIT", "CHARSET", "ENCODING", "VALUE", "LANGUAGE", "JPEG", "PNG", "GIF"})
            map.emplace(name, QString::fromLatin1(name));
        return map;
    }();
    return names;
}

} // namespace

QString treeName(QByteArrayView name)
{
    char upper[LongestKnownName];
    if (name.size() <= LongestKnownName) {
        for (qsizetype i = 0; i < name.size(); ++i) {
            const char c = name[i];
            upper[i] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        }
        const auto &names = knownNames();
        const auto found = names.find(std::string_view(upper, static_cast<size_t>(name.size())));
        if (found != names.end())
            return found->second;
    }
    return QString::fromLatin1(name.toByteArray().toUpper());
}

} // namespace qv::vcard
