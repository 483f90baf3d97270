#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace qv {

// The layout of the surname-initial grid: cell (0, 0) leads back to the
// tree, the initials follow row by row from (1, 0).
struct InitialsGrid {
    int columns = 4;
    std::vector<QStringList> rows; // each row has `columns` cells; empty text is an empty cell

    // Columns for a left pane of this width and cells of this width: at least 4.
    static int columnsFor(int paneWidth, int cellWidth = 20);
    static InitialsGrid fill(const QStringList &initials, int columns);
    QString at(int row, int column) const;
};

} // namespace qv
