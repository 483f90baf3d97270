#include "search/LookupBox.h"

#include "search/SortedFieldModel.h"

#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>

namespace qv {

QCompleter *makeLookupBox(QComboBox *box, SortedFieldModel *candidates)
{
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(11);
    auto *completer = new QCompleter(candidates, box);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setModelSorting(QCompleter::CaseInsensitivelySortedModel);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    completer->setMaxVisibleItems(11);
    // On the line edit, not through the box: the box would look every
    // picked candidate up in its own list of all rows.
    box->lineEdit()->setCompleter(completer);
    return completer;
}

} // namespace qv
