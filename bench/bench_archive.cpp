// Packs and unpacks the members of a generated 100,000-entry book with our
// archive code, without a password, with the traditional cipher and with
// AES-256, and with a reference tool: Info-ZIP's zip and unzip, or 7-Zip for
// AES, which Info-ZIP cannot read. Prints the times and the ratios (ours /
// reference; below 1.0 is faster). Both pack the same files; both unpack the
// same package, our own, and what they unpack must be the members byte for
// byte, else the benchmark stops with an error.
#include "BenchTiming.h"

#include "data/BookGenerator.h"
#include "data/TableFile.h"
#include "data/archive/AesCipher.h"
#include "data/archive/AesPayload.h"
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

// What AES-256 itself adds to a package of this size, apart from compression
// and files: the key derivation each member pays, and encryption with
// authentication, then authentication with decryption, of that many bytes.
void printAesCost(qint64 compressedBytes, int runs)
{
    const QByteArray body(compressedBytes, '\x5a');
    const QByteArray salt(AesCipher::saltSize(AesCipher::kStrength256), '\x11');
    const QByteArray password("secret");
    const double derive = medianMs(runs * 4, [&] { AesCipher(password, salt, AesCipher::kStrength256); });
    QByteArray sealed;
    const double seal = medianMs(runs, [&] { sealed = sealAesPayload(body, password, salt); });
    const std::optional<AesPayload> payload = AesPayload::locate(sealed, 0, sealed.size(), AesCipher::kStrength256);
    bool opened = true;
    const double open = medianMs(runs, [&] {
        AesCipher cipher(password, salt, AesCipher::kStrength256);
        opened = openAesPayload(cipher, sealed, *payload).has_value() && opened;
    });
    std::printf("AES-256 alone: key derivation %.2f ms per member; %.1f MB encrypted and authenticated %.1f ms, "
                "authenticated and decrypted %.1f ms%s\n",
                derive, compressedBytes / 1e6, seal, open, opened ? "" : " (AUTHENTICATION FAILED)");
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
    // Info-ZIP knows no AES: 7-Zip is the reference there, when it is installed.
    const QString sevenZip = QStandardPaths::findExecutable("7zz");
    const QString password = QStringLiteral("secret");
    struct Variant {
        const char *label;
        QString password;
        PackageCipher cipher;
    };
    const Variant variants[] = {{"no password", QString(), PackageCipher::Aes256},
                                {"traditional", password, PackageCipher::Traditional},
                                {"AES-256", password, PackageCipher::Aes256}};
    for (const Variant &v : variants) {
        const bool aes = !v.password.isEmpty() && v.cipher == PackageCipher::Aes256;
        if (aes && sevenZip.isEmpty())
            std::printf("(7zz not found: AES-256 is timed without a reference)\n");
        const char *reference = aes ? "7zz" : "zip";
        const QString ours = tmp.filePath("ours.qvp");
        const QString theirs = tmp.filePath("theirs.zip");
        const double packOurs = medianMs(runs, [&] { pack(ours, src, v.password, v.cipher); });
        const double packTheirs = aes && sevenZip.isEmpty() ? 0 : medianMs(runs, [&] {
            QFile::remove(theirs);
            if (aes) {
                runQuiet(sevenZip, QStringList{"a", "-tzip", "-mem=AES256", "-p" + v.password, theirs} + members, src);
                return;
            }
            QStringList args{"-q"};
            if (!v.password.isEmpty())
                args << "-P" << v.password;
            runQuiet(zip, args + QStringList{theirs} + members, src);
        });
        // Both readers unpack our package, each into a folder of its own emptied first.
        const QString outOurs = tmp.filePath("out-ours");
        const QString outTheirs = tmp.filePath("out-theirs");
        QDir(outOurs).removeRecursively();
        QDir(outTheirs).removeRecursively();
        bool unpacked = true;
        const double unpackOurs = medianMs(runs, [&] {
            KnownPasswords known;
            UnpackSinks sinks;
            sinks.password = [&](const QString &) { return PasswordAnswer{v.password, true}; };
            sinks.error = [&](ArchiveCode, const QString &text) {
                std::fprintf(stderr, "our reader: %s\n", qPrintable(text));
                unpacked = false;
            };
            unpacked = unpackFile(ours, outOurs, known, sinks) == members.size() && unpacked;
        });
        const double unpackTheirs = aes && sevenZip.isEmpty() ? 0 : medianMs(runs, [&] {
            if (aes) {
                unpacked = runQuiet(sevenZip, {"x", "-y", "-p" + v.password, "-o" + outTheirs, ours}, tmp.path()) && unpacked;
                return;
            }
            QStringList args{"-q", "-o"};
            if (!v.password.isEmpty())
                args << "-P" << v.password;
            unpacked = runQuiet(unzip, args + QStringList{ours, "-d", outTheirs}, tmp.path()) && unpacked;
        });
        if (!unpacked) {
            std::fprintf(stderr, "unpacking %s failed\n", qPrintable(ours));
            return 1;
        }
        if (!sameFiles(memberFiles, outOurs, "our reader") || (packTheirs > 0 && !sameFiles(memberFiles, outTheirs, reference)))
            return 1;
        const char *unpacker = aes ? "7zz" : "unzip";
        std::printf("pack   (%-11s): ours %8.1f ms  %-5s %8.1f ms  ratio %.2f  (sizes %lld / %lld bytes)\n", v.label,
                    packOurs, reference, packTheirs, packOurs / packTheirs, static_cast<long long>(QFileInfo(ours).size()),
                    static_cast<long long>(QFileInfo(theirs).size()));
        std::printf("unpack (%-11s): ours %8.1f ms  %-5s %8.1f ms  ratio %.2f  (the same package; both outputs equal the members)\n",
                    v.label, unpackOurs, unpacker, unpackTheirs, unpackOurs / unpackTheirs);
    }
    printAesCost(QFileInfo(tmp.filePath("ours.qvp")).size(), runs);
    return 0;
}
