#include "shell/BookModelSet.h"

#include "data/BookContent.h"
#include "data/RecordStore.h"
#include "editing/PageKind.h"
#include "navigation/RecordListModel.h"

namespace qv {

void BookModelSet::receiveBook(RecordStore &data, BookContent &content)
{
    // In the order they depend on each other: record list, edit model
    // (identifiers, compound surnames), tree, initials, Org Contacts.
    if (m_recordList)
        m_recordList->attachTables(data.personList, data.organisationList);
    m_edit.scanPersonTable(data.personList);
    m_edit.scanOrganisationTable(data.organisationList);
    m_edit.setCompoundSurnames(std::move(content.compoundSurnames));
    m_tree.setForest(std::move(content.tree));
    m_edit.scanInitials();
    ensureOrgContactsNode(m_edit, m_tree);
}

ModelMembers BookModelSet::members() const
{
    return {m_tree.treeFile(), m_tree.numberFile(), m_edit.compoundSurnames()};
}

void BookModelSet::bookSaved()
{
    m_edit.scanInitials();
}

} // namespace qv
