#include "shell/ProgramDirectory.h"

#include "common/Error.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace qv {

namespace {

QString withSlash(QString dir)
{
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

} // namespace

QString programDirectory()
{
    const QString home = qEnvironmentVariable("QUORVEL_HOME");
    QString dir = home.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                                 : QDir(home).absolutePath();
    return withSlash(dir);
}

QString defaultDataDirectory(const QString &programDir)
{
    return withSlash(programDir) + QStringLiteral("Data/");
}

QStringList installShippedFiles(const QString &programDir)
{
    if (!QDir().mkpath(programDir))
        throw Error(QStringLiteral("Unable to create directory %1").arg(QDir::toNativeSeparators(programDir)));
    QStringList installed;
    QDirIterator it(QStringLiteral(":/shipped"), QDir::Files);
    while (it.hasNext()) {
        const QFileInfo source(it.next());
        const QString target = withSlash(programDir) + source.fileName();
        if (QFileInfo::exists(target))
            continue;
        if (!QFile::copy(source.filePath(), target))
            throw Error(QStringLiteral("Unable to write to %1").arg(QDir::toNativeSeparators(target)));
        // Resource files come out read-only; the user owns these copies.
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        installed << source.fileName();
    }
    return installed;
}

} // namespace qv
