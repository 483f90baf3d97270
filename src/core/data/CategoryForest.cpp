#include "data/CategoryForest.h"

#include "common/Error.h"
#include "common/MemberLines.h"

namespace qv {

namespace {

int depthOf(const QString &line, QString &caption)
{
    qsizetype depth = 0;
    while (depth < line.size() && (line[depth] == QLatin1Char('\t') || line[depth] == QLatin1Char(' ')))
        ++depth;
    caption = line.mid(depth);
    return int(depth);
}

void collect(const CategoryNode *node, std::vector<const CategoryNode *> &out)
{
    out.push_back(node);
    for (const auto &child : node->children)
        collect(child.get(), out);
}

} // namespace

int CategoryNode::depth() const
{
    int d = 0;
    for (const CategoryNode *p = parent; p; p = p->parent)
        ++d;
    return d;
}

CategoryForest CategoryForest::read(const QByteArray &treeFile, const QByteArray &numberFile)
{
    CategoryForest forest;
    CategoryNode *previous = nullptr;
    std::vector<CategoryNode *> order;
    for (const QString &line : memberLines(treeFile)) {
        auto node = std::make_unique<CategoryNode>();
        const int depth = depthOf(line, node->caption);
        CategoryNode *raw = node.get();
        if (!previous) {
            forest.roots.push_back(std::move(node)); // the first line is a root, whatever its depth
        } else {
            const int previousDepth = previous->depth();
            if (depth > previousDepth + 1)
                throw Error(QStringLiteral("Invalid level (%1) for item \"%2\"").arg(depth).arg(raw->caption));
            CategoryNode *parent = nullptr;
            if (depth == previousDepth + 1) {
                parent = previous;
            } else {
                // The next sibling of the nearest ancestor at this depth (a root when there is none).
                const CategoryNode *sibling = previous;
                while (sibling && sibling->depth() > depth)
                    sibling = sibling->parent;
                parent = sibling ? sibling->parent : nullptr;
            }
            raw->parent = parent;
            (parent ? parent->children : forest.roots).push_back(std::move(node));
        }
        previous = raw;
        order.push_back(raw);
    }

    const QStringList numbers = memberLines(numberFile);
    for (size_t k = 0; k < order.size(); ++k) {
        if (qsizetype(k) >= numbers.size())
            throw Error(QStringLiteral("List index out of bounds (%1)").arg(k));
        bool ok = false;
        const qint32 n = numbers[qsizetype(k)].trimmed().toInt(&ok);
        if (!ok)
            throw Error(QStringLiteral("'%1' is not a valid integer value").arg(numbers[qsizetype(k)]));
        order[k]->number = n;
    }
    return forest;
}

std::vector<const CategoryNode *> CategoryForest::preOrder() const
{
    std::vector<const CategoryNode *> out;
    for (const auto &root : roots)
        collect(root.get(), out);
    return out;
}

QByteArray CategoryForest::treeFile() const
{
    QStringList lines;
    for (const CategoryNode *node : preOrder())
        lines << QString(node->depth(), QLatin1Char('\t')) + node->caption;
    return memberText(lines);
}

QByteArray CategoryForest::numberFile() const
{
    QStringList lines;
    for (const CategoryNode *node : preOrder())
        lines << QString::number(node->number);
    return memberText(lines);
}

int CategoryForest::highestNumber() const
{
    int highest = 1000;
    for (const CategoryNode *node : preOrder())
        highest = std::max(highest, int(node->number));
    return highest;
}

} // namespace qv
