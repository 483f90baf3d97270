#include "navigation/InitialsGrid.h"

namespace qv {

int InitialsGrid::columnsFor(int paneWidth, int cellWidth)
{
    return std::max(4, (paneWidth - 22) / std::max(1, cellWidth));
}

InitialsGrid InitialsGrid::fill(const QStringList &initials, int columns)
{
    InitialsGrid grid;
    grid.columns = std::max(1, columns);
    const qsizetype cells = initials.size() + 1; // (0, 0) stays empty
    const qsizetype rowCount = (cells + grid.columns - 1) / grid.columns;
    for (qsizetype r = 0; r < rowCount; ++r) {
        QStringList row;
        for (int c = 0; c < grid.columns; ++c) {
            const qsizetype k = r * grid.columns + c - 1;
            row << (k >= 0 && k < initials.size() ? initials[k] : QString());
        }
        grid.rows.push_back(row);
    }
    return grid;
}

QString InitialsGrid::at(int row, int column) const
{
    if (row < 0 || row >= int(rows.size()) || column < 0 || column >= columns)
        return {};
    return rows[size_t(row)][column];
}

} // namespace qv
