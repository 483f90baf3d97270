#pragma once

#include <functional>
#include <vector>

namespace qv {

class EditModel;
class Settings;
class Prompter;

// The Delete command: the current entry, or every marked one, after the
// question the ConfirmDeletion setting asks for. Marks are list positions.
// setBusy(true) and setBusy(false) bracket the deletion itself (the
// hourglass), never a question or a message.
void deleteEntries(EditModel &editModel, const Settings &options, Prompter &prompter, const std::vector<int> &marks,
                   const std::function<void(bool)> &setBusy);

} // namespace qv
