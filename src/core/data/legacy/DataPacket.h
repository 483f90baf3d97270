#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <optional>
#include <vector>

namespace qv::legacy {

// What a column of a data packet holds: the low six bits of its type.
enum class PacketKind : quint8 {
    Integer = 1,
    Unsigned = 2,
    Boolean = 3,
    Float = 4,
    Bcd = 5,
    Date = 6,
    Time = 7,
    Timestamp = 8,
    String = 9,     // 8-bit text
    WideString = 10, // UTF-16LE text
    Bytes = 11,     // memo and blob, told apart by the SUBTYPE property
};

struct PacketColumn {
    QByteArray name;        // 8-bit, as stored
    PacketKind kind = PacketKind::Integer;
    int width = 0;          // the WIDTH property, the longest text; 0 when absent
    QByteArray subtype;     // the SUBTYPE property ("Text", "WideText", "Binary" ...) without its NUL
    bool variable = false;  // each value carries a length prefix of `size` bytes
    quint16 size = 0;       // the width of a fixed value, or of the length prefix
};

// The syntax layer of the binary data-packet form in which earlier
// installations stored their tables: the columns, the packet properties the
// tables use, and the current rows with their values as stored. Reading
// follows the change log, so that superseded versions of rows and deleted
// rows are gone and a field "not changed" in a later version holds the value
// of the version before. Values point into the packet's bytes, which must
// outlive the packet.
class DataPacket {
public:
    // Throws DatabaseError saying what it cannot read; nested and array
    // fields, whose rows it cannot walk, are refused.
    static DataPacket parse(QByteArrayView bytes);
    // The form is known by its first four bytes.
    static bool recognise(QByteArrayView bytes);

    const QList<PacketColumn> &columns() const { return m_columns; }
    // The LCID packet property: the locale the packet's 8-bit texts were written in.
    std::optional<qint32> localeId() const { return m_localeId; }
    // The DEFAULT_ORDER packet property: the columns (0-based) the engine ordered rows by.
    const QList<int> &defaultOrder() const { return m_defaultOrder; }

    int rowCount() const { return int(m_current.size()); }
    // The stored bytes of a value; nothing for a null value.
    std::optional<QByteArrayView> value(int row, int column) const;

private:
    // Where a value lies in the packet; kNull when there is none.
    struct Cell {
        static constexpr quint32 kNull = 0xFFFFFFFF;
        static constexpr quint32 kUnchanged = 0xFFFFFFFE; // until the change log is followed
        quint32 offset = kNull;
        quint32 length = 0;
    };
    class Parser;

    QByteArrayView m_bytes;
    QList<PacketColumn> m_columns;
    std::optional<qint32> m_localeId;
    QList<int> m_defaultOrder;
    std::vector<Cell> m_cells;  // every stored row's cells, row after row
    std::vector<int> m_current; // the stored rows that are current, in packet order
};

} // namespace qv::legacy
