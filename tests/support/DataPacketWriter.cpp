#include "DataPacketWriter.h"

#include "data/RecordTable.h"

#include <iconv.h>

#include <cstring>

namespace qv::test {

namespace {

constexpr qint64 kJulianDayOfDayZero = 1721425;

void put(QByteArray &out, quint64 v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(char(v >> (8 * i)));
}

QByteArray le(quint64 v, int bytes)
{
    QByteArray out;
    put(out, v, bytes);
    return out;
}

void putProperty(QByteArray &out, const DataPacketWriter::Property &p)
{
    out.append(char(p.name.size()));
    out.append(p.name);
    put(out, p.size, 2);
    put(out, p.type, 2);
    out.append(p.value);
}

} // namespace

DataPacketWriter::Cell DataPacketWriter::integer(qint32 v)
{
    return value(le(quint32(v), 4));
}

DataPacketWriter::Cell DataPacketWriter::date(const QDate &date)
{
    return value(le(quint32(qint32(date.toJulianDay() - kJulianDayOfDayZero)), 4));
}

DataPacketWriter::Cell DataPacketWriter::timestamp(const QDate &date, int millisecondsOfDay)
{
    const double ms = double(date.toJulianDay() - kJulianDayOfDayZero) * 86400000.0 + millisecondsOfDay;
    quint64 raw = 0;
    std::memcpy(&raw, &ms, 8);
    return value(le(raw, 8));
}

DataPacketWriter::Cell DataPacketWriter::boolean(quint16 v)
{
    return value(le(v, 2));
}

DataPacketWriter::Property DataPacketWriter::widthProperty(quint16 width)
{
    return {"WIDTH", 2, 0x0002, le(width, 2)};
}

DataPacketWriter::Property DataPacketWriter::subtypeProperty(const QByteArray &subtype)
{
    const QByteArray value = subtype + '\0';
    return {"SUBTYPE", 2, 0x0049, le(quint64(value.size()), 2) + value};
}

DataPacketWriter::Property DataPacketWriter::int32Property(const QByteArray &name, qint32 v)
{
    return {name, 4, 0x0001, le(quint32(v), 4)};
}

DataPacketWriter::Property DataPacketWriter::uint32ArrayProperty(const QByteArray &name, const QList<quint32> &items)
{
    QByteArray value = le(quint64(items.size()), 4);
    for (quint32 item : items)
        put(value, item, 4);
    return {name, 4, 0x0082, value};
}

DataPacketWriter::Property DataPacketWriter::uint16ArrayProperty(const QByteArray &name, const QList<quint16> &items)
{
    QByteArray value = le(quint64(items.size()), 4);
    for (quint16 item : items)
        put(value, item, 2);
    return {name, 2, 0x0082, value};
}

void DataPacketWriter::addIntegerColumn(const QByteArray &name)
{
    addColumn({name, 4, 0x0001, {}});
}

void DataPacketWriter::addStringColumn(const QByteArray &name, quint16 width)
{
    addColumn({name, quint16(width < 255 ? 1 : 2), 0x0049, {widthProperty(width)}});
}

void DataPacketWriter::addWideStringColumn(const QByteArray &name, quint16 width)
{
    addColumn({name, 2, 0x004A, {widthProperty(width)}});
}

void DataPacketWriter::addDateColumn(const QByteArray &name)
{
    addColumn({name, 4, 0x0006, {}});
}

void DataPacketWriter::addTimestampColumn(const QByteArray &name)
{
    addColumn({name, 8, 0x0008, {}});
}

void DataPacketWriter::addBooleanColumn(const QByteArray &name)
{
    addColumn({name, 2, 0x0003, {}});
}

void DataPacketWriter::addMemoColumn(const QByteArray &name)
{
    addColumn({name, 4, 0x004B, {subtypeProperty("Text")}});
}

QByteArray DataPacketWriter::bytes(std::optional<quint32> declaredRows) const
{
    QByteArray head;
    for (const Column &c : m_columns) {
        head.append(char(c.name.size()));
        head.append(c.name);
        put(head, c.size, 2);
        put(head, c.type, 2);
        put(head, 0x10, 2); // attributes, as seen on ordinary fields
        put(head, quint64(c.properties.size()), 2);
        for (const Property &p : c.properties)
            putProperty(head, p);
    }
    put(head, quint64(m_properties.size()), 2);
    for (const Property &p : m_properties)
        putProperty(head, p);

    QByteArray out("\x96\x19\xE0\xBD", 4);
    put(out, 1, 2); // version 1.0
    put(out, 0, 2);
    put(out, 24, 4);
    put(out, quint64(m_columns.size()), 2);
    put(out, declaredRows.value_or(quint32(m_rows.size())), 4);
    put(out, 3, 4);
    put(out, quint64(24 + head.size()), 2);
    out.append(head);

    for (const Row &row : m_rows) {
        out.append(char(row.status));
        QByteArray states((m_columns.size() + 3) / 4, '\0');
        QByteArray values;
        for (qsizetype i = 0; i < m_columns.size(); ++i) {
            const Cell cell = i < row.cells.size() ? row.cells[i] : null();
            states[i / 4] = char(quint8(states[i / 4]) | (cell.state << (2 * (i % 4))));
            if (cell.state != Cell::Value)
                continue;
            const Column &c = m_columns[i];
            if (c.type & 0x40)
                put(values, quint64(cell.bytes.size()), c.size);
            values.append(cell.bytes);
        }
        out.append(states);
        out.append(values);
    }
    return out;
}

QByteArray encodeCodePage(const QString &text, const QByteArray &codePage)
{
    iconv_t cd = iconv_open(codePage.constData(), "UTF-8");
    Q_ASSERT(cd != reinterpret_cast<iconv_t>(-1));
    QByteArray in = text.toUtf8();
    QByteArray out(in.size() * 4 + 4, '\0');
    char *inPtr = in.data();
    char *outPtr = out.data();
    size_t inLeft = size_t(in.size());
    size_t outLeft = size_t(out.size());
    const size_t converted = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (converted == size_t(-1))
        qFatal("the fixture's text has characters that %s cannot hold", codePage.constData());
    out.truncate(out.size() - qsizetype(outLeft));
    return out;
}

QByteArray dataPacketOf(const RecordTable &table, const QByteArray &codePage, qint32 lcid)
{
    DataPacketWriter writer;
    for (const FieldDef &f : table.fields()) {
        const QByteArray name = f.name.toLatin1();
        switch (f.type) {
        case FieldType::Integer: writer.addIntegerColumn(name); break;
        case FieldType::Text: writer.addStringColumn(name, quint16(f.size)); break;
        case FieldType::Date: writer.addDateColumn(name); break;
        case FieldType::Memo: writer.addMemoColumn(name); break;
        case FieldType::Boolean: writer.addBooleanColumn(name); break;
        }
    }
    writer.setLocaleId(lcid);
    for (int row = 0; row < table.rowSlots(); ++row) {
        if (!table.isAlive(row))
            continue;
        QList<DataPacketWriter::Cell> cells;
        for (int f = 0; f < table.fieldCount(); ++f) {
            const Value v = table.value(row, f);
            if (isNull(v))
                cells << DataPacketWriter::null();
            else if (const auto *n = std::get_if<qint32>(&v))
                cells << DataPacketWriter::integer(*n);
            else if (const auto *d = std::get_if<QDate>(&v))
                cells << DataPacketWriter::date(*d);
            else if (const auto *b = std::get_if<bool>(&v))
                cells << DataPacketWriter::boolean(*b ? 1 : 0);
            else
                cells << DataPacketWriter::text(encodeCodePage(std::get<QString>(v), codePage) + '\0');
        }
        writer.addRow(0, cells);
    }
    return writer.bytes();
}

} // namespace qv::test
