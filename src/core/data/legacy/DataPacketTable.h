#pragma once

#include <QByteArrayView>
#include <QLocale>

#include <memory>

namespace qv {

class RecordTable;

namespace legacy {

// The mapping layer of the data-packet form: a table with the packet's own
// fields, in the kinds a record table has, holding its current rows in the
// packet's default order. 8-bit texts are decoded in the code page of the
// packet's locale, or in the system's legacy code page when the packet names
// none. Fields of kinds a record table cannot hold are refused; everything
// is a DatabaseError with a text saying what.
std::unique_ptr<RecordTable> readDataPacketTable(QByteArrayView bytes, const QLocale &system = QLocale::system());

} // namespace legacy

} // namespace qv
