#pragma once

#include "data/BookContent.h"
#include "data/archive/PackageReader.h"
#include "editing/EditModel.h"
#include "navigation/CategoryTreeModel.h"

#include <QString>

namespace qv {

class RecordListModel;
class LifecycleShell;
class Settings;
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

    PackageLifecycle(RecordStore &data, Settings &options, Prompter &prompter, LifecycleShell &shell, Directories dirs);

    // Start-up: the packages of the data directory become the address book
    // list, sorted; books created later join it at the end.
    void listDataDirectory();
    // Start-up: the default book, or else the template in the no-book state.
    void openDefaultBook();

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

    // The models that receive every book as it opens, in the order they need it.
    void setRecordList(RecordListModel *recordList) { m_recordList = recordList; }

    bool isModified();
    void markStructureChanged() { m_structureChanged = true; }

    // The template package a new book is copied from, by the system's language.
    QString templatePackage() const;
    QString title(const QString &ownerName) const;

    BookLocation location() const { return m_location; }
    const QString &outsidePath() const { return m_outsidePath; }
    const Directories &directories() const { return m_dirs; }
    CategoryTreeModel &tree() { return m_tree; }
    const CategoryTreeModel &tree() const { return m_tree; }
    const QStringList &compoundSurnames() const { return m_edit.compoundSurnames(); }
    EditModel &editModel() { return m_edit; }
    bool saving() const { return m_saving; }
    bool lastOpenConverted() const { return m_lastOpenConverted; }
    bool saveWithPassword = true;

private:
    bool unpackInto(const QString &path, QString &password);
    bool readContent(BookContent &content);
    void install(BookContent &content);
    void saveInto(const QString &path);
    void packWorkingDirectory(const QString &path);
    void cleanWorkingDirectory();
    void recordCounters();
    // Asks whether to save first; false when the user cancels or saving failed.
    bool saveFirstIfModified(const QString &question, bool warning);
    void showError(const QString &text);

    RecordStore &m_data;
    Settings &m_options;
    Prompter &m_prompter;
    LifecycleShell &m_shell;
    Directories m_dirs;

    archive::KnownPasswords m_knownPasswords;
    BookLocation m_location = BookLocation::DataDirectory;
    QString m_outsidePath;
    int m_personCounter = 0;
    int m_organisationCounter = 0;
    bool m_structureChanged = false;
    bool m_saving = false;
    bool m_lastOpenConverted = false;

    RecordListModel *m_recordList = nullptr;
    CategoryTreeModel m_tree;
    EditModel m_edit{m_tree};
};

} // namespace qv
