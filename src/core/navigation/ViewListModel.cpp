#include "navigation/ViewListModel.h"

#include "data/RecordTable.h"
#include "data/TableView.h"

namespace qv {

ViewListModel::ViewListModel(TableView &view, QString field, QObject *parent)
    : QAbstractListModel(parent)
    , m_view(view)
    , m_field(std::move(field))
{
    reload();
}

void ViewListModel::reload()
{
    beginResetModel();
    m_fieldIndex = m_view.table()->fieldIndex(m_field);
    m_yellowField = m_view.table()->fieldIndex(QStringLiteral("Yellow"));
    endResetModel();
}

int ViewListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_view.recordCount();
}

bool ViewListModel::isYellow(int row) const
{
    const auto &rows = m_view.rows();
    return row >= 0 && row < int(rows.size()) && m_yellowField >= 0
        && m_view.table()->value(rows[size_t(row)], m_yellowField) == Value(true);
}

QVariant ViewListModel::data(const QModelIndex &index, int role) const
{
    const auto &rows = m_view.rows();
    if (!index.isValid() || index.row() >= int(rows.size()) || m_fieldIndex < 0)
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole || role == Qt::ToolTipRole)
        return valueText(m_view.table()->value(rows[size_t(index.row())], m_fieldIndex));
    return {};
}

} // namespace qv
