#pragma once

#include <QWidget>

class QTreeWidget;
class QTreeWidgetItem;

namespace qv {

struct CategoryNode;

// The pop-up from which a category slot of the entry editor (or the CSV
// import's mapping) takes a category: "------" (no category) and then the
// categories below a node of the tree, always fully expanded. Item k stands
// for pre-order index k of the main tree when rebuilt from its first node.
// A click or Enter picks; Esc or a click elsewhere closes without a pick.
class CategoryPicker : public QWidget {
    Q_OBJECT
public:
    explicit CategoryPicker(QWidget *parent = nullptr);

    void rebuild(const CategoryNode *root);
    // Opens just below the slot, right-aligned with it, inside the screen:
    // above the slot when there is no room below.
    void open(const QRect &slotOnScreen, int slotNumber, int currentIndex);
    void setPicked(int index);
    int pickedIndex() const { return m_picked; }
    // The slot the picker was last opened for; 0 when none since forgetSlot().
    int openedSlot() const { return m_slot; }
    void forgetSlot() { m_slot = 0; }
    QTreeWidget *tree() const { return m_tree; }

    // Where a pop-up of this size opens under (or above) a slot of that
    // rectangle on a screen of that area.
    static QPoint placement(const QRect &slot, const QSize &popup, const QRect &screen);

signals:
    void picked(int slotNumber, int index);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void addChildren(const CategoryNode &node, QTreeWidgetItem *parent);
    void pick(QTreeWidgetItem *item);
    QTreeWidgetItem *itemAt(int index) const;

    QTreeWidget *m_tree;
    int m_picked = 0;
    int m_slot = 0;
    int m_count = 0;
};

} // namespace qv
