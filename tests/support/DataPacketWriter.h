#pragma once

#include "data/Schema.h"

#include <QByteArray>
#include <QDate>
#include <QList>

#include <optional>

namespace qv {
class RecordTable;
}

namespace qv::test {

// Writes synthetic packets in the legacy data-packet form, byte by byte as
// the format note describes, so that tests can build any packet, bad ones
// included, without binary fixtures.
class DataPacketWriter {
public:
    struct Property {
        QByteArray name;
        quint16 size = 0;
        quint16 type = 0;
        QByteArray value; // as stored after the type: array count or length prefix included
    };
    struct Column {
        QByteArray name;
        quint16 size = 0;
        quint16 type = 0;
        QList<Property> properties;
    };
    // One field of a row: a value (its bytes without length prefix), null,
    // "not changed" or "not seen".
    struct Cell {
        enum State { Value = 0, Null = 1, NotChanged = 2, NotSeen = 3 };
        State state = Null;
        QByteArray bytes;
    };

    static Cell value(const QByteArray &bytes) { return {Cell::Value, bytes}; }
    static Cell null() { return {Cell::Null, {}}; }
    static Cell notChanged() { return {Cell::NotChanged, {}}; }
    static Cell integer(qint32 v);
    static Cell date(const QDate &date);        // day 1 = 0001-01-01
    static Cell timestamp(const QDate &date, int millisecondsOfDay);
    static Cell boolean(quint16 v);
    static Cell text(const QByteArray &bytes) { return value(bytes); }

    static Property widthProperty(quint16 width);
    static Property subtypeProperty(const QByteArray &subtype);
    static Property int32Property(const QByteArray &name, qint32 v);
    static Property uint32ArrayProperty(const QByteArray &name, const QList<quint32> &items);
    static Property uint16ArrayProperty(const QByteArray &name, const QList<quint16> &items);

    // Columns of the kinds the address book tables use.
    void addIntegerColumn(const QByteArray &name);
    // The length prefix is one byte below a width of 255, else two.
    void addStringColumn(const QByteArray &name, quint16 width);
    void addWideStringColumn(const QByteArray &name, quint16 width);
    void addDateColumn(const QByteArray &name);
    void addTimestampColumn(const QByteArray &name);
    void addBooleanColumn(const QByteArray &name);
    void addMemoColumn(const QByteArray &name);
    void addColumn(const Column &column) { m_columns << column; }

    void addPacketProperty(const Property &property) { m_properties << property; }
    void setLocaleId(qint32 lcid) { addPacketProperty(int32Property("LCID", lcid)); }
    // Triples of (row from 1, row it replaces or 0, action).
    void setChangeLog(const QList<quint32> &triples) { addPacketProperty(uint32ArrayProperty("CHANGE_LOG", triples)); }

    void addRow(quint8 status, const QList<Cell> &cells) { m_rows << Row{status, cells}; }

    // The packet; a header row count other than the rows given when asked.
    QByteArray bytes(std::optional<quint32> declaredRows = std::nullopt) const;

private:
    struct Row {
        quint8 status;
        QList<Cell> cells;
    };
    QList<Column> m_columns;
    QList<Property> m_properties;
    QList<Row> m_rows;
};

// Encodes text in an iconv code page ("GBK", "BIG5", "WINDOWS-1252").
QByteArray encodeCodePage(const QString &text, const QByteArray &codePage);

// A whole table as an earlier installation saved it: every row current,
// texts in the code page, the locale as LCID.
QByteArray dataPacketOf(const RecordTable &table, const QByteArray &codePage, qint32 lcid);

} // namespace qv::test
