#include "WabWriter.h"

#include <QStringEncoder>

namespace qv::test {

namespace {

constexpr int kHeaderSize = 16 + 8 + 6 * 16;

void put32(QByteArray &out, quint64 v)
{
    for (int i = 0; i < 4; ++i)
        out.append(char(v >> (8 * i)));
}

QByteArray utf16(const QString &text)
{
    return QStringEncoder(QStringEncoder::Utf16LE)(text + QChar(0));
}

} // namespace

WabWriter::Property WabWriter::unicode(quint16 id, const QString &text)
{
    return {quint32(id) << 16 | 0x001F, {utf16(text)}};
}

WabWriter::Property WabWriter::string8(quint16 id, const QByteArray &bytes)
{
    return {quint32(id) << 16 | 0x001E, {bytes + '\0'}};
}

WabWriter::Property WabWriter::unicodeList(quint16 id, const QStringList &texts)
{
    Property p{quint32(id) << 16 | 0x101F, {}};
    for (const QString &t : texts)
        p.values << utf16(t);
    return p;
}

WabWriter::Property WabWriter::fileTime(quint16 id, const QDateTime &utc)
{
    const QDateTime epoch(QDate(1601, 1, 1), QTime(0, 0), Qt::UTC);
    const quint64 ticks = quint64(epoch.msecsTo(utc)) * 10000;
    QByteArray bytes;
    for (int i = 0; i < 8; ++i)
        bytes.append(char(ticks >> (8 * i)));
    return {quint32(id) << 16 | 0x0040, {bytes}};
}

WabWriter::Property WabWriter::int32(quint16 id, qint32 v)
{
    QByteArray bytes;
    put32(bytes, quint32(v));
    return {quint32(id) << 16 | 0x0003, {bytes}};
}

QByteArray WabWriter::recordBytes(int i) const
{
    const Record &r = m_records[i];
    QByteArray data;
    for (const Property &p : r.properties)
        put32(data, p.tag);
    for (const Property &p : r.properties) {
        put32(data, p.tag);
        QByteArray value;
        if (p.tag & 0x1000) {
            put32(data, quint64(p.values.size()));
            for (const QByteArray &item : p.values) {
                put32(value, quint64(item.size()));
                value.append(item);
            }
        } else {
            value = p.values.value(0);
        }
        put32(data, quint64(value.size()));
        data.append(value);
    }
    QByteArray out;
    put32(out, r.flag);
    put32(out, 1);
    put32(out, quint64(i + 1)); // record id
    put32(out, quint64(r.properties.size()));
    put32(out, 0x20);
    put32(out, 0x20);
    put32(out, 0x20);
    put32(out, quint64(data.size()));
    return out + data;
}

QList<int> WabWriter::indexOrder() const
{
    QList<int> order = m_indexOrder;
    for (int i = 0; m_indexOrder.isEmpty() && i < m_records.size(); ++i)
        order << i;
    return order;
}

QList<qsizetype> WabWriter::recordOffsets() const
{
    QList<qsizetype> offsets;
    qsizetype at = kHeaderSize + 8 * indexOrder().size();
    for (int i = 0; i < m_records.size(); ++i) {
        offsets << at;
        at += recordBytes(i).size();
    }
    return offsets;
}

QByteArray WabWriter::bytes() const
{
    const QList<qsizetype> offsets = recordOffsets();
    QByteArray out = QByteArray::fromHex("9CCBCB8D1375D211915800C04F7956A4");
    put32(out, 0);
    put32(out, 0);
    // The index first, then a text lookup list the reader has no need of; the rest unused.
    const QList<quint32> types = {0x0FA0, 0x84D0, 0, 0, 0, 0};
    for (quint32 type : types) {
        put32(out, type);
        put32(out, type == 0x0FA0 ? 8 : type == 0x84D0 ? 68 : 0);
        put32(out, type == 0x0FA0 ? kHeaderSize : 0);
        put32(out, type == 0x0FA0 ? indexOrder().size() : 0);
    }
    for (int i : indexOrder()) {
        put32(out, quint64(i + 1));
        put32(out, quint64(offsets[i]));
    }
    for (int i = 0; i < m_records.size(); ++i)
        out.append(recordBytes(i));
    return out;
}

} // namespace qv::test
