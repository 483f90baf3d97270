#pragma once

#include "search/SearchEngine.h"

#include <QStringList>

namespace qv {

class FieldCatalogue;

// What the user chose in the search dialog.
struct SearchChoice {
    enum class Kind { Start, Continue, Quick };
    Kind kind = Kind::Start;
    QStringList labels; // the selected fields' labels, in list order
    SearchLogic logic = SearchLogic::And;
    QString content; // blanks at either end removed
    // Quick search by birthday: day 0 means the whole month.
    int month = 1;
    int day = 0;
};

// Whether a search for the content ignores letter case: it does unless
// the content begins with a wide character, which has no case to ignore.
bool searchIgnoresCase(const QString &content);

// Turns the choice into conditions of the engine and applies them: the
// birthday for a quick search, else one field with the chosen logic, or
// several joined by OR. A label with no field behind it searches nothing.
void searchAsChosen(SearchEngine &engine, const FieldCatalogue &catalogue, const SearchChoice &choice);

} // namespace qv
