#pragma once

#include <QTreeWidget>

namespace qv {

class CategoryTreeModel;
struct CategoryNode;

// The category tree: shows the category tree model, edits it (pop-up menu, in-place
// rename, drag and drop of categories) and accepts entries dragged from the
// entry list. The window acts on what it reports.
class CategoryTreeView : public QTreeWidget {
    Q_OBJECT
public:
    static constexpr const char *kEntryRowsMime = "application/x-quorvel-rows";

    explicit CategoryTreeView(QWidget *parent = nullptr);
    void setModel(CategoryTreeModel *model) { m_model = model; }
    // Shows the model again; keeps the selected node (or the top one) selected.
    void rebuild();
    int selectedNumber() const;
    void selectNumber(int number);

    // Enables the pop-up menu's items by the selected node: above 1000 all
    // three, 1000 only "&Add Category", below 1000 none.
    void enablePopupCommands();
    void addCategory();
    void renameSelected();
    void deleteSelectedCategory();

signals:
    void nodeSelected(int number);
    void structureChanged();
    // Asks the window to delete the category when no entry belongs to it.
    void deleteRequested(int number);
    void entriesDropped(int target, bool copyMode);
    void entered();

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    CategoryNode *nodeAt(const QPoint &pos) const;
    CategoryNode *nodeOf(const QTreeWidgetItem *item) const;
    QTreeWidgetItem *itemOfNumber(int number) const;
    void captionEdited(QTreeWidgetItem *item);

    CategoryTreeModel *m_model = nullptr;
    QPoint m_pressPos;
    bool m_rebuilding = false;
    bool m_dragCopy = false;
    QAction *m_add;
    QAction *m_edit;
    QAction *m_delete;
};

} // namespace qv
