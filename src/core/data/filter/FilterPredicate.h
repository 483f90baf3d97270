#pragma once

#include "data/filter/FilterSyntax.h"

#include <memory>
#include <vector>

namespace qv {
class RecordTable;
}

namespace qv::filter {

// A parsed filter bound to the columns of one table: tests a row by its id.
class FilterPredicate {
public:
    virtual ~FilterPredicate() = default;
    virtual bool test(int row) const = 0;
};

// Binds the tree to the table's fields with the case option. Throws
// FilterError for a field the table does not have or a constant that does
// not suit its field.
std::unique_ptr<FilterPredicate> compileFilter(const Node &node, const RecordTable &table, bool caseInsensitive);

// The rows of the ordered list (live row ids of the table) that pass, in
// the list's order.
std::vector<int> passingRows(const FilterPredicate &predicate, const RecordTable &table, const std::vector<int> &ordered);

// Whether the whole text matches the pattern, "%" matching any run of characters.
bool likeMatch(QStringView text, QStringView pattern, Qt::CaseSensitivity cs);

} // namespace qv::filter
