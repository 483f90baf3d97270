#pragma once

#include "data/BookGenerator.h"
#include "data/RecordStore.h"
#include "editing/EditModel.h"
#include "navigation/CategoryTreeModel.h"

namespace qv::test {

// A book in memory as the program holds it: list copies logging changes.
struct BookInMemory {
    RecordStore data;
    CategoryTreeModel tree;
    EditModel edit{tree};

    explicit BookInMemory(const GeneratedBook &content)
    {
        data.personRead.loadTable(content.persons);
        data.organisationRead.loadTable(content.organisations);
        data.bindViews();
        data.personList.setLogChanges(true);
        data.organisationList.setLogChanges(true);
        edit.scanPersonTable(data.personList);
        edit.scanOrganisationTable(data.organisationList);
        tree.loadTree("All\r\nSearch\r\n", "1000\r\n101\r\n");
    }
};

} // namespace qv::test
