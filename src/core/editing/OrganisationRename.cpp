#include "editing/OrganisationRename.h"

#include "common/Prompter.h"
#include "data/TableView.h"
#include "editing/EditModel.h"

namespace qv {

bool OrganisationRename::mayRename(EditModel &editModel, Prompter &prompter)
{
    TableView &organisations = editModel.organisations();
    if (organisations.isEmpty())
        return false; // a book without organisations has none to rename
    if (organisations.value(QStringLiteral("CoID")) != Value(qint32(0)))
        return true;
    prompter.message(organisations.text(QStringLiteral("Company"))
                         + QStringLiteral(" is default org name for those you don't know the work place. It is unnecessary to edit."),
                     Prompter::Icon::Information, Prompter::Button::Ok);
    return false;
}

QString OrganisationRename::rename(EditModel &editModel, const QString &text)
{
    const QString name = text.trimmed();
    // An organisation without a name could never be found by it again.
    if (name.isEmpty())
        return {};
    TableView &organisations = editModel.organisations();
    organisations.post(); // a name typed into the open row before counts
    if (m_exactNames.rowsEqualTo(m_lookup, name).empty()) {
        organisations.edit();
        organisations.setValue(QStringLiteral("Company"), name);
    }
    return name;
}

} // namespace qv
