#pragma once

#include "exchange/vcard/VCardObject.h"
#include "exchange/vcard/VCardVersion.h"

#include <QByteArray>

namespace qv::vcard {

// Appends the card as text of the version, UTF-8 with CR LF line ends and no
// line longer than 75 octets: BEGIN:VCARD, VERSION, the properties in tree
// order, END:VCARD. 2.1 writes type parameters bare and a value that is not
// plain ASCII, holds line breaks, is marked QUOTED-PRINTABLE in the tree or
// does not fit on its line as quoted-printable with CHARSET=UTF-8 where
// needed. 3.0 and 4.0 write TYPE= lists, backslash escapes and folded lines;
// 3.0 and 4.0 cards always get the FN (and 3.0 the N) their versions demand.
void appendVCard(QByteArray &out, const VCardObject &card, VCardVersion version);

} // namespace qv::vcard
