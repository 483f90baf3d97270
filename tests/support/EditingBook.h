#pragma once

#include "data/RecordStore.h"
#include "data/Value.h"
#include "editing/EditModel.h"
#include "navigation/CategoryTreeModel.h"

#include <QStringList>

#include <vector>

namespace qv::test {

// A small book held in memory with its edit model, as an opened book is:
// the given persons, the organisations 0 (the default one, "Private") and
// 2001 "ACME" followed by the given ones, both list copies logging their
// changes, compound surnames 欧阳 and 司马, and the categories
// All (1000) / A (1001) / B (1002) followed by Search (101).
struct EditingBook {
    RecordStore data;
    CategoryTreeModel tree;
    EditModel edit{tree};

    explicit EditingBook(const std::vector<std::vector<Value>> &persons = {},
                         const std::vector<std::vector<Value>> &organisations = {});
};

// Every live row of the view's table, whatever its filter, one text a row in
// row id order: two dumps are equal when the table holds the same rows.
QStringList tableDump(const TableView &view);

// An organisation row from its CoID, Company and any further fields in stored order.
std::vector<Value> organisation(qint32 coId, const QString &company, const std::vector<Value> &more = {});

} // namespace qv::test
