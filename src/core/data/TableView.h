#pragma once

#include "common/PageBuffer.h"
#include "data/RecordTable.h"
#include "data/Schema.h"
#include "data/Value.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace qv {

namespace filter {
struct Node;
class FilterPredicate;
} // namespace filter

class TableOrder;

struct IndexDef {
    QString name;
    QString fields; // field names separated by ";"
};

struct LocateOptions {
    bool caseInsensitive = false;
    bool partialKey = false; // the value is a prefix
};

// A remembered row of a view's table.
struct Bookmark {
    std::weak_ptr<RecordTable> table;
    int row = -1;
};

// A cursor over the rows of a table: its own current row, filter, filter
// options and order. The rows are shared with every other view bound to the
// same table, so a change posted through one view is seen by all.
class TableView {
public:
    enum class State { Browse, Edit, Insert };
    enum class Binding { KeepSettings, TakeOverSettings };
    TableView(QString name, const QList<FieldDef> &schema);
    ~TableView();
    TableView(const TableView &) = delete;
    TableView &operator=(const TableView &) = delete;

    const QString &name() const { return m_name; }
    const std::shared_ptr<RecordTable> &table() const { return m_table; }
    int fieldCount() const { return m_table->fieldCount(); }

    // Replaces this view's table by the one stored in the bytes or file.
    // Throws DatabaseError, leaving the view as it was, when the bytes are
    // not a table or lack a field the view's order names.
    void loadFromBytes(const QByteArray &bytes);
    void loadTable(std::shared_ptr<RecordTable> table);
    void loadFromFile(const QString &path);
    // Every live row, whatever the filter.
    PageBuffer saveToBuffer() const;

    // Shares the source's rows. TakeOverSettings copies its filter, filter
    // options and order; KeepSettings keeps this view's own.
    void bindTo(const TableView &source, Binding binding);

    // Order
    void setIndexDefs(QList<IndexDef> defs);
    const QList<IndexDef> &indexDefs() const { return m_indexDefs; }
    void setFirstIndexFields(const QString &fields);
    // Empty name: the order in which rows were added.
    void setIndexName(const QString &name);
    const QString &indexName() const { return m_indexName; }
    // The fields of the active index; throws DatabaseError when the index is not defined.
    QStringList orderFieldNames() const;
    // Applies the index definitions to the current table; throws DatabaseError
    // when the active one names a field the table lacks.
    void refreshIndexDefs();

    // Filter
    // Throws filter::FilterError and keeps the previous filter when the text does not parse.
    void setFilter(const QString &text);
    const QString &filter() const { return m_filterText; }
    void setCaseInsensitive(bool on);
    bool caseInsensitive() const { return m_caseInsensitive; }
    void setFiltered(bool on);
    bool filtered() const { return m_filtered; }
    void reapplyFilter();

    // Navigation
    void first();
    void next();
    void prior();
    void last();
    bool atEnd() const;
    bool isEmpty() const { return recordCount() == 0; }
    int recordCount() const;
    int recNo() const; // 1-based; 0 on an empty view
    void setRecNo(int recNo);
    int currentRow() const; // row id, -1 when none
    Bookmark bookmark() const;
    bool gotoBookmark(const Bookmark &mark);
    bool locate(const QString &field, const Value &value, LocateOptions options = {});
    // The rows passing the filter, in order (row ids).
    const std::vector<int> &rows() const;

    // Fields: names match ignoring case; an unknown name throws DatabaseError.
    int fieldIndex(const QString &name) const;
    Value value(const QString &field) const { return value(fieldIndex(field)); }
    Value value(int field) const;
    QString text(const QString &field) const { return valueText(value(field)); }
    void setValue(const QString &field, const Value &v) { setValue(fieldIndex(field), v); }
    void setValue(int field, const Value &v);

    // Editing
    State state() const { return m_state; }
    void append();
    void edit();
    void post();
    void cancel();
    void remove();
    void appendRecord(const std::vector<Value> &values);
    void emptyTable();

    // Change log of the table
    void setLogChanges(bool on);
    bool logChanges() const { return m_logChanges; }
    int changeCount(); // posts a row still open first
    void rollbackTo(int count);
    void mergeChangeLog();

    // Notifications
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disabled > 0; }
    void setAfterScroll(std::function<void()> handler) { m_afterScroll = std::move(handler); }

private:
    void compileFilter();
    QList<int> orderFields(const RecordTable &table) const;
    void sync() const;
    void rebuildRows() const;
    void moveTo(int row);
    void scrolled();
    void checkBrowse();

    QString m_name;
    std::shared_ptr<RecordTable> m_table;

    QList<IndexDef> m_indexDefs;
    QString m_indexName;
    TableOrder *m_order = nullptr;

    QString m_filterText;
    std::shared_ptr<filter::Node> m_filterTree;
    std::unique_ptr<filter::FilterPredicate> m_predicate;
    bool m_caseInsensitive = false;
    bool m_filtered = true;

    // Rows passing the filter in order, kept in step with the table lazily.
    mutable std::vector<int> m_rows;
    mutable quint64 m_seenVersion = 0;
    mutable int m_current = -1;
    mutable size_t m_pos = 0;
    bool m_eof = true;

    State m_state = State::Browse;
    std::vector<Value> m_buffer;
    int m_editRow = -1;

    bool m_logChanges = false;
    int m_disabled = 0;
    bool m_scrollPending = false;
    std::function<void()> m_afterScroll;
};

} // namespace qv
