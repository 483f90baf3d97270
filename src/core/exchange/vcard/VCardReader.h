#pragma once

#include "exchange/vcard/VCardObject.h"

#include <QByteArrayView>
#include <QLocale>
#include <QString>

#include <vector>

namespace qv::vcard {

// Why a card of a file cannot be read.
enum class CardFault {
    None,
    Unterminated,       // the file, or the next card, began before its END:VCARD
    BadQuotedPrintable, // a quoted-printable value with an "=" that is not followed by two hex digits, or cut off
};

// One BEGIN:VCARD … END:VCARD of a file.
struct ReadCard {
    int beginLine = 0;
    CardFault fault = CardFault::None;
    int faultLine = 0;
    VCardObject card; // "VCARD" with its properties in file order; empty when the card is broken

    bool isBroken() const { return fault != CardFault::None; }
};

// Every card of a vCard 2.1, 3.0 or 4.0 file, in file order, broken ones
// included so that the caller can name them and go on with the rest. No
// cards at all: the file holds none. The locale picks the legacy code page
// for text that is neither UTF-8 nor marked with a CHARSET. Time and memory
// grow linearly with the file, whatever it holds.
std::vector<ReadCard> readVCards(QByteArrayView file, const QLocale &locale = QLocale::system());

// What the fault is, in words the user can read.
QString cardFaultText(CardFault fault);

} // namespace qv::vcard
