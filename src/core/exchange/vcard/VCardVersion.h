#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace qv::vcard {

enum class VCardVersion { V21, V30, V40 };

// The version a VERSION value names; anything but 3.0 and 4.0 is read as 2.1,
// the oldest form and the most forgiving one.
VCardVersion versionFromText(QByteArrayView text);
QByteArray versionText(VCardVersion version);

} // namespace qv::vcard
