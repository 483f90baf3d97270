#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace qv::test {

// Writes synthetic .wab files as the format note describes them: the header
// with its table list, the index, and records of MAPI-tagged properties.
class WabWriter {
public:
    struct Property {
        quint32 tag = 0;
        QList<QByteArray> values; // one for a single value; the items of a list
    };
    struct Record {
        quint32 flag = 1; // 0: deleted
        QList<Property> properties;
    };

    static Property unicode(quint16 id, const QString &text);     // NUL-terminated UTF-16LE
    static Property string8(quint16 id, const QByteArray &bytes); // NUL-terminated
    static Property unicodeList(quint16 id, const QStringList &texts);
    static Property fileTime(quint16 id, const QDateTime &utc);
    static Property int32(quint16 id, qint32 v);

    void addRecord(const Record &record) { m_records << record; }
    // The index lists these records (by position, any number of times);
    // by default every record once, in order.
    void setIndexOrder(const QList<int> &order) { m_indexOrder = order; }

    QByteArray bytes() const;
    // Where each record begins in bytes(), in record order.
    QList<qsizetype> recordOffsets() const;

private:
    QByteArray recordBytes(int i) const;
    QList<int> indexOrder() const;
    QList<Record> m_records;
    QList<int> m_indexOrder;
};

// The MAPI property ids the fixtures use.
namespace mapi {
enum : quint16 {
    DisplayName = 0x3001, EmailAddress = 0x3003, Comment = 0x3004, ObjectType = 0x0FFE,
    BusinessTelephone = 0x3A08, HomeTelephone = 0x3A09, CompanyName = 0x3A16, Title = 0x3A17,
    Department = 0x3A18, Mobile = 0x3A1C, Pager = 0x3A21, BusinessFax = 0x3A24, HomeFax = 0x3A25,
    BusinessCountry = 0x3A26, BusinessCity = 0x3A27, BusinessState = 0x3A28, BusinessStreet = 0x3A29,
    BusinessPostalCode = 0x3A2A, WeddingAnniversary = 0x3A41, Birthday = 0x3A42, SpouseName = 0x3A48,
    Nickname = 0x3A4F, PersonalHomePage = 0x3A50, BusinessHomePage = 0x3A51, EmailAddresses = 0x3A56,
    ChildrensNames = 0x3A58, HomeCity = 0x3A59, HomeCountry = 0x3A5A, HomePostalCode = 0x3A5B,
    HomeState = 0x3A5C, HomeStreet = 0x3A5D,
};
} // namespace mapi

} // namespace qv::test
