#pragma once

#include "exchange/SameNameCheck.h"

namespace qv {

class EditModel;
class Prompter;

// The same-name check as the user answers it: the compare window for the
// stored organisation, and the input box "Rename the Imported Org" when the
// user imports under another name.
class ComparingSameNameCheck : public SameNameCheck {
public:
    ComparingSameNameCheck(EditModel &editModel, Prompter &prompter, OrganisationComparer &comparer)
        : m_editModel(editModel), m_prompter(prompter), m_comparer(comparer)
    {
    }
    bool link(const QString &name, const OrganisationValues &importedValues) override;

private:
    EditModel &m_editModel;
    Prompter &m_prompter;
    OrganisationComparer &m_comparer;
};

} // namespace qv
