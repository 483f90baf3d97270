#pragma once

#include <QCollator>
#include <QHash>
#include <QList>
#include <QString>

#include <memory>
#include <vector>

namespace qv {

class RecordTable;
class TextColumn;

// Ranks of the distinct texts of one field in the order of the system
// locale's collation (case-sensitive), so that rows sort by integers
// instead of by comparing texts again and again.
class TextRanks {
public:
    TextRanks();
    // Ranks every text of the column anew and returns the rank of each row;
    // empty text ranks lowest.
    std::vector<qint64> build(const TextColumn &texts);
    // The rank of a text, placing a new one between its neighbours. Returns
    // false when there was no room left and all ranks changed.
    bool rank(const QString &text, qint64 &result);

private:
    void spread();

    QCollator m_collator;
    std::vector<QString> m_sorted; // distinct texts in collation order
    std::vector<qint64> m_rankOf;  // rank of m_sorted[i]
    QHash<QString, qint64> m_ranks;
};

// The live rows of a table sorted by a list of fields, ascending, row id
// breaking ties. Kept up to date by the table with every change.
class TableOrder {
public:
    TableOrder(const RecordTable &table, QList<int> fields);

    const std::vector<int> &rows() const { return m_rows; }
    bool less(int a, int b) const;
    // Where the row is, or would be, in rows().
    size_t lowerBound(int row) const;

    void rowChanged(int row);
    // Rows the table added in a batch get placeholder keys, so that less()
    // can compare them until a rebuild places them.
    void makeRoomForRows();
    void rebuild();

private:
    qint64 keyOf(int row, int slot, bool &ranksMoved);
    // Sorts m_rows by packing each row's keys into one integer; false,
    // leaving m_rows as it was, when they do not fit.
    bool sortPacked();

    const RecordTable &m_table;
    QList<int> m_fields;
    std::vector<std::unique_ptr<TextRanks>> m_ranks; // per slot; null for number fields
    std::vector<qint64> m_keys;                      // m_fields.size() keys per row id
    std::vector<int> m_rows;
};

} // namespace qv
