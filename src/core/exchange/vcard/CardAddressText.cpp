#include "exchange/vcard/CardAddressText.h"

#include "exchange/wab/AddressText.h"

#include <QStringList>

namespace qv::vcard {

namespace {

bool isCommaOrSpace(QChar c)
{
    return c == u',' || c == u' ';
}

// Commas before the first other character, and after the last, become spaces;
// then the spaces go.
QString blankEndCommas(QString text)
{
    for (qsizetype i = 0; i < text.size() && isCommaOrSpace(text[i]); ++i)
        text[i] = u' ';
    for (qsizetype i = text.size() - 1; i >= 0 && isCommaOrSpace(text[i]); --i)
        text[i] = u' ';
    return text.trimmed();
}

} // namespace

QString cardAddressText(const PostalAddress &a)
{
    const QString text = QStringList{a.box, a.extended, a.street, a.locality, a.region, a.country}.join(QStringLiteral(", "));
    if (holdsWideText(text))
        return a.country + a.region + a.locality + a.street + a.extended + a.box;
    return blankEndCommas(text);
}

} // namespace qv::vcard
