#pragma once

#include "data/CategoryForest.h"
#include "data/TableFile.h"

#include <QStringList>

#include <memory>

namespace qv {

class RecordTable;

// Everything an address book holds, read from its members before anything
// on screen is replaced: an open that fails leaves the current book whole.
struct BookContent {
    std::shared_ptr<RecordTable> persons;
    std::shared_ptr<RecordTable> organisations;
    CategoryForest tree;
    QStringList compoundSurnames;
    bool converted = false; // the tables were of the old format
    TableForm personForm = TableForm::Quorvel; // as the members were found
    TableForm organisationForm = TableForm::Quorvel;
};

} // namespace qv
