#include "data/TableFile.h"

#include "common/PageAdvice.h"
#include "common/TextWidth.h"
#include "data/DatabaseError.h"
#include "data/RecordTable.h"
#include "data/legacy/DataPacket.h"
#include "data/legacy/DataPacketTable.h"

#include <QSet>
#include <QStringDecoder>
#include <QStringEncoder>

#include <bit>
#include <cstring>
#include <exception>
#include <functional>
#include <optional>
#include <thread>

namespace qv {

namespace {

constexpr char kMagic[4] = {'Q', 'V', 'T', 'B'};
constexpr quint16 kVersion = 1;
constexpr int kMaxFields = 1024;

enum class StoredType : quint8 { Integer = 1, Text = 2, Date = 3, Memo = 4, Boolean = 5 };

StoredType storedType(FieldType t)
{
    switch (t) {
    case FieldType::Integer: return StoredType::Integer;
    case FieldType::Text: return StoredType::Text;
    case FieldType::Date: return StoredType::Date;
    case FieldType::Memo: return StoredType::Memo;
    case FieldType::Boolean: return StoredType::Boolean;
    }
    return StoredType::Integer;
}

class Writer {
public:
    void u8(quint8 v) { m_out.append(char(v)); }
    void u16(quint16 v)
    {
        const char b[2] = {char(v), char(v >> 8)};
        m_out.append(b, 2);
    }
    void u32(quint32 v)
    {
        const char b[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
        m_out.append(b, 4);
    }
    void bytes(const QByteArray &b) { m_out.append(b); }
    QByteArray &out() { return m_out; }

private:
    QByteArray m_out;
};

[[noreturn]] void damaged(const QString &what)
{
    throw DatabaseError(QStringLiteral("The table file is damaged: %1").arg(what));
}

class Reader {
public:
    explicit Reader(QByteArrayView in) : m_in(in) {}

    qsizetype left() const { return m_in.size() - m_pos; }
    void need(qint64 count, const char *what) const
    {
        if (count < 0 || count > left())
            damaged(QStringLiteral("%1 runs past the end of the file").arg(QLatin1String(what)));
    }
    const uchar *take(qint64 count, const char *what)
    {
        need(count, what);
        const auto *p = reinterpret_cast<const uchar *>(m_in.constData() + m_pos);
        m_pos += qsizetype(count);
        return p;
    }
    quint8 u8(const char *what) { return *take(1, what); }
    quint16 u16(const char *what)
    {
        const uchar *p = take(2, what);
        return quint16(p[0] | (p[1] << 8));
    }
    quint32 u32(const char *what)
    {
        const uchar *p = take(4, what);
        return quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24);
    }

private:
    QByteArrayView m_in;
    qsizetype m_pos = 0;
};

quint32 readU32(const uchar *p)
{
    return quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24);
}

bool isAscii(QByteArrayView bytes)
{
    uchar any = 0;
    for (char c : bytes)
        any |= uchar(c);
    return any < 0x80;
}

// What a UTF-8 text makes in UTF-16: one code unit per byte that starts a
// character, two for a character beyond the basic plane. Broken text can make
// more (a replacement character per bad byte); the column then grows.
struct Utf16Measure {
    size_t units = 0;
    bool ascii = true;
};

Utf16Measure measureUtf16(QByteArrayView utf8)
{
    size_t continuation = 0, fourByte = 0;
    uchar any = 0;
    for (char c : utf8) {
        continuation += (uchar(c) & 0xC0) == 0x80;
        fourByte += uchar(c) >= 0xF0;
        any |= uchar(c);
    }
    return {size_t(utf8.size()) - continuation + fourByte, any < 0x80};
}

void writeU32(char *at, quint32 v)
{
    at[0] = char(v);
    at[1] = char(v >> 8);
    at[2] = char(v >> 16);
    at[3] = char(v >> 24);
}

// One column as the file holds it: the presence map, then the values. The
// bytes are written in place into a buffer sized for them beforehand, the
// texts encoded straight after their lengths.
QByteArray columnBytes(const Column &c, const std::vector<int> &rows)
{
    const qsizetype presenceBytes = (qsizetype(rows.size()) + 7) / 8;
    qsizetype present = 0;
    qsizetype units = 0;
    for (int row : rows) {
        if (c.isNull(row))
            continue;
        ++present;
        if (c.isText())
            units += c.texts.view(size_t(row)).size();
    }
    // Each text on its own: half of a surrogate pair at the end of one must
    // not be carried into the next.
    QStringEncoder utf8(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    const qsizetype valueBytes = c.isText() ? 4 * present + utf8.requiredSpace(units)
                                            : present * (c.def.type == FieldType::Boolean ? 1 : 4);
    QByteArray out(presenceBytes + valueBytes, Qt::Uninitialized);
    char *presence = out.data();
    std::fill_n(presence, presenceBytes, '\0');
    for (size_t i = 0; i < rows.size(); ++i) {
        if (!c.isNull(rows[i]))
            presence[i / 8] = char(presence[i / 8] | (1 << (i % 8)));
    }
    char *values = presence + presenceBytes;
    if (c.isText()) {
        char *text = values + 4 * present;
        for (int row : rows) {
            if (c.isNull(row))
                continue;
            char *end = utf8.appendToBuffer(text, c.texts.view(size_t(row)));
            writeU32(values, quint32(end - text));
            values += 4;
            text = end;
        }
        out.truncate(text - out.constData());
        return out;
    }
    for (int row : rows) {
        if (c.isNull(row))
            continue;
        if (c.def.type == FieldType::Boolean) {
            *values++ = c.numbers[size_t(row)] != 0 ? 1 : 0;
        } else {
            writeU32(values, quint32(qint32(c.numbers[size_t(row)])));
            values += 4;
        }
    }
    return out;
}

QList<FieldDef> readHeader(Reader &r)
{
    const char *magic = reinterpret_cast<const char *>(r.take(4, "the file header"));
    if (std::memcmp(magic, kMagic, 4) != 0)
        throw DatabaseError(QStringLiteral("The file is not a Quorvel table"));
    const quint16 version = r.u16("the file header");
    if (version != kVersion)
        throw DatabaseError(QStringLiteral("The table file has format version %1; this version reads version %2").arg(version).arg(kVersion));
    const quint16 count = r.u16("the file header");
    if (count == 0 || count > kMaxFields)
        damaged(QStringLiteral("it declares %1 fields").arg(count));

    QList<FieldDef> fields;
    QSet<QString> names;
    for (int i = 0; i < count; ++i) {
        FieldDef f;
        const quint8 type = r.u8("the field list");
        f.size = r.u16("the field list");
        const quint16 nameLength = r.u16("the field list");
        f.name = QString::fromUtf8(reinterpret_cast<const char *>(r.take(nameLength, "the field list")), nameLength);
        switch (StoredType(type)) {
        case StoredType::Integer: f.type = FieldType::Integer; break;
        case StoredType::Text: f.type = FieldType::Text; break;
        case StoredType::Date: f.type = FieldType::Date; break;
        case StoredType::Memo: f.type = FieldType::Memo; break;
        case StoredType::Boolean: f.type = FieldType::Boolean; break;
        default: damaged(QStringLiteral("field %1 has an unknown type %2").arg(i + 1).arg(type));
        }
        if (f.type != FieldType::Text)
            f.size = 0;
        if (f.name.isEmpty() || names.contains(f.name.toCaseFolded()))
            damaged(QStringLiteral("field %1 has an empty or repeated name").arg(i + 1));
        names.insert(f.name.toCaseFolded());
        fields << f;
    }
    return fields;
}

// Where one column's parts lie in the file, found before any is decoded.
struct ColumnSpan {
    const uchar *presence = nullptr;
    const uchar *values = nullptr; // text lengths, or the numbers
    const char *blob = nullptr;    // the texts
    qint64 textBytes = 0;
    qint64 bytes = 0;              // the whole column's size, to share the decoding out
};

ColumnSpan locateColumn(Reader &r, const Column &c, int rows)
{
    ColumnSpan span;
    const qsizetype before = r.left();
    const qint64 presenceBytes = (qint64(rows) + 7) / 8;
    span.presence = r.take(presenceBytes, "a presence map");
    qint64 present = 0;
    for (qint64 i = 0; i < presenceBytes; ++i)
        present += std::popcount(span.presence[i]);
    if (rows % 8 != 0 && (span.presence[presenceBytes - 1] >> (rows % 8)) != 0)
        damaged(QStringLiteral("a presence map marks rows that do not exist"));
    if (c.isText()) {
        span.values = r.take(present * 4, "the text lengths");
        qint64 total = 0;
        for (qint64 i = 0; i < present; ++i)
            total += readU32(span.values + 4 * i);
        span.blob = reinterpret_cast<const char *>(r.take(total, "the texts"));
        span.textBytes = total;
    } else {
        span.values = r.take(present * (c.def.type == FieldType::Boolean ? 1 : 4), "the values");
    }
    span.bytes = before - r.left();
    return span;
}

// A column of ASCII texts only, as most are: widened into the column in one
// go, each row then taking its part. Every ASCII character is one column
// wide, so that a text too wide for the field is cut by its length.
void decodeAsciiTexts(const ColumnSpan &span, Column &c, int rows)
{
    auto has = [p = span.presence](int row) { return (p[row / 8] >> (row % 8)) & 1; };
    const qint64 width = c.def.type == FieldType::Text && c.def.size > 0 ? c.def.size : std::numeric_limits<qint64>::max();
    size_t at = c.texts.appendLatin1(QByteArrayView(span.blob, qsizetype(span.textBytes)));
    qint64 k = 0;
    for (int row = 0; row < rows; ++row) {
        if (!has(row))
            continue;
        const qint64 length = readU32(span.values + 4 * k++);
        c.texts.takeLoaded(size_t(row), at, size_t(std::min(length, width)));
        at += size_t(length);
    }
}

void decodeTexts(const ColumnSpan &span, Column &c, int rows, Utf16Measure measure)
{
    c.texts.resize(size_t(rows));
    c.texts.reserve(measure.units);
    if (measure.ascii) {
        decodeAsciiTexts(span, c, rows);
        return;
    }
    auto has = [p = span.presence](int row) { return (p[row / 8] >> (row % 8)) & 1; };
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString scratch; // reused, so that no text allocates on its own
    const bool cut = c.def.type == FieldType::Text && c.def.size > 0;
    qint64 at = 0, k = 0;
    for (int row = 0; row < rows; ++row) {
        if (!has(row))
            continue;
        const qint64 length = readU32(span.values + 4 * k++);
        const QByteArrayView bytes(span.blob + at, qsizetype(length));
        at += length;
        if (isAscii(bytes)) {
            // Widened directly into the column, the decoder being slower per byte.
            c.texts.setLatin1(size_t(row), cut && bytes.size() > c.def.size ? bytes.first(c.def.size) : bytes);
            continue;
        }
        scratch.resize(utf8.requiredSpace(length));
        const QChar *end = utf8.appendToBuffer(scratch.data(), bytes);
        scratch.truncate(end - scratch.constData());
        // A text of at most half the width in code units cannot be too wide.
        if (cut && scratch.size() > c.def.size / 2)
            c.texts.set(size_t(row), cutToWidth(scratch, c.def.size));
        else
            c.texts.set(size_t(row), scratch);
    }
    c.texts.shrink();
}

void decodeNumbers(const ColumnSpan &span, Column &c, int rows)
{
    auto has = [p = span.presence](int row) { return (p[row / 8] >> (row % 8)) & 1; };
    c.numbers.assignEmpty(size_t(rows));
    const bool boolean = c.def.type == FieldType::Boolean;
    qint64 k = 0;
    for (int row = 0; row < rows; ++row) {
        if (!has(row))
            continue;
        if (boolean) {
            c.numbers.set(size_t(row), span.values[k++] != 0 ? 1 : 0);
        } else {
            c.numbers.set(size_t(row), qint32(readU32(span.values + 4 * k++)));
            if (c.def.type == FieldType::Date && !QDate::fromJulianDay(c.numbers[size_t(row)]).isValid())
                damaged(QStringLiteral("field %1 holds an impossible date").arg(c.def.name));
        }
    }
}

// The columns one thread decodes, in that order, and what runs once the
// first of them (the early ones) are decoded.
struct DecodeRun {
    std::vector<int> fields;
    size_t early = 0;
    std::function<void()> afterEarly;
};

// A run that failed: the field it failed at, or no field when afterEarly or
// the run's setting up did.
struct DecodeFailure {
    int field = std::numeric_limits<int>::max();
    std::exception_ptr error;
};

// With releaseRead, the bytes of each column go back to the system once it
// is decoded. The columns are filled from one arena sized for them. Nothing
// is thrown: the run may be on a thread of its own.
void decodeColumns(RecordTable &table, const std::vector<ColumnSpan> &spans, const DecodeRun &run, int rows,
                   bool releaseRead, DecodeFailure &failure)
{
    std::vector<Utf16Measure> measures;
    std::optional<ColumnArena> arena;
    try {
        measures.resize(spans.size());
        size_t bytes = 0;
        for (int f : run.fields) {
            const ColumnSpan &span = spans[size_t(f)];
            if (table.column(f).isText()) {
                measures[size_t(f)] = measureUtf16(QByteArrayView(span.blob, qsizetype(span.textBytes)));
                bytes += TextColumn::filledBytes(size_t(rows), measures[size_t(f)].units);
            } else {
                bytes += NumberColumn::filledBytes(size_t(rows));
            }
        }
        arena.emplace(bytes);
    } catch (...) {
        failure = {std::numeric_limits<int>::max(), std::current_exception()};
        return;
    }
    for (size_t i = 0; i < run.fields.size(); ++i) {
        const int f = run.fields[i];
        try {
            Column &c = table.columnForLoad(f);
            const ColumnSpan &span = spans[size_t(f)];
            if (c.isText())
                decodeTexts(span, c, rows, measures[size_t(f)]);
            else
                decodeNumbers(span, c, rows);
            if (releaseRead)
                releasePages(span.presence, size_t(span.bytes));
        } catch (...) {
            failure = {f, std::current_exception()};
            return;
        }
        if (i + 1 == run.early && run.afterEarly) {
            try {
                run.afterEarly();
            } catch (...) {
                failure = {std::numeric_limits<int>::max(), std::current_exception()};
                return;
            }
        }
    }
}

// Decodes the columns in two runs of about equal cost, the second on a
// thread of its own; each run fills only its own columns. The first run
// starts with the early fields and then does what is to follow them, while
// the second goes on. When both fail, the error of the earlier column is the
// one reported, as a single run would.
void decodeAll(RecordTable &table, const std::vector<ColumnSpan> &spans, int rows, bool releaseRead,
               const EarlyFields &early)
{
    DecodeRun first, second;
    auto isEarly = [&](int f) { return std::find(first.fields.begin(), first.fields.end(), f) != first.fields.end(); };
    for (const QString &name : early.names) {
        const int f = table.fieldIndex(name);
        if (!isEarly(f))
            first.fields.push_back(f);
    }
    if (!early.ready || isEarly(-1))
        first.fields.clear();
    first.early = first.fields.size();
    if (first.early > 0)
        first.afterEarly = [&] { early.ready(table); };

    // What follows the early fields costs about as much as decoding this
    // many bytes per row (measured with the order of a book's persons).
    constexpr qint64 kAfterEarlyBytesPerRow = 24;
    const qint64 afterEarly = first.early > 0 ? qint64(rows) * kAfterEarlyBytesPerRow : 0;
    qint64 total = afterEarly, firstCost = afterEarly;
    for (const ColumnSpan &span : spans)
        total += span.bytes;
    for (int f : first.fields)
        firstCost += spans[size_t(f)].bytes;
    for (int f = 0; f < int(spans.size()); ++f) {
        if (isEarly(f))
            continue;
        if (2 * firstCost < total) {
            first.fields.push_back(f);
            firstCost += spans[size_t(f)].bytes;
        } else {
            second.fields.push_back(f);
        }
    }

    DecodeFailure firstFailure, secondFailure;
    {
        std::jthread later([&] { decodeColumns(table, spans, second, rows, releaseRead, secondFailure); });
        decodeColumns(table, spans, first, rows, releaseRead, firstFailure);
    }
    const DecodeFailure &failure = secondFailure.field < firstFailure.field ? secondFailure : firstFailure;
    if (failure.error)
        std::rethrow_exception(failure.error);
}

std::unique_ptr<RecordTable> readTable(QByteArrayView bytes, bool releaseRead, const EarlyFields &early)
{
    if (tableFormOf(bytes) == TableForm::DataPacket)
        return legacy::readDataPacketTable(bytes);
    Reader r(bytes);
    auto table = std::make_unique<RecordTable>(readHeader(r));
    const quint32 rows = r.u32("the row count");
    // Every row costs at least one presence bit per field: a count the file
    // cannot hold is refused before anything is allocated.
    if (qint64(rows) > qint64(r.left()) * 8 / table->fieldCount() || rows > quint32(std::numeric_limits<int>::max()))
        damaged(QStringLiteral("it declares %1 rows").arg(rows));
    table->resizeForLoad(int(rows));
    std::vector<ColumnSpan> spans;
    for (int f = 0; f < table->fieldCount(); ++f)
        spans.push_back(locateColumn(r, table->column(f), int(rows)));
    if (r.left() != 0)
        damaged(QStringLiteral("%1 bytes follow the last column").arg(r.left()));
    decodeAll(*table, spans, int(rows), releaseRead, early);
    return table;
}

// A table's file in parts: the header, then each column.
struct TableParts {
    QByteArray header;
    std::vector<QByteArray> columns;

    size_t size() const
    {
        size_t size = size_t(header.size());
        for (const QByteArray &column : columns)
            size += size_t(column.size());
        return size;
    }
    // Lays the parts end to end, each going once copied.
    void moveTo(char *at)
    {
        at = std::copy(header.cbegin(), header.cend(), at);
        for (QByteArray &column : columns) {
            at = std::copy(column.cbegin(), column.cend(), at);
            column = QByteArray();
        }
    }
};

TableParts writeParts(const RecordTable &table)
{
    std::vector<int> rows;
    rows.reserve(size_t(table.liveRowCount()));
    for (int row = 0; row < table.rowSlots(); ++row) {
        if (table.isAlive(row))
            rows.push_back(row);
    }
    Writer w;
    w.bytes(QByteArray(kMagic, 4));
    w.u16(kVersion);
    w.u16(quint16(table.fieldCount()));
    for (const FieldDef &f : table.fields()) {
        const QByteArray name = f.name.toUtf8();
        w.u8(quint8(storedType(f.type)));
        w.u16(quint16(f.size));
        w.u16(quint16(name.size()));
        w.bytes(name);
    }
    w.u32(quint32(rows.size()));
    // The columns are written in two runs at once, split by their rough size.
    std::vector<QByteArray> columns(size_t(table.fieldCount()));
    std::vector<qint64> weight(columns.size());
    qint64 total = 0;
    for (int f = 0; f < table.fieldCount(); ++f) {
        const Column &c = table.column(f);
        weight[size_t(f)] = c.isText() ? qint64(c.texts.size()) * 4 + qint64(c.texts.bufferedUnits()) : qint64(c.numbers.size()) * 4;
        total += weight[size_t(f)];
    }
    int split = 0;
    for (qint64 sum = 0; split < table.fieldCount() && 2 * sum < total; ++split)
        sum += weight[size_t(split)];
    const auto writeRun = [&](int from, int to) {
        for (int f = from; f < to; ++f)
            columns[size_t(f)] = columnBytes(table.column(f), rows);
    };
    std::exception_ptr laterError;
    {
        std::jthread later([&] {
            try {
                writeRun(split, table.fieldCount());
            } catch (...) {
                laterError = std::current_exception();
            }
        });
        writeRun(0, split);
    }
    if (laterError)
        std::rethrow_exception(laterError);
    return {std::move(w.out()), std::move(columns)};
}

} // namespace

QByteArray writeTableBytes(const RecordTable &table)
{
    TableParts parts = writeParts(table);
    QByteArray out(qsizetype(parts.size()), Qt::Uninitialized);
    parts.moveTo(out.data());
    return out;
}

PageBuffer writeTableBuffer(const RecordTable &table)
{
    TableParts parts = writeParts(table);
    PageBuffer out(parts.size());
    parts.moveTo(out.data());
    return out;
}

TableForm tableFormOf(QByteArrayView bytes)
{
    return legacy::DataPacket::recognise(bytes) ? TableForm::DataPacket : TableForm::Quorvel;
}

std::unique_ptr<RecordTable> readTableBytes(const QByteArray &bytes)
{
    return readTable(bytes, false, {});
}

std::unique_ptr<RecordTable> readTableBytesReleasing(PageBuffer bytes, const EarlyFields &early)
{
    return readTable(bytes.view(), true, early);
}

} // namespace qv
