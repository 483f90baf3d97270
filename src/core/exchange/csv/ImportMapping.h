#pragma once

#include "settings/Settings.h"

#include <QString>
#include <QStringList>


namespace qv {

// The file columns (1-based) assigned to one catalogue line; the first
// slot below 1 ends them.
using MappedColumns = std::array<int, 5>;

// The values of the assigned columns, the non-empty ones joined by ", ".
// A column beyond the record's values is empty: programs leave out empty
// values at the end of a record, and the export's last comma opens none.
QString joinedText(const MappedColumns &columns, const QStringList &values);

// The value of the first slot's column; empty when it lies beyond the record.
QString firstColumnValue(const MappedColumns &columns, const QStringList &values);

// Either Name alone, or SurName and GivenName without Name: lines 0, 1 and
// 3 of the catalogue.
bool nameMappingMakesSense(const ImportFieldMapping &mapping);

// Gives the column to the first free slot, unless the line has it already
// or is full.
void assignColumn(MappedColumns &columns, int column);

} // namespace qv
