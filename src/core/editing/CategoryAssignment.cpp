#include "editing/CategoryAssignment.h"

#include "common/Prompter.h"
#include "data/TableView.h"
#include "editing/EditModel.h"

namespace qv {

namespace {

QString refusal(const TableView &persons)
{
    return QStringLiteral("Can not define category for ") + persons.text(QStringLiteral("Name"))
        + QStringLiteral(" since this entry has belonged to this category or 4 other categories. Continue?");
}

// Moves (in move mode) and adds the current entry; false when it could not take the category.
bool fileCurrent(EditModel &editModel, int target, int source, bool moveMode)
{
    if (moveMode)
        editModel.removeFromCategory(source);
    return editModel.addToCategory(target);
}

} // namespace

void fileEntriesIntoCategory(EditModel &editModel, TableView &persons, Prompter &prompter, int target, int source,
                             bool moveMode, const std::vector<int> &marks)
{
    if (target <= 1000)
        return;
    persons.disableControls();
    if (marks.empty()) {
        if (!fileCurrent(editModel, target, source, moveMode))
            prompter.message(refusal(persons), Prompter::Icon::Information, Prompter::Button::Ok);
        persons.post();
    } else {
        // Rows leave a filtered list as they change: visit them by identity, not position.
        std::vector<int> rows;
        for (int position : marks) {
            if (position >= 0 && position < persons.recordCount())
                rows.push_back(persons.rows()[size_t(position)]);
        }
        for (int row : rows) {
            if (!persons.gotoBookmark({persons.table(), row}))
                continue;
            const bool filed = fileCurrent(editModel, target, source, moveMode);
            const QString message = filed ? QString() : refusal(persons);
            persons.post();
            if (!filed
                && prompter.message(message, Prompter::Icon::Information, Prompter::Button::Yes | Prompter::Button::No)
                    != Prompter::Button::Yes)
                break;
        }
    }
    persons.enableControls();
}

} // namespace qv
