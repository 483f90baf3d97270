// Packs and unpacks the members of a generated 100,000-entry book with our
// archive code and with Info-ZIP's zip and unzip, and prints the times and the
// ratios (ours / Info-ZIP; below 1.0 is faster). Both pack the same files; both
// unpack the same package, our own, and what they unpack must be the members
// byte for byte, else the benchmark stops with an error.
#include "BenchTiming.h"

#include "data/BookGenerator.h"
#include "data/TableFile.h"
#include "data/archive/PackageReader.h"
#include "data/archive/PackageWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMap>
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
    return p.waitForFinished(-1) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// The files of a directory with their bytes, by name.
QMap<QString, QByteArray> filesIn(const QString &dir)
{
    QMap<QString, QByteArray> files;
    const QDir d(dir);
    for (const QString &name : d.entryList(QDir::Files | QDir::Hidden)) {
        QFile f(d.filePath(name));
        files.insert(name, f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray());
    }
    return files;
}

// Whether the unpacked directory holds exactly the member files, byte for byte;
// says what differs when not.
bool sameFiles(const QMap<QString, QByteArray> &members, const QString &dir, const char *who)
{
    const QMap<QString, QByteArray> unpacked = filesIn(dir);
    if (unpacked.keys() != members.keys()) {
        std::fprintf(stderr, "%s unpacked %s instead of %s\n", who, qPrintable(unpacked.keys().join(", ")),
                     qPrintable(members.keys().join(", ")));
        return false;
    }
    for (auto it = members.cbegin(); it != members.cend(); ++it) {
        if (unpacked.value(it.key()) != it.value()) {
            std::fprintf(stderr, "%s unpacked %s with other bytes (%lld instead of %lld)\n", who, qPrintable(it.key()),
                         static_cast<long long>(unpacked.value(it.key()).size()), static_cast<long long>(it.value().size()));
            return false;
        }
    }
    return true;
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
    const QMap<QString, QByteArray> memberFiles = filesIn(src);
    qint64 total = 0;
    for (const QByteArray &content : memberFiles)
        total += content.size();
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
        // Both readers unpack our package, each into a folder of its own emptied first.
        const QString outOurs = tmp.filePath("out-ours");
        const QString outZip = tmp.filePath("out-zip");
        QDir(outOurs).removeRecursively();
        QDir(outZip).removeRecursively();
        bool unpacked = true;
        const double unpackOurs = medianMs(runs, [&] {
            KnownPasswords known;
            UnpackSinks sinks;
            sinks.password = [&](const QString &) { return PasswordAnswer{password, true}; };
            sinks.error = [&](ArchiveCode, const QString &text) {
                std::fprintf(stderr, "our reader: %s\n", qPrintable(text));
                unpacked = false;
            };
            unpacked = unpackFile(ours, outOurs, known, sinks) == members.size() && unpacked;
        });
        const double unpackZip = medianMs(runs, [&] {
            QStringList args{"-q", "-o"};
            if (!password.isEmpty())
                args << "-P" << password;
            unpacked = runQuiet(unzip, args + QStringList{ours, "-d", outZip}, tmp.path()) && unpacked;
        });
        if (!unpacked) {
            std::fprintf(stderr, "unpacking %s failed\n", qPrintable(ours));
            return 1;
        }
        if (!sameFiles(memberFiles, outOurs, "our reader") || !sameFiles(memberFiles, outZip, "unzip"))
            return 1;
        const char *label = password.isEmpty() ? "no password" : "password";
        std::printf("pack   (%-11s): ours %8.1f ms  zip   %8.1f ms  ratio %.2f  (sizes %lld / %lld bytes)\n", label,
                    packOurs, packZip, packOurs / packZip, static_cast<long long>(QFileInfo(ours).size()),
                    static_cast<long long>(QFileInfo(theirs).size()));
        std::printf("unpack (%-11s): ours %8.1f ms  unzip %8.1f ms  ratio %.2f  (the same package; both outputs equal the members)\n",
                    label, unpackOurs, unpackZip, unpackOurs / unpackZip);
    }
    return 0;
}
