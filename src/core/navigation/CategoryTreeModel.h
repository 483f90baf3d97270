#pragma once

#include "data/CategoryForest.h"

#include <QStringList>

namespace qv {

// The category tree model: the forest of one book's categories, the numbers
// that name them, the category path list, and the editing operations with
// their refusals. The highest number only ever rises, across books.
class CategoryTreeModel {
public:
    enum class DragSource { Tree, RecordList };

    // Replaces the forest by the one read from the two member files; throws
    // qv::Error with the text the user sees.
    void loadTree(const QByteArray &treeFile, const QByteArray &numberFile);
    void setForest(CategoryForest forest);
    QByteArray treeFile() const { return m_forest.treeFile(); }
    QByteArray numberFile() const { return m_forest.numberFile(); }
    const CategoryForest &forest() const { return m_forest; }

    static int numberOf(const CategoryNode *node) { return node ? node->number : 0; }
    int numberAt(int index) const;
    int indexOfNumber(int number) const;
    CategoryNode *nodeOfNumber(int number) const;
    static bool isUserCategory(const CategoryNode *node) { return node && node->number > 1000; }

    CategoryNode *addCategory(CategoryNode *parent, const QString &caption);
    QString makeCaptionUnique(const CategoryNode *node, const QString &caption) const;
    // The in-place rename: blank becomes "U Category", then made unique.
    // Returns whether the caption changed.
    bool renameCategory(CategoryNode *node, const QString &caption);
    bool removeCategory(CategoryNode *node);
    bool moveCategory(CategoryNode *node, CategoryNode *target, bool asChild);
    bool acceptsDrop(DragSource source, const CategoryNode *target, const CategoryNode *selected) const;
    CategoryNode *insertFixedNode(int anchorNumber, const QString &caption, bool before, int newNumber);
    const QStringList &categoryPaths();

    int highestNumber() const { return m_highest; }

private:
    std::vector<std::unique_ptr<CategoryNode>> &siblingsOf(const CategoryNode *node);
    const std::vector<std::unique_ptr<CategoryNode>> &siblingsOf(const CategoryNode *node) const;

    CategoryForest m_forest;
    int m_highest = 1000;
    QStringList m_paths;
    bool m_pathsOutOfDate = true;
};

} // namespace qv
