// Our packages against the real ZIP tools, both ways.
#include "data/archive/PackageReader.h"
#include "data/archive/PackageWriter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace qv::archive;

Q_DECLARE_METATYPE(qv::archive::PackageCipher)

namespace {

const QStringList kMembers = {"Agents.dbf", "Names.dbf", "surname.dff", "tree.dff", "treeno.dff"};

QByteArray contentOf(const QString &name)
{
    return (name + QStringLiteral(" \u738b\u5c0f\u660e\n")).toUtf8().repeated(name.size() * 300);
}

QString tool(const QStringList &names)
{
    for (const QString &n : names) {
        const QString path = QStandardPaths::findExecutable(n);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

// Runs a command in a folder; returns its exit code, or -1 when it could not run.
int runTool(const QString &program, const QStringList &args, const QString &dir, const QString &stdoutFile = {})
{
    QProcess p;
    p.setWorkingDirectory(dir);
    if (!stdoutFile.isEmpty())
        p.setStandardOutputFile(stdoutFile);
    p.start(program, args);
    if (!p.waitForFinished(60000))
        return -1;
    if (p.exitCode() != 0)
        qWarning().noquote() << program << args.join(' ') << p.readAllStandardError() << p.readAllStandardOutput();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

void writeMembers(const QString &dir)
{
    QDir().mkpath(dir);
    for (const QString &name : kMembers) {
        QFile f(dir + "/" + name);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(contentOf(name));
    }
}

// Runs a command that reads the input from a pipe, as `cat file | command` does,
// so that it cannot know its size. Its standard output goes to the file when one
// is given, else through a pipe, in which it cannot seek. Returns that output, or
// nothing when the command failed.
std::optional<QByteArray> runPiped(const QString &program, const QStringList &args, const QByteArray &input,
                                   const QString &stdoutFile = {})
{
    QProcess p;
    if (!stdoutFile.isEmpty())
        p.setStandardOutputFile(stdoutFile);
    p.start(program, args);
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        qWarning().noquote() << program << args.join(' ') << p.readAllStandardError();
        return std::nullopt;
    }
    return p.readAllStandardOutput();
}

void compareMembers(const QString &dir)
{
    for (const QString &name : kMembers) {
        QFile f(dir + "/" + name);
        QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(f.fileName()));
        QCOMPARE(f.readAll(), contentOf(name));
    }
}

struct Unpacked {
    int written = 0;
    QList<int> errors;
    int asked = 0; // password questions
};

// Unpacks with our reader, answering every password question with the given one.
Unpacked unpackAnswering(const QString &archive, const QString &outDir, const QString &password)
{
    Unpacked result;
    KnownPasswords known;
    UnpackSinks sinks;
    sinks.password = [&](const QString &) -> PasswordAnswer {
        ++result.asked;
        return {password, true};
    };
    sinks.error = [&](ArchiveCode code, const QString &) { result.errors << int(code); };
    result.written = unpackFile(archive, outDir, known, sinks);
    return result;
}

} // namespace

class TestArchiveInterop : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void othersReadOurs_data();
    void othersReadOurs();
    void othersReadALargeMember_data();
    void othersReadALargeMember();
    void unzipCannotReadAes();
    void weReadOthers_data();
    void weReadOthers();
    void weReadZip64FromStandardInput_data();
    void weReadZip64FromStandardInput();

private:
    void testAndExtract(const QString &reader, const QString &password, const QString &dirPath);

    QString m_zip, m_unzip, m_7z;
};

void TestArchiveInterop::initTestCase()
{
    m_zip = tool({"zip"});
    m_unzip = tool({"unzip"});
    // Debian's 7zip package installs 7zz; older 7-Zip packages install 7z or 7za.
    m_7z = tool({"7zz", "7z", "7za"});
    QStringList missing;
    if (m_zip.isEmpty())
        missing << "zip";
    if (m_unzip.isEmpty())
        missing << "unzip";
    if (m_7z.isEmpty())
        missing << "7-Zip (7zz, 7z or 7za)";
    // CTest reports this as a skipped test, not a passed one.
    if (!missing.isEmpty())
        QSKIP(qPrintable("missing " + missing.join(", ") + "; scripts/install-deps.sh installs them"));
}

// The reader tests dir/book.qvp, then unpacks it into dir/out.
void TestArchiveInterop::testAndExtract(const QString &reader, const QString &password, const QString &dirPath)
{
    const QDir dir(dirPath);
    if (reader == "unzip") {
        QStringList args{"-q"};
        if (!password.isEmpty())
            args << "-P" << password;
        QCOMPARE(runTool(m_unzip, args + QStringList{"-t", dir.filePath("book.qvp")}, dir.path()), 0);
        QCOMPARE(runTool(m_unzip, args + QStringList{dir.filePath("book.qvp"), "-d", dir.filePath("out")}, dir.path()), 0);
    } else {
        const QString p = "-p" + password;
        QCOMPARE(runTool(m_7z, {"t", p, dir.filePath("book.qvp")}, dir.path()), 0);
        QCOMPARE(runTool(m_7z, {"x", p, "-o" + dir.filePath("out"), dir.filePath("book.qvp")}, dir.path()), 0);
    }
}

void TestArchiveInterop::othersReadOurs_data()
{
    QTest::addColumn<QString>("reader");
    QTest::addColumn<QString>("password");
    QTest::addColumn<PackageCipher>("cipher");
    const PackageCipher aes = PackageCipher::Aes256;
    const PackageCipher traditional = PackageCipher::Traditional;
    QTest::newRow("unzip, no password") << "unzip" << "" << aes;
    QTest::newRow("unzip -P, traditional") << "unzip" << "s3cret word" << traditional;
    QTest::newRow("7z, no password") << "7z" << "" << aes;
    QTest::newRow("7z -p, traditional") << "7z" << "s3cret word" << traditional;
    QTest::newRow("7z -p, AES-256") << "7z" << "s3cret word" << aes;
    QTest::newRow("7z -p, AES-256, non-ASCII password") << "7z" << "p\u00e4ss \u5bc6\u7801" << aes;
    // 7-Zip takes AES passwords of at most 99 bytes; longer ones work in our program alone.
    QTest::newRow("7z -p, AES-256, 99-character password") << "7z" << QString("0123456789").repeated(10).chopped(1) << aes;
}

void TestArchiveInterop::othersReadOurs()
{
    QFETCH(QString, reader);
    QFETCH(QString, password);
    QFETCH(PackageCipher, cipher);
    QTemporaryDir dir;
    writeMembers(dir.filePath("src"));
    pack(dir.filePath("book.qvp"), dir.filePath("src"), password, cipher);
    QVERIFY(QDir().mkpath(dir.filePath("out")));
    testAndExtract(reader, password, dir.path());
    if (QTest::currentTestFailed())
        return;
    compareMembers(dir.filePath("out"));
}

void TestArchiveInterop::othersReadALargeMember_data()
{
    othersReadOurs_data();
}

// A member of several megabytes, as a book's person table is, with other
// content in every line, unlike the small repeated members above.
void TestArchiveInterop::othersReadALargeMember()
{
    QFETCH(QString, reader);
    QFETCH(QString, password);
    QFETCH(PackageCipher, cipher);
    QByteArray table;
    for (int i = 0; table.size() < 3'000'000; ++i)
        table += QStringLiteral("%1\t\u738b%2\t%3@example.org\n").arg(i).arg(i * 7919 % 100003).arg(i % 977).toUtf8();
    QTemporaryDir dir;
    QVERIFY(QDir().mkpath(dir.filePath("src")));
    QFile f(dir.filePath("src/Names.dbf"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(table);
    f.close();
    pack(dir.filePath("book.qvp"), dir.filePath("src"), password, cipher);
    QVERIFY(QDir().mkpath(dir.filePath("out")));
    testAndExtract(reader, password, dir.path());
    if (QTest::currentTestFailed())
        return;
    QFile out(dir.filePath("out/Names.dbf"));
    QVERIFY(out.open(QIODevice::ReadOnly));
    QVERIFY(out.readAll() == table);
}

// Info-ZIP's unzip knows no AES: it refuses our AES package with its exit code
// for an unsupported method or encryption, and writes nothing. The README
// tells people to use 7-Zip instead.
void TestArchiveInterop::unzipCannotReadAes()
{
    QTemporaryDir dir;
    writeMembers(dir.filePath("src"));
    pack(dir.filePath("book.qvp"), dir.filePath("src"), "pw", PackageCipher::Aes256);
    QVERIFY(QDir().mkpath(dir.filePath("out")));
    QProcess unzip;
    unzip.setWorkingDirectory(dir.path());
    unzip.start(m_unzip, {"-P", "pw", dir.filePath("book.qvp"), "-d", dir.filePath("out")});
    QVERIFY(unzip.waitForFinished(60000));
    QCOMPARE(unzip.exitCode(), 81);
    QCOMPARE(QDir(dir.filePath("out")).entryList(QDir::Files), QStringList());
}

void TestArchiveInterop::weReadOthers_data()
{
    QTest::addColumn<QString>("writer");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("toStdout");
    QTest::newRow("zip") << "zip" << QStringList{"-q"} << "" << false;
    QTest::newRow("zip -0, stored") << "zip" << QStringList{"-q", "-0"} << "" << false;
    QTest::newRow("zip with password") << "zip" << QStringList{"-q", "-P", "pw"} << "pw" << false;
    QTest::newRow("zip -fd, data descriptors") << "zip" << QStringList{"-q", "-fd"} << "" << false;
    QTest::newRow("zip streamed to a pipe, encrypted") << "zip" << QStringList{"-q", "-P", "pw"} << "pw" << true;
    QTest::newRow("7z ZipCrypto") << "7z" << QStringList{"a", "-tzip", "-mem=ZipCrypto", "-ppw"} << "pw" << false;
    QTest::newRow("7z stored") << "7z" << QStringList{"a", "-tzip", "-mx=0"} << "" << false;
    QTest::newRow("7z AES-256") << "7z" << QStringList{"a", "-tzip", "-mem=AES256", "-ppw"} << "pw" << false;
    QTest::newRow("7z AES-256, stored") << "7z" << QStringList{"a", "-tzip", "-mem=AES256", "-mx=0", "-ppw"} << "pw" << false;
    QTest::newRow("7z AES-128") << "7z" << QStringList{"a", "-tzip", "-mem=AES128", "-ppw"} << "pw" << false;
    const QString longest = QString("0123456789").repeated(10).chopped(1); // the longest 7-Zip takes
    QTest::newRow("7z AES-256, 99-character password")
        << "7z" << QStringList{"a", "-tzip", "-mem=AES256", "-p" + longest} << longest << false;
}

void TestArchiveInterop::weReadOthers()
{
    QFETCH(QString, writer);
    QFETCH(QStringList, args);
    QFETCH(QString, password);
    QFETCH(bool, toStdout);
    QTemporaryDir dir;
    writeMembers(dir.filePath("src"));
    const QString archive = dir.filePath("other.zip");
    if (writer == "zip") {
        if (toStdout)
            QCOMPARE(runTool(m_zip, args + QStringList{"-"} + kMembers, dir.filePath("src"), archive), 0);
        else
            QCOMPARE(runTool(m_zip, args + QStringList{archive} + kMembers, dir.filePath("src")), 0);
    } else {
        QCOMPARE(runTool(m_7z, args + QStringList{archive} + kMembers, dir.filePath("src")), 0);
    }

    const Unpacked unpacked = unpackAnswering(archive, dir.filePath("out"), password);
    QCOMPARE(unpacked.written, kMembers.size());
    QCOMPARE(unpacked.errors, QList<int>());
    QCOMPARE(unpacked.asked, password.isEmpty() ? 0 : 1);
    compareMembers(dir.filePath("out"));
}

// zip reading its standard input does not know the member's size when it writes
// the local header, so it marks the member ZIP64 however small it is: ZIP64 sizes
// in the local header and, when it cannot seek in its output, an 8-byte-size data
// descriptor; when it can, a ZIP64 end record and its locator. 7-Zip reading its
// standard input puts ZIP64 sizes in the local header.
void TestArchiveInterop::weReadZip64FromStandardInput_data()
{
    QTest::addColumn<QString>("writer");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("throughPipe");
    QTest::addColumn<bool>("zip64EndRecords");
    QTest::newRow("zip to a pipe") << "zip" << "" << true << false;
    QTest::newRow("zip to a pipe, encrypted") << "zip" << "pw" << true << false;
    QTest::newRow("zip to a file") << "zip" << "" << false << true;
    QTest::newRow("zip to a file, encrypted") << "zip" << "pw" << false << true;
    QTest::newRow("7z to a file") << "7z" << "" << false << false;
}

void TestArchiveInterop::weReadZip64FromStandardInput()
{
    QFETCH(QString, writer);
    QFETCH(QString, password);
    QFETCH(bool, throughPipe);
    QFETCH(bool, zip64EndRecords);
    QTemporaryDir dir;
    const QByteArray input = contentOf("Names.dbf");
    const QString archivePath = dir.filePath("other.zip");
    if (writer == "zip") {
        QStringList args{"-q"};
        if (!password.isEmpty())
            args << "-P" << password;
        args << "-" << "-";
        const std::optional<QByteArray> output = runPiped(m_zip, args, input, throughPipe ? QString() : archivePath);
        QVERIFY(output);
        if (throughPipe) {
            QFile f(archivePath);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(*output);
        }
    } else {
        QVERIFY(runPiped(m_7z, {"a", "-tzip", "-siNames.dbf", archivePath}, input));
    }

    QFile f(archivePath);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray archive = f.readAll();
    // The shape the row is about: the local header's sizes at 0xFFFFFFFF, the
    // ZIP64 extra field (id 1) first after the name, the end records where expected.
    QCOMPARE(archive.mid(18, 8), QByteArray(8, '\xff'));
    const int nameLength = static_cast<unsigned char>(archive[26]) | (static_cast<unsigned char>(archive[27]) << 8);
    QCOMPARE(archive.mid(30 + nameLength, 2), QByteArray("\x01\x00", 2));
    QCOMPARE(archive.contains("PK\x06\x07"), zip64EndRecords);

    const Unpacked unpacked = unpackAnswering(archivePath, dir.filePath("out"), password);
    QCOMPARE(unpacked.written, 1);
    QCOMPARE(unpacked.errors, QList<int>());
    QCOMPARE(unpacked.asked, password.isEmpty() ? 0 : 1);
    const QString stored = writer == "zip" ? "-" : "Names.dbf";
    QFile out(dir.filePath("out/" + stored));
    QVERIFY(out.open(QIODevice::ReadOnly));
    QCOMPARE(out.readAll(), input);
}

QTEST_APPLESS_MAIN(TestArchiveInterop)
#include "tst_archive_interop.moc"
