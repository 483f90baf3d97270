#pragma once

#include "exchange/vcard/PostalAddress.h"
#include "exchange/vcard/VCardDate.h"
#include "exchange/vcard/VCardObject.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

namespace qv::vcard {

// One electronic business card over its property tree: typed setters for
// building a card to write, and getters for the properties of a card read
// from a file. Single-valued items are set or added (a second call replaces
// the value); TEL, EMAIL, ADR and NOTE are added each time. Line breaks in
// values are held as LF.
class VCard {
public:
    // VERSION 2.1 and an empty N.
    VCard();
    // A card as the reader gives it. Where it holds N, FN, TITLE, BDAY or ORG
    // more than once, the last one counts.
    explicit VCard(VCardObject card);

    const VCardObject &object() const { return m_card; }

    void setFamilyName(const QString &name);
    void setGivenName(const QString &name);
    void setAdditionalNames(const QString &names);
    void setFormattedName(const QString &name);
    void setBirthday(const QDate &date); // as yyyy-mm-dd
    void setTitle(const QString &title);
    // Each non-empty text sets ORGNAME, OUN and OUN2.
    void setOrganisation(const QString &name, const QString &unit, const QString &secondUnit);
    void addTelephone(const QString &number, quint16 typeFlags);
    // The e-mail type's name follows the flags' parameters; NoEmailType adds none.
    void addEmail(const QString &address, int emailType, quint16 typeFlags);
    // Nothing when all components are empty.
    void addAddress(const PostalAddress &address, quint8 addressFlags);
    void addNote(const QString &text, quint8 noteFlags);

    // An item the card lacks reads as the empty text.
    QString familyName() const;
    QString givenName() const;
    QString additionalNames() const;
    QString formattedName() const;
    QString title() const;
    // Nothing when BDAY is absent or does not read as a date.
    std::optional<VCardDate> birthday() const;
    // BDAY as the card gives it, to tell an unreadable birthday from none.
    QString birthdayText() const;
    // ORGNAME, then "; " OUN and "; " OUN2 when they are not empty.
    QString organisationText() const;

    int telephoneCount() const { return static_cast<int>(m_telephones.size()); }
    QString telephone(int i) const;
    quint16 telephoneTypes(int i) const;
    int emailCount() const { return static_cast<int>(m_emails.size()); }
    QString email(int i) const;
    quint16 emailTypes(int i) const;
    int emailType(int i) const;
    int addressCount() const { return static_cast<int>(m_addresses.size()); }
    PostalAddress address(int i) const; // the first component of each name
    quint8 addressTypes(int i) const;
    int noteCount() const { return static_cast<int>(m_notes.size()); }
    QString note(int i) const;
    quint8 noteTypes(int i) const;
    int urlCount() const { return static_cast<int>(m_urls.size()); }
    QString url(int i) const;
    quint16 urlTypes(int i) const;

private:
    void indexProperties();
    const VCardObject *property(int index) const;
    QString nameComponent(QStringView component) const;
    void setNameComponent(const QString &component, const QString &text);
    int setOrAdd(const QString &name, const QString &text);
    VCardObject &addProperty(const QString &name, const QString &text, std::vector<int> &list);

    VCardObject m_card;
    int m_name = -1;
    int m_formattedName = -1;
    int m_title = -1;
    int m_birthday = -1;
    int m_organisation = -1;
    std::vector<int> m_telephones;
    std::vector<int> m_emails;
    std::vector<int> m_addresses;
    std::vector<int> m_notes;
    std::vector<int> m_urls;
};

} // namespace qv::vcard
