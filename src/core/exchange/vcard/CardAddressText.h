#pragma once

#include "exchange/vcard/PostalAddress.h"

#include <QString>

namespace qv::vcard {

// An ADR as one line of the address field: BOX, EXT ADD, STREET, L, R and C
// joined by ", ", with no separators left at either end (an empty inner
// component still leaves two in a row). Text in an East Asian script is
// written country first and without separators, as addresses there are.
QString cardAddressText(const PostalAddress &address);

} // namespace qv::vcard
