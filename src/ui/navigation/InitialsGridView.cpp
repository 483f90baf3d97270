#include "navigation/InitialsGridView.h"

#include <QAction>
#include <QHeaderView>
#include <QMouseEvent>

namespace qv {

InitialsGridView::InitialsGridView(QWidget *parent)
    : QTableWidget(parent)
{
    setObjectName(QStringLiteral("initialsGrid"));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setShowGrid(true);
    // The column count already fits the pane: the cells share its width, nothing scrolls sideways.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    auto *refresh = new QAction(QStringLiteral("&Refresh"), this);
    refresh->setShortcut(QKeySequence(Qt::Key_F5));
    refresh->setStatusTip(QStringLiteral("Refresh the surname initial grids"));
    refresh->setShortcutContext(Qt::WidgetShortcut);
    connect(refresh, &QAction::triggered, this, &InitialsGridView::refreshRequested);
    addAction(refresh);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(this, &QTableWidget::currentCellChanged, this, [this](int row, int column, int oldRow, int oldColumn) {
        if (row < 0)
            return;
        const QString initial = m_grid.at(row, column);
        if (initial.isEmpty() && (row != 0 || column != 0)) {
            // An empty cell cannot be chosen: the selection and the list stay.
            const QSignalBlocker block(this);
            setCurrentCell(oldRow, oldColumn);
            return;
        }
        emit initialSelected(initial);
    });
}

void InitialsGridView::fill(const QStringList &initials, int paneWidth)
{
    const int cellWidth = fontMetrics().height() + 4;
    m_grid = InitialsGrid::fill(initials, InitialsGrid::columnsFor(paneWidth, cellWidth));
    const QSignalBlocker block(this);
    clear();
    setColumnCount(m_grid.columns);
    setRowCount(int(m_grid.rows.size()));
    for (int r = 0; r < rowCount(); ++r) {
        setRowHeight(r, fontMetrics().height() + 3);
        for (int c = 0; c < m_grid.columns; ++c) {
            auto *item = new QTableWidgetItem(m_grid.at(r, c));
            item->setTextAlignment(Qt::AlignCenter);
            setItem(r, c, item);
        }
    }
    // Cell (0, 0): the way back to the category tree.
    item(0, 0)->setIcon(style()->standardIcon(QStyle::SP_DirHomeIcon));
    item(0, 0)->setToolTip(QStringLiteral("Back to the categories"));
    item(0, 0)->setBackground(Qt::white);
    setCurrentCell(0, 0);
}

void InitialsGridView::mouseReleaseEvent(QMouseEvent *event)
{
    QTableWidget::mouseReleaseEvent(event);
    emit backToTree(currentRow() == 0 && currentColumn() == 0);
}

void InitialsGridView::focusInEvent(QFocusEvent *event)
{
    QTableWidget::focusInEvent(event);
    emit entered();
}

} // namespace qv
