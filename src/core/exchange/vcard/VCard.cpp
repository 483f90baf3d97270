#include "exchange/vcard/VCard.h"

#include "exchange/vcard/VCardFlags.h"
#include "exchange/vcard/VCardText.h"

namespace qv::vcard {

namespace {

const VCardObject *at(const VCardObject &card, const std::vector<int> &list, int i)
{
    if (i < 0 || i >= static_cast<int>(list.size()))
        return nullptr;
    return &card.child(static_cast<std::size_t>(list[static_cast<std::size_t>(i)]));
}

QString valueOf(const VCardObject *property)
{
    return property ? property->value() : QString();
}

} // namespace

VCard::VCard() : m_card(QStringLiteral("VCARD"))
{
    m_card.addChild(VCardObject(QStringLiteral("VERSION"), QStringLiteral("2.1")));
    m_card.addChild(VCardObject(QStringLiteral("N")));
    m_name = 1;
}

VCard::VCard(VCardObject card) : m_card(std::move(card))
{
    indexProperties();
}

void VCard::indexProperties()
{
    for (std::size_t i = 0; i < m_card.children().size(); ++i) {
        const QString &name = m_card.child(i).name();
        const int index = static_cast<int>(i);
        if (name == u"N")
            m_name = index;
        else if (name == u"FN")
            m_formattedName = index;
        else if (name == u"TITLE")
            m_title = index;
        else if (name == u"BDAY")
            m_birthday = index;
        else if (name == u"ORG")
            m_organisation = index;
        else if (name == u"TEL")
            m_telephones.push_back(index);
        else if (name == u"EMAIL")
            m_emails.push_back(index);
        else if (name == u"ADR")
            m_addresses.push_back(index);
        else if (name == u"NOTE")
            m_notes.push_back(index);
        else if (name == u"URL")
            m_urls.push_back(index);
    }
}

const VCardObject *VCard::property(int index) const
{
    return index < 0 ? nullptr : &m_card.child(static_cast<std::size_t>(index));
}

int VCard::setOrAdd(const QString &name, const QString &text)
{
    return m_card.setOrAddChild(name, normaliseLineBreaks(text));
}

VCardObject &VCard::addProperty(const QString &name, const QString &text, std::vector<int> &list)
{
    list.push_back(static_cast<int>(m_card.children().size()));
    return m_card.addChild(VCardObject(name, normaliseLineBreaks(text)));
}

void VCard::setNameComponent(const QString &component, const QString &text)
{
    if (m_name < 0)
        m_name = setOrAdd(QStringLiteral("N"), QString());
    m_card.child(static_cast<std::size_t>(m_name)).setOrAddChild(component, normaliseLineBreaks(text));
}

QString VCard::nameComponent(QStringView component) const
{
    const VCardObject *name = property(m_name);
    return name ? name->childValue(component) : QString();
}

void VCard::setFamilyName(const QString &name)
{
    setNameComponent(QStringLiteral("F"), name);
}

void VCard::setGivenName(const QString &name)
{
    setNameComponent(QStringLiteral("G"), name);
}

void VCard::setAdditionalNames(const QString &names)
{
    setNameComponent(QStringLiteral("ADDN"), names);
}

void VCard::setFormattedName(const QString &name)
{
    m_formattedName = setOrAdd(QStringLiteral("FN"), name);
}

void VCard::setBirthday(const QDate &date)
{
    m_birthday = setOrAdd(QStringLiteral("BDAY"), date.toString(u"yyyy-MM-dd"));
}

void VCard::setTitle(const QString &title)
{
    m_title = setOrAdd(QStringLiteral("TITLE"), title);
}

void VCard::setOrganisation(const QString &name, const QString &unit, const QString &secondUnit)
{
    if (m_organisation < 0) {
        m_organisation = static_cast<int>(m_card.children().size());
        m_card.addChild(VCardObject(QStringLiteral("ORG")));
    }
    VCardObject &organisation = m_card.child(static_cast<std::size_t>(m_organisation));
    const QString names[] = {QStringLiteral("ORGNAME"), QStringLiteral("OUN"), QStringLiteral("OUN2")};
    const QString *texts[] = {&name, &unit, &secondUnit};
    for (int i = 0; i < 3; ++i) {
        if (!texts[i]->isEmpty())
            organisation.setOrAddChild(names[i], normaliseLineBreaks(*texts[i]));
    }
}

void VCard::addTelephone(const QString &number, quint16 typeFlags)
{
    addTypeParameters(addProperty(QStringLiteral("TEL"), number, m_telephones), typeFlags);
}

void VCard::addEmail(const QString &address, int emailType, quint16 typeFlags)
{
    VCardObject &email = addProperty(QStringLiteral("EMAIL"), address, m_emails);
    addTypeParameters(email, typeFlags);
    const QString typeName = emailTypeName(emailType);
    if (!typeName.isEmpty() && vcard::emailType(email) != emailType)
        email.addParameter(typeName);
}

void VCard::addAddress(const PostalAddress &address, quint8 flags)
{
    if (address.isEmpty())
        return;
    m_addresses.push_back(static_cast<int>(m_card.children().size()));
    VCardObject &property = m_card.addChild(VCardObject(QStringLiteral("ADR")));
    const std::pair<const char16_t *, const QString *> components[] = {
        {u"BOX", &address.box}, {u"EXT ADD", &address.extended}, {u"STREET", &address.street},
        {u"L", &address.locality}, {u"R", &address.region}, {u"PC", &address.postalCode},
        {u"C", &address.country},
    };
    for (const auto &[name, text] : components) {
        if (!text->isEmpty())
            property.setOrAddChild(QString::fromUtf16(name), normaliseLineBreaks(*text));
    }
    addAddressParameters(property, flags);
}

void VCard::addNote(const QString &text, quint8 flags)
{
    addNoteParameters(addProperty(QStringLiteral("NOTE"), text, m_notes), flags);
}

QString VCard::familyName() const
{
    return nameComponent(u"F");
}

QString VCard::givenName() const
{
    return nameComponent(u"G");
}

QString VCard::additionalNames() const
{
    return nameComponent(u"ADDN");
}

QString VCard::formattedName() const
{
    return valueOf(property(m_formattedName));
}

QString VCard::title() const
{
    return valueOf(property(m_title));
}

std::optional<VCardDate> VCard::birthday() const
{
    const VCardObject *birthday = property(m_birthday);
    if (!birthday)
        return std::nullopt;
    std::optional<VCardDate> date = readVCardDate(birthday->value());
    // Some programs write a birthday without year as that year in a full date.
    const QString omitted = birthday->childValue(u"X-APPLE-OMIT-YEAR");
    if (date && !omitted.isEmpty() && omitted.toInt() == date->year)
        date->year = 0;
    return date;
}

QString VCard::birthdayText() const
{
    return valueOf(property(m_birthday));
}

QString VCard::organisationText() const
{
    const VCardObject *organisation = property(m_organisation);
    if (!organisation)
        return QString();
    QString text = organisation->childValue(u"ORGNAME");
    for (QStringView unit : {u"OUN", u"OUN2"}) {
        const QString value = organisation->childValue(unit);
        if (!value.isEmpty())
            text += QLatin1String("; ") + value;
    }
    return text;
}

QString VCard::telephone(int i) const
{
    return valueOf(at(m_card, m_telephones, i));
}

quint16 VCard::telephoneTypes(int i) const
{
    const VCardObject *p = at(m_card, m_telephones, i);
    return p ? typeFlags(*p) : 0;
}

QString VCard::email(int i) const
{
    return valueOf(at(m_card, m_emails, i));
}

quint16 VCard::emailTypes(int i) const
{
    const VCardObject *p = at(m_card, m_emails, i);
    return p ? typeFlags(*p) : 0;
}

int VCard::emailType(int i) const
{
    const VCardObject *p = at(m_card, m_emails, i);
    return p ? vcard::emailType(*p) : NoEmailType;
}

PostalAddress VCard::address(int i) const
{
    const VCardObject *p = at(m_card, m_addresses, i);
    if (!p)
        return {};
    return {p->childValue(u"BOX"), p->childValue(u"EXT ADD"), p->childValue(u"STREET"), p->childValue(u"L"),
            p->childValue(u"R"),   p->childValue(u"PC"),      p->childValue(u"C")};
}

quint8 VCard::addressTypes(int i) const
{
    const VCardObject *p = at(m_card, m_addresses, i);
    return p ? addressFlags(*p) : 0;
}

QString VCard::note(int i) const
{
    return valueOf(at(m_card, m_notes, i));
}

quint8 VCard::noteTypes(int i) const
{
    const VCardObject *p = at(m_card, m_notes, i);
    return p ? noteFlags(*p) : 0;
}

QString VCard::url(int i) const
{
    return valueOf(at(m_card, m_urls, i));
}

quint16 VCard::urlTypes(int i) const
{
    const VCardObject *p = at(m_card, m_urls, i);
    return p ? typeFlags(*p) : 0;
}

} // namespace qv::vcard
