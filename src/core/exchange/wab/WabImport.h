#pragma once

#include "exchange/AddressBookContact.h"
#include "exchange/ImportReport.h"

#include <QList>
#include <QLocale>
#include <QString>

#include <optional>

namespace qv {

class EditModel;
class OrganisationComparer;
class Prompter;

// Where the system address book import reads its contacts and how it files them.
struct WabImportOptions {
    int categoryNumber = 1000; // above 1000: new entries go into this category
    bool checkSameName = true; // ask before reusing a stored organisation of the same name
    // The system's locale: the short date of the wedding anniversary in the
    // memo, and the code page of texts the file holds in 8 bits.
    QLocale locale = QLocale::system();
};

// Adds each contact as a new person linked to an organisation, through the
// edit model; a contact without a usable name is skipped. An error while
// importing is shown and ends the walk; the entries added before it stay.
ImportReport importAddressBookContacts(EditModel &editModel, Prompter &prompter, OrganisationComparer &comparer,
                                       const QList<AddressBookContact> &contacts, const WabImportOptions &options);

// Reads the .wab file (or, for an empty path, the current user's address
// book) completely before anything is added, so an unreadable file adds
// nothing: its error is shown and there is no report.
std::optional<ImportReport> importWab(EditModel &editModel, Prompter &prompter, OrganisationComparer &comparer, const QString &path,
                       const WabImportOptions &options);

} // namespace qv
