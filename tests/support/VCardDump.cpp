#include "VCardDump.h"

#include "exchange/vcard/VCardReader.h"

#include <QStringList>

namespace qv::test {

QString dumpProperty(const vcard::VCardObject &property)
{
    QString text = property.group().isEmpty() ? property.name() : property.group() + u'.' + property.name();
    for (const vcard::VCardObject &child : property.children()) {
        text += u';' + child.name();
        if (child.hasValue())
            text += u'=' + child.value();
    }
    if (property.hasValue())
        text += u':' + property.value();
    return text;
}

QString dumpCard(const vcard::VCardObject &card)
{
    QStringList lines;
    for (const vcard::VCardObject &property : card.children()) {
        if (property.name() != u"VERSION")
            lines << dumpProperty(property);
    }
    return lines.join(u'\n');
}

QString dumpOnlyCard(const QByteArray &file, const QString &locale)
{
    const std::vector<vcard::ReadCard> cards = vcard::readVCards(file, QLocale(locale));
    if (cards.size() != 1)
        return QStringLiteral("!%1 cards").arg(cards.size());
    if (cards[0].isBroken())
        return u'!' + vcard::cardFaultText(cards[0].fault);
    return dumpCard(cards[0].card);
}

} // namespace qv::test
