#pragma once

#include "data/filter/FilterSyntax.h"

#include <memory>

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

// Whether the whole text matches the pattern, "%" matching any run of characters.
bool likeMatch(QStringView text, QStringView pattern, Qt::CaseSensitivity cs);

} // namespace qv::filter
