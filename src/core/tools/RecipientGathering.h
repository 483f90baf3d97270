#pragma once

#include "tools/Recipients.h"

#include <optional>
#include <vector>

namespace qv {

class Prompter;
class RecordStore;

// E-mail To, CC or BCC: adds the marked entries of the list (row positions in
// list order), or the current entry when none is marked, to the recipients.
// An entry's address is the focused field's value when a text field has the
// focus, else the first address of the person's E-Mail, else of the
// organisation's. Entries without one are named in a message. The current
// entry stays where it was.
void addRecipients(RecipientKind kind, RecordStore &store, const std::vector<int> &markedRows,
                   const std::optional<QString> &focusedFieldPiece, Prompter &prompter, RecipientList &recipients);

} // namespace qv
