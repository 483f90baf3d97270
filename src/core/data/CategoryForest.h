#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

namespace qv {

struct CategoryNode {
    QString caption;
    qint32 number = 0;
    CategoryNode *parent = nullptr;
    std::vector<std::unique_ptr<CategoryNode>> children;

    int depth() const; // 0 for a root
};

// The categories of one address book as captioned, numbered nodes, and the
// two member files that store them: "tree.dff" (captions, one line per node
// in pre-order, indented by TABs) and "treeno.dff" (the numbers, line by line).
class CategoryForest {
public:
    std::vector<std::unique_ptr<CategoryNode>> roots;

    // Parses both members; throws qv::Error with the text the user sees.
    static CategoryForest read(const QByteArray &treeFile, const QByteArray &numberFile);
    QByteArray treeFile() const;
    QByteArray numberFile() const;

    // Nodes depth first, a parent before its children.
    std::vector<const CategoryNode *> preOrder() const;
    int highestNumber() const;
};

} // namespace qv
