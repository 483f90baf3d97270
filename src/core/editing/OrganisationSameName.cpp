#include "editing/OrganisationSameName.h"

#include "common/Prompter.h"
#include "data/TableView.h"
#include "editing/EditModel.h"

#include <algorithm>

namespace qv {

namespace {

void writeValues(TableView &organisations, const OrganisationValues &values)
{
    if (organisations.state() == TableView::State::Browse)
        organisations.edit();
    for (const OrganisationValue &v : values)
        organisations.setValue(v.field, v.text);
}

OrganisationComparison comparisonOf(EditModel &editModel, const OrganisationValues &values)
{
    TableView &stored = editModel.organisations();
    OrganisationComparison c;
    c.heading = stored.text(QStringLiteral("Company")) + QStringLiteral(" --- ") + editModel.persons().text(QStringLiteral("Name"));
    c.question = QStringLiteral("Do you want to replace the existing?");
    QStringList existing{QStringLiteral("Info of the existing:")};
    QStringList imported{QStringLiteral("Info of the to-be-imported:")};
    for (const OrganisationValue &v : values) {
        existing << stored.text(v.field);
        imported << v.text;
    }
    c.existing = existing.join(QLatin1Char('\n'));
    c.imported = imported.join(QLatin1Char('\n'));
    return c;
}

// Whether the import brings a value the stored organisation does not hold:
// without one the compare window has nothing to set against the stored
// values, and replacing them could only empty them.
bool bringsNewValues(const TableView &stored, const OrganisationValues &values)
{
    return std::any_of(values.begin(), values.end(),
                       [&](const OrganisationValue &v) { return !v.text.isEmpty() && v.text != stored.text(v.field); });
}

// The name to import under; cancelling the box keeps the name it offered.
QString askName(Prompter &prompter, const QString &offered)
{
    return prompter.input(QStringLiteral("Rename the Imported Org"), QString(), offered).value_or(offered);
}

} // namespace

bool linkImportedOrganisation(EditModel &editModel, Prompter &prompter, OrganisationComparer &comparer, bool checkSameName,
                              const QString &name, const OrganisationValues &values)
{
    QString nextName = name;
    QString lastCompared;
    for (;;) {
        switch (editModel.setOrganisationByName(nextName)) {
        case EditModel::OrgCreated:
            writeValues(editModel.organisations(), values);
            return true;
        case EditModel::OrgBlank:
            // Only a typed name can be blank here; with nothing to fall back on, the default organisation stays.
            if (lastCompared.isEmpty())
                return false;
            nextName = askName(prompter, lastCompared);
            continue;
        case EditModel::OrgFound:
            break;
        }
        if (!checkSameName || !bringsNewValues(editModel.organisations(), values))
            return false;
        switch (comparer.compare(comparisonOf(editModel, values))) {
        case OrganisationComparer::Choice::Replace:
            writeValues(editModel.organisations(), values);
            return true;
        case OrganisationComparer::Choice::Keep:
            return false;
        case OrganisationComparer::Choice::Rename:
            lastCompared = editModel.organisations().text(QStringLiteral("Company"));
            nextName = askName(prompter, lastCompared);
            break;
        }
    }
}

} // namespace qv
