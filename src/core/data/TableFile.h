#pragma once

#include <QByteArray>

#include <memory>

namespace qv {

class RecordTable;

// The saved form of a table (see docs/table-format.md): a self-describing
// header with the field names, types and sizes, then the values column by
// column, texts in UTF-8. Reading checks every count and length against the
// bytes that are there and throws DatabaseError on anything it cannot read.
QByteArray writeTableBytes(const RecordTable &table);
std::unique_ptr<RecordTable> readTableBytes(const QByteArray &bytes);

} // namespace qv
