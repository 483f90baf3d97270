#pragma once

#include "data/archive/PackageCipher.h"

#include <QString>
#include <QStringList>

namespace qv {

// The settings the lifecycle reads and changes. The settings store keeps
// them; the lifecycle knows only this.
class BookSettings {
public:
    virtual ~BookSettings() = default;
    // The address book list, in menu order.
    virtual QStringList &addressBooks() = 0;
    // The list becomes these names in case-insensitive order, each once;
    // names added later go at the end.
    virtual void listAddressBooks(const QStringList &names) = 0;
    virtual QString &defaultBookName() = 0;
    virtual QString &packagePassword() = 0;
    // How a book with a password is encrypted when it is saved.
    virtual archive::PackageCipher encryption() = 0;
    // Throws qv::Error when the settings file cannot be written.
    virtual void writeAll() = 0;
    // The user directories of an earlier layout, "----" where none is named.
    virtual QStringList legacyUserNames() = 0;
    // Forgets those directories and writes the default book's name.
    virtual void finishLegacyUpgrade() = 0;
};

} // namespace qv
