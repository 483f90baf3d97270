#pragma once

#include "editing/OrganisationSameName.h"

#include <QString>

namespace qv {

// What an import does when a stored organisation bears the imported name
// (ignoring case) and the CheckOrgSameName setting asks to check it. The
// person row is open; the organisation view may be anywhere.
class SameNameCheck {
public:
    virtual ~SameNameCheck() = default;
    // Links the person to an organisation: the stored one, or one the user
    // names instead. True when the imported values are to be written into
    // the organisation that the organisation view then shows.
    virtual bool link(const QString &name, const OrganisationValues &importedValues) = 0;
};

} // namespace qv
