#pragma once

#include <QList>
#include <QString>

namespace qv {

class EditModel;
class Prompter;

// One value an import supplies for an organisation: a field of the
// organisation table and its text.
struct OrganisationValue {
    QString field;
    QString text;
};
using OrganisationValues = QList<OrganisationValue>;

// What the compare window shows when an imported organisation's name matches
// a stored one.
struct OrganisationComparison {
    QString heading;  // the stored organisation's name " --- " the person's name
    QString question; // "Do you want to replace the existing?"
    QString existing; // "Info of the existing:" and the stored values, one a line
    QString imported; // "Info of the to-be-imported:" and the imported values
};

// Asks the user what to do with a stored organisation that an import names.
class OrganisationComparer {
public:
    enum class Choice { Replace, Keep, Rename }; // "&Yes", "&No", "&Change Org Name"
    virtual ~OrganisationComparer() = default;
    virtual Choice compare(const OrganisationComparison &comparison) = 0;
};

// Links the person being imported (the edit model's open person row) to the
// organisation of the given name, which is never blank. A new organisation
// takes the imported values. A stored one whose name matches ignoring case
// keeps its values unless the check is on, the import brings a value it does
// not hold already, and the user chooses to replace them or to import under
// another name (asked in the input box "Rename the Imported Org"). The person
// always ends linked to the organisation of the last name used. Returns
// whether that organisation took the imported values.
bool linkImportedOrganisation(EditModel &editModel, Prompter &prompter, OrganisationComparer &comparer, bool checkSameName,
                              const QString &name, const OrganisationValues &values);

} // namespace qv
