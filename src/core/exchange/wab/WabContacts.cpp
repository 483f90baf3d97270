#include "exchange/wab/WabContacts.h"

#include "common/ByteReader.h"
#include "common/TextDecoding.h"
#include "exchange/wab/WabFile.h"


namespace qv::wab {

namespace {

// MAPI property ids (PR_...), as the MAPI reference gives them.
constexpr quint16 kObjectType = 0x0FFE;
constexpr qint32 kMailUser = 6; // groups are 8, folders 3

struct TextProperty {
    quint16 id;
    QString AddressBookContact::*member;
};
struct ListProperty {
    quint16 id;
    QStringList AddressBookContact::*member;
};
struct TimeProperty {
    quint16 id;
    QDateTime AddressBookContact::*member;
};

using C = AddressBookContact;
const TextProperty kTexts[] = {
    {0x3001, &C::displayName},          {0x3A17, &C::title},
    {0x3A09, &C::homeTelephone},        {0x3A21, &C::pager},
    {0x3A1C, &C::mobileTelephone},      {0x3A25, &C::homeFax},
    {0x3004, &C::comment},              {0x3A4F, &C::nickname},
    {0x3A48, &C::spouseName},           {0x3A50, &C::personalHomePage},
    {0x3003, &C::emailAddress},         {0x3A08, &C::businessTelephone},
    {0x3A24, &C::businessFax},          {0x3A51, &C::businessHomePage},
    {0x3A5D, &C::homeStreet},           {0x3A59, &C::homeCity},
    {0x3A5C, &C::homeStateOrProvince},  {0x3A5A, &C::homeCountry},
    {0x3A5B, &C::homePostalCode},       {0x3A29, &C::businessStreet},
    {0x3A27, &C::businessCity},         {0x3A28, &C::businessStateOrProvince},
    {0x3A26, &C::businessCountry},      {0x3A2A, &C::businessPostalCode},
    {0x3A16, &C::companyName},          {0x3A18, &C::department},
};
const ListProperty kLists[] = {{0x3A58, &C::childrensNames}, {0x3A56, &C::emailAddresses}};
const TimeProperty kTimes[] = {{0x3A42, &C::birthday}, {0x3A41, &C::weddingAnniversary}};

// Strings end at their first NUL.
QString decodeString(QByteArrayView bytes, quint16 type, const QByteArray &codePage)
{
    if ((type & ~MultiValued) == Unicode) {
        const QString text = decodeUtf16Le(bytes.first(bytes.size() & ~qsizetype(1)));
        return text.left(text.indexOf(QChar(0)));
    }
    const qsizetype nul = bytes.indexOf('\0');
    return decodeCodePage(bytes.first(nul < 0 ? bytes.size() : nul).toByteArray(), codePage);
}

bool isString(quint16 type)
{
    const quint16 single = type & ~MultiValued;
    return single == Unicode || single == String8;
}

// FILETIME: 100-nanosecond ticks since 1 January 1601, UTC.
QDateTime fileTime(QByteArrayView bytes)
{
    static const QDateTime epoch(QDate(1601, 1, 1), QTime(0, 0), Qt::UTC);
    return epoch.addMSecs(qint64(littleEndian(bytes) / 10000));
}

bool isContact(const WabRecord &record)
{
    for (const WabProperty &p : record.properties) {
        if (p.id() == kObjectType && p.type() == Int32 && p.values.first().size() == 4)
            return qint32(littleEndian(p.values.first())) == kMailUser;
    }
    return true; // a record that does not say is taken for a contact
}

void apply(const WabProperty &p, AddressBookContact &contact, const QByteArray &codePage)
{
    if (isString(p.type())) {
        for (const TextProperty &t : kTexts) {
            if (t.id == p.id())
                contact.*t.member = decodeString(p.values.first(), p.type(), codePage);
        }
        for (const ListProperty &l : kLists) {
            if (l.id != p.id())
                continue;
            QStringList &list = contact.*l.member;
            list.clear();
            for (QByteArrayView item : p.values)
                list << decodeString(item, p.type(), codePage);
        }
    } else if (p.type() == FileTime && p.values.first().size() == 8) {
        for (const TimeProperty &t : kTimes) {
            if (t.id == p.id())
                contact.*t.member = fileTime(p.values.first());
        }
    }
}

} // namespace

QList<AddressBookContact> readWabContacts(QByteArrayView bytes, const QLocale &system)
{
    const QByteArray codePage = legacyCodePage(system);
    QList<AddressBookContact> contacts;
    for (const WabRecord &record : readWabRecords(bytes)) {
        if (!isContact(record))
            continue;
        AddressBookContact contact;
        for (const WabProperty &p : record.properties) {
            if (!p.values.isEmpty())
                apply(p, contact, codePage);
        }
        contacts << contact;
    }
    return contacts;
}

} // namespace qv::wab
