#pragma once

#include "editing/PersonName.h"

#include <QStringList>

#include <vector>

namespace qv {

class CTreeMT;
class TableView;
struct CategoryNode;

// The edit model: the only writer of person and organisation entries apart
// from the package loader. It hands out identifiers, splits and composes
// names, links persons to organisations by name, keeps the category slots,
// deletes entries and keeps the surname initials. Every interactive change
// is bracketed by both tables' change counters so that RollBack undoes it.
class CEditMT {
public:
    enum EditState { Adding = 0, Editing = 1, Cancelled = 2, AddNext = 3, ReviewDuplicates = 4, Closed = 5 };
    enum OrgState { OrgAppended = 0, OrgEditing = 1, OrgIdle = 3 };
    enum OrgLink { OrgCreated = 0, OrgFound = 1, OrgBlank = 3 };

    explicit CEditMT(CTreeMT &tree) : m_tree(tree) {}

    void ScanPersonTable(TableView &persons);
    void ScanOrganisationTable(TableView &organisations);
    void setCompoundSurnames(QStringList list) { m_compoundSurnames = std::move(list); }
    const QStringList &compoundSurnames() const { return m_compoundSurnames; }

    void AddPerson();
    void EditPerson(int position);
    void CommitEdit();
    void RollBack();
    int AppendOrganisation(const QString &name);
    OrgLink SetOrganisationByName(const QString &name);
    void ApplyNameStep(QString &name, bool &nameChanged, bool &fieldsChanged);

    bool SetCategorySlot(int slot, int number);
    bool AddToCategory(int number);
    bool RemoveFromCategory(int number);
    // Marks are positions in the person view's order.
    bool RemoveSelectionFromCategory(int number, const std::vector<int> &marks);
    bool DeleteCategoryIfEmpty(CategoryNode *node);

    bool DeleteCurrent();
    bool DeleteSelected(const std::vector<int> &marks);
    const std::vector<int> &FindIsolatedOrganisations();
    bool DeleteIsolatedOrganisations();

    bool ScanInitials();
    bool AddInitial(const QString &surname);
    const QStringList &initials() const { return m_initials; }

    EditState editState = Closed;
    OrgState orgState = OrgIdle;
    bool hasYellowEntries = false;
    const QString &lastComposedName() const { return m_lastComposedName; }
    int highestClientId() const { return m_highestClientId; }
    int highestCoId() const { return m_highestCoId; }

private:
    void recordCounters();
    void openPerson();
    std::vector<int> rowIdsOf(const std::vector<int> &positions) const;
    void insertInitial(const QString &initial);

    CTreeMT &m_tree;
    TableView *m_persons = nullptr;
    TableView *m_organisations = nullptr;
    int m_personCounter = 0;
    int m_organisationCounter = 0;
    int m_highestClientId = 2000;
    int m_highestCoId = 2000;
    QStringList m_compoundSurnames;
    QStringList m_initials;
    QString m_lastComposedName;
    std::vector<int> m_isolated; // organisation row ids
};

} // namespace qv
