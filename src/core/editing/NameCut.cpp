#include "editing/NameCut.h"

#include "common/TextWidth.h"
#include "data/RecordTable.h"
#include "data/TableView.h"

namespace qv {

namespace {

// The captions the name fields have in the name-parts dialog.
QString captionOf(const QString &field)
{
    if (field == QLatin1String("SurName"))
        return QStringLiteral("Surname");
    if (field == QLatin1String("GivenName"))
        return QStringLiteral("Givenname");
    if (field == QLatin1String("MidName"))
        return QStringLiteral("Midname");
    return field;
}

} // namespace

QString fitNameField(const TableView &persons, const QString &field, const QString &text, NameCuts &cuts)
{
    const int width = persons.table()->fields()[persons.fieldIndex(field)].size;
    QString kept = cutToWidth(text, width);
    if (kept == text)
        return text;
    // A cut between two words would leave a blank at the end.
    while (!kept.isEmpty() && kept.back().isSpace())
        kept.chop(1);
    cuts.append({field, kept});
    return kept;
}

void writeNameField(TableView &persons, const QString &field, const QString &text, NameCuts &cuts)
{
    persons.setValue(field, fitNameField(persons, field, text, cuts));
}

QString nameCutWarning(const NameCuts &cuts)
{
    QString text = QStringLiteral("The name was too long for its fields and was cut:");
    for (const NameCut &cut : cuts)
        text += QStringLiteral("\n%1 keeps \"%2\"").arg(captionOf(cut.field), cut.kept);
    return text;
}

QString cutNamesSentence(int count)
{
    if (count == 1)
        return QStringLiteral("1 name was too long for its fields and was cut.");
    if (count > 1)
        return QStringLiteral("%1 names were too long for their fields and were cut.").arg(count);
    return {};
}

} // namespace qv
