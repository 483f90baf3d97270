#include "exchange/csv/CsvRowLines.h"

#include "data/RecordTable.h"
#include "exchange/csv/CsvValue.h"

#include <QDate>

namespace qv {

namespace {

// The zero date, which stands for no date in exchanged files.
const qint64 kZeroDay = QDate(1899, 12, 30).toJulianDay();

void appendDigits(QString &out, int value, int width)
{
    char digits[8];
    for (int i = width - 1; i >= 0; --i) {
        digits[i] = char('0' + value % 10);
        value /= 10;
    }
    out += QLatin1String(digits, width);
}

void appendDate(QString &line, qint64 julianDay)
{
    int year = 0, month = 0, day = 0;
    QDate::fromJulianDay(julianDay == Column::kNullNumber ? kZeroDay : julianDay).getDate(&year, &month, &day);
    line += u'"';
    appendDigits(line, year, 4);
    line += u'-';
    appendDigits(line, month, 2);
    line += u'-';
    appendDigits(line, day, 2);
    line += QLatin1String("\",");
}

} // namespace

CsvRowLines::CsvRowLines(const RecordTable &persons, QList<int> personFields, const RecordTable &organisations,
                         QList<int> organisationFields)
    : m_persons(persons)
    , m_organisations(organisations)
    , m_personFields(std::move(personFields))
    , m_organisationFields(std::move(organisationFields))
    , m_orgIdField(persons.fieldIndex(QStringLiteral("OrgID")))
{
    const int coIdField = organisations.fieldIndex(QStringLiteral("CoID"));
    const Column &coIds = organisations.column(coIdField);
    for (int row = 0; row < organisations.rowSlots(); ++row) {
        if (organisations.isAlive(row))
            m_organisationRows.emplace(coIds.numbers[size_t(row)], row);
    }
}

void CsvRowLines::appendField(QString &line, const RecordTable &table, int field, int row) const
{
    const Column &c = table.column(field);
    switch (c.def.type) {
    case FieldType::Date:
        appendDate(line, row < 0 ? Column::kNullNumber : c.numbers[size_t(row)]);
        return;
    case FieldType::Text:
    case FieldType::Memo:
        appendCsvValue(line, row < 0 ? QStringView() : c.texts.view(size_t(row)), c.def.type == FieldType::Memo);
        return;
    case FieldType::Integer:
    case FieldType::Boolean:
        appendCsvValue(line, row < 0 ? QString() : valueText(table.value(row, field)));
        return;
    }
}

void CsvRowLines::appendRowLine(QString &line, int personRow) const
{
    for (int field : m_personFields)
        appendField(line, m_persons, field, personRow);
    if (m_organisationFields.isEmpty())
        return;
    auto org = m_organisationRows.find(m_persons.column(m_orgIdField).numbers[size_t(personRow)]);
    if (org == m_organisationRows.end())
        org = m_organisationRows.find(0);
    const int organisationRow = org == m_organisationRows.end() ? -1 : org->second;
    for (int field : m_organisationFields)
        appendField(line, m_organisations, field, organisationRow);
}

QString CsvRowLines::titleLine(const QStringList &titles)
{
    QString line;
    for (const QString &title : titles)
        appendCsvValue(line, title);
    return line;
}

} // namespace qv
