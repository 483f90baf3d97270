// Our packages against the real ZIP tools, both ways.
#include "data/archive/PackageReader.h"
#include "data/archive/PackageWriter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace qv::archive;

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

void compareMembers(const QString &dir)
{
    for (const QString &name : kMembers) {
        QFile f(dir + "/" + name);
        QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(f.fileName()));
        QCOMPARE(f.readAll(), contentOf(name));
    }
}

} // namespace

class TestArchiveInterop : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void othersReadOurs_data();
    void othersReadOurs();
    void weReadOthers_data();
    void weReadOthers();

private:
    QString m_zip, m_unzip, m_7z;
};

void TestArchiveInterop::initTestCase()
{
    m_zip = tool({"zip"});
    m_unzip = tool({"unzip"});
    m_7z = tool({"7zz", "7z", "7za"});
    if (m_zip.isEmpty() || m_unzip.isEmpty() || m_7z.isEmpty())
        QSKIP("zip, unzip and 7zip are needed (scripts/install-deps.sh installs them)");
}

void TestArchiveInterop::othersReadOurs_data()
{
    QTest::addColumn<QString>("reader");
    QTest::addColumn<QString>("password");
    QTest::newRow("unzip, no password") << "unzip" << "";
    QTest::newRow("unzip -P") << "unzip" << "s3cret word";
    QTest::newRow("7z, no password") << "7z" << "";
    QTest::newRow("7z -p") << "7z" << "s3cret word";
}

void TestArchiveInterop::othersReadOurs()
{
    QFETCH(QString, reader);
    QFETCH(QString, password);
    QTemporaryDir dir;
    writeMembers(dir.filePath("src"));
    pack(dir.filePath("book.qvp"), dir.filePath("src"), password);
    QVERIFY(QDir().mkpath(dir.filePath("out")));
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
    compareMembers(dir.filePath("out"));
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

    KnownPasswords known;
    QList<int> errors;
    int asked = 0;
    UnpackSinks sinks;
    sinks.password = [&](const QString &) -> PasswordAnswer {
        ++asked;
        return {password, true};
    };
    sinks.error = [&](ArchiveCode code, const QString &) { errors << int(code); };
    QCOMPARE(unpackFile(archive, dir.filePath("out"), known, sinks), kMembers.size());
    QCOMPARE(errors, QList<int>());
    QCOMPARE(asked, password.isEmpty() ? 0 : 1);
    compareMembers(dir.filePath("out"));
}

QTEST_APPLESS_MAIN(TestArchiveInterop)
#include "tst_archive_interop.moc"
