// Any bytes as a legacy data packet: they load, or they are refused with a
// DatabaseError. A packet that loads saves in our form and loads again to
// the same rows, as the next save of an opened old book would.
#include "data/DatabaseError.h"
#include "data/RecordTable.h"
#include "data/TableFile.h"
#include "data/legacy/DataPacketTable.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    std::unique_ptr<qv::RecordTable> table;
    try {
        table = qv::legacy::readDataPacketTable(bytes, QLocale(QLocale::Chinese, QLocale::China));
    } catch (const qv::DatabaseError &) {
        return 0;
    }
    const auto again = qv::readTableBytes(qv::writeTableBytes(*table));
    if (again->liveRowCount() != table->liveRowCount())
        __builtin_trap();
    for (int row = 0; row < table->rowSlots(); ++row) {
        if (again->rowValues(row) != table->rowValues(row))
            __builtin_trap();
    }
    return 0;
}
