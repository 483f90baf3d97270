#include "editing/DeleteEntries.h"

#include "common/Prompter.h"
#include "editing/EditModel.h"
#include "settings/Settings.h"

namespace qv {

namespace {

// Runs the deletion with the hourglass on, and turns it off again whatever happens.
bool whileBusy(const std::function<void(bool)> &setBusy, const std::function<bool()> &work)
{
    struct Busy {
        const std::function<void(bool)> &set;
        explicit Busy(const std::function<void(bool)> &s) : set(s) { set(true); }
        ~Busy() { set(false); }
    } busy(setBusy);
    return work();
}

} // namespace

void deleteEntries(EditModel &editModel, const Settings &options, Prompter &prompter, const std::vector<int> &marks,
                   const std::function<void(bool)> &setBusy)
{
    const QString question = marks.empty() ? QStringLiteral("Are you sure you want to delete current entry?")
                                           : QStringLiteral("Are you sure you want to delete all selected entries?");
    if (options.confirmDeletion
        && prompter.message(question, Prompter::Icon::Confirmation, Prompter::Button::Yes | Prompter::Button::No)
            != Prompter::Button::Yes)
        return;
    if (!marks.empty()) {
        whileBusy(setBusy, [&] { return editModel.deleteSelected(marks); });
        return;
    }
    // An empty list has no current entry: the store refuses, and the user is told.
    if (!whileBusy(setBusy, [&] { return editModel.deleteCurrent(); }))
        prompter.message(QStringLiteral("No more deletion."), Prompter::Icon::Information, Prompter::Button::Ok);
}

} // namespace qv
