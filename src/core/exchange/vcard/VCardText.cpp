#include "exchange/vcard/VCardText.h"

namespace qv::vcard {

QString unescapeText(QString text, VCardVersion version)
{
    if (!text.contains(u'\\'))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\\' || i + 1 == text.size()) {
            out.append(c);
            continue;
        }
        const QChar next = text[i + 1];
        if (next == u'\\' || next == u';' || next == u',' || next == u':') {
            out.append(next);
            ++i;
        } else if ((next == u'n' || next == u'N') && version != VCardVersion::V21) {
            out.append(u'\n');
            ++i;
        } else {
            out.append(c);
        }
    }
    return out;
}

QString escapeText(QStringView text, VCardVersion version, bool component)
{
    QString out;
    out.reserve(text.size() + 8);
    const bool modern = version != VCardVersion::V21;
    for (const QChar c : text) {
        if (c == u'\\' || (c == u';' && (modern || component)) || (c == u',' && modern))
            out.append(u'\\').append(c);
        else if (c == u'\n' && modern)
            out.append(QLatin1String("\\n"));
        else
            out.append(c);
    }
    return out;
}

QString normaliseLineBreaks(QString text)
{
    if (!text.contains(u'\r'))
        return text;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

} // namespace qv::vcard
