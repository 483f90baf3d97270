#include "printing/ReportContent.h"

#include "common/Prompter.h"
#include "data/RecordStore.h"
#include "data/RecordTable.h"

#include <QHash>

namespace qv {

namespace {

const QString kCoId = QStringLiteral("CoID");
const QString kOrgId = QStringLiteral("OrgID");

qint64 number(const RecordTable &table, int field, int row)
{
    return table.column(field).numbers[size_t(row)];
}

// The organisation rows by CoID; the first in the view's order wins.
QHash<qint64, int> organisationsById(const TableView &organisations)
{
    const RecordTable &table = *organisations.table();
    const int coId = table.fieldIndex(kCoId);
    QHash<qint64, int> rows;
    for (int row : organisations.rows()) {
        const qint64 id = number(table, coId, row);
        if (!rows.contains(id))
            rows.insert(id, row);
    }
    return rows;
}

void collectPersons(const TableView &persons, const TableView &organisations, std::vector<ReportBlock> &blocks)
{
    const QHash<qint64, int> byId = organisationsById(organisations);
    const RecordTable &table = *persons.table();
    const int orgId = table.fieldIndex(kOrgId);
    blocks.reserve(persons.rows().size());
    for (int row : persons.rows())
        blocks.push_back({ReportBlock::Kind::Person, row, byId.value(number(table, orgId, row), -1)});
}

bool isYellow(const RecordTable &table, int yellowField, int row)
{
    const qint64 v = number(table, yellowField, row);
    return v != Column::kNullNumber && v != 0;
}

void collectByOrganisation(const TableView &persons, const TableView &organisations, std::vector<ReportBlock> &blocks)
{
    const RecordTable &people = *persons.table();
    const int orgId = people.fieldIndex(kOrgId);
    const int yellow = people.fieldIndex(QStringLiteral("Yellow"));
    // Each organisation's white-page entries in list order, up to its first
    // yellow-page entry; an organisation with only yellow-page entries still
    // has people and is printed.
    QHash<qint64, std::vector<int>> members;
    QHash<qint64, bool> closed;
    for (int row : persons.rows()) {
        const qint64 id = number(people, orgId, row);
        std::vector<int> &list = members[id];
        if (closed.value(id))
            continue;
        if (isYellow(people, yellow, row))
            closed[id] = true;
        else
            list.push_back(row);
    }
    const RecordTable &orgs = *organisations.table();
    const int coId = orgs.fieldIndex(kCoId);
    for (int orgRow : organisations.rows()) {
        const auto it = members.constFind(number(orgs, coId, orgRow));
        if (it == members.constEnd())
            continue;
        blocks.push_back({ReportBlock::Kind::Organisation, -1, orgRow});
        for (int personRow : *it)
            blocks.push_back({ReportBlock::Kind::Person, personRow, orgRow});
    }
}

} // namespace

QString ReportContent::text(const ReportBlock &block, const QString &field, bool organisationField) const
{
    const RecordTable &table = organisationField ? *organisations : *persons;
    const int row = organisationField ? block.organisationRow : block.personRow;
    if (row < 0)
        return {};
    return valueText(table.value(row, table.fieldIndex(field)));
}

ReportContent collectReportContent(RecordStore &data, PrintMode mode)
{
    using B = TableView::Binding;
    // The print copies follow the list copies, which keep their own filters.
    data.personPrint.bindTo(data.personList, B::TakeOverSettings);
    data.organisationPrint.bindTo(data.organisationList, B::TakeOverSettings);
    data.organisationPrint.setFilter(QString());
    ReportContent content;
    content.persons = data.personPrint.table();
    content.organisations = data.organisationPrint.table();
    if (mode == PrintMode::ByOrganisation) {
        data.personPrint.setFilter(QString());
        // A book with the default organisation alone has nothing to list by organisation.
        if (data.organisationPrint.recordCount() >= 2)
            collectByOrganisation(data.personPrint, data.organisationPrint, content.blocks);
    } else {
        collectPersons(data.personPrint, data.organisationPrint, content.blocks);
    }
    return content;
}

std::optional<ReportContent> prepareReport(RecordStore &data, PrintMode mode, Prompter &prompter)
{
    ReportContent content = collectReportContent(data, mode);
    if (content.blocks.empty()) {
        prompter.message(QStringLiteral("Please specify what to print."), Prompter::Icon::Plain, Prompter::Button::Ok);
        return std::nullopt;
    }
    return content;
}

} // namespace qv
