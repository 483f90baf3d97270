#include "data/TableOrder.h"

#include "data/RecordTable.h"

#include <QLocale>

#include <algorithm>
#include <bit>
#include <future>

namespace qv {

namespace {

constexpr qint64 kEmptyRank = std::numeric_limits<qint64>::min();
constexpr qint64 kSpacing = qint64(1) << 20; // room for 20 texts squeezed in one after another

// A text rank of a freshly built order as a small index: empty text 0, the
// others their place among the distinct texts, counted from 1.
quint64 packedRank(qint64 rank)
{
    return rank == kEmptyRank ? 0 : quint64(rank / kSpacing) + 1;
}

// Sorts integers by their lowest `bits` bits, a digit of eleven bits at a
// time from the lowest: a few passes over the rows instead of comparisons.
void radixSort(std::vector<quint64> &keys, int bits)
{
    constexpr int kDigitBits = 11;
    constexpr quint64 kMask = (quint64(1) << kDigitBits) - 1;
    std::vector<quint64> sorted(keys.size());
    for (int shift = 0; shift < bits; shift += kDigitBits) {
        std::vector<size_t> starts(kMask + 2, 0);
        for (quint64 key : keys)
            ++starts[((key >> shift) & kMask) + 1];
        for (size_t d = 1; d < starts.size(); ++d)
            starts[d] += starts[d - 1];
        for (quint64 key : keys)
            sorted[starts[(key >> shift) & kMask]++] = key;
        keys.swap(sorted);
    }
}

} // namespace

TextRanks::TextRanks()
    : m_collator(QLocale::system())
{
    m_collator.setCaseSensitivity(Qt::CaseSensitive);
}

std::vector<qint64> TextRanks::build(const TextColumn &texts)
{
    // Each distinct text is looked up once here and compared by its sort
    // key: the collation runs once per distinct text, not per comparison.
    constexpr quint32 kNoText = std::numeric_limits<quint32>::max();
    QHash<QStringView, quint32> distinctIndex;
    std::vector<QStringView> distinct;
    std::vector<quint32> rowDistinct(texts.size(), kNoText);
    for (size_t row = 0; row < texts.size(); ++row) {
        const QStringView text = texts.view(row);
        if (text.isEmpty())
            continue;
        auto at = distinctIndex.constFind(text);
        if (at == distinctIndex.constEnd()) {
            at = distinctIndex.insert(text, quint32(distinct.size()));
            distinct.push_back(text);
        }
        rowDistinct[row] = *at;
    }
    std::vector<QCollatorSortKey> keys;
    keys.reserve(distinct.size());
    for (QStringView text : distinct)
        keys.push_back(m_collator.sortKey(text.toString()));
    std::vector<quint32> byKey(distinct.size());
    for (size_t i = 0; i < byKey.size(); ++i)
        byKey[i] = quint32(i);
    std::sort(byKey.begin(), byKey.end(), [&keys](quint32 a, quint32 b) { return keys[a].compare(keys[b]) < 0; });

    m_ranks.clear();
    m_ranks.reserve(qsizetype(distinct.size()));
    m_sorted.clear();
    m_sorted.reserve(distinct.size());
    m_rankOf.clear();
    m_rankOf.reserve(distinct.size());
    std::vector<qint64> rankOfDistinct(distinct.size());
    qint64 rank = 0;
    for (size_t i = 0; i < byKey.size(); ++i) {
        // Texts the collation finds equal share a rank.
        if (i > 0 && keys[byKey[i - 1]].compare(keys[byKey[i]]) != 0)
            rank += kSpacing;
        const QString text = distinct[byKey[i]].toString();
        m_sorted.push_back(text);
        m_rankOf.push_back(rank);
        m_ranks.insert(text, rank);
        rankOfDistinct[byKey[i]] = rank;
    }

    std::vector<qint64> rowRanks(texts.size(), kEmptyRank);
    for (size_t row = 0; row < texts.size(); ++row) {
        if (rowDistinct[row] != kNoText)
            rowRanks[row] = rankOfDistinct[rowDistinct[row]];
    }
    return rowRanks;
}

void TextRanks::spread()
{
    m_rankOf.resize(m_sorted.size());
    qint64 rank = 0;
    for (size_t i = 0; i < m_sorted.size(); ++i) {
        // Texts the collation finds equal share a rank.
        if (i > 0 && m_collator.compare(m_sorted[i - 1], m_sorted[i]) != 0)
            rank += kSpacing;
        m_rankOf[i] = rank;
        m_ranks.insert(m_sorted[i], rank);
    }
}

bool TextRanks::rank(const QString &text, qint64 &result)
{
    if (text.isEmpty()) {
        result = kEmptyRank;
        return true;
    }
    const auto found = m_ranks.constFind(text);
    if (found != m_ranks.constEnd()) {
        result = *found;
        return true;
    }
    const auto pos = std::lower_bound(m_sorted.begin(), m_sorted.end(), text,
                                      [this](const QString &a, const QString &b) { return m_collator.compare(a, b) < 0; });
    const size_t i = size_t(pos - m_sorted.begin());
    qint64 rank = 0;
    bool roomLeft = true;
    if (i < m_sorted.size() && m_collator.compare(m_sorted[i], text) == 0) {
        rank = m_rankOf[i];
    } else {
        const qint64 below = i > 0 ? m_rankOf[i - 1] : (m_sorted.empty() ? -kSpacing : m_rankOf[0] - 2 * kSpacing);
        const qint64 above = i < m_sorted.size() ? m_rankOf[i] : (i > 0 ? m_rankOf[i - 1] + 2 * kSpacing : kSpacing);
        rank = below + (above - below) / 2;
        roomLeft = rank != below && rank != above;
    }
    m_sorted.insert(pos, text);
    m_rankOf.insert(m_rankOf.begin() + qsizetype(i), rank);
    m_ranks.insert(text, rank);
    if (!roomLeft) {
        spread();
        result = m_ranks.value(text);
        return false;
    }
    result = rank;
    return true;
}

TableOrder::TableOrder(const RecordTable &table, QList<int> fields)
    : m_table(table)
    , m_fields(std::move(fields))
{
    rebuild();
}

bool TableOrder::less(int a, int b) const
{
    const size_t n = size_t(m_fields.size());
    const qint64 *ka = m_keys.data() + size_t(a) * n;
    const qint64 *kb = m_keys.data() + size_t(b) * n;
    for (size_t i = 0; i < n; ++i) {
        if (ka[i] != kb[i])
            return ka[i] < kb[i];
    }
    return a < b;
}

size_t TableOrder::lowerBound(int row) const
{
    return size_t(std::lower_bound(m_rows.begin(), m_rows.end(), row, [this](int a, int b) { return less(a, b); })
                  - m_rows.begin());
}

qint64 TableOrder::keyOf(int row, int slot, bool &ranksMoved)
{
    const Column &c = m_table.column(m_fields[slot]);
    if (!c.isText())
        return c.numbers[size_t(row)]; // the null marker is the lowest number
    qint64 rank = 0;
    if (!m_ranks[size_t(slot)]->rank(c.texts[size_t(row)], rank))
        ranksMoved = true;
    return rank;
}

void TableOrder::rebuild()
{
    const size_t slotCount = size_t(m_table.rowSlots());
    const size_t n = size_t(m_fields.size());
    m_ranks.clear();
    m_keys.assign(slotCount * n, 0);
    // The texts of each field are ranked on a thread of their own; each
    // ranking has its own collator and only reads its own column.
    std::vector<std::future<std::vector<qint64>>> textRanks(n);
    for (size_t slot = 0; slot < n; ++slot) {
        const Column &c = m_table.column(m_fields[qsizetype(slot)]);
        m_ranks.push_back(c.isText() ? std::make_unique<TextRanks>() : nullptr);
        if (c.isText())
            textRanks[slot] = std::async(std::launch::async,
                                         [ranks = m_ranks.back().get(), &c] { return ranks->build(c.texts); });
    }
    for (size_t slot = 0; slot < n; ++slot) {
        const Column &c = m_table.column(m_fields[qsizetype(slot)]);
        if (!c.isText()) {
            for (size_t row = 0; row < slotCount; ++row)
                m_keys[row * n + slot] = c.numbers[row]; // the null marker is the lowest number
            continue;
        }
        const std::vector<qint64> rowRanks = textRanks[slot].get();
        for (size_t row = 0; row < slotCount; ++row)
            m_keys[row * n + slot] = rowRanks[row];
    }
    m_rows.clear();
    m_rows.reserve(size_t(m_table.liveRowCount()));
    for (int row = 0; row < int(slotCount); ++row) {
        if (m_table.isAlive(row))
            m_rows.push_back(row);
    }
    if (!sortPacked())
        std::sort(m_rows.begin(), m_rows.end(), [this](int a, int b) { return less(a, b); });
}

bool TableOrder::sortPacked()
{
    // Every key of a freshly built order becomes a small index (texts by
    // their rank's position, numbers by their distance from the lowest);
    // when the indexes of all fields and the row id fit in 64 bits together,
    // one integer per row sorts in the same order as less(), without
    // comparing the keys field by field.
    const size_t n = size_t(m_fields.size());
    std::vector<qint64> lowest(n, 0);
    std::vector<int> bits(n, 0);
    int total = std::bit_width(quint64(m_table.rowSlots()));
    for (size_t slot = 0; slot < n; ++slot) {
        quint64 highest = 0;
        if (m_ranks[slot]) {
            for (int row : m_rows)
                highest = std::max(highest, packedRank(m_keys[size_t(row) * n + slot]));
        } else {
            qint64 low = std::numeric_limits<qint64>::max(), high = std::numeric_limits<qint64>::min();
            for (int row : m_rows) {
                const qint64 key = m_keys[size_t(row) * n + slot];
                if (key == Column::kNullNumber)
                    continue;
                low = std::min(low, key);
                high = std::max(high, key);
            }
            if (low <= high) {
                if (quint64(high) - quint64(low) >= (quint64(1) << 62))
                    return false;
                lowest[slot] = low;
                highest = quint64(high) - quint64(low) + 1;
            }
        }
        bits[slot] = std::bit_width(highest);
        total += bits[slot];
        if (total > 64)
            return false;
    }
    const int rowBits = std::bit_width(quint64(m_table.rowSlots()));
    std::vector<quint64> packed;
    packed.reserve(m_rows.size());
    for (int row : m_rows) {
        quint64 key = 0;
        for (size_t slot = 0; slot < n; ++slot) {
            const qint64 k = m_keys[size_t(row) * n + slot];
            quint64 index = 0;
            if (m_ranks[slot])
                index = packedRank(k);
            else if (k != Column::kNullNumber)
                index = quint64(k) - quint64(lowest[slot]) + 1;
            key = bits[slot] == 0 ? key : (key << bits[slot]) | index;
        }
        packed.push_back(rowBits == 0 ? key : (key << rowBits) | quint64(row));
    }
    radixSort(packed, total);
    const quint64 rowMask = rowBits == 64 ? ~quint64(0) : (quint64(1) << rowBits) - 1;
    for (size_t i = 0; i < packed.size(); ++i)
        m_rows[i] = int(packed[i] & rowMask);
    return true;
}

void TableOrder::makeRoomForRows()
{
    const size_t size = size_t(m_table.rowSlots()) * size_t(m_fields.size());
    if (m_keys.size() < size)
        m_keys.resize(size, 0);
}

void TableOrder::rowChanged(int row)
{
    const auto where = std::find(m_rows.begin(), m_rows.end(), row);
    if (where != m_rows.end())
        m_rows.erase(where);
    const size_t n = size_t(m_fields.size());
    if (m_keys.size() < size_t(m_table.rowSlots()) * n)
        m_keys.resize(size_t(m_table.rowSlots()) * n, 0);
    bool ranksMoved = false;
    for (size_t i = 0; i < n; ++i)
        m_keys[size_t(row) * n + i] = keyOf(row, int(i), ranksMoved);
    if (ranksMoved) {
        rebuild();
        return;
    }
    if (m_table.isAlive(row))
        m_rows.insert(m_rows.begin() + qsizetype(lowerBound(row)), row);
}

} // namespace qv
