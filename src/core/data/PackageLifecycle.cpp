#include "data/PackageLifecycle.h"

#include "common/Error.h"
#include "common/MemberLines.h"
#include "common/Prompter.h"
#include "data/BookModels.h"
#include "data/BookSettings.h"
#include "data/DatabaseError.h"
#include "data/LifecycleShell.h"
#include "data/RecordStore.h"
#include "data/RecordTable.h"
#include "data/TableFile.h"
#include "data/archive/PackageWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>

#include <exception>
#include <future>
#include <thread>

namespace qv {

namespace {

const QStringList kMemberNames = {QStringLiteral("names.dbf"), QStringLiteral("agents.dbf"), QStringLiteral("tree.dff"),
                                  QStringLiteral("treeno.dff"), QStringLiteral("surname.dff")};
const QString kWhileLoading = QStringLiteral(" while loading addressbook.");
const QString kOrganisationMember = QStringLiteral("agents.dbf"); // kept in memory under its name in lower case
const QString kPackageFilter = QStringLiteral("QV Package (*.qvp)|*.qvp");

class BusyCursor {
public:
    explicit BusyCursor(LifecycleShell &shell) : m_shell(shell) { m_shell.setBusy(true); }
    ~BusyCursor() { m_shell.setBusy(false); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;

private:
    LifecycleShell &m_shell;
};

QByteArray readMember(const QString &dir, const QString &name)
{
    const QString path = archive::findMemberFile(dir, name);
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        throw DatabaseError(QStringLiteral("Cannot open file \"%1\"").arg(QDir(dir).filePath(name)));
    return file.readAll();
}

// The bytes of a table member the unpack kept in memory, taken out of it so
// that they go as soon as their table is built.
PageBuffer takeKeptTable(archive::KeepingTarget &unpacked, const QString &name)
{
    const auto kept = unpacked.kept.find(name);
    if (kept == unpacked.kept.end())
        throw DatabaseError(QStringLiteral("Cannot open file \"%1\"").arg(QDir(unpacked.directory()).filePath(name)));
    PageBuffer bytes = std::move(kept->second);
    unpacked.kept.erase(kept);
    return bytes;
}

} // namespace

// A table member parsed on a thread of its own, so that both tables of a
// book load at once. The thread owns the member's bytes, which it lets go
// once the table is built, and builds the order its views will ask for
// (named by orderNames) when the table has those fields; the caller takes
// the table once the thread is done. No store is involved.
class PackageLifecycle::TableLoad {
public:
    TableLoad(archive::KeepingTarget &unpacked, const QString &name, const QStringList &orderNames)
    {
        try {
            m_bytes = takeKeptTable(unpacked, name);
            m_form = tableFormOf(m_bytes.view());
        } catch (...) {
            m_error = std::current_exception();
            return;
        }
        m_thread = std::jthread([this, orderNames] {
            try {
                // The order is built as soon as its fields are decoded, while
                // the other columns still are; a data packet gets it after.
                const auto prepare = [orderNames](RecordTable &table) { prepareOrder(table, orderNames); };
                m_table = readTableBytesReleasing(std::move(m_bytes), {orderNames, prepare});
                prepare(*m_table);
            } catch (...) {
                m_error = std::current_exception();
            }
        });
    }

    // The table, or the exception that reading it threw.
    std::unique_ptr<RecordTable> take()
    {
        if (m_thread.joinable())
            m_thread.join();
        if (m_error)
            std::rethrow_exception(m_error);
        return std::move(m_table);
    }
    TableForm form() const { return m_form; }

private:
    // An order that is there already is not built again.
    static void prepareOrder(RecordTable &table, const QStringList &orderNames)
    {
        QList<int> fields;
        for (const QString &field : orderNames) {
            fields << table.fieldIndex(field);
            if (fields.back() < 0)
                return; // the table is converted or refused later
        }
        table.order(fields);
    }

    PageBuffer m_bytes;
    TableForm m_form = TableForm::Quorvel;
    std::unique_ptr<RecordTable> m_table;
    std::exception_ptr m_error;
    std::jthread m_thread; // last: started once the results above exist, joined before they go
};

namespace {

void writeMember(const QString &dir, const QString &name, const QByteArray &bytes)
{
    QFile file(QDir(dir).filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
        throw Error(QStringLiteral("Cannot write file \"%1\"").arg(file.fileName()));
}

// An old table holds the first fields of the current schema; its rows are
// copied by position and the missing fields filled as a new entry has them.
std::shared_ptr<RecordTable> convert(const RecordTable &old, const QList<FieldDef> &schema, LifecycleShell *progress)
{
    auto table = std::make_shared<RecordTable>(schema);
    const int persons = fieldIndex(schema, QStringLiteral("Yellow"));
    if (progress)
        progress->showProgress(QStringLiteral("Converting from old format into new one"), old.liveRowCount());
    int index = 0;
    for (int row = 0; row < old.rowSlots(); ++row) {
        if (!old.isAlive(row))
            continue;
        if (progress)
            progress->setProgress(index);
        ++index;
        std::vector<Value> values(size_t(schema.size()));
        for (int f = 0; f < std::min(old.fieldCount(), int(schema.size())); ++f)
            values[size_t(f)] = old.value(row, f);
        if (persons >= 0) {
            values[size_t(persons)] = false;
            values[size_t(fieldIndex(schema, QStringLiteral("NID")))] = qint32(0);
        }
        table->insertRow(values);
    }
    return table;
}

// Whether the table has every field the order of its views needs.
void requireFields(const RecordTable &table, const QStringList &fields)
{
    for (const QString &f : fields) {
        if (table.fieldIndex(f) < 0)
            throw DatabaseError(QStringLiteral("Field '%1' not found").arg(f));
    }
}

const QString kNoBookInDataDirectory = QStringLiteral("There may not be any addressbook in the default location.");

// The reason, when there is one, goes after "fail" in parentheses.
QString openFailedWarning(const QString &name, const QString &reason = QString())
{
    return QStringLiteral("Loading addressbook of ") + name + QStringLiteral(" fail")
        + (reason.isEmpty() ? QString() : QStringLiteral(" (") + reason + QLatin1Char(')'))
        + QStringLiteral(", You may select another addressbook from the 'File' menu.");
}

// Why the file cannot be read, in the system's words where it has them ("permission denied"); empty when it can.
QString unreadableReason(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("not found");
    if (info.isDir())
        return QStringLiteral("a folder, not a file");
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        return QString();
    QString reason = file.errorString();
    if (!reason.isEmpty())
        reason[0] = reason[0].toLower(); // it stands inside the sentence
    return reason;
}

bool isValidBookName(const QString &name)
{
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (QChar c : name) {
        if (c.unicode() < 0x20 || forbidden.contains(c))
            return false;
    }
    return true;
}

} // namespace

PackageLifecycle::PackageLifecycle(RecordStore &data, BookModels &models, BookSettings &settings, Prompter &prompter,
                                   LifecycleShell &shell, Directories dirs)
    : m_data(data)
    , m_models(models)
    , m_settings(settings)
    , m_prompter(prompter)
    , m_shell(shell)
    , m_dirs(std::move(dirs))
{
}

void PackageLifecycle::showError(const QString &text)
{
    m_prompter.message(text, Prompter::Icon::Warning, Prompter::Button::Ok);
}

void PackageLifecycle::cleanWorkingDirectory()
{
    QDir dir(m_dirs.working);
    for (const QString &file : dir.entryList(QDir::Files | QDir::Hidden)) {
        if (kMemberNames.contains(file.toLower()))
            dir.remove(file);
    }
}

void PackageLifecycle::recordCounters()
{
    m_personCounter = m_data.personList.changeCount();
    m_organisationCounter = m_data.organisationList.changeCount();
}

bool PackageLifecycle::isModified()
{
    return m_data.personList.changeCount() > m_personCounter || m_data.organisationList.changeCount() > m_organisationCounter
        || m_structureChanged || passwordPending();
}

bool PackageLifecycle::passwordPending()
{
    return m_bookOpen && m_settings.packagePassword() != m_savedPassword;
}

void PackageLifecycle::enterNoBookState()
{
    m_bookOpen = false;
    m_shell.enterNoBookState();
}

bool PackageLifecycle::unpackInto(const QString &path, QString &password, std::optional<archive::PackageCipher> &cipher,
                                  archive::KeepingTarget &target)
{
    const QString bookName = QFileInfo(path).fileName().chopped(std::min<qsizetype>(4, QFileInfo(path).fileName().size()));
    bool lastPassed = false;
    // The user's tries are for the book, not for each member: once no
    // password was found for one member, the others are not asked about.
    bool passwordRefused = false;
    archive::UnpackSinks sinks;
    sinks.password = [&](const QString &) -> archive::PasswordAnswer {
        if (passwordRefused)
            return {QString(), false};
        const auto typed = m_prompter.password(QStringLiteral("Enter Password for addressbook ") + bookName);
        if (!typed)
            return {QString(), false};
        password = *typed;
        return {*typed, true};
    };
    sinks.error = [&](archive::ArchiveCode code, const QString &text) {
        if (code == archive::ArchiveCode::PasswordFailed) {
            if (passwordRefused)
                return; // said once for the book
            passwordRefused = true;
        }
        m_prompter.message(archive::archiveMessage(code, text),
                           archive::isArchiveError(code) ? Prompter::Icon::Warning : Prompter::Icon::Information,
                           Prompter::Button::Ok);
    };
    sinks.memberEnd = [&](const QString &, bool passed) { lastPassed = passed; };
    sinks.cipher = [&](const QString &, archive::PackageCipher used) { cipher = std::min(cipher.value_or(used), used); };
    const int written = archive::unpackFile(path, target, m_knownPasswords, sinks);
    if (written < 4 || !lastPassed) {
        showError(passwordRefused ? QStringLiteral("Loading addressbook fail because the password was not accepted.")
                                  : QStringLiteral("Loading addressbook fail due to invalid package format."));
        return false;
    }
    return true;
}

bool PackageLifecycle::readContent(BookContent &content, archive::KeepingTarget &unpacked,
                                   std::optional<TableLoad> &organisationLoad)
{
    const QStringList personOrder = {QStringLiteral("Yellow"), QStringLiteral("SurName"), QStringLiteral("GivenName")};
    TableLoad personLoad(unpacked, QStringLiteral("names.dbf"), m_data.personRead.orderFieldNames());
    if (!organisationLoad)
        organisationLoad.emplace(unpacked, kOrganisationMember, m_data.organisationRead.orderFieldNames());
    content.personForm = personLoad.form();
    content.organisationForm = organisationLoad->form();
    try {
        auto persons = personLoad.take();
        if (persons->fieldCount() < personFields().size()) {
            requireFields(*persons, {QStringLiteral("SurName")});
            content.persons = convert(*persons, personFields(), &m_shell);
            content.converted = true;
        } else {
            requireFields(*persons, personOrder);
            content.persons = std::move(persons);
        }
    } catch (const DatabaseError &e) {
        if (content.converted)
            m_shell.closeProgress();
        showError(DatabaseError::kindName() + QStringLiteral("  ") + e.text() + kWhileLoading + QStringLiteral(" names.dbf"));
        return false;
    }
    try {
        auto organisations = organisationLoad->take();
        requireFields(*organisations, {QStringLiteral("Company")});
        if (organisations->fieldCount() < organisationFields().size()) {
            content.organisations = convert(*organisations, organisationFields(), nullptr);
            content.converted = true;
        } else {
            content.organisations = std::move(organisations);
        }
    } catch (const DatabaseError &e) {
        if (content.converted)
            m_shell.closeProgress();
        showError(e.text() + kWhileLoading + QStringLiteral(" agent.dbf"));
        return false;
    }
    if (content.converted)
        m_shell.closeProgress();
    try {
        content.compoundSurnames = memberLines(readMember(m_dirs.working, QStringLiteral("Surname.dff")));
        content.tree = CategoryForest::read(readMember(m_dirs.working, QStringLiteral("Tree.dff")),
                                            readMember(m_dirs.working, QStringLiteral("Treeno.dff")));
    } catch (const Error &e) {
        showError(e.text() + kWhileLoading);
        return false;
    }
    return true;
}

void PackageLifecycle::install(BookContent &content)
{
    m_data.personRead.loadTable(content.persons);
    m_data.organisationRead.loadTable(content.organisations);
    m_data.bindViews();
    m_models.receiveBook(m_data, content);
}

bool PackageLifecycle::openPackage(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return false;
    QString password;
    std::optional<archive::PackageCipher> cipher;
    // The tables are read from memory: writing them out only to read them back
    // would cost an open about a fifth of its time. The other members, wanted
    // or not, are files as before, so that an extra one goes into the next save.
    archive::KeepingTarget unpacked(m_dirs.working, {QStringLiteral("names.dbf"), kOrganisationMember});
    // The organisation table, which comes first in a package, is read while
    // the person table is still being unpacked. A later member of its name
    // takes its place, and one given up leaves none, as with its file; one
    // refused before it is read leaves the earlier one.
    std::optional<TableLoad> organisationLoad;
    unpacked.keptEnd = [&](const QString &name, bool whole) {
        if (name != kOrganisationMember)
            return;
        if (whole)
            organisationLoad.emplace(unpacked, kOrganisationMember, m_data.organisationRead.orderFieldNames());
        else
            organisationLoad.reset();
    };
    try {
        cleanWorkingDirectory();
        if (!QDir().mkpath(m_dirs.working))
            throw Error(QStringLiteral("Unable to create directory %1").arg(m_dirs.working));
        m_knownPasswords.clear();
        if (!unpackInto(path, password, cipher, unpacked))
            return false;
    } catch (const Error &e) {
        showError(e.text() + kWhileLoading);
        return false;
    }

    BookContent content;
    {
        BusyCursor busy(m_shell);
        const bool read = readContent(content, unpacked, organisationLoad);
        unpacked.kept.clear(); // the tables are built: their bytes need not outlive the reading
        cleanWorkingDirectory();
        if (!read)
            return false;
        install(content);
        m_lastOpenConverted = content.converted;
        m_lastOpenForms = {content.personForm, content.organisationForm};
        m_settings.packagePassword() = password;
        m_savedPassword = password;
        m_bookOpen = true;
        m_packageCipher = cipher;
        m_shell.bookOpened();
        recordCounters();
    }
    m_shell.focusCategoryTree();
    m_structureChanged = false;
    m_shell.repaintLock();
    return true;
}

bool PackageLifecycle::saveFirstIfModified(const QString &question, bool warning)
{
    if (!isModified())
        return true;
    const auto answer = m_prompter.message(question, warning ? Prompter::Icon::Warning : Prompter::Icon::Confirmation,
                                           Prompter::Button::Yes | Prompter::Button::No | Prompter::Button::Cancel);
    if (answer == Prompter::Button::Cancel)
        return false;
    if (answer == Prompter::Button::Yes) {
        try {
            save();
        } catch (const Error &e) {
            // The changes are still only in memory: stop rather than lose them.
            showError(e.text());
            return false;
        }
    }
    return true;
}

void PackageLifecycle::openByName(int position)
{
    if (position < 0 || position >= m_settings.addressBooks().size())
        return;
    if (!saveFirstIfModified(QStringLiteral("Are you going to save  before loading another?"), false))
        return;
    const QString name = m_settings.addressBooks()[position];
    if (openPackage(m_dirs.data + name + QStringLiteral(".qvp"))) {
        m_location = BookLocation::DataDirectory;
        m_settings.defaultBookName() = name;
        m_shell.refreshTitle();
        return;
    }
    const auto answer =
        m_prompter.message(openFailedWarning(name), Prompter::Icon::Warning, Prompter::Button::Ok | Prompter::Button::Abort);
    if (answer == Prompter::Button::Abort)
        m_shell.closeMainWindow();
    else
        enterNoBookState();
}

bool PackageLifecycle::openAtStart(const QString &namedPackage)
{
    const bool named = !namedPackage.isEmpty();
    if (!listDataDirectory(!named))
        return false;
    if (named) {
        if (openStartupPackage(namedPackage))
            return true;
        // Start-up turns to the data directory after all.
        if (m_settings.addressBooks().isEmpty())
            m_prompter.message(kNoBookInDataDirectory, Prompter::Icon::Plain, Prompter::Button::Ok);
    }
    openDefaultBook();
    return true;
}

bool PackageLifecycle::listDataDirectory(bool mentionEmpty)
{
    // entryList() cannot tell an empty directory from one it could not read.
    // A folder that does not exist yet holds no book, like an empty one.
    const QFileInfo directory(QDir::cleanPath(m_dirs.data)); // "file/" would not exist
    if (directory.exists() && (!directory.isDir() || !directory.isReadable() || !directory.isExecutable())) {
        m_prompter.message(kNoBookInDataDirectory, Prompter::Icon::Plain, Prompter::Button::Ok);
        m_shell.closeMainWindow();
        return false;
    }
    QStringList names;
    for (const QString &file : QDir(m_dirs.data).entryList({QStringLiteral("*.qvp")}, QDir::Files))
        names << file.chopped(4);
    m_settings.listAddressBooks(names);
    if (names.isEmpty() && mentionEmpty)
        m_prompter.message(kNoBookInDataDirectory, Prompter::Icon::Plain, Prompter::Button::Ok);
    m_shell.bookListChanged();
    return true;
}

void PackageLifecycle::openDefaultBook()
{
    const QString name = m_settings.defaultBookName();
    if (!m_settings.addressBooks().isEmpty() && openPackage(m_dirs.data + name + QStringLiteral(".qvp")))
        return;
    m_prompter.message(openFailedWarning(name), Prompter::Icon::Warning, Prompter::Button::Ok);
    openPackage(templatePackage());
    m_settings.packagePassword().clear();
    enterNoBookState();
}

bool PackageLifecycle::openStartupPackage(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (const QString reason = unreadableReason(absolute); !reason.isEmpty()) {
        m_prompter.message(openFailedWarning(absolute, reason), Prompter::Icon::Warning, Prompter::Button::Ok);
        return false;
    }
    if (!openPackage(absolute)) {
        m_prompter.message(openFailedWarning(absolute), Prompter::Icon::Warning, Prompter::Button::Ok);
        return false;
    }
    m_location = BookLocation::Elsewhere;
    m_outsidePath = absolute;
    m_shell.refreshTitle();
    return true;
}

void PackageLifecycle::loadFrom()
{
    if (!saveFirstIfModified(QStringLiteral("Are you going to save  before loading another?"), false))
        return;
    Prompter::OpenRequest request;
    request.caption = QStringLiteral("Load from");
    request.filter = kPackageFilter;
    request.startDirectory = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const auto path = m_prompter.openFile(request);
    if (!path || !openPackage(*path))
        return;
    m_location = BookLocation::Elsewhere;
    m_outsidePath = *path;
    m_shell.refreshTitle();
}

QString PackageLifecycle::templatePackage() const
{
    const QLocale system = QLocale::system();
    const bool mainlandChinese = system.language() == QLocale::Chinese && system.territory() == QLocale::China;
    return m_dirs.program + (mainlandChinese ? QStringLiteral("qvdef.qvp") : QStringLiteral("qvdefbig5.qvp"));
}

void PackageLifecycle::newBook()
{
    if (!saveFirstIfModified(QStringLiteral("Are you going to save ?"), true))
        return;
    const auto typed = m_prompter.input(QStringLiteral("New"), QStringLiteral("Addressbook name"), QString());
    if (!typed)
        return;
    const QString name = typed->trimmed();
    if (name.isEmpty())
        return;
    const QString package = m_dirs.data + name + QStringLiteral(".qvp");
    // Never replace a package: a name in use or on disk is refused.
    const QStringList &books = m_settings.addressBooks();
    const bool listed = std::any_of(books.cbegin(), books.cend(),
                                    [&](const QString &n) { return n.compare(name, Qt::CaseInsensitive) == 0; });
    if (!isValidBookName(name)) {
        m_prompter.message(QStringLiteral("\"%1\" cannot be the name of an addressbook: it may not contain / \\ : * ? \" < > |.").arg(name),
                           Prompter::Icon::Warning, Prompter::Button::Ok);
        return;
    }
    if (listed || QFileInfo::exists(package)) {
        m_prompter.message(QStringLiteral("An addressbook named \"%1\" already exists.").arg(name), Prompter::Icon::Warning,
                           Prompter::Button::Ok);
        return;
    }
    try {
        QDir().mkpath(m_dirs.data);
        QFile source(templatePackage());
        if (!source.open(QIODevice::ReadOnly))
            throw Error(QStringLiteral("Cannot copy \"%1\" to \"%2\"").arg(templatePackage(), package));
        archive::writePackageFile(package, source.readAll());
        m_settings.addressBooks() << name;
        m_shell.bookListChanged();
        // The book on screen, its name and its password change only with a
        // successful open: else the next save would write the old book,
        // unencrypted, into the new package.
        if (!openPackage(package))
            return;
        m_location = BookLocation::DataDirectory;
        m_settings.defaultBookName() = name;
        m_settings.writeAll();
        m_shell.refreshTitle();
    } catch (const Error &e) {
        showError(e.text() + QStringLiteral(" while creating a new addressbook."));
    }
}

void PackageLifecycle::packWorkingDirectory(const QString &path, const QMap<QString, QByteArray> &written)
{
    QString &password = m_settings.packagePassword();
    if (!saveWithPassword && !password.isEmpty()) {
        const auto answer = m_prompter.message(QStringLiteral("Really want to unlock the address book?"),
                                               Prompter::Icon::Confirmation, Prompter::Button::Yes | Prompter::Button::No);
        if (answer == Prompter::Button::Yes)
            password.clear();
    }
    archive::pack(path, m_dirs.working, password, written, m_settings.encryption());
    m_savedPassword = password;
    m_packageCipher = password.isEmpty() ? std::nullopt : std::optional(m_settings.encryption());
}

void PackageLifecycle::saveInto(const QString &path)
{
    BusyCursor busy(m_shell);
    QDir().mkpath(m_dirs.working);
    cleanWorkingDirectory();
    try {
        // The big person table is serialised on a thread of its own while the rest is.
        auto persons = std::async(std::launch::async, [this] { return m_data.personList.saveToBuffer(); });
        const ModelMembers members = m_models.members();
        const PageBuffer organisations = m_data.organisationList.saveToBuffer();
        // Kept by their lower-case names, so that packing need not read them back.
        QMap<QString, QByteArray> written;
        const auto write = [&](const QString &name, const QByteArray &bytes) {
            writeMember(m_dirs.working, name, bytes);
            written.insert(name.toLower(), bytes);
        };
        const auto raw = [](const PageBuffer &b) { return QByteArray::fromRawData(b.data(), qsizetype(b.size())); };
        const PageBuffer personBytes = persons.get(); // outlives the packing, which reads it
        write(QStringLiteral("Names.dbf"), raw(personBytes));
        write(QStringLiteral("Agents.dbf"), raw(organisations));
        write(QStringLiteral("tree.dff"), members.treeFile);
        write(QStringLiteral("treeno.dff"), members.numberFile);
        write(QStringLiteral("surname.dff"), memberText(members.compoundSurnames));
        // Written beside the old package and renamed over it: a failed save leaves the old one whole.
        packWorkingDirectory(path, written);
    } catch (...) {
        cleanWorkingDirectory();
        throw;
    }
    // Only a package in place makes the book unmodified: a failed save keeps
    // the changes counted, so Close still asks about them.
    m_data.personList.mergeChangeLog();
    m_data.organisationList.mergeChangeLog();
    m_shell.repaintLock();
    recordCounters();
    m_structureChanged = false;
    cleanWorkingDirectory();
    m_models.bookSaved();
    m_shell.bookOpened();
    m_shell.focusCategoryTree();
}

void PackageLifecycle::save()
{
    if (m_location == BookLocation::NetBook) {
        saveAs();
        return;
    }
    m_saving = true;
    try {
        saveInto(m_location == BookLocation::DataDirectory ? m_dirs.data + m_settings.defaultBookName() + QStringLiteral(".qvp")
                                                           : m_outsidePath);
    } catch (...) {
        m_saving = false;
        throw;
    }
    m_saving = false;
}

void PackageLifecycle::saveAs()
{
    Prompter::SaveRequest request;
    request.caption = QStringLiteral("Save As");
    request.filter = kPackageFilter;
    request.defaultExtension = QStringLiteral("qvp");
    request.startDirectory = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const auto path = m_prompter.saveFile(request);
    if (!path)
        return;
    saveInto(*path);
    const QString directory = QFileInfo(*path).absolutePath() + QLatin1Char('/');
    if (QDir::cleanPath(directory).compare(QDir::cleanPath(m_dirs.data), Qt::CaseInsensitive) != 0) {
        m_location = BookLocation::Elsewhere;
        m_outsidePath = *path;
        m_shell.refreshTitle();
    }
}

void PackageLifecycle::deleteBook(int position)
{
    QStringList &books = m_settings.addressBooks();
    if (position < 0 || position >= books.size())
        return;
    const QString name = books[position];
    if (name == m_settings.defaultBookName() && m_location == BookLocation::DataDirectory) {
        m_prompter.message(QStringLiteral("Can not delete an opening addressbook."), Prompter::Icon::Information,
                           Prompter::Button::Ok);
        return;
    }
    const auto answer = m_prompter.message(QStringLiteral("Are you sure to delete ") + name + QStringLiteral(" ?"),
                                           Prompter::Icon::Confirmation, Prompter::Button::Yes | Prompter::Button::No);
    if (answer != Prompter::Button::Yes)
        return;
    QFile::remove(m_dirs.data + name + QStringLiteral(".qvp"));
    books.removeAt(position);
    m_shell.bookListChanged();
}

bool PackageLifecycle::close()
{
    return saveFirstIfModified(QStringLiteral("Are you going to save  before close?"), true);
}

void PackageLifecycle::upgradeLegacyUserDirectories()
{
    const QStringList names = m_settings.legacyUserNames();
    QString firstBook;
    for (int n = 0; n < names.size(); ++n) {
        const QString name = names[n];
        const QString dir = m_dirs.program + name;
        if (name == QLatin1String("----") || name.isEmpty() || !QFileInfo(dir).isDir())
            continue;
        if (n == 0)
            firstBook = name;
        QDir().mkpath(m_dirs.data);
        archive::pack(m_dirs.data + name + QStringLiteral(".qvp"), dir, QString());
        QDir folder(dir);
        for (const QString &member : archive::packageMemberFiles(dir))
            folder.remove(member);
        QDir(m_dirs.program).rmdir(name);
    }
    m_settings.defaultBookName() = firstBook;
    m_settings.finishLegacyUpgrade();
}

QString PackageLifecycle::title(const QString &ownerName) const
{
    const QString book = m_location == BookLocation::DataDirectory ? m_settings.defaultBookName()
        : m_location == BookLocation::Elsewhere                    ? m_outsidePath
                                                                   : QStringLiteral("Net Address Book");
    return QStringLiteral("Quorvel  - ") + ownerName + QStringLiteral(" (") + book + QLatin1Char(')');
}

} // namespace qv
