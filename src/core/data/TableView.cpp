#include "data/TableView.h"

#include "data/DatabaseError.h"
#include "data/TableFile.h"
#include "data/TableOrder.h"
#include "data/filter/FilterPredicate.h"

#include <QFile>

#include <algorithm>

namespace qv {

TableView::TableView(QString name, const QList<FieldDef> &schema)
    : m_name(std::move(name))
{
    loadTable(std::make_shared<RecordTable>(schema));
}

TableView::~TableView() = default;

QStringList TableView::orderFieldNames() const
{
    QStringList names;
    if (m_indexName.isEmpty())
        return names;
    const auto def = std::find_if(m_indexDefs.begin(), m_indexDefs.end(), [this](const IndexDef &d) {
        return d.name.compare(m_indexName, Qt::CaseInsensitive) == 0;
    });
    if (def == m_indexDefs.end())
        throw DatabaseError(QStringLiteral("Index '%1' not found").arg(m_indexName));
    for (const QString &name : def->fields.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        names << name.trimmed();
    return names;
}

QList<int> TableView::orderFields(const RecordTable &table) const
{
    QList<int> fields;
    for (const QString &name : orderFieldNames()) {
        const int f = table.fieldIndex(name);
        if (f < 0)
            throw DatabaseError(QStringLiteral("Field '%1' not found").arg(name));
        fields << f;
    }
    return fields;
}

void TableView::loadTable(std::shared_ptr<RecordTable> table)
{
    const QList<int> fields = orderFields(*table); // throws before anything changes
    m_table = std::move(table);
    m_order = &m_table->order(fields);
    if (m_logChanges)
        m_table->setLogChanges(true);
    m_state = State::Browse;
    m_buffer.clear();
    try {
        compileFilter();
    } catch (const DatabaseError &) {
        // A filter naming a field this table lacks: the view shows every row.
        m_filterText.clear();
        m_filterTree.reset();
        m_predicate.reset();
    }
    m_seenVersion = 0;
    m_current = -1;
    first();
}

void TableView::loadFromBytes(const QByteArray &bytes)
{
    loadTable(readTableBytes(bytes));
}

void TableView::loadFromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DatabaseError(QStringLiteral("Cannot open file \"%1\"").arg(path));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFile::NoError)
        throw DatabaseError(QStringLiteral("Cannot read file \"%1\"").arg(path));
    loadFromBytes(bytes);
}

PageBuffer TableView::saveToBuffer() const
{
    return writeTableBuffer(*m_table);
}

void TableView::bindTo(const TableView &source, Binding binding)
{
    if (binding == Binding::TakeOverSettings) {
        m_filterText = source.m_filterText;
        m_filterTree = source.m_filterTree;
        m_caseInsensitive = source.m_caseInsensitive;
        m_filtered = source.m_filtered;
        m_indexDefs = source.m_indexDefs;
        m_indexName = source.m_indexName;
    }
    loadTable(source.m_table);
}

void TableView::setIndexDefs(QList<IndexDef> defs)
{
    m_indexDefs = std::move(defs);
}

void TableView::setFirstIndexFields(const QString &fields)
{
    if (m_indexDefs.isEmpty())
        throw DatabaseError(QStringLiteral("No index definition to change"));
    m_indexDefs.first().fields = fields;
}

void TableView::setIndexName(const QString &name)
{
    m_indexName = name;
    refreshIndexDefs();
}

void TableView::refreshIndexDefs()
{
    TableOrder *order = &m_table->order(orderFields(*m_table));
    if (order == m_order)
        return;
    m_order = order;
    m_seenVersion = 0;
    sync();
}

void TableView::compileFilter()
{
    m_predicate.reset();
    if (m_filterTree && m_filtered)
        m_predicate = filter::compileFilter(*m_filterTree, *m_table, m_caseInsensitive);
    m_seenVersion = 0;
}

void TableView::setFilter(const QString &text)
{
    auto tree = filter::parseFilter(text);
    auto predicate = tree && m_filtered ? filter::compileFilter(*tree, *m_table, m_caseInsensitive) : nullptr;
    m_filterText = text;
    m_filterTree = std::move(tree);
    m_predicate = std::move(predicate);
    m_seenVersion = 0;
    first();
}

void TableView::setCaseInsensitive(bool on)
{
    if (on == m_caseInsensitive)
        return;
    m_caseInsensitive = on;
    compileFilter();
    first();
}

void TableView::setFiltered(bool on)
{
    if (on == m_filtered)
        return;
    m_filtered = on;
    compileFilter();
    first();
}

void TableView::reapplyFilter()
{
    m_seenVersion = 0;
    sync();
}

void TableView::rebuildRows() const
{
    m_rows.clear();
    if (m_predicate)
        m_rows = filter::passingRows(*m_predicate, *m_table, m_order->rows());
}

const std::vector<int> &TableView::rows() const
{
    sync();
    return m_predicate ? m_rows : m_order->rows();
}

void TableView::sync() const
{
    const quint64 version = m_table->version();
    if (m_seenVersion == version)
        return;
    const auto changes = m_table->changesSince(m_seenVersion);
    if (!m_predicate) {
        // The order is the table's and always current.
    } else if (!changes || changes->size() > m_rows.size() / 8 + 64) {
        rebuildRows();
    } else {
        for (int row : *changes) {
            const auto at = std::find(m_rows.begin(), m_rows.end(), row);
            if (at != m_rows.end())
                m_rows.erase(at);
            if (m_table->isAlive(row) && m_predicate->test(row)) {
                const auto pos = std::lower_bound(m_rows.begin(), m_rows.end(), row,
                                                  [this](int a, int b) { return m_order->less(a, b); });
                m_rows.insert(pos, row);
            }
        }
    }
    m_seenVersion = version;

    // The current row stays current where it still passes; a row that left
    // the view hands over to the one that followed it.
    const std::vector<int> &list = m_predicate ? m_rows : m_order->rows();
    if (list.empty()) {
        m_current = -1;
        m_pos = 0;
        return;
    }
    if (m_current < 0) {
        m_pos = std::min(m_pos, list.size() - 1);
    } else {
        m_pos = size_t(std::lower_bound(list.begin(), list.end(), m_current,
                                        [this](int a, int b) { return m_order->less(a, b); })
                       - list.begin());
        m_pos = std::min(m_pos, list.size() - 1);
    }
    m_current = list[m_pos];
}

int TableView::recordCount() const
{
    return int(rows().size());
}

int TableView::currentRow() const
{
    sync();
    return m_current;
}

int TableView::recNo() const
{
    sync();
    return m_current < 0 ? 0 : int(m_pos) + 1;
}

bool TableView::atEnd() const
{
    return m_eof || recordCount() == 0;
}

void TableView::scrolled()
{
    if (m_disabled > 0) {
        m_scrollPending = true;
        return;
    }
    if (m_afterScroll)
        m_afterScroll();
}

void TableView::moveTo(int row)
{
    sync();
    const std::vector<int> &list = rows();
    const auto it = std::lower_bound(list.begin(), list.end(), row, [this](int a, int b) { return m_order->less(a, b); });
    if (it == list.end() || *it != row)
        return;
    m_pos = size_t(it - list.begin());
    m_current = row;
    m_eof = false;
    scrolled();
}

void TableView::checkBrowse()
{
    if (m_state != State::Browse)
        post();
}

void TableView::first()
{
    checkBrowse();
    const std::vector<int> &list = rows();
    m_pos = 0;
    m_current = list.empty() ? -1 : list.front();
    m_eof = list.empty();
    scrolled();
}

void TableView::last()
{
    checkBrowse();
    const std::vector<int> &list = rows();
    m_pos = list.empty() ? 0 : list.size() - 1;
    m_current = list.empty() ? -1 : list.back();
    m_eof = list.empty();
    scrolled();
}

void TableView::next()
{
    checkBrowse();
    const std::vector<int> &list = rows();
    if (m_current < 0 || m_pos + 1 >= list.size()) {
        m_eof = true;
        return;
    }
    m_current = list[++m_pos];
    scrolled();
}

void TableView::prior()
{
    checkBrowse();
    const std::vector<int> &list = rows();
    m_eof = list.empty();
    if (m_current < 0 || m_pos == 0)
        return;
    m_current = list[--m_pos];
    scrolled();
}

void TableView::setRecNo(int recNo)
{
    checkBrowse();
    const std::vector<int> &list = rows();
    if (list.empty())
        return;
    m_pos = size_t(std::clamp(recNo, 1, int(list.size())) - 1);
    m_current = list[m_pos];
    m_eof = false;
    scrolled();
}

Bookmark TableView::bookmark() const
{
    return {m_table, currentRow()};
}

bool TableView::gotoBookmark(const Bookmark &mark)
{
    checkBrowse();
    if (mark.table.lock() != m_table || !m_table->isAlive(mark.row))
        return false;
    const int before = currentRow();
    moveTo(mark.row);
    return currentRow() == mark.row || before == mark.row;
}

bool TableView::locate(const QString &field, const Value &value, LocateOptions options)
{
    checkBrowse();
    const int f = fieldIndex(field);
    const Column &c = m_table->column(f);
    const Qt::CaseSensitivity cs = options.caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive;
    const Value wanted = m_table->fitToField(f, value);
    for (int row : rows()) {
        bool match = false;
        if (isNull(wanted)) {
            match = c.isNull(row);
        } else if (c.isText()) {
            const QStringView have = c.texts.view(size_t(row));
            const QString &want = std::get<QString>(wanted);
            match = options.partialKey ? have.startsWith(want, cs) : have.compare(want, cs) == 0;
        } else {
            match = m_table->value(row, f) == wanted;
        }
        if (match) {
            moveTo(row);
            return true;
        }
    }
    return false;
}

int TableView::fieldIndex(const QString &name) const
{
    const int f = m_table->fieldIndex(name);
    if (f < 0)
        throw DatabaseError(QStringLiteral("Field '%1' not found").arg(name));
    return f;
}

Value TableView::value(int field) const
{
    if (m_state != State::Browse)
        return m_buffer[size_t(field)];
    const int row = currentRow();
    return row < 0 ? Value() : m_table->value(row, field);
}

void TableView::setValue(int field, const Value &v)
{
    if (m_state == State::Browse)
        throw DatabaseError(QStringLiteral("Dataset not in edit or insert mode"));
    m_buffer[size_t(field)] = m_table->fitToField(field, v);
}

void TableView::append()
{
    checkBrowse();
    m_buffer.assign(size_t(fieldCount()), Value());
    m_state = State::Insert;
}

void TableView::edit()
{
    checkBrowse();
    const int row = currentRow();
    if (row < 0)
        throw DatabaseError(QStringLiteral("Cannot perform this operation on an empty dataset"));
    m_buffer = m_table->rowValues(row);
    m_editRow = row;
    m_state = State::Edit;
}

void TableView::post()
{
    if (m_state == State::Browse)
        return;
    const State state = m_state;
    m_state = State::Browse;
    std::vector<Value> values = std::move(m_buffer);
    m_buffer.clear();
    int row = m_editRow;
    if (state == State::Insert)
        row = m_table->insertRow(values);
    else
        m_table->updateRow(row, values);
    moveTo(row);
}

void TableView::cancel()
{
    m_state = State::Browse;
    m_buffer.clear();
}

void TableView::remove()
{
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    checkBrowse();
    const int row = currentRow();
    if (row < 0)
        throw DatabaseError(QStringLiteral("Cannot perform this operation on an empty dataset"));
    m_table->deleteRow(row);
    sync();
    m_eof = m_current < 0;
    scrolled();
}

void TableView::appendRecord(const std::vector<Value> &values)
{
    checkBrowse();
    moveTo(m_table->insertRow(values));
}

void TableView::emptyTable()
{
    cancel();
    m_table->empty();
    first();
}

void TableView::setLogChanges(bool on)
{
    m_logChanges = on;
    m_table->setLogChanges(on);
}

int TableView::changeCount()
{
    checkBrowse();
    return m_table->changeCount();
}

void TableView::rollbackTo(int count)
{
    cancel();
    m_table->rollback(count);
    sync();
    m_eof = m_current < 0;
    scrolled();
}

void TableView::mergeChangeLog()
{
    checkBrowse();
    m_table->mergeChangeLog();
}

void TableView::disableControls()
{
    ++m_disabled;
}

void TableView::enableControls()
{
    if (m_disabled > 0 && --m_disabled == 0 && m_scrollPending) {
        m_scrollPending = false;
        scrolled();
    }
}

} // namespace qv
