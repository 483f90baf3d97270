#pragma once

#include <vector>

namespace qv {

class CategoryTreeModel;
class EditModel;

// "Become &yellow page entries": the marked entries (list positions), or the
// current one when none is marked, become listings of an organisation: their
// whole Name is the surname. Nothing happens on an empty list.
void makeYellowPageEntries(EditModel &editModel, const std::vector<int> &marks);
// "Become &white page entries": the entries become persons again, their
// name parts split from Name. Nothing happens on an empty list. Returns the
// number of entries with a name part too wide for its field, which was cut.
int makeWhitePageEntries(EditModel &editModel, const std::vector<int> &marks);

// Adds the "Org Contacts" category (number 110) just before the search
// category once the book holds yellow-page entries; it is never removed.
// Returns whether it was added.
bool ensureOrgContactsNode(const EditModel &editModel, CategoryTreeModel &tree);

} // namespace qv
