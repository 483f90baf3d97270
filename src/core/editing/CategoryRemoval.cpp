#include "editing/CategoryRemoval.h"

#include "common/Prompter.h"
#include "data/DatabaseError.h"
#include "data/TableView.h"
#include "editing/EditModel.h"

namespace qv {

void removeEntriesFromCategory(EditModel &editModel, Prompter &prompter, int number, const std::vector<int> &marks)
{
    if (!marks.empty()) {
        editModel.removeSelectionFromCategory(number, marks);
        return;
    }
    try {
        editModel.removeFromCategory(number);
        editModel.persons().post();
    } catch (const DatabaseError &) {
        // An empty list has no current entry to take out.
        prompter.message(QStringLiteral("No more deletion from this category."), Prompter::Icon::Information, Prompter::Button::Ok);
    }
}

} // namespace qv
