#pragma once

#include "data/ColumnMemory.h"
#include "data/Schema.h"
#include "data/Value.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <map>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace qv {

class TableOrder;

// The texts of one field for every row, in one UTF-16 buffer of which each
// row holds a slice: one allocation per column instead of one per cell. A
// changed text goes to the end of the buffer; the space of the texts it
// replaced is given back once it outgrows the space in use. Null and empty
// are the same here: an empty slice.
class TextColumn {
public:
    size_t size() const { return m_slices.size(); }
    QStringView view(size_t row) const
    {
        const Slice s = m_slices[row];
        return QStringView(m_chars.data() + s.start, qsizetype(s.length));
    }
    // A copy that outlives any later change of the column.
    QString operator[](size_t row) const { return view(row).toString(); }
    bool isEmpty(size_t row) const { return m_slices[row].length == 0; }
    // The code units in the buffer, those of replaced texts included.
    size_t bufferedUnits() const { return m_chars.size(); }

    void set(size_t row, QStringView text);
    // Loading: a text of Latin-1 bytes (ASCII among them) for a row that is
    // still empty, widened straight into the buffer.
    void setLatin1(size_t row, QByteArrayView bytes);
    // Loading in bulk: Latin-1 bytes widened onto the end of the buffer in
    // one go, returning where they start; rows still empty then take their
    // parts of them. Units no row takes count as unused.
    size_t appendLatin1(QByteArrayView bytes);
    void takeLoaded(size_t row, size_t start, size_t length);
    void pushBack(QStringView text);
    // Rows added at the end, all empty.
    void resize(size_t rows);
    void clear();
    // Room for this many UTF-16 code units to come, so that loading
    // allocates the buffer once.
    void reserve(size_t units) { m_chars.reserve(m_chars.size() + units); }
    // Gives back room reserved but not used.
    void shrink();
    // The bytes of column memory a column of this many rows and code units
    // takes when filled at once.
    static size_t filledBytes(size_t rows, size_t units);

    // The same texts case-folded (see foldCase), made on first use and kept
    // in step with every later change, so that comparisons ignoring case
    // compare plain units. It lives as long as this column.
    const TextColumn &caseFolded() const;

private:
    struct Slice {
        quint32 start = 0;
        quint32 length = 0;
    };
    Slice add(QStringView text);
    void compact();

    std::vector<char16_t, ColumnAllocator<char16_t>> m_chars;
    std::vector<Slice, ColumnAllocator<Slice>> m_slices;
    size_t m_unused = 0; // code units no slice refers to any more
    mutable std::unique_ptr<TextColumn> m_folded;
};

// The numbers of one field for every row, each in the 32 bits the saved form
// holds, with kEmpty for an empty one. The one number of 32 bits that marks
// empty is told apart by the few rows that really hold it.
class NumberColumn {
public:
    static constexpr qint64 kEmpty = std::numeric_limits<qint64>::min();

    size_t size() const { return m_values.size(); }
    qint64 operator[](size_t row) const
    {
        const qint32 v = m_values[row];
        if (v != kMark)
            return v;
        return m_markRows.contains(row) ? v : kEmpty;
    }
    // A number (which must fit in 32 bits) or kEmpty.
    void set(size_t row, qint64 value);
    void pushBack(qint64 value);
    // Rows, all empty.
    void assignEmpty(size_t rows);
    // The bytes of column memory a column of this many rows takes.
    static size_t filledBytes(size_t rows) { return ColumnArena::footprint(rows * sizeof(qint32)); }
    void clear();

private:
    static constexpr qint32 kMark = std::numeric_limits<qint32>::min();
    std::vector<qint32, ColumnAllocator<qint32>> m_values;
    QSet<size_t> m_markRows; // rows holding the number kMark itself
};

// One field's values for every row. Integer, date (Julian day) and Boolean
// fields keep numbers with kNullNumber for empty; text and memo fields keep
// texts, a null or empty text being empty.
struct Column {
    static constexpr qint64 kNullNumber = NumberColumn::kEmpty;
    FieldDef def;
    NumberColumn numbers;
    TextColumn texts;

    bool isText() const { return def.type == FieldType::Text || def.type == FieldType::Memo; }
    bool isNull(int row) const { return isText() ? texts.isEmpty(size_t(row)) : numbers[size_t(row)] == kNullNumber; }
};

// The rows of one table, shared by every view bound to it. Rows are known by
// a row id that never changes; a deleted row keeps its id (and can come back
// by rollback). Every change is logged while logging is on and advances the
// table's version, so that views catch up with what others changed.
class RecordTable {
public:
    explicit RecordTable(QList<FieldDef> fields);
    ~RecordTable();
    RecordTable(const RecordTable &) = delete;
    RecordTable &operator=(const RecordTable &) = delete;

    const QList<FieldDef> &fields() const { return m_fields; }
    int fieldCount() const { return int(m_fields.size()); }
    // The field with this name, ignoring case; -1 when none.
    int fieldIndex(const QString &name) const;
    const Column &column(int field) const { return m_columns[size_t(field)]; }

    int rowSlots() const { return int(m_alive.size()); }
    int liveRowCount() const { return m_liveRows; }
    bool isAlive(int row) const { return row >= 0 && row < rowSlots() && m_alive[size_t(row)]; }

    Value value(int row, int field) const;
    std::vector<Value> rowValues(int row) const;
    // Turns a value into what the field stores: texts cut to the field's
    // width, numbers and texts converted where they can be.
    Value fitToField(int field, const Value &v) const;

    int insertRow(const std::vector<Value> &values);
    void updateRow(int row, const std::vector<Value> &values);
    void deleteRow(int row);
    // Removes every row and forgets the change log.
    void empty();

    void setLogChanges(bool on) { m_logChanges = on; }
    bool logChanges() const { return m_logChanges; }
    int changeCount() const { return int(m_log.size()); }
    // Undoes, newest first, every logged change after the given count.
    void rollback(int count);
    void mergeChangeLog() { m_log.clear(); }

    quint64 version() const { return m_version; }
    // The rows changed after the given version, oldest first; nothing when
    // the table no longer knows (a view must then rebuild).
    std::optional<std::span<const int>> changesSince(quint64 version) const;

    // The live rows in the order of these fields (ascending; row id breaks
    // ties). Orders are kept up to date with every change, or once at the
    // end of a batch.
    TableOrder &order(const QList<int> &fields);

    // A batch of many changes: instead of placing each changed row in every
    // order at once, the orders are rebuilt when the batch ends, and views
    // see a new journal then. Meanwhile an order lists the rows as they
    // stood before the batch, and a row changed in it is not found there.
    class OrderBatch {
    public:
        explicit OrderBatch(RecordTable &table);
        ~OrderBatch();
        OrderBatch(const OrderBatch &) = delete;
        OrderBatch &operator=(const OrderBatch &) = delete;

    private:
        RecordTable &m_table;
    };

    // Bulk filling of a new table by the table file reader, before any view
    // has asked for an order: rows with no log and no journal. The reader
    // sizes each column as it fills it, so that columns can be filled at once.
    void resizeForLoad(int rows);
    Column &columnForLoad(int field) { return m_columns[size_t(field)]; }

private:
    enum class LogKind { Insert, Update, Delete };
    struct LogEntry {
        LogKind kind;
        int row;
        std::vector<Value> before;
    };

    void store(int row, const std::vector<Value> &values);
    void changed(int row);
    void resetJournal();
    void endOrderBatch();

    QList<FieldDef> m_fields;
    QHash<QString, int> m_fieldByFoldedName;
    std::vector<Column> m_columns;
    std::vector<char> m_alive;
    int m_liveRows = 0;

    bool m_logChanges = false;
    std::vector<LogEntry> m_log;

    quint64 m_version = 1;
    quint64 m_journalStart = 1; // version before the first journal entry
    std::vector<int> m_journal;

    std::map<QList<int>, std::unique_ptr<TableOrder>> m_orders;
    int m_orderBatches = 0;
    bool m_changedInBatch = false;
};

} // namespace qv
