#include "DataPacketWriter.h"
#include "PersonFixture.h"
#include "RawZip.h"
#include "ScriptedPrompter.h"

#include "common/Error.h"
#include "common/MemberLines.h"
#include "data/BookGenerator.h"
#include "data/RecordStore.h"
#include "data/LifecycleShell.h"
#include "data/PackageLifecycle.h"
#include "data/RecordTable.h"
#include "data/TableFile.h"
#include "data/archive/PackageReader.h"
#include "data/archive/PackageWriter.h"
#include "data/archive/ZipDirectory.h"
#include "data/archive/ZipFormat.h"
#include "settings/Settings.h"
#include "settings/StoredBookSettings.h"
#include "shell/BookModelSet.h"
#include "shell/ProgramDirectory.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <random>

using namespace qv;

Q_DECLARE_METATYPE(qv::archive::PackageCipher)
Q_DECLARE_METATYPE(std::optional<qv::archive::PackageCipher>)
Q_DECLARE_METATYPE(QList<std::optional<QString>>)
using test::ScriptedPrompter;
using Icon = Prompter::Icon;
using Button = Prompter::Button;

namespace {

class RecordingShell : public LifecycleShell {
public:
    QStringList calls;
    void setBusy(bool busy) override { busy ? ++busyDepth : --busyDepth; }
    void showProgress(const QString &caption, int maximum) override { calls << QString("progress %1 %2").arg(caption).arg(maximum); }
    void setProgress(int) override {}
    void closeProgress() override { calls << "close progress"; }
    void bookOpened() override { calls << "opened"; }
    void focusCategoryTree() override { calls << "focus tree"; }
    void enterNoBookState() override { calls << "no book"; }
    void refreshTitle() override { calls << "title"; }
    void bookListChanged() override { calls << "menus"; }
    void repaintLock() override {}
    void closeMainWindow() override { calls << "close window"; }
    int busyDepth = 0;
};

struct PackageRecipe {
    int persons = 3;
    QString password;
    archive::PackageCipher cipher = archive::PackageCipher::Aes256;
    int personFieldCount = 29;
    int organisationFieldCount = 10;
    QStringList skip; // members left out
    QMap<QString, QByteArray> replaced; // members with other bytes
    QMap<QString, QByteArray> added; // members beyond the book's five
};

QByteArray tableOf(const RecordTable &full, int fieldCount)
{
    RecordTable cut(full.fields().mid(0, fieldCount));
    for (int row = 0; row < full.rowSlots(); ++row) {
        auto values = full.rowValues(row);
        values.resize(size_t(fieldCount));
        cut.insertRow(values);
    }
    return writeTableBytes(cut);
}

PackageRecipe withPersons(int count)
{
    PackageRecipe recipe;
    recipe.persons = count;
    return recipe;
}

PackageRecipe withPassword(const QString &password, archive::PackageCipher cipher = archive::PackageCipher::Aes256)
{
    PackageRecipe recipe;
    recipe.password = password;
    recipe.cipher = cipher;
    return recipe;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writePackage(const QString &path, const PackageRecipe &recipe = {})
{
    const GeneratedBook book = generateBook(recipe.persons, 2, 7);
    const QDateTime t(QDate(2025, 6, 1), QTime(12, 0));
    QList<archive::PackMember> members = {
        {"Agents.dbf", tableOf(*book.organisations, recipe.organisationFieldCount), t},
        {"Names.dbf", tableOf(*book.persons, recipe.personFieldCount), t},
        {"surname.dff", memberText({"\u6b27\u9633", "\u53f8\u9a6c"}), t},
        {"tree.dff", "All\r\n\tFriends\r\nSearch\r\n", t},
        {"treeno.dff", "1000\r\n1001\r\n101\r\n", t},
    };
    members.erase(std::remove_if(members.begin(), members.end(), [&](const auto &m) { return recipe.skip.contains(m.name); }),
                  members.end());
    for (auto &m : members)
        m.data = recipe.replaced.value(m.name, m.data);
    for (auto added = recipe.added.cbegin(); added != recipe.added.cend(); ++added)
        members << archive::PackMember{added.key(), added.value(), t};
    // Fixed encryption headers: with random ones a wrong password passes the
    // traditional cipher's one-byte check now and then, and a test of wrong
    // passwords would fail at random.
    std::mt19937 headers(7);
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(archive::buildArchive(members, recipe.password, recipe.cipher, [&] { return std::uint32_t(headers()); }));
}

// The cipher of each member of the package as its central header says
// (method 99 is AES), nothing for a member without encryption.
QList<std::optional<archive::PackageCipher>> ciphersOnDisk(const QString &path)
{
    QList<std::optional<archive::PackageCipher>> ciphers;
    for (const archive::MemberEntry &m : archive::readCentralDirectory(fileBytes(path)).members) {
        if (!(m.flags & archive::kFlagEncrypted))
            ciphers << std::nullopt;
        else
            ciphers << (m.method == 99 ? archive::PackageCipher::Aes256 : archive::PackageCipher::Traditional);
    }
    return ciphers;
}


// Text that does not compress: its members and its package stay large.
QString randomText(int length, quint32 seed)
{
    static const QString alphabet = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,");
    QRandomGenerator random(seed);
    QString text;
    for (int i = 0; i < length; ++i)
        text += alphabet[random.bounded(int(alphabet.size()))];
    return text;
}

// While it lives, no file this process writes can grow beyond the limit: a
// write past it fails (EFBIG) instead of ending the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_previous);
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_previous;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_previous{};
    void (*m_previousHandler)(int) = nullptr;
};

QByteArray encoded(const QString &text, QStringConverter::Encoding encoding)
{
    QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
    return encoder(text);
}

// A program directory with the shipped files, a data directory and a working directory.
struct Fixture {
    QTemporaryDir root;
    PackageLifecycle::Directories dirs;
    std::unique_ptr<Settings> options;
    std::unique_ptr<StoredBookSettings> settings;
    BookModelSet models;
    RecordStore data;
    ScriptedPrompter prompter;
    RecordingShell shell;
    std::unique_ptr<PackageLifecycle> lifecycle;

    Fixture()
    {
        dirs = {root.path() + "/prog/", root.path() + "/prog/Data/", root.path() + "/work/"};
        QDir().mkpath(dirs.data);
        installShippedFiles(dirs.program);
        options = std::make_unique<Settings>(dirs.program + "aa.ini");
        options->readAll();
        options->dataDir = dirs.data;
        data.personList.setLogChanges(true);
        data.organisationList.setLogChanges(true);
        settings = std::make_unique<StoredBookSettings>(*options);
        lifecycle = std::make_unique<PackageLifecycle>(data, models, *settings, prompter, shell, dirs);
    }

    QString book(const QString &name) const { return dirs.data + name + ".qvp"; }
    void addBook(const QString &name, const PackageRecipe &recipe = {})
    {
        writePackage(book(name), recipe);
        options->addAddressBook(name);
    }
    bool openByNameOk(const QString &name)
    {
        lifecycle->openByName(int(options->addressBooks.indexOf(name)));
        return options->defaultBookName == name;
    }
    void change()
    {
        data.personList.first();
        data.personList.edit();
        data.personList.setValue("Position", QString("Changed"));
        data.personList.post();
    }
};

const QString kInvalid = "Loading addressbook fail due to invalid package format.";

// The five members of a small book, for tests that spoil one of them.
QList<archive::PackMember> smallBookMembers()
{
    const QDateTime t(QDate(2025, 6, 1), QTime(12, 0));
    const GeneratedBook book = generateBook(2, 1, 1);
    return {{"Agents.dbf", writeTableBytes(*book.organisations), t},
            {"Names.dbf", writeTableBytes(*book.persons), t},
            {"surname.dff", "", t},
            {"tree.dff", "All\r\n", t},
            {"treeno.dff", "1000\r\n", t}};
}

// Persons of an earlier installation: Chinese names that both GBK and Big5
// can hold, a memo of two lines, a birthday before 1900.
std::unique_ptr<RecordTable> earlierPersons(int fieldCount)
{
    auto table = std::make_unique<RecordTable>(personFields().mid(0, fieldCount));
    const QList<QMap<QString, Value>> people = {
        {{"ClientID", qint32(2001)}, {"Name", QString("\u738b\u5c0f\u660e")}, {"SurName", QString("\u738b")},
         {"GivenName", QString("\u5c0f\u660e")}, {"Memo", QString("\u53f0\u5317\u5e02\r\n\u4e2d\u6b63\u8def")},
         {"Birthday", QDate(1888, 3, 1)}, {"OrgID", qint32(2001)}, {"Group1", qint32(1001)}, {"Searched", true}},
        {{"ClientID", qint32(2002)}, {"Name", QString("Mary Smith")}, {"SurName", QString("Smith")},
         {"GivenName", QString("Mary")}, {"EMail", QString("mary@example.com")}, {"OrgID", qint32(0)}},
        {{"ClientID", qint32(2003)}, {"Name", QString("\u674e\u5927\u4e2d")}, {"SurName", QString("\u674e")},
         {"GivenName", QString("\u5927\u4e2d")}, {"OrgID", qint32(0)}, {"Searched", false}},
    };
    for (const auto &person : people) {
        std::vector<Value> row = test::person(person);
        row.resize(size_t(fieldCount));
        table->insertRow(row);
    }
    return table;
}

std::unique_ptr<RecordTable> earlierOrganisations(int fieldCount)
{
    auto table = std::make_unique<RecordTable>(organisationFields().mid(0, fieldCount));
    for (const auto &[id, name] : {std::pair{0, QString()}, {2001, QString("\u53f0\u5317\u5927\u540c")}}) {
        std::vector<Value> row(static_cast<size_t>(fieldCount));
        row[0] = qint32(id);
        row[1] = name.isEmpty() ? Value() : Value(name);
        table->insertRow(row);
    }
    return table;
}

} // namespace

class TestLifecycle : public QObject {
    Q_OBJECT
private slots:
    void startupPackage();
    void openValid();
    void openMissing();
    void openRefused_data();
    void openRefused();
    void openEncrypted_data();
    void openEncrypted();
    void refusedPasswordAskedOncePerTry_data();
    void refusedPasswordAskedOncePerTry();
    void mixedCiphersReportTheWeakest();
    void tamperedMemberRefused_data();
    void tamperedMemberRefused();
    void saveChoosesTheCipher_data();
    void saveChoosesTheCipher();
    void oldFormatIsConverted();
    void dataPacketBookOpens_data();
    void dataPacketBookOpens();
    void refusedDataPackets_data();
    void refusedDataPackets();
    void membersInAnyEncoding_data();
    void membersInAnyEncoding();
    void damagedTableMessages_data();
    void damagedTableMessages();
    void missingTableMessages_data();
    void missingTableMessages();
    void organisationTableGivenTwice_data();
    void organisationTableGivenTwice();
    void saveRoundTrip();
    void saveCarriesOtherMembers();
    void failedSaveKeepsChanges_data();
    void failedSaveKeepsChanges();
    void treeTakesFocusAfterOpenAndSave();
    void saveAsOutsideAndInside();
    void openByNameAnswers_data();
    void openByNameAnswers();
    void openByNameFailure_data();
    void openByNameFailure();
    void newBook_data();
    void newBook();
    void newBookThatDoesNotOpen_data();
    void newBookThatDoesNotOpen();
    void deleteBook();
    void closeAsks();
    void unlockQuestion();
    void legacyUpgrade();
    void templateOpens();
    void startUp();
    void unlistableDataDirectory_data();
    void unlistableDataDirectory();
    void startupPackageNotRead_data();
    void startupPackageNotRead();
    void openAtStart_data();
    void openAtStart();
    void packagesAreOwnerOnly_data();
    void packagesAreOwnerOnly();
    void passwordChangeIsAChange_data();
    void passwordChangeIsAChange();
    void passwordWithoutABookIsNoChange();
};

void TestLifecycle::openValid()
{
    Fixture f;
    f.addBook("Family", withPersons(5));
    QVERIFY(f.lifecycle->openPackage(f.book("Family")));
    QCOMPARE(f.data.personList.recordCount(), 5);
    QCOMPARE(f.data.personLookup.recordCount(), 5);
    QCOMPARE(f.data.organisationList.recordCount(), 3);
    QCOMPARE(f.models.editModel().compoundSurnames(), (QStringList{"\u6b27\u9633", "\u53f8\u9a6c"}));
    // The Org Contacts category is added, before the search node, when the book has yellow pages.
    const bool yellow = f.data.personLookup.locate("Yellow", true);
    QCOMPARE(f.models.tree().forest().preOrder().size(), size_t(yellow ? 4 : 3));
    QCOMPARE(f.models.tree().indexOfNumber(110), yellow ? 2 : -1);
    QVERIFY(!f.lifecycle->isModified());
    QCOMPARE(f.shell.busyDepth, 0);
    QVERIFY(QDir(f.dirs.working).entryList(QDir::Files).isEmpty()); // cleaned after opening
}

void TestLifecycle::openMissing()
{
    Fixture f;
    QVERIFY(!f.lifecycle->openPackage(f.book("Nothing")));
    QVERIFY(f.prompter.calls().isEmpty());
}

void TestLifecycle::openRefused_data()
{
    QTest::addColumn<QStringList>("skip");
    QTest::addColumn<bool>("badCrc");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("three members") << QStringList{"tree.dff", "treeno.dff"} << false << QStringList{kInvalid};
    QTest::newRow("last member fails its CRC") << QStringList() << true
                                               << QStringList{"Error: 25151 - File fails CRC check", kInvalid};
}

void TestLifecycle::openRefused()
{
    QFETCH(QStringList, skip);
    QFETCH(bool, badCrc);
    QFETCH(QStringList, messages);
    Fixture f;
    f.addBook("Good", withPersons(4));
    QVERIFY(f.lifecycle->openPackage(f.book("Good")));
    PackageRecipe recipe;
    recipe.skip = skip;
    writePackage(f.book("Bad"), recipe);
    if (badCrc) {
        // Flip the stored CRC of the last member in its local and central headers.
        QFile file(f.book("Bad"));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QByteArray bytes = file.readAll();
        const qsizetype local = bytes.lastIndexOf(QByteArray("PK\x03\x04", 4));
        const qsizetype central = bytes.lastIndexOf(QByteArray("PK\x01\x02", 4));
        bytes[local + 14] = char(bytes[local + 14] ^ 0x55);
        bytes[central + 16] = char(bytes[central + 16] ^ 0x55);
        file.seek(0);
        file.write(bytes);
    }
    for (const QString &m : messages)
        f.prompter.expectMessage(m, Icon::Warning, Button::Ok, Button::Ok);
    QVERIFY(!f.lifecycle->openPackage(f.book("Bad")));
    QCOMPARE(f.data.personList.recordCount(), 4); // the open book stays
}

void TestLifecycle::openEncrypted_data()
{
    QTest::addColumn<archive::PackageCipher>("cipher");
    QTest::newRow("traditional") << archive::PackageCipher::Traditional;
    QTest::newRow("AES-256") << archive::PackageCipher::Aes256;
}

void TestLifecycle::openEncrypted()
{
    QFETCH(archive::PackageCipher, cipher);
    Fixture f;
    QVERIFY(f.lifecycle->openPackage(f.lifecycle->templatePackage()));
    QCOMPARE(f.lifecycle->packageCipher(), std::nullopt);
    f.addBook("Locked", withPassword("secret", cipher));
    f.prompter.expectPassword("Enter Password for addressbook Locked", QString("wrong"));
    f.prompter.expectMessage("Message: 26517 - Invalid password", Icon::Information, Button::Ok, Button::Ok);
    f.prompter.expectPassword("Enter Password for addressbook Locked", QString("secret"));
    QVERIFY(f.lifecycle->openPackage(f.book("Locked")));
    QCOMPARE(f.options->packagePassword, QString("secret"));
    QCOMPARE(f.data.personList.recordCount(), 3);
    QCOMPARE(f.lifecycle->packageCipher(), cipher);
}

// A package that another tool changed in part: AES members among traditional ones.
void TestLifecycle::mixedCiphersReportTheWeakest()
{
    QList<test::RawMember> members;
    for (const archive::PackMember &m : smallBookMembers()) {
        const test::RawMember plain = test::deflatedMember(m.name.toUtf8(), m.data);
        const bool aes = m.name == "Agents.dbf" || m.name == "treeno.dff"; // the first and the last
        members << (aes ? test::aesEncrypted(plain, "pw") : test::encrypted(plain, "pw"));
    }
    Fixture f;
    QFile file(f.book("Mixed"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(test::composeZip(members));
    file.close();
    f.prompter.expectPassword("Enter Password for addressbook Mixed", QString("pw"));
    QVERIFY(f.lifecycle->openPackage(f.book("Mixed")));
    QCOMPARE(f.lifecycle->packageCipher(), archive::PackageCipher::Traditional);
}

void TestLifecycle::tamperedMemberRefused_data()
{
    QTest::addColumn<QString>("member");
    QTest::addColumn<QStringList>("messages"); // %1: the fixture's root
    QTest::newRow("the last member") << "treeno.dff"
                                     << QStringList{"Error: 25152 - File fails authentication check: treeno.dff", kInvalid};
    QTest::newRow("the person table")
        << "Names.dbf"
        << QStringList{"Error: 25152 - File fails authentication check: Names.dbf",
                       "EDBClient  Cannot open file \"%1/work/names.dbf\" while loading addressbook. names.dbf"};
}

// A changed byte in a member's encrypted data: the member is refused by name
// and the open fails as it does for any damaged package; the book on screen stays.
void TestLifecycle::tamperedMemberRefused()
{
    QFETCH(QString, member);
    QFETCH(QStringList, messages);
    Fixture f;
    f.addBook("Good", withPersons(4));
    QVERIFY(f.lifecycle->openPackage(f.book("Good")));
    f.addBook("Changed", withPassword("pw"));
    QByteArray bytes = fileBytes(f.book("Changed"));
    for (const archive::MemberEntry &m : archive::readCentralDirectory(bytes).members) {
        if (m.name() == member) {
            const qsizetype data = archive::readLocalHeader(bytes, m.localHeaderOffset).dataOffset + 18; // after salt and verifier
            bytes[data] = char(bytes[data] ^ 0x20);
        }
    }
    QFile file(f.book("Changed"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    f.prompter.expectPassword("Enter Password for addressbook Changed", QString("pw"));
    for (const QString &m : messages)
        f.prompter.expectMessage(m.contains("%1") ? m.arg(f.root.path()) : m, Icon::Warning, Button::Ok, Button::Ok);
    QVERIFY(!f.lifecycle->openPackage(f.book("Changed")));
    QCOMPARE(f.data.personList.recordCount(), 4);
    QVERIFY(!QFileInfo::exists(f.dirs.working + member));
}

void TestLifecycle::saveChoosesTheCipher_data()
{
    using archive::PackageCipher;
    QTest::addColumn<QString>("password"); // of the package opened; "+" sets one after opening
    QTest::addColumn<PackageCipher>("opened");
    QTest::addColumn<PackageCipher>("setting");
    QTest::addColumn<std::optional<PackageCipher>>("saved");
    const PackageCipher aes = PackageCipher::Aes256;
    const PackageCipher traditional = PackageCipher::Traditional;
    QTest::newRow("traditional package upgraded") << "pw" << traditional << aes << std::optional(aes);
    QTest::newRow("AES package kept") << "pw" << aes << aes << std::optional(aes);
    QTest::newRow("traditional asked for") << "pw" << aes << traditional << std::optional(traditional);
    QTest::newRow("traditional kept when asked for") << "pw" << traditional << traditional << std::optional(traditional);
    QTest::newRow("password set after opening") << "+" << aes << aes << std::optional(aes);
    QTest::newRow("no password: no encryption") << "" << aes << aes << std::optional<PackageCipher>();
}

void TestLifecycle::saveChoosesTheCipher()
{
    using archive::PackageCipher;
    QFETCH(QString, password);
    QFETCH(PackageCipher, opened);
    QFETCH(PackageCipher, setting);
    QFETCH(std::optional<PackageCipher>, saved);
    Fixture f;
    const bool setLater = password == "+";
    f.addBook("Family", setLater ? PackageRecipe() : withPassword(password, opened));
    if (!password.isEmpty() && !setLater)
        f.prompter.expectPassword("Enter Password for addressbook Family", password);
    QVERIFY(f.openByNameOk("Family"));
    if (setLater)
        f.options->packagePassword = "later";
    f.options->setEncryption(setting);
    f.lifecycle->save();
    QVERIFY(ciphersOnDisk(f.book("Family")) == QList<std::optional<PackageCipher>>(5, saved));
    QCOMPARE(f.lifecycle->packageCipher(), saved);

    Fixture g;
    if (saved)
        g.prompter.expectPassword("Enter Password for addressbook Family", setLater ? "later" : password);
    QVERIFY(g.lifecycle->openPackage(f.book("Family")));
    QCOMPARE(g.lifecycle->packageCipher(), saved);
}

void TestLifecycle::refusedPasswordAskedOncePerTry_data()
{
    using archive::PackageCipher;
    QTest::addColumn<PackageCipher>("cipher");
    QTest::addColumn<QList<std::optional<QString>>>("answers"); // nothing: Cancel
    QTest::newRow("three wrong passwords") << PackageCipher::Aes256 << QList<std::optional<QString>>{"a", "b", "c"};
    QTest::newRow("three wrong passwords, traditional cipher")
        << PackageCipher::Traditional << QList<std::optional<QString>>{"a", "b", "c"};
    QTest::newRow("cancelled") << PackageCipher::Aes256 << QList<std::optional<QString>>{std::nullopt};
    QTest::newRow("one wrong, then cancelled") << PackageCipher::Aes256 << QList<std::optional<QString>>{"a", std::nullopt};
}

// A password refused for the first member is not asked again for each of
// the others: the user has three tries for the book, and is told at the end
// that the password was not accepted, not that the package is damaged.
void TestLifecycle::refusedPasswordAskedOncePerTry()
{
    QFETCH(archive::PackageCipher, cipher);
    QFETCH(QList<std::optional<QString>>, answers);
    Fixture f;
    f.addBook("Good", withPersons(4));
    QVERIFY(f.lifecycle->openPackage(f.book("Good")));
    f.addBook("Locked", withPassword("secret", cipher));
    for (const std::optional<QString> &answer : answers) {
        f.prompter.expectPassword("Enter Password for addressbook Locked", answer);
        if (answer)
            f.prompter.expectMessage("Message: 26517 - Invalid password", Icon::Information, Button::Ok, Button::Ok);
    }
    f.prompter.expectMessage("Message: 26522 - Password failed", Icon::Information, Button::Ok, Button::Ok);
    f.prompter.expectMessage("Loading addressbook fail because the password was not accepted.", Icon::Warning, Button::Ok,
                             Button::Ok);
    QVERIFY(!f.lifecycle->openPackage(f.book("Locked")));
    QVERIFY(f.prompter.verifyAllAnswered());
    QCOMPARE(f.data.personList.recordCount(), 4); // the open book stays
}

void TestLifecycle::oldFormatIsConverted()
{
    Fixture f;
    PackageRecipe recipe;
    recipe.personFieldCount = 24;
    recipe.organisationFieldCount = 9;
    f.addBook("Old", recipe);
    QVERIFY(f.lifecycle->openPackage(f.book("Old")));
    QVERIFY(f.shell.calls.contains("progress Converting from old format into new one 3"));
    TableView &list = f.data.personList;
    QCOMPARE(list.fieldCount(), 29);
    QCOMPARE(list.recordCount(), 3);
    for (list.first(); !list.atEnd(); list.next()) {
        QCOMPARE(list.value("Yellow"), Value(false));
        QCOMPARE(list.value("NID"), Value(qint32(0)));
        QVERIFY(isNull(list.value("DPhone")) && isNull(list.value("URL")) && isNull(list.value("CID")));
        QVERIFY(!isNull(list.value("Name")));
    }
    QCOMPARE(f.data.organisationList.fieldCount(), 10);
    for (TableView *view : {&f.data.organisationList, &f.data.organisationLookup}) {
        for (view->first(); !view->atEnd(); view->next())
            QVERIFY(isNull(view->value("CURL")));
    }
    QVERIFY(!f.lifecycle->isModified());

    // The old fields keep their values: the same book as the package was made of.
    const GeneratedBook original = generateBook(3, 2, 7);
    const auto carried = [](TableView &view, const RecordTable &old, int fieldCount) {
        QCOMPARE(view.recordCount(), old.liveRowCount());
        for (int row = 0; row < old.rowSlots(); ++row) {
            const std::vector<Value> values = old.rowValues(row);
            QVERIFY(view.locate(old.fields()[0].name, values[0]));
            for (int field = 0; field < fieldCount; ++field)
                QCOMPARE(view.value(old.fields()[field].name), values[size_t(field)]);
        }
    };
    carried(f.data.personList, *original.persons, 24);
    carried(f.data.personLookup, *original.persons, 24);
    carried(f.data.organisationList, *original.organisations, 9);
}

void TestLifecycle::dataPacketBookOpens_data()
{
    QTest::addColumn<QByteArray>("codePage");
    QTest::addColumn<int>("lcid");
    QTest::addColumn<int>("personFields");
    QTest::addColumn<int>("organisationFields");
    QTest::newRow("old fields, GBK") << QByteArray("GBK") << 2052 << 24 << 9;
    QTest::newRow("old fields, Big5") << QByteArray("BIG5") << 1028 << 24 << 9;
    QTest::newRow("current fields, GBK") << QByteArray("GBK") << 2052 << 29 << 10;
}

void TestLifecycle::dataPacketBookOpens()
{
    QFETCH(QByteArray, codePage);
    QFETCH(int, lcid);
    QFETCH(int, personFields);
    QFETCH(int, organisationFields);
    const auto earlier = earlierPersons(personFields);
    const RecordTable &persons = *earlier;
    PackageRecipe recipe;
    recipe.replaced = {{"Names.dbf", test::dataPacketOf(persons, codePage, lcid)},
                       {"Agents.dbf", test::dataPacketOf(*earlierOrganisations(organisationFields), codePage, lcid)}};
    Fixture f;
    f.addBook("Earlier", recipe);
    QVERIFY(f.openByNameOk("Earlier"));
    const bool old = personFields < 29;
    QCOMPARE(f.lifecycle->lastOpenConverted(), old);
    QCOMPARE(f.shell.calls.contains("progress Converting from old format into new one 3"), old);
    QCOMPARE(f.lifecycle->lastOpenTableForms(), std::pair(TableForm::DataPacket, TableForm::DataPacket));
    QVERIFY(!f.lifecycle->isModified());

    // Every stored value arrives; the fields the old form lacks as a new entry has them.
    const auto sameRows = [&](TableView &view) {
        QCOMPARE(view.fieldCount(), 29);
        QCOMPARE(view.recordCount(), 3);
        for (int row = 0; row < persons.rowSlots(); ++row) {
            const std::vector<Value> values = persons.rowValues(row);
            QVERIFY(view.locate("ClientID", values[0]));
            for (int field = 0; field < personFields; ++field)
                QCOMPARE(view.value(persons.fields()[field].name), values[size_t(field)]);
            if (old) {
                QCOMPARE(view.value("Yellow"), Value(false));
                QCOMPARE(view.value("NID"), Value(qint32(0)));
            }
        }
    };
    sameRows(f.data.personList);
    QVERIFY(f.data.organisationList.locate("CoID", qint32(2001)));
    QCOMPARE(f.data.organisationList.value("Company"), Value(QString("\u53f0\u5317\u5927\u540c")));
    QCOMPARE(f.data.organisationList.fieldCount(), 10);

    // The next save writes the tables in our own form.
    f.lifecycle->save();
    archive::MemoryTarget saved;
    archive::KnownPasswords known;
    QCOMPARE(archive::unpack(fileBytes(f.book("Earlier")), saved, known, {}), 5);
    QCOMPARE(tableFormOf(saved.files.value("names.dbf")), TableForm::Quorvel);
    QCOMPARE(tableFormOf(saved.files.value("agents.dbf")), TableForm::Quorvel);
    Fixture g;
    QVERIFY(g.lifecycle->openPackage(f.book("Earlier")));
    QCOMPARE(g.lifecycle->lastOpenTableForms(), std::pair(TableForm::Quorvel, TableForm::Quorvel));
    QVERIFY(!g.lifecycle->lastOpenConverted());
    sameRows(g.data.personList);
}

void TestLifecycle::refusedDataPackets_data()
{
    QTest::addColumn<QString>("member");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    const QByteArray persons = test::dataPacketOf(*earlierPersons(24), "GBK", 2052);
    QTest::newRow("person table cut short") << "Names.dbf" << persons.first(persons.size() - 2)
        << "EDBClient  The data packet is damaged: a value runs past the end of the file while loading addressbook. names.dbf";
    test::DataPacketWriter nested;
    nested.addIntegerColumn("CoID");
    nested.addColumn({"Branches", 0, 0x000C, {}});
    QTest::newRow("organisation table with a nested field") << "Agents.dbf" << nested.bytes()
        << "Field \"Branches\" of the data packet holds nested values, which an address book table cannot hold"
           " while loading addressbook. agent.dbf";
}

void TestLifecycle::refusedDataPackets()
{
    QFETCH(QString, member);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    Fixture f;
    f.addBook("Good", withPersons(4));
    QVERIFY(f.lifecycle->openPackage(f.book("Good")));
    PackageRecipe recipe;
    recipe.replaced = {{member, bytes}};
    writePackage(f.book("Earlier"), recipe);
    f.prompter.expectMessage(message, Icon::Warning, Button::Ok, Button::Ok);
    QVERIFY(!f.lifecycle->openPackage(f.book("Earlier")));
    QCOMPARE(f.data.personList.recordCount(), 4); // the open book stays
    QCOMPARE(f.shell.busyDepth, 0);
}

void TestLifecycle::membersInAnyEncoding_data()
{
    QTest::addColumn<int>("encoding");
    QTest::newRow("UTF-16LE with byte-order mark") << int(QStringConverter::Utf16LE);
    QTest::newRow("UTF-16BE with byte-order mark") << int(QStringConverter::Utf16BE);
    QTest::newRow("UTF-8 with byte-order mark") << int(QStringConverter::Utf8);
}

void TestLifecycle::membersInAnyEncoding()
{
    QFETCH(int, encoding);
    const auto as = [&](const QString &text) { return encoded(text, QStringConverter::Encoding(encoding)); };
    PackageRecipe recipe;
    recipe.replaced = {{"tree.dff", as("All\r\n\t\u670b\u53cb\r\n\t\tSchool\r\nSearch\r\n")},
                       {"treeno.dff", as("1000\r\n1001\r\n1002\r\n101\r\n")},
                       {"surname.dff", as("\u6b27\u9633\r\n\u53f8\u9a6c\r\n")}};
    Fixture f;
    f.addBook("Family", recipe);
    QVERIFY(f.lifecycle->openPackage(f.book("Family")));
    QStringList nodes;
    for (const CategoryNode *node : f.models.tree().forest().preOrder()) {
        if (node->number != 110) // Org Contacts, when the book has yellow pages
            nodes << QString("%1 %2 %3").arg(node->depth()).arg(node->number).arg(node->caption);
    }
    QCOMPARE(nodes, (QStringList{"0 1000 All", "1 1001 \u670b\u53cb", "2 1002 School", "0 101 Search"}));
    QCOMPARE(f.models.editModel().compoundSurnames(), (QStringList{"\u6b27\u9633", "\u53f8\u9a6c"}));
}

void TestLifecycle::damagedTableMessages_data()
{
    QTest::addColumn<QString>("member");
    QTest::addColumn<QString>("message");
    QTest::newRow("person table") << "Names.dbf"
        << "EDBClient  The file is not a Quorvel table while loading addressbook. names.dbf";
    QTest::newRow("organisation table") << "Agents.dbf" << "The file is not a Quorvel table while loading addressbook. agent.dbf";
    QTest::newRow("tree numbers") << "treeno.dff" << "'xxxxxxxx' is not a valid integer value while loading addressbook.";
}

void TestLifecycle::damagedTableMessages()
{
    QFETCH(QString, member);
    QFETCH(QString, message);
    Fixture f;
    QList<archive::PackMember> members = smallBookMembers();
    for (auto &m : members) {
        if (m.name == member)
            m.data = "xxxxxxxx";
    }
    QFile file(f.book("Damaged"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(archive::buildArchive(members, QString()));
    file.close();
    f.prompter.expectMessage(message, Icon::Warning, Button::Ok, Button::Ok);
    QVERIFY(!f.lifecycle->openPackage(f.book("Damaged")));
    QCOMPARE(f.shell.busyDepth, 0);
}

void TestLifecycle::missingTableMessages_data()
{
    QTest::addColumn<QString>("member");
    QTest::addColumn<QString>("message"); // %1: the fixture's root
    QTest::newRow("person table") << "Names.dbf"
        << "EDBClient  Cannot open file \"%1/work/names.dbf\" while loading addressbook. names.dbf";
    QTest::newRow("organisation table") << "Agents.dbf"
        << "Cannot open file \"%1/work/agents.dbf\" while loading addressbook. agent.dbf";
}

void TestLifecycle::missingTableMessages()
{
    QFETCH(QString, member);
    QFETCH(QString, message);
    Fixture f;
    QList<archive::PackMember> members = smallBookMembers();
    members.removeIf([&](const archive::PackMember &m) { return m.name == member; });
    QFile file(f.book("Missing"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(archive::buildArchive(members, QString()));
    file.close();
    f.prompter.expectMessage(message.arg(f.root.path()), Icon::Warning, Button::Ok, Button::Ok);
    QVERIFY(!f.lifecycle->openPackage(f.book("Missing")));
    QCOMPARE(f.shell.busyDepth, 0);
}

// A package naming the organisation table twice: the later member counts,
// wherever its folder, and one that fails leaves no organisation table, as
// it would leave no file; one refused before it is read leaves the earlier.
enum class LaterMember { Whole, FailsItsCheck, Refused };
Q_DECLARE_METATYPE(LaterMember)

void TestLifecycle::organisationTableGivenTwice_data()
{
    QTest::addColumn<QByteArray>("laterName");
    QTest::addColumn<LaterMember>("later");
    QTest::addColumn<int>("organisations"); // -1: the book does not open
    QTest::newRow("the later one counts") << QByteArray("Agents.dbf") << LaterMember::Whole << 3;
    QTest::newRow("the later one in a folder counts") << QByteArray("Book/agents.DBF") << LaterMember::Whole << 3;
    QTest::newRow("a later one that fails leaves none") << QByteArray("Agents.dbf") << LaterMember::FailsItsCheck << -1;
    QTest::newRow("a later one refused unread leaves the earlier one")
        << QByteArray("Agents.dbf") << LaterMember::Refused << 2;
}

void TestLifecycle::organisationTableGivenTwice()
{
    QFETCH(QByteArray, laterName);
    QFETCH(LaterMember, later);
    QFETCH(int, organisations);
    const bool laterFails = later == LaterMember::FailsItsCheck;
    QList<test::RawMember> members;
    for (const archive::PackMember &m : smallBookMembers())
        members << test::deflatedMember(m.name.toUtf8(), m.data);
    test::RawMember second = test::deflatedMember(laterName, writeTableBytes(*generateBook(2, 2, 5).organisations));
    if (laterFails)
        second.crc ^= 1;
    if (later == LaterMember::Refused)
        second.method = 99;
    members.insert(2, second); // after the person table
    Fixture f;
    QFile file(f.book("Twice"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(test::composeZip(members));
    file.close();
    if (later == LaterMember::Refused)
        f.prompter.expectMessage("Error: 25326 - Unsupported compression method", Icon::Warning, Button::Ok, Button::Ok);
    if (laterFails) {
        f.prompter.expectMessage("Error: 25151 - File fails CRC check", Icon::Warning, Button::Ok, Button::Ok);
        f.prompter.expectMessage(QString("Cannot open file \"%1/work/agents.dbf\" while loading addressbook. agent.dbf")
                                     .arg(f.root.path()),
                                 Icon::Warning, Button::Ok, Button::Ok);
    }
    QCOMPARE(f.lifecycle->openPackage(f.book("Twice")), organisations >= 0);
    if (organisations >= 0)
        QCOMPARE(f.data.organisationList.recordCount(), organisations);
}

void TestLifecycle::saveRoundTrip()
{
    Fixture f;
    f.addBook("Family", withPersons(6));
    QVERIFY(f.openByNameOk("Family"));
    f.change();
    f.lifecycle->markStructureChanged();
    QVERIFY(f.lifecycle->isModified());
    f.lifecycle->save();
    QVERIFY(!f.lifecycle->isModified());
    QVERIFY(!f.lifecycle->saving());

    Fixture g;
    QVERIFY(g.lifecycle->openPackage(f.book("Family")));
    QVERIFY(g.data.personList.locate("Position", QString("Changed")));
    QCOMPARE(g.models.tree().treeFile(), f.models.tree().treeFile());
    QCOMPARE(g.models.editModel().compoundSurnames(), f.models.editModel().compoundSurnames());
}

// Members the program does not use travel from the opened package into the saved one.
void TestLifecycle::saveCarriesOtherMembers()
{
    Fixture f;
    PackageRecipe recipe = withPersons(4);
    recipe.added = {{"custom.dff", "kept as it was"}, {"extra.dbf", "also kept"}};
    f.addBook("Family", recipe);
    QVERIFY(f.openByNameOk("Family"));
    f.change();
    f.lifecycle->save();

    archive::MemoryTarget saved;
    archive::KnownPasswords known;
    QCOMPARE(archive::unpack(fileBytes(f.book("Family")), saved, known, {}), 7);
    QCOMPARE(saved.files.value("custom.dff"), QByteArray("kept as it was"));
    QCOMPARE(saved.files.value("extra.dbf"), QByteArray("also kept"));
    Fixture g;
    QVERIFY(g.lifecycle->openPackage(f.book("Family")));
    QVERIFY(g.data.personList.locate("Position", QString("Changed")));
}

void TestLifecycle::failedSaveKeepsChanges_data()
{
    QTest::addColumn<bool>("removeFolder");
    QTest::addColumn<int>("sizeLimit"); // bytes a written file may have; 0: none
    QTest::addColumn<QString>("message"); // %1 stands for the test's folder
    QTest::newRow("the package's folder is gone")
        << true << 0 << "Error opening file: %1/elsewhere/Family.qvp (" + QString::fromLocal8Bit(std::strerror(ENOENT)) + ")";
    QTest::newRow("a table cannot be written") << false << 4000 << "Cannot write file \"%1/work/Names.dbf\"";
    QTest::newRow("the package cannot be written") << false << 110000 << "Error writing to file: %1/elsewhere/Family.qvp";
}

void TestLifecycle::failedSaveKeepsChanges()
{
    QFETCH(bool, removeFolder);
    QFETCH(int, sizeLimit);
    QFETCH(QString, message);
    Fixture f;
    f.addBook("Family");
    QVERIFY(f.openByNameOk("Family"));
    // About 90 kB in each table and 135 kB in the package, which hardly compresses them.
    quint32 seed = 0;
    for (TableView *view : {&f.data.personList, &f.data.organisationList}) {
        QCOMPARE(view->recordCount(), 3);
        const QString memo = view == &f.data.personList ? "Memo" : "CMemo";
        for (view->first(); !view->atEnd(); view->next()) {
            view->edit();
            view->setValue(memo, randomText(30000, ++seed));
            view->post();
        }
    }
    const QString folder = f.root.path() + "/elsewhere";
    const QString package = folder + "/Family.qvp";
    QDir().mkpath(folder);
    f.prompter.expectSaveFile(package);
    f.lifecycle->saveAs();
    QVERIFY(!f.lifecycle->isModified());
    if (removeFolder)
        QVERIFY(QDir(folder).removeRecursively());
    const QByteArray before = fileBytes(package);

    f.change();
    f.prompter.expectMessage("Are you going to save  before close?", Icon::Warning, Button::Yes | Button::No | Button::Cancel,
                             Button::Yes);
    f.prompter.expectMessage(message.arg(f.root.path()), Icon::Warning, Button::Ok, Button::Ok);
    bool closed = true;
    {
        std::optional<FileSizeLimit> limit;
        if (sizeLimit > 0)
            limit.emplace(rlim_t(sizeLimit));
        closed = f.lifecycle->close();
    }
    QVERIFY(!closed);
    QCOMPARE(fileBytes(package), before);
    QVERIFY(f.lifecycle->isModified());
    f.prompter.expectMessage("Are you going to save  before close?", Icon::Warning, Button::Yes | Button::No | Button::Cancel,
                             Button::Cancel);
    QVERIFY(!f.lifecycle->close());
}

void TestLifecycle::treeTakesFocusAfterOpenAndSave()
{
    Fixture f;
    f.addBook("Family");
    writePackage(f.book("Bad"), [] { PackageRecipe r; r.skip = QStringList{"tree.dff", "treeno.dff"}; return r; }());
    QVERIFY(f.lifecycle->openPackage(f.book("Family")));
    QCOMPARE(f.shell.calls.count("focus tree"), 1);
    QCOMPARE(f.shell.calls.last(), QString("focus tree")); // after the tree shows the opened book
    f.prompter.expectMessage(kInvalid, Icon::Warning, Button::Ok, Button::Ok);
    QVERIFY(!f.lifecycle->openPackage(f.book("Bad")));
    QCOMPARE(f.shell.calls.count("focus tree"), 1);
    f.prompter.expectSaveFile(f.root.path() + "/missing/Family.qvp");
    QVERIFY_THROWS_EXCEPTION(Error, f.lifecycle->saveAs());
    QCOMPARE(f.shell.calls.count("focus tree"), 1);
    f.lifecycle->save();
    QCOMPARE(f.shell.calls.count("focus tree"), 2);
    QCOMPARE(f.shell.calls.last(), QString("focus tree"));
}

void TestLifecycle::saveAsOutsideAndInside()
{
    Fixture f;
    f.addBook("Family");
    QVERIFY(f.openByNameOk("Family"));
    f.prompter.expectSaveFile(f.dirs.data + "Copy.qvp");
    f.lifecycle->saveAs();
    QCOMPARE(f.lifecycle->location(), BookLocation::DataDirectory); // inside: nothing changes
    QCOMPARE(f.lifecycle->title("me"), QString("Quorvel  - me (Family)"));
    QVERIFY(QFile::exists(f.dirs.data + "Copy.qvp"));

    const QString outside = f.root.path() + "/elsewhere/Mine.qvp";
    QDir().mkpath(f.root.path() + "/elsewhere");
    f.prompter.expectSaveFile(outside);
    f.lifecycle->saveAs();
    QCOMPARE(f.lifecycle->location(), BookLocation::Elsewhere);
    QCOMPARE(f.lifecycle->title("me"), "Quorvel  - me (" + outside + ")");
    QCOMPARE(f.prompter.calls().last().save.filter, QString("QV Package (*.qvp)|*.qvp"));
    QCOMPARE(f.prompter.calls().last().save.defaultExtension, QString("qvp"));
    f.change();
    f.lifecycle->save(); // now into the outside path
    Fixture g;
    QVERIFY(g.lifecycle->openPackage(outside));
    QVERIFY(g.data.personList.locate("Position", QString("Changed")));
}

void TestLifecycle::openByNameAnswers_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("openBook");
    QTest::addColumn<bool>("savedChange");
    QTest::newRow("Yes saves, then opens") << int(Button::Yes) << "Work" << true;
    QTest::newRow("No opens without saving") << int(Button::No) << "Work" << false;
    QTest::newRow("Cancel stays") << int(Button::Cancel) << "Family" << false;
}

void TestLifecycle::openByNameAnswers()
{
    QFETCH(int, answer);
    QFETCH(QString, openBook);
    QFETCH(bool, savedChange);
    Fixture f;
    f.addBook("Family");
    f.addBook("Work");
    QVERIFY(f.openByNameOk("Family"));
    f.change();
    f.prompter.expectMessage("Are you going to save  before loading another?", Icon::Confirmation,
                             Button::Yes | Button::No | Button::Cancel, Button(answer));
    f.lifecycle->openByName(int(f.options->addressBooks.indexOf("Work")));
    QCOMPARE(f.options->defaultBookName, openBook);
    Fixture g;
    QVERIFY(g.lifecycle->openPackage(f.book("Family")));
    QCOMPARE(g.data.personList.locate("Position", QString("Changed")), savedChange);
}

void TestLifecycle::openByNameFailure_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("shellCall");
    QTest::newRow("OK: no-book state") << int(Button::Ok) << "no book";
    QTest::newRow("Abort: close") << int(Button::Abort) << "close window";
}

void TestLifecycle::openByNameFailure()
{
    QFETCH(int, answer);
    QFETCH(QString, shellCall);
    Fixture f;
    f.options->addAddressBook("Gone");
    f.prompter.expectMessage("Loading addressbook of Gone fail, You may select another addressbook from the 'File' menu.",
                             Icon::Warning, Button::Ok | Button::Abort, Button(answer));
    f.lifecycle->openByName(0);
    QCOMPARE(f.shell.calls.last(), shellCall);
}

void TestLifecycle::newBook_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<bool>("created");
    QTest::newRow("a new name") << "  Club  " << "" << true;
    QTest::newRow("only spaces: nothing") << "   " << "" << false;
    QTest::newRow("listed name, other case") << "family" << "An addressbook named \"family\" already exists." << false;
    QTest::newRow("package on disk, not listed") << "Stray" << "An addressbook named \"Stray\" already exists." << false;
    QTest::newRow("not a file name") << "a/b" << "\"a/b\" cannot be the name of an addressbook: it may not contain / \\ : * ? \" < > |." << false;
}

void TestLifecycle::newBook()
{
    QFETCH(QString, typed);
    QFETCH(QString, refusal);
    QFETCH(bool, created);
    Fixture f;
    f.addBook("Family");
    writePackage(f.book("Stray"));
    const QByteArray strayBefore = [&] { QFile s(f.book("Stray")); s.open(QIODevice::ReadOnly); return s.readAll(); }();
    f.prompter.expectInput("New", "Addressbook name", typed);
    if (!refusal.isEmpty())
        f.prompter.expectMessage(refusal, Icon::Warning, Button::Ok, Button::Ok);
    f.lifecycle->newBook();
    QCOMPARE(f.options->addressBooks.contains("Club"), created);
    QCOMPARE(QFile::exists(f.book("Club")), created);
    QFile stray(f.book("Stray"));
    QVERIFY(stray.open(QIODevice::ReadOnly));
    QCOMPARE(stray.readAll(), strayBefore);
    if (created) {
        QCOMPARE(f.options->addressBooks.last(), QString("Club"));
        QCOMPARE(f.options->defaultBookName, QString("Club"));
        QVERIFY(f.shell.calls.contains("menus"));
        QCOMPARE(f.data.organisationList.text("CoID"), QString("0")); // the template's default organisation
        Settings reread(f.dirs.program + "aa.ini");
        reread.readAll();
        QCOMPARE(reread.defaultBookName, QString("Club"));
    }
}

void TestLifecycle::newBookThatDoesNotOpen_data()
{
    QTest::addColumn<bool>("outside"); // the open book was saved to a folder outside the data directory
    QTest::newRow("open book in the data directory") << false;
    QTest::newRow("open book elsewhere") << true;
}

void TestLifecycle::newBookThatDoesNotOpen()
{
    QFETCH(bool, outside);
    Fixture f;
    f.addBook("Family", withPassword("pw"));
    f.prompter.expectPassword("Enter Password for addressbook Family", QString("pw"));
    QVERIFY(f.openByNameOk("Family"));
    QString package = f.book("Family");
    QString shownName = "Family";
    if (outside) {
        package = f.root.path() + "/elsewhere/Family.qvp";
        shownName = package;
        QVERIFY(QDir().mkpath(f.root.path() + "/elsewhere"));
        f.prompter.expectSaveFile(package);
        f.lifecycle->saveAs();
    }
    const BookLocation location = outside ? BookLocation::Elsewhere : BookLocation::DataDirectory;
    // A template that is no valid package: the new book cannot be opened.
    writePackage(f.lifecycle->templatePackage(), [] { PackageRecipe r; r.skip = QStringList{"tree.dff", "treeno.dff"}; return r; }());
    f.prompter.expectInput("New", "Addressbook name", QString("Club"));
    f.prompter.expectMessage(kInvalid, Icon::Warning, Button::Ok, Button::Ok);
    f.lifecycle->newBook();
    // Family stays the book on screen, where it was, under its name and with its password.
    QCOMPARE(f.lifecycle->location(), location);
    QCOMPARE(f.lifecycle->title("me"), "Quorvel  - me (" + shownName + ")");
    QCOMPARE(f.options->packagePassword, QString("pw"));
    const QByteArray club = fileBytes(f.book("Club"));
    const QByteArray inDataDirectory = fileBytes(f.book("Family"));
    f.change();
    f.lifecycle->save();
    QCOMPARE(fileBytes(f.book("Club")), club);
    if (outside)
        QCOMPARE(fileBytes(f.book("Family")), inDataDirectory);
    Fixture g;
    g.prompter.expectPassword("Enter Password for addressbook Family", QString("pw"));
    QVERIFY(g.lifecycle->openPackage(package));
    QVERIFY(g.data.personList.locate("Position", QString("Changed")));
}

void TestLifecycle::deleteBook()
{
    Fixture f;
    f.addBook("Family");
    f.addBook("Work");
    QVERIFY(f.openByNameOk("Family"));
    f.prompter.expectMessage("Can not delete an opening addressbook.", Icon::Information, Button::Ok, Button::Ok);
    f.lifecycle->deleteBook(0);
    QVERIFY(QFile::exists(f.book("Family")));
    f.prompter.expectMessage("Are you sure to delete Work ?", Icon::Confirmation, Button::Yes | Button::No, Button::No);
    f.lifecycle->deleteBook(1);
    QVERIFY(QFile::exists(f.book("Work")));
    f.prompter.expectMessage("Are you sure to delete Work ?", Icon::Confirmation, Button::Yes | Button::No, Button::Yes);
    f.lifecycle->deleteBook(1);
    QVERIFY(!QFile::exists(f.book("Work")));
    QCOMPARE(f.options->addressBooks, QStringList{"Family"});
    // Loaded from elsewhere, the book of the same name in the data directory can go.
    f.prompter.expectOpenFile(f.book("Family"));
    f.lifecycle->loadFrom();
    f.prompter.expectMessage("Are you sure to delete Family ?", Icon::Confirmation, Button::Yes | Button::No, Button::Yes);
    f.lifecycle->deleteBook(0);
    QVERIFY(!QFile::exists(f.book("Family")));
}

void TestLifecycle::closeAsks()
{
    Fixture f;
    f.addBook("Family");
    QVERIFY(f.openByNameOk("Family"));
    QVERIFY(f.lifecycle->close()); // not modified: no question
    f.lifecycle->markStructureChanged();
    f.prompter.expectMessage("Are you going to save  before close?", Icon::Warning, Button::Yes | Button::No | Button::Cancel,
                             Button::Cancel);
    QVERIFY(!f.lifecycle->close());
    f.prompter.expectMessage("Are you going to save  before close?", Icon::Warning, Button::Yes | Button::No | Button::Cancel,
                             Button::Yes);
    QVERIFY(f.lifecycle->close());
    QVERIFY(!f.lifecycle->isModified());
}

void TestLifecycle::unlockQuestion()
{
    Fixture f;
    f.addBook("Locked", withPassword("pw"));
    f.prompter.expectPassword("Enter Password for addressbook Locked", QString("pw"));
    QVERIFY(f.openByNameOk("Locked"));
    f.lifecycle->saveWithPassword = false;
    f.prompter.expectMessage("Really want to unlock the address book?", Icon::Confirmation, Button::Yes | Button::No, Button::No);
    f.lifecycle->save();
    QCOMPARE(f.options->packagePassword, QString("pw"));
    f.prompter.expectMessage("Really want to unlock the address book?", Icon::Confirmation, Button::Yes | Button::No, Button::Yes);
    f.lifecycle->save();
    QVERIFY(f.options->packagePassword.isEmpty());
    f.lifecycle->save(); // unlocked: no more questions
    Fixture g;
    QVERIFY(g.lifecycle->openPackage(f.book("Locked"))); // opens without a password now
}

void TestLifecycle::legacyUpgrade()
{
    Fixture f;
    QFile ini(f.dirs.program + "aa.ini");
    QVERIFY(ini.open(QIODevice::Append));
    ini.write("\n[User]\nUserName0=Anna\nUserName1=----\nUserName2=Ghost\nUserName3=Ben\n");
    ini.close();
    for (const char *user : {"Anna", "Ben"}) {
        QDir(f.dirs.program).mkdir(user);
        QFile m(f.dirs.program + user + "/Names.dbf");
        QVERIFY(m.open(QIODevice::WriteOnly));
        m.write("rows");
    }
    QVERIFY(f.options->hasLegacyUserSection());
    f.lifecycle->upgradeLegacyUserDirectories();
    QVERIFY(QFile::exists(f.book("Anna")) && QFile::exists(f.book("Ben")));
    QVERIFY(!QFileInfo::exists(f.dirs.program + "Anna"));
    QCOMPARE(f.options->defaultBookName, QString("Anna"));
    QVERIFY(!f.options->hasLegacyUserSection());
    Settings reread(f.dirs.program + "aa.ini");
    reread.readAll();
    QCOMPARE(reread.defaultBookName, QString("Anna"));
}

void TestLifecycle::templateOpens()
{
    Fixture f;
    for (const char *name : {"qvdef.qvp", "qvdefbig5.qvp"}) {
        QVERIFY2(f.lifecycle->openPackage(f.dirs.program + name), name);
        QCOMPARE(f.data.personList.recordCount(), 0);
        QCOMPARE(f.data.organisationList.text("CoID"), QString("0"));
        const auto nodes = f.models.tree().forest().preOrder();
        QCOMPARE(nodes.front()->number, 1000);
        QVERIFY(std::any_of(nodes.begin(), nodes.end(), [](const CategoryNode *n) { return n->number == 101; }));
        QVERIFY(f.models.editModel().compoundSurnames().contains("\u6b27\u9633"));
    }
}

void TestLifecycle::startUp()
{
    Fixture f;
    writePackage(f.book("zeta"));
    writePackage(f.book("Alpha"));
    f.lifecycle->listDataDirectory();
    QCOMPARE(f.options->addressBooks, (QStringList{"Alpha", "zeta"}));
    f.options->addAddressBook("Beta"); // later books come at the end
    QCOMPARE(f.options->addressBooks.last(), QString("Beta"));
    f.options->defaultBookName = "Gone";
    f.prompter.expectMessage("Loading addressbook of Gone fail, You may select another addressbook from the 'File' menu.",
                             Icon::Warning, Button::Ok, Button::Ok);
    f.lifecycle->openDefaultBook();
    QCOMPARE(f.shell.calls.last(), QString("no book"));
    QCOMPARE(f.data.organisationList.text("CoID"), QString("0")); // the template is shown
}

void TestLifecycle::unlistableDataDirectory_data()
{
    QTest::addColumn<QString>("dataDirectory"); // "missing", "file", "empty" or "unreadable"
    QTest::addColumn<bool>("listed");
    QTest::newRow("missing: start-up goes on") << "missing" << true;
    QTest::newRow("a file, not a folder: the window closes") << "file" << false;
    QTest::newRow("empty: start-up goes on") << "empty" << true;
    QTest::newRow("no permissions: the window closes") << "unreadable" << false;
}

void TestLifecycle::unlistableDataDirectory()
{
    QFETCH(QString, dataDirectory);
    QFETCH(bool, listed);
    if (dataDirectory == "unreadable" && geteuid() == 0)
        QSKIP("root reads every folder");
    Fixture f;
    QVERIFY(QDir(f.dirs.data).removeRecursively());
    if (dataDirectory == "file") {
        QFile file(f.dirs.data.chopped(1));
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else if (dataDirectory != "missing") {
        QVERIFY(QDir().mkpath(f.dirs.data));
    }
    if (dataDirectory == "unreadable") {
        writePackage(f.book("Hidden"));
        QVERIFY(QFile::setPermissions(f.dirs.data, QFile::Permissions()));
    }
    const auto restore = qScopeGuard([&] { QFile::setPermissions(f.dirs.data, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); });
    f.prompter.expectMessage("There may not be any addressbook in the default location.", Icon::Plain, Button::Ok, Button::Ok);
    QCOMPARE(f.lifecycle->listDataDirectory(), listed);
    QCOMPARE(f.shell.calls.contains("close window"), !listed);
    QVERIFY(f.options->addressBooks.isEmpty());
}

void TestLifecycle::startupPackage()
{
    Fixture f;
    f.addBook("Default");
    const QString outside = f.root.path() + "/elsewhere.qvp";
    writePackage(outside, {});
    QDir::setCurrent(f.root.path());
    QVERIFY(f.lifecycle->openStartupPackage("elsewhere.qvp")); // relative to where the program started
    QCOMPARE(f.lifecycle->location(), BookLocation::Elsewhere);
    QCOMPARE(f.lifecycle->outsidePath(), outside);
    QVERIFY(f.shell.calls.endsWith("title"));
    QVERIFY(f.prompter.calls().isEmpty());
}

void TestLifecycle::startupPackageNotRead_data()
{
    QTest::addColumn<QString>("kind"); // of the path named
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << "missing" << "not found";
    QTest::newRow("a folder") << "folder" << "a folder, not a file";
    QTest::newRow("unreadable") << "unreadable" << "permission denied";
}

// A package named on the command line that cannot be read: the warning says why.
void TestLifecycle::startupPackageNotRead()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    if (kind == "unreadable" && geteuid() == 0)
        QSKIP("root reads every file");
    Fixture f;
    const QString path = f.root.path() + "/named.qvp";
    if (kind == "folder")
        QVERIFY(QDir().mkpath(path));
    if (kind == "unreadable") {
        writePackage(path);
        QVERIFY(QFile::setPermissions(path, QFile::WriteOwner));
    }
    f.prompter.expectMessage("Loading addressbook of " + path + " fail (" + reason
                                 + "), You may select another addressbook from the 'File' menu.",
                             Icon::Warning, Button::Ok, Button::Ok);
    QVERIFY(!f.lifecycle->openStartupPackage(path));
    QVERIFY(f.prompter.verifyAllAnswered());
}

void TestLifecycle::openAtStart_data()
{
    QTest::addColumn<QString>("named"); // "book", "missing" or nothing
    QTest::addColumn<QStringList>("messages"); // %1: the path named
    QTest::addColumn<bool>("noBook");
    const QString noBooks = "There may not be any addressbook in the default location.";
    const QString failed = "Loading addressbook of %1 fail, You may select another addressbook from the 'File' menu.";
    QTest::newRow("a book named: the empty data directory is not mentioned") << "book" << QStringList() << false;
    QTest::newRow("a book named that is missing: the default location is tried")
        << "missing"
        << QStringList{"Loading addressbook of %1 fail (not found), You may select another addressbook from the 'File' menu.",
                       noBooks, failed.arg("Default")}
        << true;
    QTest::newRow("no book named") << "" << QStringList{noBooks, failed.arg("Default")} << true;
}

// Start-up with an empty data directory.
void TestLifecycle::openAtStart()
{
    QFETCH(QString, named);
    QFETCH(QStringList, messages);
    QFETCH(bool, noBook);
    Fixture f;
    f.options->defaultBookName = "Default";
    const QString path = named.isEmpty() ? QString() : f.root.path() + "/" + named + ".qvp";
    if (named == "book")
        writePackage(path, withPersons(7));
    for (const QString &m : messages)
        f.prompter.expectMessage(m.contains("%1") ? m.arg(path) : m, m.startsWith("There") ? Icon::Plain : Icon::Warning,
                                 Button::Ok, Button::Ok);
    QVERIFY(f.lifecycle->openAtStart(path));
    QVERIFY(f.prompter.verifyAllAnswered());
    QCOMPARE(f.shell.calls.contains("no book"), noBook);
    QCOMPARE(f.data.personList.recordCount(), noBook ? 0 : 7);
    QCOMPARE(f.lifecycle->location(), noBook ? BookLocation::DataDirectory : BookLocation::Elsewhere);
}

int fileMode(const QString &path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

void TestLifecycle::packagesAreOwnerOnly_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("before"); // the mode of the package written over; -1: there is none
    QTest::addColumn<int>("after");
    QTest::newRow("save over a package all can read") << "save" << 0644 << 0600;
    // Stricter than 0600 yet writable by its owner: a read-only package is refused
    // by the save for everyone but root.
    QTest::newRow("save as over a package only its owner can write") << "save as" << 0200 << 0200;
    QTest::newRow("save as a new file") << "save as" << -1 << 0600;
    QTest::newRow("save as over a package the group can read") << "save as" << 0640 << 0600;
    QTest::newRow("new book") << "new" << -1 << 0600;
    QTest::newRow("legacy upgrade") << "upgrade" << -1 << 0600;
}

// An address book is personal data: whatever writes a package leaves it to
// its owner alone, and a stricter mode of the package replaced stays.
void TestLifecycle::packagesAreOwnerOnly()
{
    QFETCH(QString, command);
    QFETCH(int, before);
    QFETCH(int, after);
    const mode_t umaskBefore = ::umask(022); // the usual one, under which new files are readable by all
    const auto restore = qScopeGuard([&] { ::umask(umaskBefore); });
    Fixture f;
    f.addBook("Family");
    const QString target = command == "save" ? f.book("Family") : command == "save as" ? f.root.filePath("Copy.qvp")
        : command == "new" ? f.book("Club") : f.book("Anna");
    if (before >= 0) {
        if (!QFile::exists(target))
            writePackage(target);
        QCOMPARE(::chmod(QFile::encodeName(target).constData(), mode_t(before)), 0);
    }
    if (command == "save" || command == "save as") {
        QVERIFY(f.openByNameOk("Family"));
        f.change();
        if (command == "save") {
            f.lifecycle->save();
        } else {
            f.prompter.expectSaveFile(target);
            f.lifecycle->saveAs();
        }
    } else if (command == "new") {
        f.prompter.expectInput("New", "Addressbook name", QString("Club"));
        f.lifecycle->newBook();
    } else {
        QFile ini(f.dirs.program + "aa.ini");
        QVERIFY(ini.open(QIODevice::Append));
        ini.write("\n[User]\nUserName0=Anna\n");
        ini.close();
        QVERIFY(QDir(f.dirs.program).mkdir("Anna"));
        QFile member(f.dirs.program + "Anna/Names.dbf");
        QVERIFY(member.open(QIODevice::WriteOnly));
        member.write("rows");
        member.close();
        f.lifecycle->upgradeLegacyUserDirectories();
    }
    QVERIFY(f.prompter.verifyAllAnswered());
    QCOMPARE(QString::number(fileMode(target), 8), QString::number(after, 8));
}

void TestLifecycle::passwordChangeIsAChange_data()
{
    using archive::PackageCipher;
    QTest::addColumn<QString>("opened"); // the password of the package opened
    QTest::addColumn<QString>("changed"); // the password set after opening
    QTest::addColumn<bool>("modified");
    QTest::newRow("set") << "" << "pw" << true;
    QTest::newRow("changed") << "old" << "new" << true;
    QTest::newRow("removed") << "old" << "" << true;
    QTest::newRow("set to the one it has") << "old" << "old" << false;
}

// Setting, changing or removing the password changes the book: Close asks,
// and the package saved then has the new password.
void TestLifecycle::passwordChangeIsAChange()
{
    QFETCH(QString, opened);
    QFETCH(QString, changed);
    QFETCH(bool, modified);
    Fixture f;
    f.addBook("Family", withPassword(opened));
    if (!opened.isEmpty())
        f.prompter.expectPassword("Enter Password for addressbook Family", opened);
    QVERIFY(f.openByNameOk("Family"));
    QVERIFY(!f.lifecycle->passwordPending());
    f.options->packagePassword = changed;
    QCOMPARE(f.lifecycle->isModified(), modified);
    QCOMPARE(f.lifecycle->passwordPending(), modified);
    if (modified)
        f.prompter.expectMessage("Are you going to save  before close?", Icon::Warning,
                                 Button::Yes | Button::No | Button::Cancel, Button::Yes);
    QVERIFY(f.lifecycle->close());
    QVERIFY(f.prompter.verifyAllAnswered());
    QVERIFY(!f.lifecycle->isModified());
    QVERIFY(!f.lifecycle->passwordPending());
    const std::optional<archive::PackageCipher> cipher
        = changed.isEmpty() ? std::nullopt : std::optional(archive::PackageCipher::Aes256);
    QVERIFY(ciphersOnDisk(f.book("Family")) == QList<std::optional<archive::PackageCipher>>(5, cipher));
    Fixture g;
    if (!changed.isEmpty())
        g.prompter.expectPassword("Enter Password for addressbook Family", changed);
    QVERIFY(g.lifecycle->openPackage(f.book("Family")));
    QVERIFY(g.prompter.verifyAllAnswered());
}

// With no book open (the template on screen) there is no book a password could change.
void TestLifecycle::passwordWithoutABookIsNoChange()
{
    Fixture f;
    f.options->defaultBookName = "Gone";
    f.prompter.expectMessage("Loading addressbook of Gone fail, You may select another addressbook from the 'File' menu.",
                             Icon::Warning, Button::Ok, Button::Ok);
    f.lifecycle->openDefaultBook();
    f.options->packagePassword = "pw";
    QVERIFY(!f.lifecycle->isModified());
    QVERIFY(f.lifecycle->close()); // asks nothing
    QVERIFY(f.prompter.verifyAllAnswered());
    QVERIFY(!QFile::exists(f.book("Gone")));
}

QTEST_APPLESS_MAIN(TestLifecycle)
#include "tst_lifecycle.moc"
