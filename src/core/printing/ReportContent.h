#pragma once

#include "printing/PrintMode.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace qv {

class Prompter;
class RecordStore;
class RecordTable;

// One record of a report: a person with the organisation it is linked to,
// or, in the list by organisation, the organisation heading its people.
// Rows are row ids of the tables; -1 is none.
struct ReportBlock {
    enum class Kind { Person, Organisation };
    Kind kind = Kind::Person;
    int personRow = -1;
    int organisationRow = -1;
    bool operator==(const ReportBlock &) const = default;
};

// What a report prints, in order, over the tables it reads the fields from.
struct ReportContent {
    std::shared_ptr<const RecordTable> persons;
    std::shared_ptr<const RecordTable> organisations;
    std::vector<ReportBlock> blocks;

    QString text(const ReportBlock &block, const QString &field, bool organisationField) const;
};

// Binds the print copies as the mode asks and collects the records: the
// listed persons in list order, or every organisation that has people, in
// the order of their names, each followed by its white-page entries.
ReportContent collectReportContent(RecordStore &data, PrintMode mode);

// The same, but shows "Please specify what to print." and returns nothing
// when there is nothing to print.
std::optional<ReportContent> prepareReport(RecordStore &data, PrintMode mode, Prompter &prompter);

} // namespace qv
