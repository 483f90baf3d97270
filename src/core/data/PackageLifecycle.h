#pragma once

#include "data/BookContent.h"
#include "data/archive/PackageReader.h"

#include <QByteArray>
#include <QMap>
#include <QString>

#include <utility>
#include <optional>

namespace qv {

class BookModels;
class BookSettings;
class LifecycleShell;
class Prompter;
class RecordStore;

enum class BookLocation { DataDirectory, Elsewhere, NetBook };

// Everything the user does with whole address books: open, load from, new,
// save, save as, delete, close, and the upgrade of legacy user directories.
// Messages go through the prompter with the program's exact texts.
class PackageLifecycle {
public:
    struct Directories {
        QString program; // each ends in "/"
        QString data;
        QString working;
    };

    // Each opened book goes to the store's tables and then to the models.
    PackageLifecycle(RecordStore &data, BookModels &models, BookSettings &settings, Prompter &prompter,
                     LifecycleShell &shell, Directories dirs);

    // Start-up: the address book list, then the package named on the command
    // line when there is one and it opens, else the default book, else the
    // template in the no-book state. An empty data directory is mentioned
    // only when start-up turns to it. False when the data directory cannot
    // be listed: the main window then closes.
    bool openAtStart(const QString &namedPackage);
    // Start-up: the packages of the data directory become the address book
    // list, sorted; books created later join it at the end. A missing
    // directory gives an empty list, which is mentioned unless told not to. A
    // path that is no directory, or one that cannot be read, closes the main
    // window; the result is then false.
    bool listDataDirectory(bool mentionEmpty = true);
    // Start-up: the default book, or else the template in the no-book state.
    void openDefaultBook();
    // Start-up with a package named on the command line: opened like one
    // loaded from elsewhere. When it cannot be opened the user is told, with
    // the reason when the file cannot be read, and the result is false.
    bool openStartupPackage(const QString &path);

    // Opens the package; on failure the book that was open stays as it was.
    bool openPackage(const QString &path);
    void openByName(int position);
    void loadFrom();
    void newBook();
    // Save and save as throw qv::Error when the package cannot be written;
    // the previous package is then untouched.
    void save();
    void saveAs();
    void deleteBook(int position);
    // Asks about unsaved changes; false when the window must stay open.
    bool close();
    void upgradeLegacyUserDirectories();

    // Modified: an entry or the category tree changed, or the password did.
    bool isModified();
    // Whether the password differs from the one of the package as last
    // opened or saved; it takes effect at the next save. Never while no book
    // is open: a password then belongs to no book.
    bool passwordPending();
    void markStructureChanged() { m_structureChanged = true; }

    // The template package a new book is copied from, by the system's language.
    QString templatePackage() const;
    QString title(const QString &ownerName) const;

    BookLocation location() const { return m_location; }
    const QString &outsidePath() const { return m_outsidePath; }
    const Directories &directories() const { return m_dirs; }
    bool saving() const { return m_saving; }
    bool lastOpenConverted() const { return m_lastOpenConverted; }
    // The forms the person and the organisation table were found in.
    std::pair<TableForm, TableForm> lastOpenTableForms() const { return m_lastOpenForms; }
    // The cipher of the package as last opened or saved, the weakest where its
    // members differ; nothing when it had no password.
    std::optional<archive::PackageCipher> packageCipher() const { return m_packageCipher; }
    bool saveWithPassword = true;

private:
    class TableLoad;
    bool unpackInto(const QString &path, QString &password, std::optional<archive::PackageCipher> &cipher,
                    archive::KeepingTarget &target);
    // The organisation table's load may have started during the unpack.
    bool readContent(BookContent &content, archive::KeepingTarget &unpacked, std::optional<TableLoad> &organisationLoad);
    void install(BookContent &content);
    void saveInto(const QString &path);
    // Packs the working directory; the member files just written there come from memory.
    void packWorkingDirectory(const QString &path, const QMap<QString, QByteArray> &written);
    void cleanWorkingDirectory();
    void recordCounters();
    void enterNoBookState();
    // Asks whether to save first; false when the user cancels or saving failed.
    bool saveFirstIfModified(const QString &question, bool warning);
    void showError(const QString &text);

    RecordStore &m_data;
    BookModels &m_models;
    BookSettings &m_settings;
    Prompter &m_prompter;
    LifecycleShell &m_shell;
    Directories m_dirs;

    archive::KnownPasswords m_knownPasswords;
    BookLocation m_location = BookLocation::DataDirectory;
    QString m_outsidePath;
    int m_personCounter = 0;
    int m_organisationCounter = 0;
    bool m_structureChanged = false;
    bool m_bookOpen = false;
    QString m_savedPassword; // of the package as last opened or saved
    bool m_saving = false;
    bool m_lastOpenConverted = false;
    std::pair<TableForm, TableForm> m_lastOpenForms{TableForm::Quorvel, TableForm::Quorvel};
    std::optional<archive::PackageCipher> m_packageCipher;
};

} // namespace qv
