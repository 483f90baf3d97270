#include "navigation/CategoryTreeModel.h"

#include <algorithm>

namespace qv {

namespace {

bool isInside(const CategoryNode *node, const CategoryNode *ancestor)
{
    for (const CategoryNode *p = node; p; p = p->parent) {
        if (p == ancestor)
            return true;
    }
    return false;
}

void collectPaths(const CategoryNode &node, const QString &prefix, QStringList &paths)
{
    for (const auto &child : node.children) {
        const QString path = prefix + child->caption + QLatin1Char('/');
        paths << path;
        // Below a fixed node other than the all-entries node, no paths.
        if (child->number > 1000)
            collectPaths(*child, path, paths);
    }
}

} // namespace

void CategoryTreeModel::loadTree(const QByteArray &treeFile, const QByteArray &numberFile)
{
    setForest(CategoryForest::read(treeFile, numberFile));
}

void CategoryTreeModel::setForest(CategoryForest forest)
{
    m_forest = std::move(forest);
    m_highest = std::max(m_highest, m_forest.highestNumber());
    m_pathsOutOfDate = true;
}

int CategoryTreeModel::numberAt(int index) const
{
    const auto nodes = m_forest.preOrder();
    return index >= 0 && index < int(nodes.size()) ? nodes[size_t(index)]->number : 0;
}

int CategoryTreeModel::indexOfNumber(int number) const
{
    const auto nodes = m_forest.preOrder();
    const auto it = std::find_if(nodes.begin(), nodes.end(), [number](const CategoryNode *n) { return n->number == number; });
    return it == nodes.end() ? -1 : int(it - nodes.begin());
}

CategoryNode *CategoryTreeModel::nodeOfNumber(int number) const
{
    for (const CategoryNode *n : m_forest.preOrder()) {
        if (n->number == number)
            return const_cast<CategoryNode *>(n);
    }
    return nullptr;
}

std::vector<std::unique_ptr<CategoryNode>> &CategoryTreeModel::siblingsOf(const CategoryNode *node)
{
    return node->parent ? node->parent->children : m_forest.roots;
}

const std::vector<std::unique_ptr<CategoryNode>> &CategoryTreeModel::siblingsOf(const CategoryNode *node) const
{
    return node->parent ? node->parent->children : m_forest.roots;
}

QString CategoryTreeModel::makeCaptionUnique(const CategoryNode *node, const QString &caption) const
{
    if (!node || node->number <= 1000)
        return caption;
    QString unique = caption;
    bool clash = true;
    while (clash) {
        clash = false;
        for (const auto &sibling : siblingsOf(node)) {
            if (sibling.get() != node && sibling->caption == unique) {
                unique += QStringLiteral(" I");
                clash = true;
                break;
            }
        }
    }
    return unique;
}

CategoryNode *CategoryTreeModel::addCategory(CategoryNode *parent, const QString &caption)
{
    if (!parent || parent->number < 1000)
        return nullptr;
    auto node = std::make_unique<CategoryNode>();
    node->parent = parent;
    node->number = ++m_highest;
    CategoryNode *raw = node.get();
    parent->children.push_back(std::move(node));
    raw->caption = makeCaptionUnique(raw, caption);
    m_pathsOutOfDate = true;
    return raw;
}

bool CategoryTreeModel::renameCategory(CategoryNode *node, const QString &caption)
{
    if (!isUserCategory(node))
        return false;
    // A leading blank would read back as depth in tree.dff, so captions never start with one.
    QString wanted = caption.trimmed();
    if (wanted.isEmpty())
        wanted = QStringLiteral("U Category");
    wanted = makeCaptionUnique(node, wanted);
    m_pathsOutOfDate = true;
    if (wanted == node->caption)
        return false;
    node->caption = wanted;
    return true;
}

bool CategoryTreeModel::removeCategory(CategoryNode *node)
{
    if (!node || node->number <= 1000 || !node->children.empty())
        return false;
    auto &siblings = siblingsOf(node);
    siblings.erase(std::find_if(siblings.begin(), siblings.end(), [node](const auto &n) { return n.get() == node; }));
    m_pathsOutOfDate = true;
    return true;
}

bool CategoryTreeModel::moveCategory(CategoryNode *node, CategoryNode *target, bool asChild)
{
    if (!node || !target || target->number < 1000 || node->parent == target || target == node || !node->parent
        || isInside(target, node))
        return false;
    auto &from = siblingsOf(node);
    const auto at = std::find_if(from.begin(), from.end(), [node](const auto &n) { return n.get() == node; });
    std::unique_ptr<CategoryNode> moving = std::move(*at);
    from.erase(at);
    if (asChild || target->number == 1000) {
        moving->parent = target;
        target->children.push_back(std::move(moving));
    } else {
        auto &to = siblingsOf(target);
        const auto before = std::find_if(to.begin(), to.end(), [target](const auto &n) { return n.get() == target; });
        moving->parent = target->parent;
        to.insert(before, std::move(moving));
    }
    node->caption = makeCaptionUnique(node, node->caption);
    m_pathsOutOfDate = true;
    return true;
}

bool CategoryTreeModel::acceptsDrop(DragSource source, const CategoryNode *target, const CategoryNode *selected) const
{
    if (!target)
        return false;
    if (source == DragSource::RecordList)
        return target->number > 1000;
    return target->number >= 1000 && isUserCategory(selected);
}

CategoryNode *CategoryTreeModel::insertFixedNode(int anchorNumber, const QString &caption, bool before, int newNumber)
{
    CategoryNode *anchor = nodeOfNumber(anchorNumber);
    if (anchorNumber > 1000 || newNumber >= 1000 || !anchor)
        return nullptr;
    auto node = std::make_unique<CategoryNode>();
    node->caption = caption;
    node->number = newNumber;
    node->parent = anchor->parent;
    CategoryNode *raw = node.get();
    auto &siblings = siblingsOf(anchor);
    if (before)
        siblings.insert(std::find_if(siblings.begin(), siblings.end(), [anchor](const auto &n) { return n.get() == anchor; }),
                        std::move(node));
    else
        siblings.push_back(std::move(node));
    m_pathsOutOfDate = true;
    return raw;
}

const QStringList &CategoryTreeModel::categoryPaths()
{
    if (m_pathsOutOfDate) {
        m_paths = QStringList{QString()};
        if (!m_forest.roots.empty())
            collectPaths(*m_forest.roots.front(), QString(), m_paths);
        m_pathsOutOfDate = false;
    }
    return m_paths;
}

} // namespace qv
