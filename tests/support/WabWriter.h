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

} // namespace qv::test
