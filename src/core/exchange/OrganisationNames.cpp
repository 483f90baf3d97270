#include "exchange/OrganisationNames.h"

#include "data/RecordTable.h"
#include "data/TableView.h"

namespace qv {

OrganisationNames::OrganisationNames(TableView &organisations)
{
    const RecordTable &table = *organisations.table();
    const Column &company = table.column(table.fieldIndex(QStringLiteral("Company")));
    const Column &coId = table.column(table.fieldIndex(QStringLiteral("CoID")));
    for (int row : organisations.rows()) {
        const QString name = company.texts.view(size_t(row)).toString();
        if (!name.isEmpty())
            add(name, int(coId.numbers[size_t(row)]));
    }
}

int OrganisationNames::coIdOf(const QString &name) const
{
    return m_coIds.value(name.toCaseFolded(), -1);
}

void OrganisationNames::add(const QString &name, int coId)
{
    const QString folded = name.toCaseFolded();
    if (!m_coIds.contains(folded))
        m_coIds.insert(folded, coId);
}

} // namespace qv
