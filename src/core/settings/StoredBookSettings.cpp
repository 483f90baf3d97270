#include "settings/StoredBookSettings.h"

#include "settings/Settings.h"

namespace qv {

QStringList &StoredBookSettings::addressBooks()
{
    return m_settings.addressBooks;
}

void StoredBookSettings::listAddressBooks(const QStringList &names)
{
    m_settings.addressBooks.clear();
    m_settings.addressBooksSorted = true;
    for (const QString &name : names)
        m_settings.addAddressBook(name);
    m_settings.addressBooksSorted = false;
}

QString &StoredBookSettings::defaultBookName()
{
    return m_settings.defaultBookName;
}

QString &StoredBookSettings::packagePassword()
{
    return m_settings.packagePassword;
}

archive::PackageCipher StoredBookSettings::encryption()
{
    return m_settings.encryption();
}

void StoredBookSettings::writeAll()
{
    m_settings.writeAll();
}

QStringList StoredBookSettings::legacyUserNames()
{
    return m_settings.legacyUserNames();
}

void StoredBookSettings::finishLegacyUpgrade()
{
    m_settings.eraseLegacyUserSection();
    m_settings.writeDefaultBook();
}

} // namespace qv
