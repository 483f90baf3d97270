#pragma once

#include <QHash>
#include <QString>

namespace qv {

class TableView;

// The organisations of a book by name, ignoring case, each name giving the
// CoID of the first organisation in the view's order that bears it: what a
// locate by Company finds, without walking the table for every imported row.
class OrganisationNames {
public:
    explicit OrganisationNames(TableView &organisations);

    // The CoID, or -1 when no organisation bears the name.
    int coIdOf(const QString &name) const;
    // Learns an organisation added since; an earlier one of that name stays first.
    void add(const QString &name, int coId);

private:
    QHash<QString, int> m_coIds; // case-folded Company to CoID
};

} // namespace qv
