#pragma once

#include <QString>
#include <QStringList>

namespace qv {

// The per-user folder that holds aa.ini, pt.ini, the template packages and,
// by default, the Data folder. $QUORVEL_HOME overrides it for portable use
// and for tests. The text ends in "/".
QString programDirectory();

// The data directory a fresh installation uses: programDirectory() + "Data/".
QString defaultDataDirectory(const QString &programDir);

// Copies every file that ships with the program into the program directory
// when it is missing there; existing files are never replaced. Returns the
// names of the files installed. Throws qv::Error when a file cannot be written.
QStringList installShippedFiles(const QString &programDir);

} // namespace qv
