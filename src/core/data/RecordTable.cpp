#include "data/RecordTable.h"

#include "common/CaseFolding.h"
#include "common/TextWidth.h"
#include "data/DatabaseError.h"
#include "data/TableOrder.h"

#include <utility>

namespace qv {

namespace {

constexpr size_t kJournalLimit = 1u << 20; // beyond it views simply rebuild
constexpr size_t kUnusedSlack = 1u << 16;  // code units left unused before a column is compacted

// Dates further than some five million years away are not kept: the
// saved form holds a day number in 32 bits.
bool fitsIn32Bits(qint64 n)
{
    return n >= std::numeric_limits<qint32>::min() && n <= std::numeric_limits<qint32>::max();
}

qint64 toNumber(FieldType type, const Value &v)
{
    if (isNull(v))
        return Column::kNullNumber;
    switch (type) {
    case FieldType::Integer:
        if (const auto *i = std::get_if<qint32>(&v))
            return *i;
        if (const auto *b = std::get_if<bool>(&v))
            return *b ? 1 : 0;
        if (const auto *s = std::get_if<QString>(&v)) {
            bool ok = false;
            const qint32 n = s->trimmed().toInt(&ok);
            return ok ? n : Column::kNullNumber;
        }
        break;
    case FieldType::Boolean:
        if (const auto *b = std::get_if<bool>(&v))
            return *b ? 1 : 0;
        if (const auto *i = std::get_if<qint32>(&v))
            return *i != 0 ? 1 : 0;
        if (const auto *s = std::get_if<QString>(&v)) {
            if (s->compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
                return 1;
            if (s->compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
                return 0;
        }
        break;
    case FieldType::Date:
        if (const auto *d = std::get_if<QDate>(&v))
            return d->isValid() && fitsIn32Bits(d->toJulianDay()) ? d->toJulianDay() : Column::kNullNumber;
        if (const auto *s = std::get_if<QString>(&v)) {
            const QDate d = QDate::fromString(s->trimmed(), Qt::ISODate);
            return d.isValid() && fitsIn32Bits(d.toJulianDay()) ? d.toJulianDay() : Column::kNullNumber;
        }
        break;
    default:
        break;
    }
    throw DatabaseError(QStringLiteral("Type mismatch for field"));
}

} // namespace

TextColumn::Slice TextColumn::add(QStringView text)
{
    if (text.isEmpty())
        return {};
    if (m_chars.size() + size_t(text.size()) > std::numeric_limits<quint32>::max())
        throw DatabaseError(QStringLiteral("The table is too large to hold in memory"));
    const Slice slice{quint32(m_chars.size()), quint32(text.size())};
    m_chars.insert(m_chars.end(), text.utf16(), text.utf16() + text.size());
    return slice;
}

void TextColumn::set(size_t row, QStringView text)
{
    // A view of this column's own buffer would not survive the buffer growing.
    const char16_t *begin = m_chars.data();
    if (!text.isEmpty() && text.utf16() >= begin && text.utf16() < begin + m_chars.size()) {
        set(row, text.toString());
        return;
    }
    if (m_folded) {
        std::u16string buffer;
        m_folded->set(row, foldCase(text, buffer));
    }
    Slice &slice = m_slices[row];
    if (size_t(text.size()) <= slice.length) {
        // Fits where the old text was.
        std::copy(text.utf16(), text.utf16() + text.size(), m_chars.begin() + slice.start);
        m_unused += slice.length - size_t(text.size());
        slice.length = quint32(text.size());
        return;
    }
    m_unused += slice.length;
    slice = add(text);
    if (m_unused > kUnusedSlack && m_unused > m_chars.size() / 2)
        compact();
}

void TextColumn::setLatin1(size_t row, QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return;
    if (m_chars.size() + size_t(bytes.size()) > std::numeric_limits<quint32>::max())
        throw DatabaseError(QStringLiteral("The table is too large to hold in memory"));
    m_slices[row] = {quint32(m_chars.size()), quint32(bytes.size())};
    const auto *begin = reinterpret_cast<const uchar *>(bytes.data());
    m_chars.insert(m_chars.end(), begin, begin + bytes.size());
    if (m_folded) {
        std::u16string buffer;
        m_folded->set(row, foldCase(QString::fromLatin1(bytes), buffer));
    }
}

size_t TextColumn::appendLatin1(QByteArrayView bytes)
{
    const size_t start = m_chars.size();
    if (start + size_t(bytes.size()) > std::numeric_limits<quint32>::max())
        throw DatabaseError(QStringLiteral("The table is too large to hold in memory"));
    const auto *begin = reinterpret_cast<const uchar *>(bytes.data());
    m_chars.insert(m_chars.end(), begin, begin + bytes.size());
    m_unused += size_t(bytes.size());
    return start;
}

void TextColumn::takeLoaded(size_t row, size_t start, size_t length)
{
    if (length == 0)
        return;
    m_slices[row] = {quint32(start), quint32(length)};
    m_unused -= length;
    if (m_folded) {
        std::u16string buffer;
        m_folded->set(row, foldCase(view(row), buffer));
    }
}

void TextColumn::pushBack(QStringView text)
{
    resize(m_slices.size() + 1);
    set(m_slices.size() - 1, text);
}

void TextColumn::resize(size_t rows)
{
    m_slices.resize(rows);
    if (m_folded)
        m_folded->resize(rows);
}

void TextColumn::clear()
{
    m_chars = {};
    m_slices = {};
    m_unused = 0;
    if (m_folded)
        m_folded->clear();
}

const TextColumn &TextColumn::caseFolded() const
{
    if (!m_folded) {
        auto folded = std::make_unique<TextColumn>();
        folded->m_slices.resize(m_slices.size());
        folded->m_chars.reserve(m_chars.size() - m_unused);
        std::u16string buffer;
        for (size_t row = 0; row < m_slices.size(); ++row)
            folded->m_slices[row] = folded->add(foldCase(view(row), buffer));
        m_folded = std::move(folded);
    }
    return *m_folded;
}

size_t TextColumn::filledBytes(size_t rows, size_t units)
{
    return ColumnArena::footprint(rows * sizeof(Slice)) + ColumnArena::footprint(units * sizeof(char16_t));
}

void TextColumn::shrink()
{
    if (m_chars.size() < m_chars.capacity() / 8 * 7)
        m_chars.shrink_to_fit();
}

void TextColumn::compact()
{
    std::vector<char16_t, ColumnAllocator<char16_t>> chars;
    chars.reserve(m_chars.size() - m_unused);
    for (Slice &slice : m_slices) {
        const quint32 start = quint32(chars.size());
        chars.insert(chars.end(), m_chars.begin() + slice.start, m_chars.begin() + slice.start + slice.length);
        slice.start = slice.length == 0 ? 0 : start;
    }
    m_chars = std::move(chars);
    m_unused = 0;
}

void NumberColumn::set(size_t row, qint64 value)
{
    m_values[row] = value == kEmpty ? kMark : qint32(value);
    if (value == kMark)
        m_markRows.insert(row);
    else if (!m_markRows.isEmpty())
        m_markRows.remove(row);
}

void NumberColumn::pushBack(qint64 value)
{
    m_values.push_back(0);
    set(m_values.size() - 1, value);
}

void NumberColumn::assignEmpty(size_t rows)
{
    m_values.assign(rows, kMark);
    m_markRows.clear();
}

void NumberColumn::clear()
{
    m_values = {};
    m_markRows.clear();
}

RecordTable::RecordTable(QList<FieldDef> fields)
    : m_fields(std::move(fields))
{
    m_columns.resize(size_t(m_fields.size()));
    for (int i = 0; i < m_fields.size(); ++i) {
        m_columns[size_t(i)].def = m_fields[i];
        m_fieldByFoldedName.insert(m_fields[i].name.toCaseFolded(), i);
    }
}

RecordTable::~RecordTable() = default;

int RecordTable::fieldIndex(const QString &name) const
{
    return m_fieldByFoldedName.value(name.toCaseFolded(), -1);
}

Value RecordTable::value(int row, int field) const
{
    const Column &c = m_columns[size_t(field)];
    if (c.isNull(row))
        return {};
    switch (c.def.type) {
    case FieldType::Integer: return qint32(c.numbers[size_t(row)]);
    case FieldType::Boolean: return c.numbers[size_t(row)] != 0;
    case FieldType::Date: return QDate::fromJulianDay(c.numbers[size_t(row)]);
    case FieldType::Text:
    case FieldType::Memo: return c.texts[size_t(row)];
    }
    return {};
}

std::vector<Value> RecordTable::rowValues(int row) const
{
    std::vector<Value> values;
    values.reserve(m_columns.size());
    for (int f = 0; f < fieldCount(); ++f)
        values.push_back(value(row, f));
    return values;
}

Value RecordTable::fitToField(int field, const Value &v) const
{
    const FieldDef &def = m_fields[field];
    if (def.type == FieldType::Text || def.type == FieldType::Memo) {
        QString text = valueText(v);
        if (def.type == FieldType::Text && def.size > 0)
            text = cutToWidth(text, def.size);
        return text.isEmpty() ? Value() : Value(text);
    }
    const qint64 n = toNumber(def.type, v);
    if (n == Column::kNullNumber)
        return {};
    switch (def.type) {
    case FieldType::Integer: return qint32(n);
    case FieldType::Boolean: return n != 0;
    default: return QDate::fromJulianDay(n);
    }
}

void RecordTable::store(int row, const std::vector<Value> &values)
{
    for (int f = 0; f < fieldCount(); ++f) {
        Column &c = m_columns[size_t(f)];
        const Value v = f < int(values.size()) ? fitToField(f, values[size_t(f)]) : Value();
        if (c.isText())
            c.texts.set(size_t(row), isNull(v) ? QStringView() : QStringView(std::get<QString>(v)));
        else
            c.numbers.set(size_t(row), toNumber(c.def.type, v));
    }
}

void RecordTable::changed(int row)
{
    ++m_version;
    if (m_journal.size() >= kJournalLimit)
        resetJournal();
    else
        m_journal.push_back(row);
    if (m_orderBatches > 0) {
        m_changedInBatch = true;
        for (auto &[fields, order] : m_orders)
            order->makeRoomForRows();
        return;
    }
    for (auto &[fields, order] : m_orders)
        order->rowChanged(row);
}

RecordTable::OrderBatch::OrderBatch(RecordTable &table)
    : m_table(table)
{
    ++m_table.m_orderBatches;
}

RecordTable::OrderBatch::~OrderBatch()
{
    m_table.endOrderBatch();
}

void RecordTable::endOrderBatch()
{
    if (--m_orderBatches > 0 || !std::exchange(m_changedInBatch, false))
        return;
    // Views placed changed rows by orders that did not hold them yet: they start afresh.
    ++m_version;
    resetJournal();
    for (auto &[fields, order] : m_orders)
        order->rebuild();
}

void RecordTable::resetJournal()
{
    m_journal.clear();
    m_journalStart = m_version;
}

int RecordTable::insertRow(const std::vector<Value> &values)
{
    const int row = rowSlots();
    for (Column &c : m_columns) {
        if (c.isText())
            c.texts.pushBack({});
        else
            c.numbers.pushBack(Column::kNullNumber);
    }
    m_alive.push_back(1);
    ++m_liveRows;
    store(row, values);
    if (m_logChanges)
        m_log.push_back({LogKind::Insert, row, {}});
    changed(row);
    return row;
}

void RecordTable::updateRow(int row, const std::vector<Value> &values)
{
    if (!isAlive(row))
        throw DatabaseError(QStringLiteral("Record not found"));
    if (m_logChanges)
        m_log.push_back({LogKind::Update, row, rowValues(row)});
    store(row, values);
    changed(row);
}

void RecordTable::deleteRow(int row)
{
    if (!isAlive(row))
        throw DatabaseError(QStringLiteral("Record not found"));
    m_alive[size_t(row)] = 0;
    --m_liveRows;
    if (m_logChanges)
        m_log.push_back({LogKind::Delete, row, {}});
    changed(row);
}

void RecordTable::empty()
{
    for (Column &c : m_columns) {
        c.numbers.clear();
        c.texts.clear();
    }
    m_alive.clear();
    m_liveRows = 0;
    m_log.clear();
    ++m_version;
    resetJournal();
    for (auto &[fields, order] : m_orders)
        order->rebuild();
}

void RecordTable::rollback(int count)
{
    count = std::max(count, 0);
    while (int(m_log.size()) > count) {
        LogEntry e = std::move(m_log.back());
        m_log.pop_back();
        switch (e.kind) {
        case LogKind::Insert:
            if (m_alive[size_t(e.row)]) {
                m_alive[size_t(e.row)] = 0;
                --m_liveRows;
            }
            break;
        case LogKind::Delete:
            m_alive[size_t(e.row)] = 1;
            ++m_liveRows;
            break;
        case LogKind::Update:
            store(e.row, e.before);
            break;
        }
        changed(e.row);
    }
}

std::optional<std::span<const int>> RecordTable::changesSince(quint64 version) const
{
    if (version < m_journalStart || version > m_version)
        return std::nullopt;
    const size_t from = size_t(version - m_journalStart);
    return std::span<const int>(m_journal.data() + from, m_journal.size() - from);
}

TableOrder &RecordTable::order(const QList<int> &fields)
{
    auto it = m_orders.find(fields);
    if (it == m_orders.end())
        it = m_orders.emplace(fields, std::make_unique<TableOrder>(*this, fields)).first;
    return *it->second;
}

void RecordTable::resizeForLoad(int rows)
{
    m_alive.assign(size_t(rows), 1);
    m_liveRows = rows;
    ++m_version;
    resetJournal();
}

} // namespace qv
