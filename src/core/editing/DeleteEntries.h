#pragma once

#include <vector>

namespace qv {

class EditModel;
class Settings;
class Prompter;

// The Delete command: the current entry, or every marked one, after the
// question the ConfirmDeletion setting asks for. Marks are list positions.
void deleteEntries(EditModel &editModel, const Settings &options, Prompter &prompter, const std::vector<int> &marks);

} // namespace qv
