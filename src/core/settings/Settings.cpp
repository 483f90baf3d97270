#include "settings/Settings.h"

#include "common/Error.h"
#include "common/TextDecoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace qv {

namespace {

const QString kDefaultBook = QStringLiteral("DefaultAddressBook");
const QString kFieldsList = QStringLiteral("FieldsList");
const QString kCheckedFieldsList = QStringLiteral("CheckedFieldsList");
const QString kSearchableFieldsList = QStringLiteral("SearchableFieldsList");
const QString kFonts = QStringLiteral("Fonts");
const QString kMisc = QStringLiteral("MiscOption");
const QString kEncryption = QStringLiteral("Encryption");
const QString kTraditional = QStringLiteral("Traditional");
const QString kAes256 = QStringLiteral("AES256");

// Decimal, or hexadecimal after "0x"; anything else, or a value out of
// range, reads as the default.
int toInteger(const std::optional<QString> &text, int defaultValue)
{
    if (!text)
        return defaultValue;
    QString t = *text;
    bool ok = false;
    int value = 0;
    if (t.size() > 2 && t[0] == QLatin1Char('0') && (t[1] == QLatin1Char('x') || t[1] == QLatin1Char('X')))
        value = t.mid(2).toInt(&ok, 16);
    else
        value = t.toInt(&ok, 10);
    return ok ? value : defaultValue;
}

int readInteger(const IniDocument &doc, const QString &section, const QString &key, int defaultValue)
{
    return toInteger(doc.value(section, key), defaultValue);
}

bool readBool(const IniDocument &doc, const QString &section, const QString &key, bool defaultValue)
{
    return readInteger(doc, section, key, defaultValue ? 1 : 0) != 0;
}

QString readText(const IniDocument &doc, const QString &section, const QString &key, const QString &defaultValue)
{
    return doc.value(section, key).value_or(defaultValue);
}

void writeInteger(IniDocument &doc, const QString &section, const QString &key, int value)
{
    doc.setValue(section, key, QString::number(value));
}

void writeBool(IniDocument &doc, const QString &section, const QString &key, bool value)
{
    doc.setValue(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

AreaFont readFont(const IniDocument &doc, const QString &area)
{
    const AreaFont defaults;
    AreaFont f;
    f.name = readText(doc, kFonts, area + QStringLiteral("Fontname"), defaults.name);
    f.color = readInteger(doc, kFonts, area + QStringLiteral("FontColor"), defaults.color);
    f.size = readInteger(doc, kFonts, area + QStringLiteral("FontSize"), defaults.size);
    return f;
}

void writeFont(IniDocument &doc, const QString &area, const AreaFont &f)
{
    doc.setValue(kFonts, area + QStringLiteral("Fontname"), f.name);
    writeInteger(doc, kFonts, area + QStringLiteral("FontColor"), f.color);
    writeInteger(doc, kFonts, area + QStringLiteral("FontSize"), f.size);
}

void writeLines(IniDocument &doc, const QString &section, const QList<IniLine> &lines)
{
    for (const IniLine &line : lines)
        doc.setValue(section, line.key, line.value);
}

} // namespace

Settings::Settings(const QString &settingsPath, const QLocale &system)
    : m_path(settingsPath)
    , m_system(system)
{
    m_directory = QFileInfo(settingsPath).absolutePath();
    if (!m_directory.endsWith(QLatin1Char('/')))
        m_directory += QLatin1Char('/');
}

IniDocument Settings::readDocument() const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return IniDocument(decodeText(file.readAll(), m_system));
}

void Settings::saveDocument(const IniDocument &doc) const
{
    // Written beside and renamed over, so a failed write leaves the old file whole.
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(doc.toText().toUtf8()) < 0 || !file.commit())
        throw Error(QStringLiteral("Unable to write to %1").arg(QDir::toNativeSeparators(m_path)));
}

void Settings::readAll()
{
    const IniDocument doc = readDocument();
    defaultBookName = readText(doc, kDefaultBook, QStringLiteral("UserName0"), QStringLiteral("Default"));
    fieldsList = doc.lines(kFieldsList);
    searchableFieldsList = doc.lines(kSearchableFieldsList);
    checkedFieldsList = doc.lines(kCheckedFieldsList);

    surnameGridFont = readFont(doc, QStringLiteral("SurnameGrid"));
    treeFont = readFont(doc, QStringLiteral("Tree"));
    recListFont = readFont(doc, QStringLiteral("RecList"));
    recViewFont = readFont(doc, QStringLiteral("RecView"));

    confirmDeletion = readBool(doc, kMisc, QStringLiteral("ConfirmDeletion"), true);
    checkOrgSameName = readBool(doc, kMisc, QStringLiteral("CheckOrgSameName"), true);
    quickSearchOpen = readBool(doc, kMisc, QStringLiteral("QuickSearchOpen"), true);
    toSaveSize = readBool(doc, kMisc, QStringLiteral("ToSaveSize"), true);
    csvByteOrderMark = readBool(doc, kMisc, QStringLiteral("CsvByteOrderMark"), false);
    vCardVersion = readText(doc, kMisc, QStringLiteral("VCardVersion"), QStringLiteral("2.1")).trimmed();
    dataDir = readText(doc, kMisc, QStringLiteral("DataDir"), QString());
    ownerName = readText(doc, kMisc, QStringLiteral("OwnerName"), QString());
    // Only the weaker cipher must be asked for by name: anything else keeps books safe.
    m_encryption = readText(doc, kMisc, kEncryption, kAes256).trimmed().compare(kTraditional, Qt::CaseInsensitive) == 0
        ? archive::PackageCipher::Traditional
        : archive::PackageCipher::Aes256;
    readSizes(doc);
}

void Settings::readSizes(const IniDocument &doc)
{
    sizesStored = toSaveSize && doc.value(kMisc, QStringLiteral("FormWidth")).has_value();
    if (!toSaveSize) {
        leftPanelWidth = middlePanelWidth = rightPanelWidth = 0;
        formWidth = formHeight = gridHeight = 0;
        windowMax = false;
        return;
    }
    leftPanelWidth = readInteger(doc, kMisc, QStringLiteral("LeftPanelWidth"), 138);
    middlePanelWidth = readInteger(doc, kMisc, QStringLiteral("MiddlePanelWidth"), 128);
    rightPanelWidth = readInteger(doc, kMisc, QStringLiteral("RightPanelWidth"), 360);
    formWidth = readInteger(doc, kMisc, QStringLiteral("FormWidth"), 638);
    formHeight = readInteger(doc, kMisc, QStringLiteral("FormHeight"), 480);
    gridHeight = readInteger(doc, kMisc, QStringLiteral("GridHeight"), 144);
    windowMax = readBool(doc, kMisc, QStringLiteral("WindowMax"), false);
}

void Settings::writeAll() const
{
    IniDocument doc = readDocument();
    writeTo(doc);
    saveDocument(doc);
}

void Settings::writeTo(IniDocument &doc) const
{
    doc.setValue(kDefaultBook, QStringLiteral("UserName0"), defaultBookName);
    writeLines(doc, kFieldsList, fieldsList);
    writeLines(doc, kCheckedFieldsList, checkedFieldsList);

    writeFont(doc, QStringLiteral("SurnameGrid"), surnameGridFont);
    writeFont(doc, QStringLiteral("Tree"), treeFont);
    writeFont(doc, QStringLiteral("RecList"), recListFont);
    writeFont(doc, QStringLiteral("RecView"), recViewFont);

    writeBool(doc, kMisc, QStringLiteral("ConfirmDeletion"), confirmDeletion);
    writeBool(doc, kMisc, QStringLiteral("CheckOrgSameName"), checkOrgSameName);
    writeBool(doc, kMisc, QStringLiteral("QuickSearchOpen"), quickSearchOpen);
    writeBool(doc, kMisc, QStringLiteral("ToSaveSize"), toSaveSize);
    doc.setValue(kMisc, QStringLiteral("DataDir"), dataDir);
    doc.setValue(kMisc, kEncryption, m_encryption == archive::PackageCipher::Traditional ? kTraditional : kAes256);
    writeBool(doc, kMisc, QStringLiteral("CsvByteOrderMark"), csvByteOrderMark);
    doc.setValue(kMisc, QStringLiteral("VCardVersion"), vCardVersion);
    doc.setValue(kMisc, QStringLiteral("OwnerName"), ownerName);
    if (toSaveSize)
        writeSizes(doc);
}

void Settings::writeSizes(IniDocument &doc) const
{
    writeInteger(doc, kMisc, QStringLiteral("LeftPanelWidth"), leftPanelWidth);
    writeInteger(doc, kMisc, QStringLiteral("MiddlePanelWidth"), middlePanelWidth);
    writeInteger(doc, kMisc, QStringLiteral("RightPanelWidth"), rightPanelWidth);
    writeInteger(doc, kMisc, QStringLiteral("FormWidth"), formWidth);
    writeInteger(doc, kMisc, QStringLiteral("FormHeight"), formHeight);
    writeInteger(doc, kMisc, QStringLiteral("GridHeight"), gridHeight);
    writeBool(doc, kMisc, QStringLiteral("WindowMax"), windowMax);
}

void Settings::writeDefaultBook() const
{
    IniDocument doc = readDocument();
    doc.setValue(kDefaultBook, QStringLiteral("UserName0"), defaultBookName);
    saveDocument(doc);
}

bool Settings::hasLegacyUserSection() const
{
    return readDocument().hasSection(QStringLiteral("User"));
}

QStringList Settings::legacyUserNames() const
{
    const IniDocument doc = readDocument();
    QStringList names;
    for (int n = 0; n <= 100; ++n)
        names << readText(doc, QStringLiteral("User"), QStringLiteral("UserName%1").arg(n), QStringLiteral("----"));
    return names;
}

void Settings::eraseLegacyUserSection() const
{
    IniDocument doc = readDocument();
    doc.removeSection(QStringLiteral("User"));
    saveDocument(doc);
}

QString Settings::fieldNameForLabel(const QString &label) const
{
    for (const IniLine &line : fieldsList) {
        if (line.value.compare(label, Qt::CaseInsensitive) == 0)
            return line.key;
    }
    return {};
}

void Settings::fillCatalogueFieldNames()
{
    catalogueFieldNames.clear();
    for (const IniLine &line : std::as_const(fieldsList))
        catalogueFieldNames << line.key;
}

void Settings::addAddressBook(const QString &name)
{
    for (const QString &existing : std::as_const(addressBooks)) {
        if (existing.compare(name, Qt::CaseInsensitive) == 0)
            return;
    }
    if (!addressBooksSorted) {
        addressBooks << name;
        return;
    }
    auto pos = std::lower_bound(addressBooks.begin(), addressBooks.end(), name,
                                [](const QString &a, const QString &b) {
                                    return a.compare(b, Qt::CaseInsensitive) < 0;
                                });
    addressBooks.insert(pos, name);
}

} // namespace qv
