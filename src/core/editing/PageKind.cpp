#include "editing/PageKind.h"

#include "data/TableView.h"
#include "editing/EditModel.h"
#include "navigation/CategoryTreeModel.h"

#include <functional>

namespace qv {

namespace {

// Changes each entry, the marked ones in list order or the current one, with
// the views quiet; each row is posted before the next.
void changeEntries(EditModel &editModel, const std::vector<int> &marks, const std::function<void(TableView &)> &change)
{
    TableView &persons = editModel.persons();
    if (persons.isEmpty())
        return;
    std::vector<int> rows = marks.empty() ? std::vector<int>{persons.currentRow()} : editModel.rowIdsOf(marks);
    persons.disableControls();
    editModel.organisations().disableControls();
    for (int row : rows) {
        if (!persons.gotoBookmark({persons.table(), row}))
            continue;
        persons.edit();
        change(persons);
        persons.post();
    }
    editModel.organisations().enableControls();
    persons.enableControls();
}

} // namespace

void makeYellowPageEntries(EditModel &editModel, const std::vector<int> &marks)
{
    if (editModel.persons().isEmpty())
        return;
    changeEntries(editModel, marks, [](TableView &persons) {
        persons.setValue(QStringLiteral("Yellow"), true);
        persons.setValue(QStringLiteral("SurName"), persons.value(QStringLiteral("Name")));
        persons.setValue(QStringLiteral("GivenName"), QString());
    });
    editModel.setHasYellowEntries(true);
    ensureOrgContactsNode(editModel, editModel.tree());
}

int makeWhitePageEntries(EditModel &editModel, const std::vector<int> &marks)
{
    int cutNames = 0;
    changeEntries(editModel, marks, [&](TableView &persons) {
        persons.setValue(QStringLiteral("Yellow"), false);
        QString name = persons.text(QStringLiteral("Name"));
        bool nameChanged = true, partsChanged = false;
        // Name itself stays as it is.
        cutNames += editModel.applyNameStep(name, nameChanged, partsChanged).isEmpty() ? 0 : 1;
    });
    return cutNames;
}

bool ensureOrgContactsNode(const EditModel &editModel, CategoryTreeModel &tree)
{
    if (!editModel.hasYellowEntries() || tree.indexOfNumber(110) >= 0 || tree.indexOfNumber(101) < 0)
        return false;
    return tree.insertFixedNode(101, QStringLiteral("Org Contacts"), true, 110) != nullptr;
}

} // namespace qv
