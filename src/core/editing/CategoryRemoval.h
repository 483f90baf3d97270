#pragma once

#include <vector>

namespace qv {

class EditModel;
class Prompter;

// "Delete from current Categor&y": the marked entries (list positions), or
// the current one, leave the category; the entries themselves stay. The
// caller re-applies the list filter, so that they drop out of the list.
void removeEntriesFromCategory(EditModel &editModel, Prompter &prompter, int number, const std::vector<int> &marks);

} // namespace qv
