#pragma once

#include <QAbstractListModel>
#include <QStringList>

#include <memory>

namespace qv {

class RecordTable;
class TableView;

// The distinct texts of one field over the rows a view shows, sorted
// ignoring case: the candidates of a lookup box's completer, which then
// finds the ones beginning with the typed text by binary search instead of
// a scan of every row at each key press.
class SortedFieldModel : public QAbstractListModel {
    Q_OBJECT
public:
    SortedFieldModel(TableView &view, QString field, QObject *parent = nullptr);

    // Catches up with the view's rows: rebuilds when its table, its filter
    // or any row changed since the last time; nothing otherwise.
    void refresh();

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    TableView &m_view;
    QString m_field;
    QStringList m_texts;
    std::weak_ptr<RecordTable> m_seenTable;
    quint64 m_seenVersion = 0;
    QString m_seenFilter;
};

} // namespace qv
