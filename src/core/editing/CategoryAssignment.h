#pragma once

#include <vector>

namespace qv {

class EditModel;
class Prompter;
class TableView;

// Files entries dropped from the list on a category: the current entry, or
// every marked one in list order (marks are list positions). In move mode
// each entry first leaves the source category. An entry that cannot take
// the category (it has it, or four others) is reported; for marked entries
// the user may stop there. The caller re-applies the list filter afterwards.
void fileEntriesIntoCategory(EditModel &editModel, TableView &persons, Prompter &prompter, int target, int source,
                             bool moveMode, const std::vector<int> &marks);

} // namespace qv
