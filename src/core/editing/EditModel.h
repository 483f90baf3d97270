#pragma once

#include "data/TextFieldIndex.h"
#include "editing/NameCut.h"
#include "editing/PersonName.h"

#include <QSet>
#include <QStringList>

#include <vector>

namespace qv {

class CategoryTreeModel;
class TableView;
struct CategoryNode;

// The edit model: the only writer of person and organisation entries apart
// from the package loader. It hands out identifiers, splits and composes
// names, links persons to organisations by name, keeps the category slots,
// deletes entries and keeps the surname initials. Every interactive change
// is bracketed by both tables' change counters so that RollBack undoes it.
class EditModel {
public:
    enum EditState { Adding = 0, Editing = 1, Cancelled = 2, AddNext = 3, ReviewDuplicates = 4, Closed = 5 };
    enum OrgState { OrgAppended = 0, OrgEditing = 1, OrgIdle = 3 };
    enum OrgLink { OrgCreated = 0, OrgFound = 1, OrgBlank = 3 };

    explicit EditModel(CategoryTreeModel &tree) : m_tree(tree) {}

    void scanPersonTable(TableView &persons);
    void scanOrganisationTable(TableView &organisations);
    void setCompoundSurnames(QStringList list) { m_compoundSurnames = std::move(list); }
    const QStringList &compoundSurnames() const { return m_compoundSurnames; }

    void addPerson();
    void editPerson(int position);
    void commitEdit();
    void rollBack();
    int appendOrganisation(const QString &name);
    OrgLink setOrganisationByName(const QString &name);
    // A changed name is split into its parts and kept whole as typed; changed
    // parts compose the name. The name is handed back cut to the width of
    // Name, for the caller to write. Returns the fields that could not hold
    // their whole text: the parts written here, and Name.
    NameCuts applyNameStep(QString &name, bool &nameChanged, bool &fieldsChanged);

    bool setCategorySlot(int slot, int number);
    bool addToCategory(int number);
    bool removeFromCategory(int number);
    // Marks are positions in the person view's order.
    bool removeSelectionFromCategory(int number, const std::vector<int> &marks);
    bool deleteCategoryIfEmpty(CategoryNode *node);

    bool deleteCurrent();
    bool deleteSelected(const std::vector<int> &marks);
    const std::vector<int> &findIsolatedOrganisations();
    bool deleteIsolatedOrganisations();

    bool scanInitials();
    bool addInitial(const QString &surname);
    const QStringList &initials() const { return m_initials; }

    EditState editState() const { return m_editState; }
    void setEditState(EditState state) { m_editState = state; }
    OrgState orgState() const { return m_orgState; }
    void setOrgState(OrgState state) { m_orgState = state; }
    bool hasYellowEntries() const { return m_hasYellowEntries; }
    void setHasYellowEntries(bool on) { m_hasYellowEntries = on; }
    const QString &lastComposedName() const { return m_lastComposedName; }
    int highestClientId() const { return m_highestClientId; }
    int highestCoId() const { return m_highestCoId; }

    // The list copies of the open book: the current person and organisation are their current rows.
    TableView &persons() { return *m_persons; }
    TableView &organisations() { return *m_organisations; }
    CategoryTreeModel &tree() { return m_tree; }

    // The row ids of positions in the person view: rows keep their ids while
    // their positions shift as changed rows leave a filtered list.
    std::vector<int> rowIdsOf(const std::vector<int> &positions) const;

private:
    void recordCounters();
    void openPerson();
    void insertInitial(const QString &initial);

    CategoryTreeModel &m_tree;
    EditState m_editState = Closed;
    OrgState m_orgState = OrgIdle;
    bool m_hasYellowEntries = false;
    TableView *m_persons = nullptr;
    TableView *m_organisations = nullptr;
    int m_personCounter = 0;
    int m_organisationCounter = 0;
    int m_highestClientId = 2000;
    int m_highestCoId = 2000;
    QStringList m_compoundSurnames;
    QStringList m_initials;
    QSet<QString> m_foldedInitials; // the initials case-folded, for the duplicate test
    QString m_lastComposedName;
    std::vector<int> m_isolated; // organisation row ids
    TextFieldIndex m_companies{QStringLiteral("Company"), Qt::CaseInsensitive};
};

} // namespace qv
