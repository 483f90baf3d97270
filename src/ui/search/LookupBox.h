#pragma once

class QComboBox;
class QCompleter;

namespace qv {

class SortedFieldModel;

// Makes an editable combo box a lookup box: typing shows, in a list of 11
// rows, the candidates that begin with the typed text in any letter case.
// The candidates come from the sorted model, so each key press is a binary
// search, never a scan of the rows. Enter is left to the caller; typed text
// is never added to the box's own list.
QCompleter *makeLookupBox(QComboBox *box, SortedFieldModel *candidates);

} // namespace qv
