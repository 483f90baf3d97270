#pragma once

#include "data/TableView.h"

namespace qv {

// The record store: the person and organisation tables and the nine views
// the rest of the program works through. Created once at start.
class TCardData {
public:
    TCardData();
    TCardData(const TCardData &) = delete;
    TCardData &operator=(const TCardData &) = delete;

    // Binds every other view to the read copies as they are now: the list
    // copies keep their own settings, the lookup copies take over the read
    // copies', the print copies the list copies'.
    void bindViews();

    // Moves the organisation list copy to the current person's organisation,
    // or to the default organisation (CoID 0) when there is none.
    void NameDataSetAfterScroll();

    TableView NameReadDataSet;
    TableView NameDataSet;
    TableView NameLookDataset;
    TableView NameLookDataSet2;
    TableView NamePrDataset;

    TableView AgentReadDataSet;
    TableView AgentDataSet;
    TableView AgentLookDataSet;
    TableView AgentPrDataset;
};

} // namespace qv
