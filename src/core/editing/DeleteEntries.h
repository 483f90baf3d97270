#pragma once

#include <vector>

namespace qv {

class CEditMT;
class OptionType;
class Prompter;

// The Delete command: the current entry, or every marked one, after the
// question the ConfirmDeletion setting asks for. Marks are list positions.
void deleteEntries(CEditMT &editModel, const OptionType &options, Prompter &prompter, const std::vector<int> &marks);

} // namespace qv
