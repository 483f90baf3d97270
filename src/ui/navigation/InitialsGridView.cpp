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
    // The grid hides itself once an initial is clicked; with Tab moving between
    // cells, passing the focus on would choose the next initial.
    setTabKeyNavigation(false);
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
    connect(this, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
        if (row >= 0)
            emit initialSelected(m_grid.at(row, column));
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
            // An empty cell cannot be chosen by the mouse or the keys: the highlight and the list stay.
            if (item->text().isEmpty() && (r != 0 || c != 0))
                item->setFlags(Qt::NoItemFlags);
            setItem(r, c, item);
        }
    }
    // Cell (0, 0): the way back to the category tree.
    item(0, 0)->setIcon(style()->standardIcon(QStyle::SP_DirHomeIcon));
    item(0, 0)->setToolTip(QStringLiteral("Back to the categories"));
    item(0, 0)->setBackground(Qt::white);
    setCurrentCell(0, 0);
}

void InitialsGridView::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex pressed = indexAt(event->position().toPoint());
    const bool again = event->button() == Qt::LeftButton && pressed.isValid() && pressed == currentIndex();
    QTableWidget::mousePressEvent(event);
    // The list may show something else by now (the tree chose a category): the current cell lists its entries again.
    if (again)
        emit initialSelected(m_grid.at(pressed.row(), pressed.column()));
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
