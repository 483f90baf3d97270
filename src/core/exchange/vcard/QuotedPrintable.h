#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace qv::vcard {

// Decodes quoted-printable text whose soft line breaks are already removed
// into out (whose memory is reused); false when an "=" is not followed by
// two hexadecimal digits.
bool decodeQuotedPrintable(QByteArrayView text, QByteArray &out);

// Appends the bytes quoted-printable, breaking lines with soft line breaks so
// that no line is longer than lineLength; the first line already holds
// firstLineUsed characters. Line breaks in the data are encoded (=0D=0A),
// and so are colons, so that no line of the value looks like a property.
void appendQuotedPrintable(QByteArray &out, QByteArrayView data, qsizetype firstLineUsed, qsizetype lineLength);

} // namespace qv::vcard
