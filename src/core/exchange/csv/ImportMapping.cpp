#include "exchange/csv/ImportMapping.h"

namespace qv {

QString joinedText(const MappedColumns &columns, const QStringList &values)
{
    QString joined;
    for (int column : columns) {
        if (column < 1)
            break;
        const QString value = values.value(column - 1);
        if (joined.isEmpty())
            joined = value;
        else if (!value.isEmpty())
            joined += QLatin1String(", ") + value;
    }
    return joined;
}

QString firstColumnValue(const MappedColumns &columns, const QStringList &values)
{
    return values.value(columns[0] - 1);
}

bool nameMappingMakesSense(const ImportFieldMapping &mapping)
{
    const int name = mapping[0][0], surname = mapping[1][0], given = mapping[3][0];
    return (name > 0 && surname <= 0 && given <= 0) || (name <= 0 && surname > 0 && given > 0);
}

void assignColumn(MappedColumns &columns, int column)
{
    for (int &slot : columns) {
        if (slot == column)
            return;
        if (slot < 1) {
            slot = column;
            return;
        }
    }
}

} // namespace qv
