#include "search/SortedFieldModel.h"

#include "data/RecordTable.h"
#include "data/TableView.h"

#include <algorithm>

namespace qv {

namespace {

// QStringView::compare ignoring case, with ASCII compared directly: the
// same order, at a fraction of the cost for the names most books hold.
int compareIgnoringCase(QStringView a, QStringView b)
{
    const qsizetype common = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i) {
        const char16_t x = a[i].unicode(), y = b[i].unicode();
        if (x >= 0x80 || y >= 0x80)
            return a.sliced(i).compare(b.sliced(i), Qt::CaseInsensitive);
        const int diff = (x >= u'A' && x <= u'Z' ? x + 32 : x) - (y >= u'A' && y <= u'Z' ? y + 32 : y);
        if (diff != 0)
            return diff;
    }
    return int(a.size() - b.size());
}

} // namespace

SortedFieldModel::SortedFieldModel(TableView &view, QString field, QObject *parent)
    : QAbstractListModel(parent)
    , m_view(view)
    , m_field(std::move(field))
{
}

void SortedFieldModel::refresh()
{
    const std::shared_ptr<RecordTable> &table = m_view.table();
    const QString filter = m_view.filtered() ? m_view.filter() : QString();
    if (m_seenTable.lock() == table && m_seenVersion == table->version() && m_seenFilter == filter)
        return;
    const TextColumn &texts = table->column(table->fieldIndex(m_field)).texts;
    std::vector<QStringView> names;
    names.reserve(m_view.rows().size());
    for (int row : m_view.rows()) {
        if (!texts.isEmpty(size_t(row)))
            names.push_back(texts.view(size_t(row)));
    }
    // The completer's binary search compares ignoring case; equal texts in
    // another case follow in a fixed order.
    std::sort(names.begin(), names.end(), [](QStringView a, QStringView b) {
        const int folded = compareIgnoringCase(a, b);
        return folded != 0 ? folded < 0 : a.compare(b) < 0;
    });
    names.erase(std::unique(names.begin(), names.end()), names.end());
    beginResetModel();
    m_texts.clear();
    m_texts.reserve(qsizetype(names.size()));
    for (QStringView name : names)
        m_texts.append(name.toString());
    endResetModel();
    m_seenTable = table;
    m_seenVersion = table->version();
    m_seenFilter = filter;
}

int SortedFieldModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_texts.size());
}

QVariant SortedFieldModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_texts.size() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return m_texts[index.row()];
}

} // namespace qv
