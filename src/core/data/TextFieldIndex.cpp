#include "data/TextFieldIndex.h"

#include "data/RecordTable.h"
#include "data/TableView.h"

#include <QHash>

#include <algorithm>

namespace qv {

TextFieldIndex::TextFieldIndex(QString field, Qt::CaseSensitivity sensitivity)
    : m_field(std::move(field))
    , m_sensitivity(sensitivity)
{
}

size_t TextFieldIndex::keyOf(QStringView text) const
{
    if (m_sensitivity == Qt::CaseSensitive)
        return qHash(text);
    return qHash(text.toString().toCaseFolded());
}

void TextFieldIndex::reindex(int row)
{
    const auto slot = size_t(row);
    if (slot >= m_keyOfRow.size()) {
        m_keyOfRow.resize(slot + 1);
        m_filed.resize(slot + 1);
    }
    if (m_filed[slot]) {
        auto [from, to] = m_rowsByKey.equal_range(m_keyOfRow[slot]);
        for (auto it = from; it != to; ++it) {
            if (it->second == row) {
                m_rowsByKey.erase(it);
                break;
            }
        }
        m_filed[slot] = false;
    }
    const std::shared_ptr<RecordTable> table = m_table.lock();
    if (!table->isAlive(row))
        return;
    m_keyOfRow[slot] = keyOf(table->column(m_fieldIndex).texts.view(slot));
    m_filed[slot] = true;
    m_rowsByKey.emplace(m_keyOfRow[slot], row);
}

void TextFieldIndex::rebuild()
{
    const std::shared_ptr<RecordTable> table = m_table.lock();
    m_rowsByKey.clear();
    m_keyOfRow.assign(size_t(table->rowSlots()), 0);
    m_filed.assign(size_t(table->rowSlots()), false);
    m_rowsByKey.reserve(size_t(table->liveRowCount()));
    for (int row = 0; row < table->rowSlots(); ++row)
        reindex(row);
    m_version = table->version();
}

void TextFieldIndex::catchUp(const std::shared_ptr<RecordTable> &table)
{
    if (m_table.lock() != table || m_tableSeen != table.get()) {
        m_table = table;
        m_tableSeen = table.get();
        m_fieldIndex = table->fieldIndex(m_field);
        rebuild();
        return;
    }
    if (m_version == table->version())
        return;
    const auto changes = table->changesSince(m_version);
    if (!changes) {
        rebuild();
        return;
    }
    for (int row : *changes)
        reindex(row);
    m_version = table->version();
}

std::vector<int> TextFieldIndex::rowsEqualTo(const TableView &view, const QString &text)
{
    const std::shared_ptr<RecordTable> &table = view.table();
    catchUp(table);
    const Value fitted = table->fitToField(m_fieldIndex, text);
    const QString wanted = isNull(fitted) ? QString() : std::get<QString>(fitted);
    const TextColumn &texts = table->column(m_fieldIndex).texts;
    std::vector<int> rows;
    auto [from, to] = m_rowsByKey.equal_range(keyOf(wanted));
    for (auto it = from; it != to; ++it) {
        if (texts.view(size_t(it->second)).compare(wanted, m_sensitivity) == 0)
            rows.push_back(it->second);
    }
    return rows;
}

int TextFieldIndex::firstInView(const TableView &view, const QString &text)
{
    const std::vector<int> candidates = rowsEqualTo(view, text);
    if (candidates.empty())
        return -1;
    // Names are seldom shared: walking the view's row ids for a few candidates is cheap.
    const std::vector<int> &order = view.rows();
    const auto first = std::find_if(order.begin(), order.end(), [&](int row) {
        return std::find(candidates.begin(), candidates.end(), row) != candidates.end();
    });
    return first == order.end() ? -1 : *first;
}

} // namespace qv
