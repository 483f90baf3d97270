#pragma once

#include "common/PageBuffer.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>

#include <functional>
#include <memory>

namespace qv {

class RecordTable;

// The saved form of a table (see docs/table-format.md): a self-describing
// header with the field names, types and sizes, then the values column by
// column, texts in UTF-8. Reading checks every count and length against the
// bytes that are there and throws DatabaseError on anything it cannot read.
// Tables that earlier installations wrote in the engine's data-packet form
// are read as well; they are never written.
QByteArray writeTableBytes(const RecordTable &table);
// The same in a buffer of its own, so that a save of megabytes neither
// grows the heap nor faults its pages in one by one.
PageBuffer writeTableBuffer(const RecordTable &table);
std::unique_ptr<RecordTable> readTableBytes(const QByteArray &bytes);
// The same for bytes the caller gives up: each column's bytes go back to the
// system as soon as the column is decoded, so that the file and the table
// it makes are never both held whole.
// While the other columns are still being decoded, early.ready runs with
// the table as soon as the fields early.names are, unless the table lacks
// one of them (and it never runs for a table in the data-packet form).
struct EarlyFields {
    QStringList names;
    std::function<void(RecordTable &)> ready;
};
std::unique_ptr<RecordTable> readTableBytesReleasing(PageBuffer bytes, const EarlyFields &early = {});

enum class TableForm { Quorvel, DataPacket };
// The form of a table file, by its first bytes; anything not a data packet
// is taken for ours, which reading then checks.
TableForm tableFormOf(QByteArrayView bytes);

} // namespace qv
