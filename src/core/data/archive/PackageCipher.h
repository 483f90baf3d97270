#pragma once

#include <QString>

#include <optional>

namespace qv::archive {

// How the members of a package with a password are encrypted, weakest first.
enum class PackageCipher {
    Traditional, // the PKWARE cipher every archiver reads, and known-plaintext attacks break
    Aes256, // WinZip AE-2 with AES-256, read by 7-Zip and WinZip but not by unzip
};

// "AES-256" or "traditional"; "no" for a package without encryption.
QString cipherName(std::optional<PackageCipher> cipher);

} // namespace qv::archive
