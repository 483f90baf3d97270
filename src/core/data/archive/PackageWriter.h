#pragma once

#include "data/archive/PackageCipher.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>

#include <functional>

namespace qv::archive {

struct PackMember {
    QString name; // bare file name
    QByteArray data;
    QDateTime modified;
};

// Source of the random bytes of encryption headers and salts; tests fix it
// so that packages come out byte for byte the same.
using RandomSource = std::function<std::uint32_t()>;

// The ZIP archive of the members, in the given order: Deflate at the normal
// level, no comment; encrypted with the cipher when the password is not
// empty. Version needed 2.0, or 5.1 for AES. Throws qv::Error when a member
// cannot be compressed or encrypted.
QByteArray buildArchive(const QList<PackMember> &members, const QString &password,
                        PackageCipher cipher = PackageCipher::Aes256, const RandomSource &random = {});

// The files of the source directory that go into a package: "*.dbf", then
// "*.dff", each group by name; subdirectories are not entered.
QStringList packageMemberFiles(const QString &sourceDir);

// Writes a package's bytes at the path, whole or not at all: beside the path
// first, then renamed over it. An address book is personal data: the file is
// readable and writable by its owner only, or keeps the mode of the package it
// replaces where that is stricter. Throws qv::Error with the path and the
// system's reason.
void writePackageFile(const QString &packagePath, const QByteArray &bytes);

// Writes the package of the source directory's "*.dbf" and "*.dff" files.
// The package appears whole or not at all: it is written beside the path and
// renamed over it once complete. Throws qv::Error on failure, with the path.
void pack(const QString &packagePath, const QString &sourceDir, const QString &password,
          PackageCipher cipher = PackageCipher::Aes256, const RandomSource &random = {});

// The same package, for a caller that has just written some of those files
// and still holds their bytes, keyed by file name in lower case: these are
// taken from memory instead of being read back.
void pack(const QString &packagePath, const QString &sourceDir, const QString &password,
          const QMap<QString, QByteArray> &held, PackageCipher cipher = PackageCipher::Aes256,
          const RandomSource &random = {});

} // namespace qv::archive
