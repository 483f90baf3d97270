#pragma once

#include <QByteArray>
#include <QStringList>

namespace qv {

struct BookContent;
class RecordStore;

// What a save writes beside the two tables: the category tree's two members
// and the compound-surname list.
struct ModelMembers {
    QByteArray treeFile;   // "tree.dff"
    QByteArray numberFile; // "treeno.dff"
    QStringList compoundSurnames;
};

// The models above the data layer: the lifecycle hands each opened book to
// them and takes back, for a save, what they keep of it.
class BookModels {
public:
    virtual ~BookModels() = default;
    // The book's tables are already bound to the store's views; the models
    // take it in the order they depend on each other.
    virtual void receiveBook(RecordStore &data, BookContent &content) = 0;
    virtual ModelMembers members() const = 0;
    // After a save: the surname initials are rebuilt.
    virtual void bookSaved() = 0;
};

} // namespace qv
