#include "data/legacy/DataPacketTable.h"

#include "common/ByteReader.h"
#include "common/CodePageDecoder.h"
#include "common/TextDecoding.h"
#include "common/WindowsCodePage.h"
#include "data/DatabaseError.h"
#include "data/RecordTable.h"
#include "data/legacy/DataPacket.h"

#include <QSet>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace qv::legacy {

namespace {

// Day 1 of the packet's day numbers is 1 January of the year 1 (proleptic
// Gregorian); the record store counts Julian days.
constexpr qint64 kJulianDayOfDayZero = 1721425;
constexpr double kMillisecondsPerDay = 86400000.0;

[[noreturn]] void damaged(const QString &what)
{
    throw DatabaseError(QStringLiteral("The data packet is damaged: %1").arg(what));
}

[[noreturn]] void refused(const QString &field, const char *holds)
{
    throw DatabaseError(QStringLiteral("Field \"%1\" of the data packet holds %2, which an address book table cannot hold")
                            .arg(field, QLatin1String(holds)));
}

bool isAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
}

QByteArrayView withoutTrailingNuls(QByteArrayView bytes)
{
    while (!bytes.isEmpty() && bytes.back() == '\0')
        bytes.chop(1);
    return bytes;
}

QString decode8Bit(QByteArrayView bytes, CodePageDecoder &decoder)
{
    bytes = withoutTrailingNuls(bytes);
    return isAscii(bytes) ? QString::fromLatin1(bytes) : decoder.decode(bytes);
}

QString decodeUtf16(QByteArrayView bytes, const QString &field)
{
    if (bytes.size() % 2 != 0)
        damaged(QStringLiteral("field \"%1\" holds a UTF-16 text of an odd number of bytes").arg(field));
    QString text = decodeUtf16Le(bytes);
    while (text.endsWith(QChar(0)))
        text.chop(1);
    return text;
}

// How one column's stored values become the values of a table field.
class ColumnReader {
public:
    // The decoder is shared by all columns of the packet: opening a
    // conversion costs more than decoding a short value.
    ColumnReader(const PacketColumn &column, CodePageDecoder &decoder)
        : m_column(column), m_decoder(decoder), m_name(decode8Bit(column.name, decoder))
    {
        m_field.name = m_name;
        m_field.type = fieldType();
        if (m_field.type == FieldType::Text)
            m_field.size = column.width > 0 ? column.width : column.variable ? 0 : column.size;
    }

    const FieldDef &field() const { return m_field; }

    Value read(QByteArrayView bytes) const
    {
        switch (m_column.kind) {
        case PacketKind::Integer: return integer(bytes, true);
        case PacketKind::Unsigned: return integer(bytes, false);
        case PacketKind::Boolean: return std::any_of(bytes.begin(), bytes.end(), [](char c) { return c != 0; });
        case PacketKind::Date: return date(bytes);
        case PacketKind::Timestamp: return timestamp(bytes);
        case PacketKind::String: return decode8Bit(bytes, m_decoder);
        case PacketKind::WideString: return decodeUtf16(bytes, m_name);
        case PacketKind::Bytes: return isWide() ? decodeUtf16(bytes, m_name) : decode8Bit(bytes, m_decoder);
        default: return {}; // refused when the field was made
        }
    }

private:
    bool isWide() const { return m_column.subtype == "WideText"; }

    FieldType fieldType() const
    {
        switch (m_column.kind) {
        case PacketKind::Integer:
        case PacketKind::Unsigned: return FieldType::Integer;
        case PacketKind::Boolean: return FieldType::Boolean;
        case PacketKind::Date:
        case PacketKind::Timestamp: return FieldType::Date;
        case PacketKind::String:
        case PacketKind::WideString: return FieldType::Text;
        case PacketKind::Bytes:
            if (m_column.subtype != "Text" && !isWide())
                refused(m_name, "binary data");
            return FieldType::Memo;
        case PacketKind::Float: refused(m_name, "floating-point numbers");
        case PacketKind::Bcd: refused(m_name, "decimal numbers");
        case PacketKind::Time: refused(m_name, "times of day");
        }
        refused(m_name, "values of an unknown kind");
    }

    Value integer(QByteArrayView bytes, bool isSigned) const
    {
        const qsizetype size = bytes.size();
        if (size != 1 && size != 2 && size != 4 && size != 8)
            damaged(QStringLiteral("field \"%1\" holds a number of %2 bytes").arg(m_name).arg(size));
        const quint64 raw = littleEndian(bytes);
        const int unused = int(64 - 8 * size);
        if (isSigned) {
            const qint64 value = qint64(raw << unused) >> unused; // sign-extended
            if (value >= std::numeric_limits<qint32>::min() && value <= std::numeric_limits<qint32>::max())
                return qint32(value);
            tooLarge(QString::number(value));
        }
        if (raw <= quint64(std::numeric_limits<qint32>::max()))
            return qint32(raw);
        tooLarge(QString::number(raw));
    }

    [[noreturn]] void tooLarge(const QString &number) const
    {
        throw DatabaseError(QStringLiteral("Field \"%1\" of the data packet holds the number %2, which is too large for an address book table")
                                .arg(m_name, number));
    }

    Value date(QByteArrayView bytes) const
    {
        if (bytes.size() != 4)
            damaged(QStringLiteral("field \"%1\" holds a date of %2 bytes").arg(m_name).arg(bytes.size()));
        return day(qint32(littleEndian(bytes)) + kJulianDayOfDayZero);
    }

    // Milliseconds from the start of day 0; only the day is kept.
    Value timestamp(QByteArrayView bytes) const
    {
        if (bytes.size() != 8)
            damaged(QStringLiteral("field \"%1\" holds a date and time of %2 bytes").arg(m_name).arg(bytes.size()));
        double milliseconds = 0;
        const quint64 raw = littleEndian(bytes);
        std::memcpy(&milliseconds, &raw, 8);
        const double days = std::floor(milliseconds / kMillisecondsPerDay);
        if (!std::isfinite(days) || std::abs(days) > 1e10)
            impossibleDate();
        return day(qint64(days) + kJulianDayOfDayZero);
    }

    // A saved table keeps a day as a 32-bit Julian day number: a day beyond
    // would not come back from the next save.
    Value day(qint64 julianDay) const
    {
        if (julianDay < std::numeric_limits<qint32>::min() || julianDay > std::numeric_limits<qint32>::max())
            impossibleDate();
        return QDate::fromJulianDay(julianDay);
    }

    [[noreturn]] void impossibleDate() const
    {
        damaged(QStringLiteral("field \"%1\" holds an impossible date").arg(m_name));
    }

    const PacketColumn &m_column;
    CodePageDecoder &m_decoder;
    QString m_name;
    FieldDef m_field;
};

QByteArray codePageOf(const DataPacket &packet, const QLocale &system)
{
    const QByteArray named = packet.localeId() ? codePageOfLocaleId(quint32(*packet.localeId())) : QByteArray();
    return named.isEmpty() ? legacyCodePage(system) : named;
}

std::vector<ColumnReader> columnReaders(const DataPacket &packet, CodePageDecoder &decoder)
{
    std::vector<ColumnReader> readers;
    QSet<QString> names;
    for (const PacketColumn &column : packet.columns()) {
        readers.emplace_back(column, decoder);
        const QString folded = readers.back().field().name.toCaseFolded();
        if (folded.isEmpty() || names.contains(folded))
            damaged(QStringLiteral("a column has an empty or repeated name"));
        names.insert(folded);
    }
    return readers;
}

} // namespace

std::unique_ptr<RecordTable> readDataPacketTable(QByteArrayView bytes, const QLocale &system)
{
    const DataPacket packet = DataPacket::parse(bytes);
    CodePageDecoder decoder(codePageOf(packet, system));
    const std::vector<ColumnReader> readers = columnReaders(packet, decoder);
    std::vector<std::vector<Value>> rows(size_t(packet.rowCount()));
    for (int row = 0; row < packet.rowCount(); ++row) {
        rows[size_t(row)].reserve(readers.size());
        for (int c = 0; c < int(readers.size()); ++c) {
            const auto stored = packet.value(row, c);
            rows[size_t(row)].push_back(stored ? readers[size_t(c)].read(*stored) : Value());
        }
    }
    // The rows as the engine showed them, so that ties keep that order.
    const QList<int> &order = packet.defaultOrder();
    std::stable_sort(rows.begin(), rows.end(), [&order](const std::vector<Value> &a, const std::vector<Value> &b) {
        for (int c : order) {
            if (a[size_t(c)] != b[size_t(c)])
                return a[size_t(c)] < b[size_t(c)];
        }
        return false;
    });
    QList<FieldDef> fields;
    for (const ColumnReader &reader : readers)
        fields << reader.field();
    auto table = std::make_unique<RecordTable>(fields);
    for (const std::vector<Value> &row : rows)
        table->insertRow(row);
    return table;
}

} // namespace qv::legacy
