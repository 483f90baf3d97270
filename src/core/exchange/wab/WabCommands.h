#pragma once

#include "exchange/CsvCommands.h"

#include <QString>

#include <functional>
#include <optional>

namespace qv {

class EditModel;
class OrganisationComparer;
class Prompter;
class Settings;

// The import dialog reduced to its category: the only choice an import
// without column mapping leaves to the user.
class CategoryQuestion {
public:
    virtual ~CategoryQuestion() = default;
    // The pre-order index of the chosen category (0 for none); nothing on Cancel.
    virtual std::optional<int> askCategory() = 0;
};

struct WabCommandContext {
    EditModel &editModel;
    Settings &settings;
    Prompter &prompter;
    CategoryQuestion &question;
    OrganisationComparer &comparer;
    std::function<int(int)> numberAt; // a picked position to its category number
    BusySetter setBusy;
};

// "WAB file...": a .wab file the user chooses, then the category question
// and the import. Returns the picked category position once the import ran.
std::optional<int> importWabFileCommand(const WabCommandContext &context);

// "WAB": the current user's address book.
std::optional<int> importCurrentWabCommand(const WabCommandContext &context);

} // namespace qv
