// Packs and unpacks the members of a generated 100,000-entry book with our
// archive code and with Info-ZIP's zip and unzip on the same files, and
// prints the times and the ratios (ours / Info-ZIP; below 1.0 is faster).
#include "BenchTiming.h"

#include "data/BookGenerator.h"
#include "data/TableFile.h"
#include "data/archive/PackageReader.h"
#include "data/archive/PackageWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>

using namespace qv::archive;
using qv::bench::medianMs;

namespace {

// The member files of a generated book: both tables in their saved form,
// and tree and surname members of a plausible size.
void writeMembers(const QString &dir, int persons, int organisations)
{
    const qv::GeneratedBook book = qv::generateBook(persons, organisations, 1);
    const QList<QPair<QString, QByteArray>> files = {{"Names.dbf", qv::writeTableBytes(*book.persons)},
                                                     {"Agents.dbf", qv::writeTableBytes(*book.organisations)},
                                                     {"tree.dff", QByteArray("Friends\nWork\n").repeated(50)},
                                                     {"treeno.dff", QByteArray("1001\n1002\n").repeated(50)},
                                                     {"surname.dff", QByteArray("\xe6\xac\xa7\xe9\x98\xb3\n").repeated(80)}};
    for (const auto &[name, content] : files) {
        QFile f(dir + "/" + name);
        if (f.open(QIODevice::WriteOnly))
            f.write(content);
    }
}

bool runQuiet(const QString &program, const QStringList &args, const QString &dir)
{
    QProcess p;
    p.setWorkingDirectory(dir);
    p.start(program, args);
    return p.waitForFinished(-1) && p.exitCode() == 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString zip = QStandardPaths::findExecutable("zip");
    const QString unzip = QStandardPaths::findExecutable("unzip");
    if (zip.isEmpty() || unzip.isEmpty()) {
        std::fprintf(stderr, "zip and unzip are needed\n");
        return 1;
    }
    QTemporaryDir tmp;
    const QString src = tmp.filePath("src");
    QDir().mkpath(src);
    writeMembers(src, 100000, 10000);
    const QStringList members = packageMemberFiles(src);
    qint64 total = 0;
    for (const QString &m : members)
        total += QFileInfo(src + "/" + m).size();
    std::printf("members: %lld files, %.1f MB\n", static_cast<long long>(members.size()), total / 1e6);

    const int runs = 5;
    for (const QString &password : {QString(), QStringLiteral("secret")}) {
        const QString ours = tmp.filePath("ours.qvp");
        const QString theirs = tmp.filePath("theirs.zip");
        const double packOurs = medianMs(runs, [&] { pack(ours, src, password); });
        const double packZip = medianMs(runs, [&] {
            QFile::remove(theirs);
            QStringList args{"-q"};
            if (!password.isEmpty())
                args << "-P" << password;
            runQuiet(zip, args + QStringList{theirs} + members, src);
        });
        const double unpackOurs = medianMs(runs, [&] {
            KnownPasswords known;
            UnpackSinks sinks;
            sinks.password = [&](const QString &) { return PasswordAnswer{password, true}; };
            unpackFile(ours, tmp.filePath("out-ours"), known, sinks);
        });
        const double unpackZip = medianMs(runs, [&] {
            QStringList args{"-q", "-o"};
            if (!password.isEmpty())
                args << "-P" << password;
            runQuiet(unzip, args + QStringList{theirs, "-d", tmp.filePath("out-zip")}, tmp.path());
        });
        const char *label = password.isEmpty() ? "no password" : "password";
        std::printf("pack   (%-11s): ours %8.1f ms  zip   %8.1f ms  ratio %.2f  (sizes %lld / %lld bytes)\n", label,
                    packOurs, packZip, packOurs / packZip, static_cast<long long>(QFileInfo(ours).size()),
                    static_cast<long long>(QFileInfo(theirs).size()));
        std::printf("unpack (%-11s): ours %8.1f ms  unzip %8.1f ms  ratio %.2f\n", label, unpackOurs, unpackZip,
                    unpackOurs / unpackZip);
    }
    return 0;
}
