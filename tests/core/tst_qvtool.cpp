// The command-line tool, run as a user would run it.
#include "DataPacketWriter.h"
#include "PersonFixture.h"

#include "common/MemberLines.h"
#include "data/RecordTable.h"
#include "data/TableFile.h"
#include "data/archive/PackageWriter.h"

#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace qv;

Q_DECLARE_METATYPE(qv::archive::PackageCipher)

namespace {

struct Result {
    int exitCode = -1;
    QString out;
    QString err;
};

Result qvtool(const QStringList &args, const QString &password = {})
{
    QProcess p;
    if (!password.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QV_PASSWORD", password);
        p.setProcessEnvironment(environment);
    }
    p.start(QStringLiteral(QVTOOL_PATH), args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

// The tables of the fixture package in the form earlier installations wrote.
enum class Tables { Current, DataPackets };

QString fixturePackage(const QTemporaryDir &dir, Tables form = Tables::Current, const QString &password = {},
                       archive::PackageCipher cipher = archive::PackageCipher::Aes256)
{
    RecordTable persons(personFields());
    persons.insertRow(test::person({{"ClientID", qint32(2001)}, {"Name", QString("Tab\there")}, {"SurName", QString("B")},
                                    {"Memo", QString("line\nnext\r\\end")}, {"Birthday", QDate(1980, 3, 14)}, {"Yellow", false}}));
    persons.insertRow(test::person({{"ClientID", qint32(2002)}, {"Name", QString("Acme")}, {"SurName", QString("Acme")}, {"Yellow", true}}));
    RecordTable organisations(organisationFields());
    organisations.insertRow({qint32(0)});
    const QDateTime t(QDate(2025, 1, 1), QTime(0, 0));
    const QString path = dir.filePath("book.qvp");
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    const auto table = [form](const RecordTable &table) {
        return form == Tables::Current ? writeTableBytes(table) : test::dataPacketOf(table, "GBK", 2052);
    };
    f.write(archive::buildArchive({{"Names.dbf", table(persons), t},
                                   {"Agents.dbf", table(organisations), t},
                                   {"tree.dff", "All\r\n\tFriends\r\n", t},
                                   {"treeno.dff", "1000\r\n1001\r\n", t},
                                   {"surname.dff", "", t}},
                                  password, cipher));
    return path;
}

// The six persons of the filter fixture; organisations 2001 Acme Ltd in
// Berlin and 2002 Globex.
QString searchPackage(const QTemporaryDir &dir)
{
    RecordTable persons(personFields());
    for (const auto &row : test::filterFixture())
        persons.insertRow(row);
    RecordTable organisations(organisationFields());
    organisations.insertRow({qint32(0), QString("(No organisation)")});
    organisations.insertRow({qint32(2001), QString("Acme Ltd"), QString("1 Main Street, Berlin")});
    organisations.insertRow({qint32(2002), QString("Globex"), QString("Paris")});
    const QDateTime t(QDate(2025, 1, 1), QTime(0, 0));
    const QString path = dir.filePath("search.qvp");
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(archive::buildArchive({{"Names.dbf", writeTableBytes(persons), t},
                                   {"Agents.dbf", writeTableBytes(organisations), t},
                                   {"tree.dff", "All\r\n", t},
                                   {"treeno.dff", "1000\r\n", t},
                                   {"surname.dff", "", t}},
                                  QString()));
    return path;
}

} // namespace

Q_DECLARE_METATYPE(Tables)

class TestQvTool : public QObject {
    Q_OBJECT
private slots:
    void list_data();
    void list();
    void listWithDeepFilter_data();
    void listWithDeepFilter();
    void info_data();
    void info();
    void convert();
    void convertWritesOnlyANewPackage();
    void infoNamesTheCipher_data();
    void infoNamesTheCipher();
    void packWithPasswordWritesAes();
    void generateIsReproducible();
    void treeAndInitials();
    void find_data();
    void find();
    void writtenPackagesAreOwnerOnly_data();
    void writtenPackagesAreOwnerOnly();
};

void TestQvTool::list_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::newRow("default fields, index order")
        << QStringList() << 0 << "2001\tTab\\there\t\t\t\t\t\tFalse\n2002\tAcme\t\t\t\t\t\tTrue\n";
    QTest::newRow("escapes, dates, empty values")
        << QStringList{"--fields", "Memo,Birthday,Position"} << 0 << "line\\nnext\\r\\\\end\t1980-03-14\t\n\t\t\n";
    QTest::newRow("filter") << QStringList{"--filter", "Yellow=true", "--fields", "ClientID"} << 0 << "2002\n";
    QTest::newRow("filter ignoring case") << QStringList{"--filter", "Name='acme'", "--ignore-case", "--fields", "ClientID"} << 0 << "2002\n";
    QTest::newRow("filter that does not parse") << QStringList{"--filter", "Name=="} << 1 << "";
}

void TestQvTool::list()
{
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QTemporaryDir dir;
    const Result r = qvtool(QStringList{"list", fixturePackage(dir)} + options);
    QCOMPARE(r.exitCode, exitCode);
    QCOMPARE(r.out, out);
    if (exitCode != 0)
        QVERIFY(r.err.startsWith("Invalid filter expression at character"));
}

void TestQvTool::listWithDeepFilter_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    const auto parenthesised = [](int depth) { return QString("(").repeated(depth) + "Yellow=true" + QString(")").repeated(depth); };
    const auto negated = [](int depth) { return QString("not ").repeated(depth) + "Yellow=true"; };
    const QString tooDeep = ": nested deeper than 256 levels\n";
    QTest::newRow("parentheses at the nesting limit") << parenthesised(256) << 0 << "2002\n" << "";
    QTest::newRow("parentheses one past the nesting limit")
        << parenthesised(257) << 1 << "" << "Invalid filter expression at character 257" + tooDeep;
    QTest::newRow("10,000 nested parentheses")
        << parenthesised(10000) << 1 << "" << "Invalid filter expression at character 257" + tooDeep;
    QTest::newRow("not at the nesting limit") << negated(256) << 0 << "2002\n" << "";
    QTest::newRow("not one past the nesting limit")
        << negated(257) << 1 << "" << "Invalid filter expression at character 1025" + tooDeep;
    QTest::newRow("30,000 nots") << negated(30000) << 1 << "" << "Invalid filter expression at character 1025" + tooDeep;
}

void TestQvTool::listWithDeepFilter()
{
    QFETCH(QString, filter);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QTemporaryDir dir;
    const Result r = qvtool({"list", fixturePackage(dir), "--filter", filter, "--fields", "ClientID"});
    QCOMPARE(r.err, err);
    QCOMPARE(r.exitCode, exitCode);
    QCOMPARE(r.out, out);
}

void TestQvTool::info_data()
{
    QTest::addColumn<Tables>("form");
    QTest::addColumn<QString>("tableForms");
    QTest::newRow("current tables") << Tables::Current << "person table form: current\norganisation table form: current\n";
    QTest::newRow("data packets") << Tables::DataPackets
                                  << "person table form: data packet\norganisation table form: data packet\n";
}

void TestQvTool::info()
{
    QFETCH(Tables, form);
    QFETCH(QString, tableForms);
    QTemporaryDir dir;
    const Result r = qvtool({"info", fixturePackage(dir, form)});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, "entries: 2\norganisations: 1\ncategories: 1\nformat: current\n" + tableForms + "encrypted: no\n");
}

void TestQvTool::convert()
{
    QTemporaryDir dir;
    const QString old = fixturePackage(dir, Tables::DataPackets);
    const QString converted = dir.filePath("converted.qvp");
    const Result r = qvtool({"convert", old, converted});
    QCOMPARE(r.err, QString());
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, QString("%1 (tables: data packet, data packet) written to %2 in the current form\n").arg(old, converted));
    QVERIFY(qvtool({"info", converted}).out.contains("person table form: current\norganisation table form: current\n"));
    const QStringList all{"--fields", "all"};
    QCOMPARE(qvtool(QStringList{"list", converted} + all).out, qvtool(QStringList{"list", old} + all).out);
    QCOMPARE(qvtool({"tree", converted}).out, QString("All [1000]\n  Friends [1001]\n"));
}

void TestQvTool::convertWritesOnlyANewPackage()
{
    QTemporaryDir dir;
    const QString old = fixturePackage(dir, Tables::DataPackets);
    QFile existing(dir.filePath("existing.qvp"));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write("keep me");
    existing.close();
    const Result r = qvtool({"convert", old, existing.fileName()});
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, QString("qvtool: %1 exists; convert writes a new package only\n").arg(existing.fileName()));
    QVERIFY(existing.open(QIODevice::ReadOnly));
    QCOMPARE(existing.readAll(), QByteArray("keep me"));
    QCOMPARE(qvtool({"convert", old}).exitCode, 2);
}

void TestQvTool::infoNamesTheCipher_data()
{
    QTest::addColumn<archive::PackageCipher>("cipher");
    QTest::addColumn<QString>("line");
    QTest::newRow("AES-256") << archive::PackageCipher::Aes256 << "encrypted: AES-256";
    QTest::newRow("traditional") << archive::PackageCipher::Traditional << "encrypted: traditional";
}

void TestQvTool::infoNamesTheCipher()
{
    QFETCH(archive::PackageCipher, cipher);
    QFETCH(QString, line);
    QTemporaryDir dir;
    const Result r = qvtool({"info", fixturePackage(dir, Tables::Current, "pw", cipher)}, "pw");
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out.section('\n', 6, 6), line);
}

// The password comes from QV_PASSWORD here; --password asks for it on the terminal.
void TestQvTool::packWithPasswordWritesAes()
{
    QTemporaryDir dir;
    QCOMPARE(qvtool({"unpack", fixturePackage(dir), dir.filePath("members")}).exitCode, 0);
    QCOMPARE(qvtool({"pack", dir.filePath("members"), dir.filePath("locked.qvp")}, "s3cret").exitCode, 0);
    QFile f(dir.filePath("locked.qvp"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray package = f.readAll();
    QCOMPARE(package.mid(8, 2), QByteArray("\x63\x00", 2)); // the first member's method: 99, AES
    QCOMPARE(qvtool({"info", dir.filePath("locked.qvp")}, "s3cret").out.section('\n', 6, 6), QString("encrypted: AES-256"));
}

void TestQvTool::generateIsReproducible()
{
    QTemporaryDir dir;
    for (const char *name : {"a.qvp", "b.qvp"})
        QCOMPARE(qvtool({"generate", "--persons", "300", "--organisations", "20", "--seed", "9", dir.filePath(name)}).exitCode, 0);
    QFile a(dir.filePath("a.qvp")), b(dir.filePath("b.qvp"));
    QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    QCOMPARE(a.readAll(), b.readAll());
    QCOMPARE(qvtool({"info", dir.filePath("a.qvp")}).out.section('\n', 0, 0), QString("entries: 300"));
}

void TestQvTool::treeAndInitials()
{
    QTemporaryDir dir;
    const QString book = fixturePackage(dir);
    QCOMPARE(qvtool({"tree", book}).out, QString("All [1000]\n  Friends [1001]\n"));
    QCOMPARE(qvtool({"initials", book}).out, QString("B\n")); // the yellow page adds none
}

void TestQvTool::find_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    const QString usage = "Usage: qvtool find PACKAGE";
    QTest::newRow("one person field, ignoring case") << QStringList{"--content", "MC", "--fields", "Name"} << 0 << "1\n2\n" << "";
    QTest::newRow("several fields, with the filter")
        << QStringList{"--content", " 0171 ", "--fields", "Home phone,Mobile", "--show-filter"} << 0
        << "filter: Phone LIKE '%0171%' OR Mobile LIKE '%0171%'\n1\n3\n" << "";
    QTest::newRow("several fields ignore case as one does") << QStringList{"--content", "MC", "--fields", "Name,Home phone"}
                                                            << 0 << "1\n2\n" << "";
    QTest::newRow("one field with OR logic") << QStringList{"--content", "tom", "--fields", "name", "--logic", "or"} << 0
                                             << "2\n" << "";
    QTest::newRow("an organisation field") << QStringList{"--content", "berlin", "--fields", "Work address", "--show-filter"}
                                           << 0 << "filter: (OrgID=2001)\n1\n" << "";
    QTest::newRow("birthday") << QStringList{"--birthday", "3/14"} << 0 << "1\n" << "";
    QTest::newRow("birth month") << QStringList{"--birthday", "3"} << 0 << "1\n2\n" << "";
    QTest::newRow("day 0 is the whole month") << QStringList{"--birthday", "12/0"} << 0 << "5\n" << "";
    QTest::newRow("name prefix with a quote") << QStringList{"--name-prefix", "pat o'"} << 0 << "3\n" << "";
    QTest::newRow("name prefix leaves out yellow pages") << QStringList{"--name-prefix", "acme"} << 0 << "" << "";
    QTest::newRow("organisation in another case") << QStringList{"--organisation", "GLOBEX", "--show-filter"} << 0
                                                  << "filter: OrgID=2002\n3\n4\n" << "";
    QTest::newRow("organisation nobody bears") << QStringList{"--organisation", "Glob", "--show-filter"} << 0
                                               << "filter: OrgID=-1\n" << "";
    QTest::newRow("columns as list's fields") << QStringList{"--birthday", "3/14", "--columns", "Name,Birthday"} << 0
                                              << "Mary McDonald\t1980-03-14\n" << "";
    QTest::newRow("a label the catalogue lacks") << QStringList{"--content", "x", "--fields", "Name,Shoe size"} << 2 << ""
                                                 << "qvtool: no field is labelled \"Shoe size\"\n";
    QTest::newRow("two searches at once") << QStringList{"--birthday", "3", "--name-prefix", "a"} << 2 << "" << usage;
    QTest::newRow("content without fields") << QStringList{"--content", "a"} << 2 << "" << usage;
    QTest::newRow("no such month") << QStringList{"--birthday", "13"} << 2 << "" << usage;
    QTest::newRow("no such day") << QStringList{"--birthday", "3/32"} << 2 << "" << usage;
    QTest::newRow("no such logic") << QStringList{"--content", "a", "--fields", "Name", "--logic", "xor"} << 2 << "" << usage;
}

void TestQvTool::find()
{
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QTemporaryDir dir;
    const QString book = searchPackage(dir);
    QProcess p;
    // An empty program directory: the labels are those that ship with the program.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QUORVEL_HOME", dir.filePath("home"));
    p.setProcessEnvironment(env);
    const QStringList columns = options.contains("--columns") ? QStringList() : QStringList{"--columns", "ClientID"};
    p.start(QStringLiteral(QVTOOL_PATH), QStringList{"find", book} + options + columns);
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(QString::fromUtf8(p.readAllStandardError()).left(err.size()), err);
    QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()), out);
    QCOMPARE(p.exitCode(), exitCode);
}

void TestQvTool::writtenPackagesAreOwnerOnly_data()
{
    QTest::addColumn<QStringList>("arguments"); // %book: a package of two entries, %new: a path with no file yet
    QTest::addColumn<QString>("written"); // which of the two
    QTest::newRow("generate") << QStringList{"generate", "--persons", "3", "--organisations", "1", "%new"} << "%new";
    QTest::newRow("pack") << QStringList{"pack", "%members", "%new"} << "%new";
    QTest::newRow("convert") << QStringList{"convert", "%book", "%new"} << "%new";
    QTest::newRow("import-vcard into a package all can read") << QStringList{"import-vcard", "%book", "%card"} << "%book";
}

// Under the usual umask, which leaves new files readable by all, every
// package the tool writes is its owner's alone.
void TestQvTool::writtenPackagesAreOwnerOnly()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, written);
    const mode_t umaskBefore = ::umask(022);
    const auto restore = qScopeGuard([&] { ::umask(umaskBefore); });
    QTemporaryDir dir;
    const QString book = fixturePackage(dir);
    QVERIFY(QFile::setPermissions(book, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
    QCOMPARE(qvtool({"unpack", book, dir.filePath("members")}).exitCode, 0);
    QFile card(dir.filePath("one.vcf"));
    QVERIFY(card.open(QIODevice::WriteOnly));
    card.write("BEGIN:VCARD\r\nVERSION:2.1\r\nN:Doe;Jane\r\nFN:Jane Doe\r\nEND:VCARD\r\n");
    card.close();
    const QMap<QString, QString> paths = {{"%book", book}, {"%new", dir.filePath("new.qvp")},
                                          {"%members", dir.filePath("members")}, {"%card", card.fileName()}};
    for (QString &argument : arguments)
        argument = paths.value(argument, argument);
    const Result r = qvtool(arguments);
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    struct stat info {};
    QCOMPARE(::stat(QFile::encodeName(paths[written]).constData(), &info), 0);
    QCOMPARE(QString::number(info.st_mode & 07777, 8), QString("600"));
}

QTEST_APPLESS_MAIN(TestQvTool)
#include "tst_qvtool.moc"
