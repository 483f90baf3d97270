#include "editing/IsolatedOrganisations.h"

#include "common/Prompter.h"
#include "editing/EditModel.h"

namespace qv {

int clearIsolatedOrganisations(EditModel &editModel, Prompter &prompter)
{
    const int count = int(editModel.findIsolatedOrganisations().size());
    editModel.deleteIsolatedOrganisations();
    prompter.message(QString::number(count) + QStringLiteral(" org records without any connection got cleared."),
                     Prompter::Icon::Information, Prompter::Button::Ok);
    return count;
}

} // namespace qv
