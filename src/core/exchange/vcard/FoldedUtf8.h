#pragma once

#include <QByteArrayView>

namespace qv::vcard {

// Whether the file is UTF-8 once its folded lines are joined: writers that
// count octets fold inside a character's byte sequence, so a plain UTF-8
// check would take such a file for a legacy code page.
bool isUtf8AcrossFolds(QByteArrayView file);

} // namespace qv::vcard
