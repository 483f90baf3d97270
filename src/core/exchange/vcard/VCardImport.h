#pragma once

#include "exchange/ImportReport.h"

#include <QList>
#include <QString>

#include <optional>

namespace qv {
class EditModel;
class OrganisationComparer;
class Prompter;
}

namespace qv::vcard {

class VCard;

// How the vCard import files its entries.
struct VCardImportOptions {
    int categoryNumber = 1000; // above 1000: new entries go into this category
    bool checkSameName = true; // ask before reusing a stored organisation of the same name
};

// A card of the file that was left out, and why.
struct SkippedCard {
    int number = 0; // counted from 1 in file order
    QString reason;
};

struct VCardImportReport {
    ImportReport entries; // unreadableDates: birthdays left empty; cutNames: names cut to their fields
    QList<SkippedCard> skipped;

    // "N entries got imported." and the cards left out, each by its number.
    QString text() const;
};

// Adds the card as a new person entry, linked to the organisation it names
// (or to an organisation made for it), through the edit model, and counts it
// in the report. The person row stays open. A BDAY that holds no date leaves
// the birthday empty; a name wider than its field is cut to the width.
void importCard(EditModel &editModel, Prompter &prompter, OrganisationComparer &comparer, const VCard &card,
                const VCardImportOptions &options, ImportReport &report);

// Every readable card of the file, in file order, one entry each. A file that
// cannot be read or holds no card adds nothing: its error is shown and there
// is no report.
std::optional<VCardImportReport> importVCardFile(EditModel &editModel, Prompter &prompter, OrganisationComparer &comparer,
                                                 const QString &path, const VCardImportOptions &options);

} // namespace qv::vcard
