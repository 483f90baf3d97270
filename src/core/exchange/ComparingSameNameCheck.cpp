#include "exchange/ComparingSameNameCheck.h"

namespace qv {

bool ComparingSameNameCheck::link(const QString &name, const OrganisationValues &importedValues)
{
    // The caller writes the values again, typed, with the dates the window
    // leaves out, into whichever organisation took them.
    return linkImportedOrganisation(m_editModel, m_prompter, m_comparer, true, name, importedValues);
}

} // namespace qv
