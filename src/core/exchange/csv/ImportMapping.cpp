#include "exchange/csv/ImportMapping.h"

namespace qv {

std::optional<QString> joinedText(const MappedColumns &columns, const QStringList &values)
{
    QString joined;
    for (int column : columns) {
        if (column < 1)
            break;
        if (column > values.size())
            return std::nullopt;
        const QString &value = values[column - 1];
        if (joined.isEmpty())
            joined = value;
        else if (!value.isEmpty())
            joined += QLatin1String(", ") + value;
    }
    return joined;
}

std::optional<QString> firstColumnValue(const MappedColumns &columns, const QStringList &values)
{
    if (columns[0] < 1 || columns[0] > values.size())
        return std::nullopt;
    return values[columns[0] - 1];
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
