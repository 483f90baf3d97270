#pragma once

#include "data/TableView.h"

namespace qv {

// The record store: the person and organisation tables and the nine views
// the rest of the program works through. Created once at start.
class RecordStore {
public:
    RecordStore();
    RecordStore(const RecordStore &) = delete;
    RecordStore &operator=(const RecordStore &) = delete;

    // Binds every other view to the read copies as they are now: the list
    // copies keep their own settings, the lookup copies take over the read
    // copies', the print copies the list copies'.
    void bindViews();

    // Moves the organisation list copy to the current person's organisation,
    // or to the default organisation (CoID 0) when there is none.
    void followCurrentPerson();

    TableView personRead;
    TableView personList;
    TableView personLookup;
    TableView personNameLookup;
    TableView personPrint;

    TableView organisationRead;
    TableView organisationList;
    TableView organisationLookup;
    TableView organisationPrint;
};

} // namespace qv
