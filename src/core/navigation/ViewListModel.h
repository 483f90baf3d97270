#pragma once

#include <QAbstractListModel>

namespace qv {

class TableView;

// One field of every row a view shows, in the view's order: the entry list
// (Name over the list copy) and the lookup boxes. Rows are read from the
// view when painted; nothing is copied.
class ViewListModel : public QAbstractListModel {
    Q_OBJECT
public:
    ViewListModel(TableView &view, QString field, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // The view's rows changed as a whole (a book opened, a filter set).
    void reload();
    // Whether the row is a yellow-page entry (false for views without Yellow).
    bool isYellow(int row) const;

private:
    TableView &m_view;
    QString m_field;
    int m_fieldIndex = -1;
    int m_yellowField = -1;
};

} // namespace qv
