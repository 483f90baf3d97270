#include "exchange/KeepStoredOrganisation.h"

#include "editing/EditModel.h"

namespace qv {

bool KeepStoredOrganisation::link(const QString &name, const QList<FieldText> &)
{
    m_editModel.setOrganisationByName(name);
    return false;
}

} // namespace qv
