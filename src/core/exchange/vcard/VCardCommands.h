#pragma once

#include "exchange/CsvCommands.h"

#include <functional>
#include <optional>
#include <vector>

namespace qv {
class CategoryQuestion;
class EditModel;
class OrganisationComparer;
class Prompter;
class RecordTable;
class Settings;
class TableView;
}

namespace qv::vcard {

struct VCardExportContext {
    TableView &persons; // the list: its current entry and what it shows
    const RecordTable &organisations;
    Settings &settings; // the version last chosen
    Prompter &prompter;
    std::vector<int> markedRows; // row ids of the entries marked in the list
    BusySetter setBusy;
};

// "vCard..." under "Export to": the entries marked in the list when there
// are several, else the current entry, into a file the user names; the
// save dialog's file type picks the vCard version. Throws qv::Error when
// the file cannot be written.
void exportVCardCommand(const VCardExportContext &context);

struct VCardImportContext {
    EditModel &editModel;
    Settings &settings;
    Prompter &prompter;
    CategoryQuestion &question;
    OrganisationComparer &comparer;
    std::function<int(int)> numberAt; // a picked position to its category number
    BusySetter setBusy;
};

// "vCard..." under "Import from": a .vcf file the user chooses, the category
// question, the import and its summary. Returns the picked category
// position once the import ran.
std::optional<int> importVCardCommand(const VCardImportContext &context);

} // namespace qv::vcard
