#pragma once

#include "exchange/vcard/VCard.h"

#include <unordered_map>

#include <array>

namespace qv {
class RecordTable;
struct Column;
}

namespace qv::vcard {

// Builds the card of a person entry: the person's names, birthday, title,
// telephones, e-mail, address and memo, then its organisation's name,
// address, telephones, memo and e-mail. Empty values are left out; the
// other fields do not go on the card.
class EntryCards {
public:
    EntryCards(const RecordTable &persons, const RecordTable &organisations);

    // A person of the default organisation (CoID 0), or of none the book
    // holds, gets no organisation values.
    VCard cardOf(int personRow) const;

private:
    void addPerson(VCard &card, int row) const;
    void addOrganisation(VCard &card, int row) const;

    enum PersonField { SurName, GivenName, MidName, Name, Birthday, Position, Phone, Mobile, Pager, DPhone, Fax, EMail,
                       Address, Zip, Memo, OrgID, PersonFieldCount };
    enum OrganisationField { Company, CAddress, CZip, CPhone, CFax, CMemo, CEMail, OrganisationFieldCount };

    std::array<const Column *, PersonFieldCount> m_person;
    std::array<const Column *, OrganisationFieldCount> m_organisation;
    std::unordered_map<qint64, int> m_organisationRows; // CoID to row
};

} // namespace qv::vcard
