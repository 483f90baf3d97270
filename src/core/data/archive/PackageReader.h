#pragma once

#include "data/archive/ArchiveError.h"
#include "data/archive/PackageCipher.h"
#include "data/archive/UnpackTarget.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace qv::archive {

struct PasswordAnswer {
    QString password;
    bool tryAgain = false; // false: the user gave up, stop asking
};

using PasswordProvider = std::function<PasswordAnswer(const QString &memberName)>;
using ErrorSink = std::function<void(ArchiveCode code, const QString &text)>;
using MemberEndSink = std::function<void(const QString &memberName, bool crcPassed)>;
using CipherSink = std::function<void(const QString &memberName, PackageCipher cipher)>;

struct UnpackSinks {
    PasswordProvider password;
    ErrorSink error;
    MemberEndSink memberEnd;
    CipherSink cipher; // told the cipher of each encrypted member written
};

// Passwords the reader remembers: the one it used last and those accepted
// during the current unpack. The caller clears them before each unpack.
struct KnownPasswords {
    QString lastUsed;
    QStringList accepted;
    void clear()
    {
        lastUsed.clear();
        accepted.clear();
    }
};

// The largest member we inflate: far above any address book, far below a full disk.
constexpr qint64 kMaxMemberSize = qint64(512) * 1024 * 1024;

// Extracts every member of the archive into the target under its bare file
// name; returns the number of members written. Errors go to the error sink
// and the reader goes on with the next member where it can.
int unpack(const QByteArray &archive, UnpackTarget &target, KnownPasswords &known, const UnpackSinks &sinks);

// The same for a package file and a target directory.
int unpackFile(const QString &packagePath, const QString &targetDirectory, KnownPasswords &known,
               const UnpackSinks &sinks);
// The same into a directory target of the caller's.
int unpackFile(const QString &packagePath, DirectoryTarget &target, KnownPasswords &known, const UnpackSinks &sinks);

// The name a member is written under: what follows the last "/" or "\",
// without a drive letter; empty when nothing usable is left.
QString safeMemberName(const QString &storedName);

// The path of the file in the directory whose name equals the member name,
// ignoring case ("names.dbf" finds "NAMES.DBF"); empty when there is none.
QString findMemberFile(const QString &directory, const QString &name);

} // namespace qv::archive
