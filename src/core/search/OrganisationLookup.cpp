#include "search/OrganisationLookup.h"

#include "data/TableView.h"

namespace qv {

int organisationForLookup(TableView &organisations, const QString &text)
{
    const QString company = QStringLiteral("Company");
    const bool chosen = organisations.currentRow() >= 0
        && organisations.text(company).compare(text, Qt::CaseInsensitive) == 0;
    if (!chosen && !organisations.locate(company, text, LocateOptions{.caseInsensitive = true}))
        return -1;
    const Value id = organisations.value(QStringLiteral("CoID"));
    return std::holds_alternative<qint32>(id) ? std::get<qint32>(id) : -1;
}

} // namespace qv
