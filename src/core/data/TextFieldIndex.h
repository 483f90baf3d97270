#pragma once

#include <QString>

#include <memory>
#include <unordered_map>
#include <vector>

namespace qv {

class RecordTable;
class TableView;

// Finds the rows whose text field equals a value, exactly or ignoring case,
// without walking the table: a hash of every row's text, brought up to date
// with the table's changes when asked. Lookups by name in a book of
// 100,000 entries (the duplicate-name question, linking an organisation by
// its name) would otherwise scan every row.
class TextFieldIndex {
public:
    TextFieldIndex(QString field, Qt::CaseSensitivity sensitivity);

    // The live rows of the view's table whose field equals the text (cut to
    // the field's width, as the table would store it), in no particular order.
    std::vector<int> rowsEqualTo(const TableView &view, const QString &text);
    // The first such row in the view's order among the rows the view shows; -1 when none.
    int firstInView(const TableView &view, const QString &text);

private:
    void catchUp(const std::shared_ptr<RecordTable> &table);
    void rebuild();
    void reindex(int row);
    size_t keyOf(QStringView text) const;

    QString m_field;
    Qt::CaseSensitivity m_sensitivity;
    std::weak_ptr<RecordTable> m_table;
    const RecordTable *m_tableSeen = nullptr; // to tell a new table from one rebuilt at the same address
    int m_fieldIndex = -1;
    quint64 m_version = 0;
    std::vector<size_t> m_keyOfRow; // the hash each row is filed under
    std::vector<bool> m_filed;      // whether the row is filed at all (alive)
    std::unordered_multimap<size_t, int> m_rowsByKey;
};

} // namespace qv
