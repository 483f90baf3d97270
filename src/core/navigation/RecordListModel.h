#pragma once

#include <QString>

namespace qv {

class TableView;

// Which left-pane control set the list's current filter.
enum class NavigationSource { Tree, InitialsGrid, Search };

// The record list model: composes the filters of the entry list from the
// category tree and the surname-initial grid, and words the status line counts.
class RecordListModel {
public:
    void attachTables(TableView &persons, TableView &organisations);

    void showAll();
    void showCategory(int number);
    // An empty initial lists all entries (include-yellow) or all white-page entries.
    void showInitial(const QString &initial, bool includeYellow);
    // Filters the changed rows anew with the list's filter as it stands.
    void reapply();
    void showYellowPages();
    // What selecting a tree node lists: every entry (1000), a category (above
    // 1000), the yellow pages (110). Returns false for the nodes that leave
    // the list as it is (the search node and other fixed nodes).
    bool showNode(int number);

    const QString &currentFilter() const { return m_filter; }
    // Which left-pane control chose the listed entries.
    NavigationSource source() const { return m_source; }
    void setSource(NavigationSource source) { m_source = source; }

    // "120 Entries; 14 Listed; 2 Selected".
    static QString countsText(int entries, int listed, int selected);
    // A text constant of the filter language: quoted, inner quotes doubled.
    static QString quoted(const QString &value);

private:
    void apply(const QString &filter);

    NavigationSource m_source = NavigationSource::Tree;
    TableView *m_persons = nullptr;
    TableView *m_organisations = nullptr;
    QString m_filter;
};

} // namespace qv
