#include "editing/DeleteEntries.h"

#include "common/Prompter.h"
#include "editing/EditModel.h"
#include "settings/Settings.h"

namespace qv {

void deleteEntries(EditModel &editModel, const Settings &options, Prompter &prompter, const std::vector<int> &marks)
{
    const QString question = marks.empty() ? QStringLiteral("Are you sure you want to delete current entry?")
                                           : QStringLiteral("Are you sure you want to delete all selected entries?");
    if (options.confirmDeletion
        && prompter.message(question, Prompter::Icon::Confirmation, Prompter::Button::Yes | Prompter::Button::No)
            != Prompter::Button::Yes)
        return;
    if (!marks.empty()) {
        editModel.deleteSelected(marks);
        return;
    }
    if (!editModel.deleteCurrent())
        prompter.message(QStringLiteral("No more deletion."), Prompter::Icon::Information, Prompter::Button::Ok);
}

} // namespace qv
