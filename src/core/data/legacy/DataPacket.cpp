#include "data/legacy/DataPacket.h"

#include "common/ByteReader.h"
#include "data/DatabaseError.h"

#include <cstring>

namespace qv::legacy {

namespace {

constexpr char kMagic[4] = {'\x96', '\x19', '\xE0', '\xBD'};
constexpr int kHeaderSize = 24;

// Header flags.
constexpr quint32 kHasColumns = 0x1;
constexpr quint32 kHasRowOffset = 0x2;

// Bits of a column's or a property's type above its kind.
constexpr quint16 kVariable = 0x40;
constexpr quint16 kArray = 0x80;
constexpr quint16 kNestedOrPseudo = 0xFF00;

// Row status bits that take a row out of the table.
constexpr quint8 kSuperseded = 0x01;
constexpr quint8 kDeleted = 0x02;
constexpr quint8 kUnusedSlot = 0x20;

// Two-bit field states in front of a row's values.
enum FieldState { HasValue = 0, IsNull = 1, NotChanged = 2, NotSeen = 3 };

[[noreturn]] void damaged(const QString &what)
{
    throw DatabaseError(QStringLiteral("The data packet is damaged: %1").arg(what));
}

[[noreturn]] void refused(const QByteArray &column, const char *holds)
{
    throw DatabaseError(QStringLiteral("Field \"%1\" of the data packet holds %2, which an address book table cannot hold")
                            .arg(QString::fromLatin1(column), QLatin1String(holds)));
}

struct Property {
    QByteArray name;
    quint16 size = 0;
    quint16 type = 0;
    quint32 count = 1; // items of an array
    QByteArrayView value;
};

// A length prefix `width` bytes wide.
quint32 lengthPrefix(ByteReader &r, quint16 width, const char *what)
{
    if (width != 1 && width != 2 && width != 4)
        damaged(QStringLiteral("%1 has a length prefix of %2 bytes").arg(QLatin1String(what)).arg(width));
    return quint32(littleEndian(r.take(width, what)));
}

// Every property, of columns and of the packet, has the same frame, so that
// one it does not know is skipped.
Property readProperty(ByteReader &r)
{
    Property p;
    p.name = r.take(r.u8("a property name"), "a property name").toByteArray();
    p.size = r.u16("a property");
    p.type = r.u16("a property");
    if (p.type & kArray) {
        p.count = r.u32("a property");
        p.value = r.take(qint64(p.count) * p.size, "a property value");
    } else if (p.type & kVariable) {
        p.value = r.take(lengthPrefix(r, p.size, "a property value"), "a property value");
    } else {
        p.value = r.take(p.size, "a property value");
    }
    return p;
}

QByteArray withoutTrailingNuls(QByteArrayView text)
{
    while (!text.isEmpty() && text.back() == '\0')
        text.chop(1);
    return text.toByteArray();
}

} // namespace

class DataPacket::Parser {
public:
    Parser(DataPacket &packet, QByteArrayView bytes) : m_packet(packet), m_reader(bytes, damaged) {}

    void run()
    {
        if (m_reader.size() >= qsizetype(Cell::kUnchanged))
            damaged(QStringLiteral("it is larger than 4 GB"));
        if (!recognise(m_reader.take(4, "the header")))
            damaged(QStringLiteral("it does not begin as a data packet"));
        m_reader.skip(4, "the header"); // version: 1.0 seen, the layout checks itself
        const quint32 columnsAt = m_reader.u32("the header");
        const quint16 columnCount = m_reader.u16("the header");
        const quint32 storedRows = m_reader.u32("the header");
        const quint32 flags = m_reader.u32("the header");
        const quint16 rowsAt = m_reader.u16("the header");
        if (!(flags & kHasColumns) || columnCount == 0)
            damaged(QStringLiteral("it describes no columns"));
        m_reader.seek(std::max<qint64>(columnsAt, kHeaderSize), "the column list");
        for (int c = 0; c < columnCount; ++c)
            readColumn();
        readPacketProperties();
        if (flags & kHasRowOffset) {
            if (rowsAt < m_reader.position())
                damaged(QStringLiteral("its first row lies inside its column list"));
            m_reader.seek(rowsAt, "the first row");
        }
        readRows(storedRows);
        followChangeLog(storedRows);
        for (int row = 0; row < int(m_status.size()); ++row) {
            if (!(m_status[size_t(row)] & (kSuperseded | kDeleted | kUnusedSlot)))
                m_packet.m_current.push_back(row);
        }
    }

private:
    void readColumn()
    {
        PacketColumn column;
        column.name = m_reader.take(m_reader.u8("a column name"), "a column name").toByteArray();
        column.size = m_reader.u16("a column");
        const quint16 type = m_reader.u16("a column");
        m_reader.skip(2, "a column"); // attributes: hidden, read-only, required, link
        const quint16 properties = m_reader.u16("a column");
        const int kind = type & 0x3F;
        if ((type & kNestedOrPseudo) || (kind >= 12 && kind <= 15))
            refused(column.name, "nested values");
        if (type & kArray)
            refused(column.name, "arrays");
        if (kind < int(PacketKind::Integer) || kind > int(PacketKind::Bytes))
            damaged(QStringLiteral("column \"%1\" has the unknown type %2").arg(QString::fromLatin1(column.name)).arg(type));
        column.kind = PacketKind(kind);
        column.variable = type & kVariable;
        if (column.variable && column.size != 1 && column.size != 2 && column.size != 4)
            damaged(QStringLiteral("column \"%1\" has a length prefix of %2 bytes").arg(QString::fromLatin1(column.name)).arg(column.size));
        for (int p = 0; p < properties; ++p) {
            const Property property = readProperty(m_reader);
            if (property.name == "WIDTH" && !(property.type & kArray))
                column.width = int(littleEndian(property.value.first(std::min<qsizetype>(property.value.size(), 4))));
            else if (property.name == "SUBTYPE")
                column.subtype = withoutTrailingNuls(property.value);
        }
        m_packet.m_columns << column;
    }

    void readPacketProperties()
    {
        const quint16 count = m_reader.u16("the packet properties");
        for (int p = 0; p < count; ++p) {
            const Property property = readProperty(m_reader);
            if (property.name == "CHANGE_LOG")
                m_changeLog = property;
            else if (property.name == "LCID" && property.value.size() == 4)
                m_packet.m_localeId = qint32(littleEndian(property.value));
            else if (property.name == "DEFAULT_ORDER")
                readDefaultOrder(property);
        }
    }

    // Only a hint for the order of rows: numbers that name no column are passed over.
    void readDefaultOrder(const Property &order)
    {
        if (!(order.type & kArray) || order.size == 0)
            return;
        for (quint32 i = 0; i < order.count; ++i) {
            const qint64 field = qint64(littleEndian(order.value.sliced(qsizetype(i) * order.size, order.size)));
            if (field >= 1 && field <= m_packet.m_columns.size())
                m_packet.m_defaultOrder << int(field - 1);
        }
    }

    void readRows(quint32 storedRows)
    {
        const qsizetype columns = m_packet.m_columns.size();
        const qsizetype stateBytes = (columns + 3) / 4;
        // A row costs at least its status and its states: a count the rest of
        // the packet cannot hold is refused before anything is allocated.
        if (storedRows > quint64(m_reader.left()) / quint64(1 + stateBytes))
            damaged(QStringLiteral("it declares %1 rows").arg(storedRows));
        m_status.reserve(storedRows);
        m_packet.m_cells.reserve(size_t(storedRows) * size_t(columns));
        for (quint32 row = 0; row < storedRows; ++row) {
            m_status.push_back(m_reader.u8("a row"));
            const QByteArrayView states = m_reader.take(stateBytes, "a row");
            for (qsizetype c = 0; c < columns; ++c)
                m_packet.m_cells.push_back(readCell(m_packet.m_columns[c], (quint8(states[c / 4]) >> (2 * (c % 4))) & 3));
        }
    }

    Cell readCell(const PacketColumn &column, int state)
    {
        Cell cell;
        if (state == NotChanged)
            cell.offset = Cell::kUnchanged;
        if (state != HasValue)
            return cell; // null, or a field this version of the row has not seen
        const quint32 length = column.variable ? lengthPrefix(m_reader, column.size, "a value") : column.size;
        cell.offset = quint32(m_reader.position());
        cell.length = length;
        m_reader.skip(length, "a value");
        return cell;
    }

    // CHANGE_LOG holds triples: the row (from 1), the row it replaces or 0,
    // and what was done. A row's earlier version gives the fields it left unchanged.
    void followChangeLog(quint32 storedRows)
    {
        std::vector<int> previous(storedRows, -1);
        if (m_changeLog) {
            if (!(m_changeLog->type & kArray) || m_changeLog->size != 4 || m_changeLog->count % 3 != 0)
                damaged(QStringLiteral("its change log is not a list of number triples"));
            for (quint32 i = 0; i < m_changeLog->count; i += 3) {
                const quint32 row = quint32(littleEndian(m_changeLog->value.sliced(qsizetype(i) * 4, 4)));
                const quint32 replaced = quint32(littleEndian(m_changeLog->value.sliced(qsizetype(i + 1) * 4, 4)));
                if (row == 0 || row > storedRows || replaced > storedRows || replaced == row)
                    damaged(QStringLiteral("its change log names rows it does not have"));
                if (replaced != 0)
                    previous[row - 1] = int(replaced - 1);
            }
        }
        std::vector<char> state(storedRows, kOpen);
        for (int row = 0; row < int(storedRows); ++row)
            resolve(row, previous, state);
    }

    enum RowState : char { kOpen, kOnChain, kResolved };

    // Resolves a row after the versions before it, oldest first.
    void resolve(int row, const std::vector<int> &previous, std::vector<char> &state)
    {
        std::vector<int> chain;
        for (int r = row; r >= 0 && state[size_t(r)] != kResolved; r = previous[size_t(r)]) {
            if (state[size_t(r)] == kOnChain)
                damaged(QStringLiteral("its change log goes round in a circle"));
            state[size_t(r)] = kOnChain;
            chain.push_back(r);
        }
        const size_t columns = size_t(m_packet.m_columns.size());
        for (auto r = chain.rbegin(); r != chain.rend(); ++r) {
            const int before = previous[size_t(*r)];
            for (size_t c = 0; c < columns; ++c) {
                Cell &cell = m_packet.m_cells[size_t(*r) * columns + c];
                if (cell.offset == Cell::kUnchanged)
                    cell = before < 0 ? Cell() : m_packet.m_cells[size_t(before) * columns + c];
            }
            state[size_t(*r)] = kResolved;
        }
    }

    DataPacket &m_packet;
    ByteReader m_reader;
    std::optional<Property> m_changeLog;
    std::vector<quint8> m_status;
};

bool DataPacket::recognise(QByteArrayView bytes)
{
    return bytes.size() >= 4 && std::memcmp(bytes.data(), kMagic, 4) == 0;
}

DataPacket DataPacket::parse(QByteArrayView bytes)
{
    DataPacket packet;
    packet.m_bytes = bytes;
    Parser(packet, bytes).run();
    return packet;
}

std::optional<QByteArrayView> DataPacket::value(int row, int column) const
{
    const Cell cell = m_cells[size_t(m_current[size_t(row)]) * size_t(m_columns.size()) + size_t(column)];
    if (cell.offset == Cell::kNull)
        return std::nullopt;
    return m_bytes.sliced(cell.offset, cell.length);
}

} // namespace qv::legacy
