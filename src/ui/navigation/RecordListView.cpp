#include "navigation/RecordListView.h"

#include "common/DragCursors.h"
#include "navigation/ViewListModel.h"

#include <QApplication>
#include <QDrag>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QStyledItemDelegate>

namespace qv {

namespace {

class RowColours : public QStyledItemDelegate {
public:
    RowColours(const RecordListView &view, QObject *parent) : QStyledItemDelegate(parent), m_view(view) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const auto *model = static_cast<const ViewListModel *>(index.model());
        // Decided in this order: yellow page, then marked, else the current row.
        QColor background;
        QColor text = option.palette.color(QPalette::Text);
        if (model->isYellow(index.row()))
            background = QColor(255, 255, 0);
        if (m_view.marks().isMarked(index.row())) {
            background = QColor(128, 0, 128);
            text = Qt::white;
        } else if (index == m_view.currentIndex()) {
            background = QColor(0, 0, 255);
            text = Qt::white;
        }
        QStyleOptionViewItem plain = option;
        plain.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
        if (background.isValid())
            painter->fillRect(option.rect, background);
        plain.palette.setColor(QPalette::Text, text);
        QStyledItemDelegate::paint(painter, plain, index);
    }

private:
    const RecordListView &m_view;
};

RowMarks::Modifier modifierOf(Qt::KeyboardModifiers m)
{
    if (m & Qt::ControlModifier)
        return RowMarks::Modifier::Ctrl;
    if (m & Qt::ShiftModifier)
        return RowMarks::Modifier::Shift;
    return RowMarks::Modifier::None;
}

} // namespace

RecordListView::RecordListView(QWidget *parent)
    : QListView(parent)
{
    setObjectName(QStringLiteral("entryList"));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection); // marks are ours, not the view's selection
    setUniformItemSizes(true);                       // a long list scrolls without measuring every row
    setItemDelegate(new RowColours(*this, this));
}

void RecordListView::setListModel(ViewListModel *model)
{
    m_model = model;
    setModel(model);
}

void RecordListView::changed()
{
    viewport()->update();
    emit marksChanged();
}

void RecordListView::resetMarks()
{
    m_marks.clear();
    changed();
}

void RecordListView::markAll()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_marks.markAll(model() ? model()->rowCount() : 0);
    QApplication::restoreOverrideCursor();
    changed();
}

void RecordListView::unmarkAll()
{
    m_marks.clear();
    changed();
}

void RecordListView::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !index.isValid()) {
        QListView::mousePressEvent(event);
        return;
    }
    m_pressPos = event->position().toPoint();
    setCurrentIndex(index); // the row under the pointer becomes current first
    m_marks.click(index.row(), modifierOf(event->modifiers()));
    changed();
}

void RecordListView::mouseDoubleClickEvent(QMouseEvent *event)
{
    // Presses on a row never reach the base class, which therefore never
    // knows the pressed row and would not report the double-click.
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid()) {
        emit doubleClicked(index);
        return;
    }
    QListView::mouseDoubleClickEvent(event);
}

void RecordListView::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton) || m_marks.count() == 0
        || (event->position().toPoint() - m_pressPos).manhattanLength() < QApplication::startDragDistance())
        return;
    // The marked entries travel as their list positions; the tree files them.
    QStringList rows;
    for (int r : m_marks.rows())
        rows << QString::number(r);
    auto *mime = new QMimeData;
    mime->setData(QStringLiteral("application/x-quorvel-rows"), rows.join(QLatin1Char(',')).toLatin1());
    auto *drag = new QDrag(this);
    drag->setMimeData(mime);
    // Copying shows how many go; moving uses the system's cursors.
    drag->setDragCursor(dragCursor(QStringLiteral("+"), m_marks.count() > 1), Qt::CopyAction);
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
}

void RecordListView::keyPressEvent(QKeyEvent *event)
{
    const int row = currentIndex().row();
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const int to = row + (event->key() == Qt::Key_Down ? 1 : -1);
        if (to < 0 || !m_model || to >= m_model->rowCount())
            return;
        m_marks.step(row, to, event->modifiers() & Qt::ShiftModifier);
        setCurrentIndex(m_model->index(to));
        changed();
        return;
    }
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Escape:
        m_marks.clear();
        QListView::keyPressEvent(event);
        changed();
        return;
    default:
        QListView::keyPressEvent(event);
    }
}

void RecordListView::focusOutEvent(QFocusEvent *event)
{
    QListView::focusOutEvent(event);
    // Only moving to another control of the window drops the marks. A pop-up
    // menu of the list, a dialog or another window taking over acts on them
    // or leaves them be: the list gets the focus back when they close.
    const bool focusLeavesTheWindow = event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason;
    if (!focusLeavesTheWindow && m_marks.count() > 0) {
        m_marks.clear();
        changed();
    }
}

} // namespace qv
