#pragma once

#include <QString>

namespace qv {

class TableView;

// The organisation an organisation lookup box names: the one the box has
// chosen (the view's current row) when its Company equals the text ignoring
// case, else the first such organisation in the view's order. Returns its
// CoID, or -1, which no organisation has, when no Company equals the text:
// the people of -1 are nobody.
int organisationForLookup(TableView &organisations, const QString &text);

} // namespace qv
