#include "EditingBook.h"

#include "data/RecordTable.h"

namespace qv::test {

std::vector<Value> organisation(qint32 coId, const QString &company, const std::vector<Value> &more)
{
    std::vector<Value> row(10);
    row[0] = coId;
    row[1] = company;
    for (size_t i = 0; i < more.size() && i + 2 < row.size(); ++i)
        row[i + 2] = more[i];
    return row;
}

QStringList tableDump(const TableView &view)
{
    const RecordTable &table = *view.table();
    QStringList rows;
    for (int row = 0; row < table.rowSlots(); ++row) {
        if (!table.isAlive(row))
            continue;
        QStringList fields;
        for (int f = 0; f < table.fieldCount(); ++f)
            fields << valueText(table.value(row, f));
        rows << fields.join(QLatin1Char('|'));
    }
    return rows;
}

EditingBook::EditingBook(const std::vector<std::vector<Value>> &persons, const std::vector<std::vector<Value>> &organisations)
{
    for (const auto &p : persons)
        data.personRead.appendRecord(p);
    data.organisationRead.appendRecord(organisation(0, QStringLiteral("Private")));
    data.organisationRead.appendRecord(organisation(2001, QStringLiteral("ACME")));
    for (const auto &o : organisations)
        data.organisationRead.appendRecord(o);
    data.bindViews();
    data.personList.setLogChanges(true);
    data.organisationList.setLogChanges(true);
    edit.scanPersonTable(data.personList);
    edit.scanOrganisationTable(data.organisationList);
    edit.setCompoundSurnames({QStringLiteral("\u6b27\u9633"), QStringLiteral("\u53f8\u9a6c")});
    tree.loadTree("All\r\n\tA\r\n\tB\r\nSearch\r\n", "1000\r\n1001\r\n1002\r\n101\r\n");
}

} // namespace qv::test
