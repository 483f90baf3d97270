#pragma once

#include "exchange/AddressBookContact.h"

#include <QDir>
#include <QList>
#include <QLocale>
#include <QString>

namespace qv {

// The contact-reading layer of the system address book import: every
// contact of an address book (.wab) file, in its order. Nothing is ever
// written. Each function throws qv::Error with the text the user sees: the
// open error for a file of the older variant or when there is no address
// book, otherwise a text naming the file.
namespace systemaddressbook {

// The text of a failed open, as the import shows it.
QString openErrorText();

QList<AddressBookContact> readFile(const QString &path, const QLocale &system = QLocale::system());

// The current user's address book: the .wab file a Windows compatibility
// layer keeps under $WINEPREFIX (else ~/.wine), in the roaming application
// data folder or its older spelling. Empty when there is none.
QString findCurrent(const QString &home = QDir::homePath());
QList<AddressBookContact> readCurrent(const QString &home = QDir::homePath(), const QLocale &system = QLocale::system());

} // namespace systemaddressbook

} // namespace qv
