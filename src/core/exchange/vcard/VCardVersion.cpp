#include "exchange/vcard/VCardVersion.h"

namespace qv::vcard {

VCardVersion versionFromText(QByteArrayView text)
{
    const QByteArrayView v = text.trimmed();
    if (v == "3.0")
        return VCardVersion::V30;
    if (v == "4.0")
        return VCardVersion::V40;
    return VCardVersion::V21;
}

QByteArray versionText(VCardVersion version)
{
    switch (version) {
    case VCardVersion::V21:
        return "2.1";
    case VCardVersion::V30:
        return "3.0";
    case VCardVersion::V40:
        return "4.0";
    }
    return "2.1";
}

} // namespace qv::vcard
