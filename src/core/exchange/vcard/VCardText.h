#pragma once

#include "exchange/vcard/VCardVersion.h"

#include <QString>
#include <QStringView>

namespace qv::vcard {

// Undoes the backslash escapes of a text value. 3.0 and 4.0: "\\", "\;",
// "\,", "\:" and "\n" (or "\N", a line break). 2.1 knows no line-break escape,
// so there "\n" stays as written (a Windows path keeps its backslashes); any
// other backslash stays too.
QString unescapeText(QString text, VCardVersion version);

// Escapes a text for a value: 3.0 and 4.0 escape "\", ";", "," and line
// breaks; 2.1 escapes "\" always and ";" in components of structured values
// (its line breaks travel quoted-printable).
QString escapeText(QStringView text, VCardVersion version, bool component);

// CR LF and lone CR become LF, the line break the tree holds.
QString normaliseLineBreaks(QString text);

} // namespace qv::vcard
