#pragma once

#include <QString>

namespace qv::archive {

// Error and message codes of the archive code, as the user sees them.
enum class ArchiveCode : int {
    BadFileHeader = 25110,
    BadBlock = 25111,
    WriteError = 25136,
    CloseError = 25137,
    IncompleteCodeSet = 25138,
    CrcFailed = 25151,
    AuthenticationFailed = 25152, // an AES member whose authentication code does not match: damaged or changed
    DiskFull = 25155,
    CannotCreateDirectory = 25156,
    FileNotFound = 25172,
    OpenError = 25235,
    ReadError = 25236,
    UnsupportedArchive = 25242,
    BadLengths = 25247,
    InconsistentLocalHeader = 25248,
    OutOfMemory = 25253,
    UnsupportedMethod = 25326,
    UserCanceled = 25449,
    InvalidPassword = 26517,
    PasswordFailed = 26522,
};

QString archiveCodeText(ArchiveCode code);

// Codes above this are messages (information box); up to it, errors (warning box).
constexpr int kLastErrorCode = 25998;

// "Error: 25151 - File fails CRC check" or "Message: 26517 - Invalid password".
QString archiveMessage(ArchiveCode code);
// The same with the text the archive code reported, which may name the member.
QString archiveMessage(ArchiveCode code, const QString &text);
bool isArchiveError(ArchiveCode code);

} // namespace qv::archive
