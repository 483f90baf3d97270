#include "editing/CategoryPicker.h"

#include "common/LayoutScale.h"
#include "data/CategoryForest.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qv {

namespace {

constexpr int kIndexRole = Qt::UserRole;

} // namespace

CategoryPicker::CategoryPicker(QWidget *parent)
    : QWidget(parent, Qt::Popup)
    , m_tree(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("categoryPicker"));
    setWindowTitle(QStringLiteral("Categorize to"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tree);
    m_tree->setObjectName(QStringLiteral("CategoryTree"));
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(false);
    m_tree->setItemsExpandable(false); // always fully expanded
    m_tree->setExpandsOnDoubleClick(false);
    m_tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tree->setMouseTracking(true); // the row under the pointer is highlighted
    QPalette p = m_tree->palette();
    p.setColor(QPalette::Base, QColor(240, 251, 255));
    // Keeps the selection visible when the pop-up is not active.
    p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText, p.color(QPalette::Active, QPalette::HighlightedText));
    m_tree->setPalette(p);
    const LayoutScale px = LayoutScale::ofApplication();
    resize(px(172, 144));
    setMinimumHeight(px(68));
    connect(m_tree, &QTreeWidget::itemEntered, this, [this](QTreeWidgetItem *item) { m_tree->setCurrentItem(item); });
    connect(m_tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) { pick(item); });
}

void CategoryPicker::rebuild(const CategoryNode *root)
{
    m_tree->clear();
    m_count = 0;
    auto *none = new QTreeWidgetItem(m_tree, {QStringLiteral("------")});
    none->setData(0, kIndexRole, m_count++);
    if (root)
        addChildren(*root, nullptr);
    m_tree->expandAll();
}

void CategoryPicker::addChildren(const CategoryNode &node, QTreeWidgetItem *parent)
{
    for (const auto &child : node.children) {
        auto *item = parent ? new QTreeWidgetItem(parent, {child->caption}) : new QTreeWidgetItem(m_tree, {child->caption});
        item->setData(0, kIndexRole, m_count++);
        addChildren(*child, item);
    }
}

QTreeWidgetItem *CategoryPicker::itemAt(int index) const
{
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        if ((*it)->data(0, kIndexRole).toInt() == index)
            return *it;
    }
    return nullptr;
}

void CategoryPicker::setPicked(int index)
{
    m_picked = index;
    if (QTreeWidgetItem *item = itemAt(index))
        m_tree->setCurrentItem(item);
}

QPoint CategoryPicker::placement(const QRect &slot, const QSize &popup, const QRect &screen)
{
    int x = slot.right() + 1 - popup.width();
    int y = slot.bottom() + 1;
    if (x + popup.width() > screen.right() + 1)
        x = screen.right() + 1 - popup.width();
    x = std::max(x, screen.left());
    if (y + popup.height() > screen.bottom() + 1)
        y -= popup.height() + slot.height();
    return {x, y};
}

void CategoryPicker::open(const QRect &slotOnScreen, int slotNumber, int currentIndex)
{
    m_slot = slotNumber;
    const QScreen *screen = QGuiApplication::screenAt(slotOnScreen.center());
    move(placement(slotOnScreen, size(), (screen ? screen : this->screen())->geometry()));
    setPicked(currentIndex);
    show();
    m_tree->setFocus();
}

void CategoryPicker::pick(QTreeWidgetItem *item)
{
    if (!item)
        return;
    m_picked = item->data(0, kIndexRole).toInt();
    hide();
    emit picked(m_slot, m_picked);
}

void CategoryPicker::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        pick(m_tree->currentItem());
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace qv
