#include "data/archive/PackageCipher.h"

namespace qv::archive {

QString cipherName(std::optional<PackageCipher> cipher)
{
    if (!cipher)
        return QStringLiteral("no");
    return *cipher == PackageCipher::Aes256 ? QStringLiteral("AES-256") : QStringLiteral("traditional");
}

} // namespace qv::archive
