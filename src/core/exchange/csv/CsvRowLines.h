#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <unordered_map>

namespace qv {

class RecordTable;

// The row lines of the CSV export and the clipboard: the chosen person
// fields of a person, then the chosen organisation fields of its
// organisation, each value followed by a comma. Dates read yyyy-mm-dd in
// double quotes, a missing one as the zero date 1899-12-30; memo fields are
// always quoted; other values are text as the record store renders them.
class CsvRowLines {
public:
    // Field indexes of the two tables, in the order of the columns.
    CsvRowLines(const RecordTable &persons, QList<int> personFields, const RecordTable &organisations,
                QList<int> organisationFields);

    // A person without a known organisation gets the default organisation's
    // values (CoID 0), or empty ones when the book has none.
    void appendRowLine(QString &line, int personRow) const;
    // The titles as one line of the same form, quoted where needed.
    static QString titleLine(const QStringList &titles);

private:
    void appendField(QString &line, const RecordTable &table, int field, int row) const;

    const RecordTable &m_persons;
    const RecordTable &m_organisations;
    QList<int> m_personFields;
    QList<int> m_organisationFields;
    int m_orgIdField;
    std::unordered_map<qint64, int> m_organisationRows; // CoID to row
};

} // namespace qv
