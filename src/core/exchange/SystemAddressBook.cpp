#include "exchange/SystemAddressBook.h"

#include "exchange/wab/WabContacts.h"
#include "exchange/wab/WabFile.h"

#include <QFile>
#include <QFileInfo>

namespace qv::systemaddressbook {

namespace {

// Where the user's application data lies in a Windows user folder, newer spelling first.
const QStringList kAddressBookFolders = {QStringLiteral("AppData/Roaming/Microsoft/Address Book"),
                                         QStringLiteral("Application Data/Microsoft/Address Book")};

// The user folders of the compatibility layer, the one named like this user first.
QStringList userFolders(const QString &prefix)
{
    QDir users(prefix + QStringLiteral("/drive_c/users"));
    QStringList names = users.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    const QString self = qEnvironmentVariable("USER");
    if (names.removeOne(self))
        names.prepend(self);
    QStringList folders;
    for (const QString &name : names)
        folders << users.filePath(name);
    return folders;
}

} // namespace

QString openErrorText()
{
    return QStringLiteral("Error loading WAB API!");
}

QList<AddressBookContact> readFile(const QString &path, const QLocale &system)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Cannot open the address book file \"%1\".").arg(path));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFile::NoError)
        throw Error(QStringLiteral("Cannot read the address book file \"%1\".").arg(path));
    try {
        return wab::readWabContacts(bytes, system);
    } catch (const wab::WabError &e) {
        switch (e.kind()) {
        case wab::WabError::Kind::OlderVariant:
            throw Error(openErrorText());
        case wab::WabError::Kind::NotAnAddressBook:
            throw Error(QStringLiteral("The file \"%1\" is not an address book (.wab) file.").arg(path));
        case wab::WabError::Kind::Damaged:
            break;
        }
        throw Error(QStringLiteral("The address book file \"%1\" is damaged: %2.").arg(path, e.text()));
    }
}

QString findCurrent(const QString &home)
{
    const QString prefix = qEnvironmentVariable("WINEPREFIX", home + QStringLiteral("/.wine"));
    for (const QString &user : userFolders(prefix)) {
        for (const QString &folder : kAddressBookFolders) {
            const QDir dir(user + QLatin1Char('/') + folder);
            const QStringList books = dir.entryList({QStringLiteral("*.wab")}, QDir::Files, QDir::Name);
            if (!books.isEmpty())
                return dir.filePath(books.first());
        }
    }
    return QString();
}

QList<AddressBookContact> readCurrent(const QString &home, const QLocale &system)
{
    const QString path = findCurrent(home);
    if (path.isEmpty())
        throw Error(openErrorText());
    return readFile(path, system);
}

} // namespace qv::systemaddressbook
