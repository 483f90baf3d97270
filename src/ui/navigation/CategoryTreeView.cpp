#include "navigation/CategoryTreeView.h"

#include "common/DragCursors.h"
#include "navigation/CategoryTreeModel.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QMenu>
#include <QMimeData>

namespace qv {

namespace {

constexpr const char *kCategoryMime = "application/x-quorvel-category";

} // namespace

CategoryTreeView::CategoryTreeView(QWidget *parent)
    : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("categoryTree"));
    setHeaderHidden(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers); // renaming starts from F2 or the menu
    m_add = new QAction(QStringLiteral("&Add Category"), this);
    m_add->setShortcut(QKeySequence(Qt::Key_Insert));
    m_edit = new QAction(QStringLiteral("&Edit Category"), this);
    m_edit->setShortcut(QKeySequence(Qt::Key_F2));
    m_delete = new QAction(QStringLiteral("&Delete Category"), this);
    m_delete->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    for (QAction *a : {m_add, m_edit, m_delete})
        a->setShortcutContext(Qt::WidgetShortcut);
    addActions({m_add, m_edit, m_delete});
    connect(m_add, &QAction::triggered, this, &CategoryTreeView::addCategory);
    connect(m_edit, &QAction::triggered, this, &CategoryTreeView::renameSelected);
    connect(m_delete, &QAction::triggered, this, &CategoryTreeView::deleteSelectedCategory);
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        if (!m_rebuilding && item)
            emit nodeSelected(item->data(0, Qt::UserRole).toInt());
    });
    connect(this, &QTreeWidget::itemChanged, this, &CategoryTreeView::captionEdited);
}

CategoryNode *CategoryTreeView::nodeOf(const QTreeWidgetItem *item) const
{
    return item && m_model ? m_model->nodeOfNumber(item->data(0, Qt::UserRole).toInt()) : nullptr;
}

CategoryNode *CategoryTreeView::nodeAt(const QPoint &pos) const
{
    return nodeOf(itemAt(pos));
}

QTreeWidgetItem *CategoryTreeView::itemOfNumber(int number) const
{
    for (QTreeWidgetItemIterator it(const_cast<CategoryTreeView *>(this)); *it; ++it) {
        if ((*it)->data(0, Qt::UserRole).toInt() == number)
            return *it;
    }
    return nullptr;
}

int CategoryTreeView::selectedNumber() const
{
    return currentItem() ? currentItem()->data(0, Qt::UserRole).toInt() : 0;
}

void CategoryTreeView::selectNumber(int number)
{
    if (QTreeWidgetItem *item = itemOfNumber(number)) {
        setCurrentItem(item);
        emit nodeSelected(number); // also when it was selected already: the list follows
    }
}

void CategoryTreeView::rebuild()
{
    const int selected = selectedNumber();
    QSet<int> expanded;
    for (QTreeWidgetItemIterator it(this); *it; ++it) {
        if ((*it)->isExpanded())
            expanded.insert((*it)->data(0, Qt::UserRole).toInt());
    }
    m_rebuilding = true;
    clear();
    std::function<void(const CategoryNode &, QTreeWidgetItem *)> add = [&](const CategoryNode &node, QTreeWidgetItem *parent) {
        auto *item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
        item->setText(0, node.caption);
        item->setData(0, Qt::UserRole, node.number);
        if (node.number > 1000)
            item->setFlags(item->flags() | Qt::ItemIsEditable); // only user categories are renamed
        for (const auto &child : node.children)
            add(*child, item);
        item->setExpanded(expanded.contains(node.number));
    };
    if (m_model) {
        for (const auto &root : m_model->forest().roots)
            add(*root, nullptr);
    }
    QTreeWidgetItem *keep = itemOfNumber(selected);
    if (!keep && topLevelItemCount() > 0)
        keep = topLevelItem(0);
    if (keep)
        setCurrentItem(keep);
    m_rebuilding = false;
}

void CategoryTreeView::addCategory()
{
    CategoryNode *node = nodeOf(currentItem());
    if (!node || node->number < 1000)
        return;
    currentItem()->setExpanded(true);
    CategoryNode *added = m_model->addCategory(node, QStringLiteral("New Category"));
    if (!added)
        return;
    rebuild();
    selectNumber(added->number);
    emit structureChanged();
    editItem(currentItem());
}

void CategoryTreeView::renameSelected()
{
    if (CategoryTreeModel::isUserCategory(nodeOf(currentItem())))
        editItem(currentItem());
}

void CategoryTreeView::deleteSelectedCategory()
{
    if (CategoryTreeModel::isUserCategory(nodeOf(currentItem())))
        emit deleteRequested(selectedNumber());
}

void CategoryTreeView::captionEdited(QTreeWidgetItem *item)
{
    if (m_rebuilding)
        return;
    CategoryNode *node = nodeOf(item);
    const bool changed = m_model->renameCategory(node, item->text(0));
    m_rebuilding = true;
    item->setText(0, node ? node->caption : QString());
    m_rebuilding = false;
    if (changed)
        emit structureChanged();
}

void CategoryTreeView::enablePopupCommands()
{
    const int number = selectedNumber();
    m_add->setEnabled(number >= 1000);
    m_edit->setEnabled(number > 1000);
    m_delete->setEnabled(number > 1000);
}

void CategoryTreeView::contextMenuEvent(QContextMenuEvent *event)
{
    enablePopupCommands();
    QMenu menu(this);
    menu.addActions({m_add, m_edit, m_delete});
    menu.exec(event->globalPos());
    // Shortcuts stay live; the commands check the node themselves.
    for (QAction *a : {m_add, m_edit, m_delete})
        a->setEnabled(true);
}

void CategoryTreeView::mousePressEvent(QMouseEvent *event)
{
    m_pressPos = event->position().toPoint();
    QTreeWidget::mousePressEvent(event); // a right press selects the node under the pointer first
}

void CategoryTreeView::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint moved = event->position().toPoint() - m_pressPos;
    if (!(event->buttons() & Qt::LeftButton) || !CategoryTreeModel::isUserCategory(nodeOf(currentItem()))
        || (std::abs(moved.x()) <= 6 && std::abs(moved.y()) <= 6))
        return;
    auto *mime = new QMimeData;
    mime->setData(QString::fromLatin1(kCategoryMime), QByteArray::number(selectedNumber()));
    auto *drag = new QDrag(this);
    drag->setMimeData(mime);
    drag->setDragCursor(dragCursor(QStringLiteral("\u2193")), Qt::MoveAction); // as a sub-category
    drag->setDragCursor(dragCursor(QStringLiteral("=")), Qt::LinkAction);      // as a sibling (Shift)
    drag->exec(Qt::MoveAction | Qt::LinkAction, Qt::MoveAction);
}

void CategoryTreeView::dragEnterEvent(QDragEnterEvent *event)
{
    const QMimeData *mime = event->mimeData();
    if (mime->hasFormat(QString::fromLatin1(kCategoryMime)) || mime->hasFormat(QString::fromLatin1(kEntryRowsMime)))
        event->acceptProposedAction();
}

void CategoryTreeView::dragMoveEvent(QDragMoveEvent *event)
{
    const bool entries = event->mimeData()->hasFormat(QString::fromLatin1(kEntryRowsMime));
    const CategoryNode *target = nodeAt(event->position().toPoint());
    const bool accepted = m_model
        && m_model->acceptsDrop(entries ? CategoryTreeModel::DragSource::RecordList : CategoryTreeModel::DragSource::Tree, target,
                                nodeOf(currentItem()));
    if (!accepted) {
        event->ignore();
        return;
    }
    if (entries) {
        m_dragCopy = event->modifiers() & Qt::ControlModifier; // the state at the last drag-over counts
        event->setDropAction(m_dragCopy ? Qt::CopyAction : Qt::MoveAction);
    } else {
        event->setDropAction(event->modifiers() & Qt::ShiftModifier ? Qt::LinkAction : Qt::MoveAction);
    }
    event->accept();
}

void CategoryTreeView::dropEvent(QDropEvent *event)
{
    CategoryNode *target = nodeAt(event->position().toPoint());
    if (!target || !m_model)
        return;
    if (event->mimeData()->hasFormat(QString::fromLatin1(kEntryRowsMime))) {
        event->acceptProposedAction();
        emit entriesDropped(target->number, m_dragCopy);
        return;
    }
    const bool asChild = !(event->modifiers() & Qt::ShiftModifier);
    const int targetNumber = target->number;
    if (m_model->moveCategory(nodeOf(currentItem()), target, asChild)) {
        event->acceptProposedAction();
        rebuild();
        if (QTreeWidgetItem *t = itemOfNumber(targetNumber))
            t->setExpanded(true);
        emit structureChanged();
    }
}

void CategoryTreeView::focusInEvent(QFocusEvent *event)
{
    QTreeWidget::focusInEvent(event);
    // The focus coming back with the window, say when the wider organisation
    // box closes, or from a menu is not the user entering the tree: the list
    // keeps what it shows.
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        emit entered(); // the tree is the navigation source again, its node re-applied
}

} // namespace qv
