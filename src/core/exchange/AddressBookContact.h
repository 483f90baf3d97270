#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace qv {

// One contact of the system address book with the properties the import
// reads (each the standard MAPI property of that name). A property the
// contact lacks is an empty text, an empty list or an invalid time.
struct AddressBookContact {
    QString displayName;
    QString title;
    QString homeTelephone;
    QString pager;
    QString mobileTelephone;
    QString homeFax;
    QDateTime birthday; // UTC
    QString comment;
    QString nickname;
    QStringList childrensNames;
    QString spouseName;
    QDateTime weddingAnniversary; // UTC
    QString personalHomePage;
    QString emailAddress;
    QStringList emailAddresses; // in the order the contact lists them
    QString businessTelephone;
    QString businessFax;
    QString businessHomePage;
    QString homeStreet;
    QString homeCity;
    QString homeStateOrProvince;
    QString homeCountry;
    QString homePostalCode;
    QString businessStreet;
    QString businessCity;
    QString businessStateOrProvince;
    QString businessCountry;
    QString businessPostalCode;
    QString companyName;
    QString department;

    bool operator==(const AddressBookContact &) const = default;
};

} // namespace qv
