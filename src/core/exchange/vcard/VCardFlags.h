#pragma once

#include "exchange/vcard/VCardObject.h"

#include <QtGlobal>

namespace qv::vcard {

// Types of a TEL, EMAIL or URL property, as a set of bits.
namespace TypeFlag {
enum : quint16 {
    Pref = 1,
    Work = 2,
    Home = 4,
    Voice = 8,
    Fax = 16,
    Msg = 32,
    Cell = 64,
    Pager = 128,
    Bbs = 256,
    Modem = 512,
    Car = 1024,
    Isdn = 2048,
    Video = 4096,
};
}

// Types of an ADR property. QuotedPrintable is written but never read back.
namespace AddressFlag {
enum : quint8 {
    Domestic = 1,
    International = 2,
    Postal = 4,
    Parcel = 8,
    Home = 16,
    Work = 32,
    QuotedPrintable = 64,
};
}

// Encodings and types of a NOTE property.
namespace NoteFlag {
enum : quint8 {
    Base64 = 1,
    QuotedPrintable = 2,
    EightBit = 4,
    Home = 8,
    Work = 16,
};
}

// The kind of mail system an EMAIL names: 0 AOL … 11 X400; NoEmailType when
// it names none.
constexpr int NoEmailType = 12;

// Adds the parameters of the flags in their fixed order (for types: PREF,
// WORK, HOME, VOICE, FAX, MSG, CELL, PAGER, BBS, MODEM, CAR, VIDEO, ISDN),
// each once.
void addTypeParameters(VCardObject &property, quint16 flags);
void addAddressParameters(VCardObject &property, quint8 flags);
void addNoteParameters(VCardObject &property, quint8 flags);

// The flags of the property's parameters; other children are ignored.
quint16 typeFlags(const VCardObject &property);
quint8 addressFlags(const VCardObject &property);
quint8 noteFlags(const VCardObject &property);

// The parameter name of an e-mail type ("INTERNET" for 5), empty for
// NoEmailType and numbers outside the table.
QString emailTypeName(int type);
// The last e-mail type among the property's parameters, NoEmailType when none.
int emailType(const VCardObject &property);

} // namespace qv::vcard
