#pragma once

#include "exchange/AddressBookContact.h"

#include <QByteArrayView>
#include <QList>
#include <QLocale>

namespace qv::wab {

// The mapping layer of a .wab file: the contacts among its live records, in
// index order, with the properties the import reads. Groups and folders are
// passed over. 8-bit strings are taken to be in the system's legacy code
// page. Throws WabError.
QList<AddressBookContact> readWabContacts(QByteArrayView bytes, const QLocale &system = QLocale::system());

} // namespace qv::wab
