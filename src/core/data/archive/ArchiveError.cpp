#include "data/archive/ArchiveError.h"

namespace qv::archive {

QString archiveCodeText(ArchiveCode code)
{
    switch (code) {
    case ArchiveCode::BadFileHeader: return QStringLiteral("Bad file header");
    case ArchiveCode::BadBlock: return QStringLiteral("Bad block");
    case ArchiveCode::WriteError: return QStringLiteral("Error writing to file");
    case ArchiveCode::CloseError: return QStringLiteral("Error closing file");
    case ArchiveCode::IncompleteCodeSet: return QStringLiteral("Incomplete code set");
    case ArchiveCode::CrcFailed: return QStringLiteral("File fails CRC check");
    case ArchiveCode::AuthenticationFailed: return QStringLiteral("File fails authentication check");
    case ArchiveCode::DiskFull: return QStringLiteral("Not enough disk space");
    case ArchiveCode::CannotCreateDirectory: return QStringLiteral("Unable to create directory");
    case ArchiveCode::FileNotFound: return QStringLiteral("File not found");
    case ArchiveCode::OpenError: return QStringLiteral("Error opening file");
    case ArchiveCode::ReadError: return QStringLiteral("Error reading file or unexpected end of file");
    case ArchiveCode::UnsupportedArchive: return QStringLiteral("Invalid or unsupported archive type for this operation");
    case ArchiveCode::BadLengths: return QStringLiteral("Bad lengths");
    case ArchiveCode::InconsistentLocalHeader: return QStringLiteral("Inconsistant local header");
    case ArchiveCode::OutOfMemory: return QStringLiteral("Out of memory");
    case ArchiveCode::UnsupportedMethod: return QStringLiteral("Unsupported compression method");
    case ArchiveCode::UserCanceled: return QStringLiteral("User canceled");
    case ArchiveCode::InvalidPassword: return QStringLiteral("Invalid password");
    case ArchiveCode::PasswordFailed: return QStringLiteral("Password failed");
    }
    return {};
}

bool isArchiveError(ArchiveCode code)
{
    return static_cast<int>(code) <= kLastErrorCode;
}

QString archiveMessage(ArchiveCode code)
{
    return archiveMessage(code, archiveCodeText(code));
}

QString archiveMessage(ArchiveCode code, const QString &text)
{
    return QStringLiteral("%1: %2 - %3")
        .arg(isArchiveError(code) ? QStringLiteral("Error") : QStringLiteral("Message"),
             QString::number(static_cast<int>(code)), text);
}

} // namespace qv::archive
