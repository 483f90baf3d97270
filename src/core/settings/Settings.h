#pragma once

#include "data/archive/PackageCipher.h"
#include "settings/IniDocument.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <array>

namespace qv {

// Name, colour and size of one of the four font areas.
struct AreaFont {
    QString name = QStringLiteral("MS Sans Serif");
    int color = 0; // 0x00BBGGRR
    int size = 10;
    bool operator==(const AreaFont &) const = default;
};

// Rows and columns of the CSV import's column assignment; 0 means no column.
using ImportFieldMapping = std::array<std::array<int, 5>, 81>;

// The program's settings: read once from "aa.ini" at start, held in memory
// for everybody, written back whole at close and when a book is created.
class Settings {
public:
    // The locale's legacy code page reads a file that an earlier
    // installation wrote neither in UTF-8 nor with a byte-order mark.
    explicit Settings(const QString &settingsPath, const QLocale &system = QLocale::system());

    // Missing file or keys read as defaults.
    void readAll();
    // Throws qv::Error "Unable to write to <path>" when the file cannot be written;
    // the file is then left as it was.
    void writeAll() const;
    void writeDefaultBook() const;
    // The section "User" of an earlier layout of the program's data: the
    // values of UserName0 to UserName100 in the file, "----" where missing.
    bool hasLegacyUserSection() const;
    QStringList legacyUserNames() const;
    void eraseLegacyUserSection() const;
    // Sets every written key in the document, as writeAll does in the file.
    void writeTo(IniDocument &doc) const;

    // The key of the first catalogue line whose label equals the label,
    // ignoring case; empty when there is none.
    QString fieldNameForLabel(const QString &label) const;
    // Refills catalogueFieldNames with the catalogue's keys, in order.
    void fillCatalogueFieldNames();

    // MiscOption/Encryption: how books with a password are encrypted when saved,
    // "AES256" (the default, also for any value not known) or "Traditional".
    archive::PackageCipher encryption() const { return m_encryption; }
    void setEncryption(archive::PackageCipher cipher) { m_encryption = cipher; }

    // Adds a package name to the address book list: in case-insensitive order
    // while the list is sorted, at the end afterwards; equal names are dropped.
    void addAddressBook(const QString &name);

    const QString &settingsPath() const { return m_path; }
    const QString &settingsDirectory() const { return m_directory; }

    // DefaultAddressBook
    QString defaultBookName = QStringLiteral("default");

    // Lists
    QList<IniLine> fieldsList;
    QList<IniLine> checkedFieldsList;
    QList<IniLine> searchableFieldsList;
    QStringList catalogueFieldNames;

    // Fonts
    AreaFont surnameGridFont;
    AreaFont treeFont;
    AreaFont recListFont;
    AreaFont recViewFont;

    // MiscOption
    bool confirmDeletion = true;
    bool checkOrgSameName = true;
    bool quickSearchOpen = true;
    bool toSaveSize = true;
    QString dataDir;
    int leftPanelWidth = 138;
    int middlePanelWidth = 128;
    int rightPanelWidth = 360;
    int formWidth = 638;
    int formHeight = 480;
    int gridHeight = 144;
    bool windowMax = false;
    // Whether the CSV export starts its files with a UTF-8 byte-order mark.
    bool csvByteOrderMark = false;
    // The vCard version the export wrote last: "2.1", "3.0" or "4.0".
    QString vCardVersion = QStringLiteral("2.1");
    // The owner's name as the user set it; empty: the account's name (see OwnerName.h).
    QString ownerName;
    // Whether the sizes above came from the file; when not, they are the
    // designed defaults, which the window adapts to its fonts.
    bool sizesStored = false;

    // Never written
    QStringList addressBooks;
    bool addressBooksSorted = true;
    QString packagePassword;
    ImportFieldMapping importFieldMapping{};

private:
    IniDocument readDocument() const;
    void saveDocument(const IniDocument &doc) const;
    void readSizes(const IniDocument &doc);
    void writeSizes(IniDocument &doc) const;

    QString m_path;
    QString m_directory;
    QLocale m_system;
    archive::PackageCipher m_encryption = archive::PackageCipher::Aes256;
};

} // namespace qv
