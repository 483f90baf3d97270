#include "common/Error.h"
#include "settings/Settings.h"
#include "shell/OwnerName.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using qv::Settings;

Q_DECLARE_METATYPE(qv::archive::PackageCipher)

namespace {

QString member(const Settings &o, const QString &name)
{
    if (name == "UserName0") return o.defaultBookName;
    if (name == "FormWidth") return QString::number(o.formWidth);
    if (name == "FormHeight") return QString::number(o.formHeight);
    if (name == "LeftPanelWidth") return QString::number(o.leftPanelWidth);
    if (name == "GridHeight") return QString::number(o.gridHeight);
    if (name == "WindowMax") return o.windowMax ? "true" : "false";
    if (name == "ConfirmDeletion") return o.confirmDeletion ? "true" : "false";
    if (name == "ToSaveSize") return o.toSaveSize ? "true" : "false";
    if (name == "DataDir") return o.dataDir;
    if (name == "OwnerName") return o.ownerName;
    if (name == "TreeFontname") return o.treeFont.name;
    if (name == "TreeFontColor") return QString::number(o.treeFont.color);
    if (name == "RecViewFontSize") return QString::number(o.recViewFont.size);
    if (name == "Encryption") return o.encryption() == qv::archive::PackageCipher::Traditional ? "traditional" : "AES-256";
    return "?";
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void init();
    void beforeReading();
    void read_data();
    void read();
    void legacyCodePageOfTheLocale_data();
    void legacyCodePageOfTheLocale();
    void firstWriteOfAMissingFile();
    void writeKeepsWhatItDoesNotName();
    void encryptionWritten_data();
    void encryptionWritten();
    void sizeKeysFollowToSaveSize_data();
    void sizeKeysFollowToSaveSize();
    void fieldNameForLabel_data();
    void fieldNameForLabel();
    void catalogueFieldNames();
    void writeDefaultBookAlone();
    void unwritableFile_data();
    void unwritableFile();
    void addressBookList();
    void ownerNameWritten();
    void accountOwnerName_data();
    void accountOwnerName();
    void ownerNameSetOrTheAccounts();

private:
    QString iniPath() const { return m_dir->filePath("aa.ini"); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestSettings::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestSettings::beforeReading()
{
    Settings o(iniPath());
    QCOMPARE(o.defaultBookName, QString("default"));
    QCOMPARE(o.settingsDirectory(), QDir(m_dir->path()).absolutePath() + "/");
    QCOMPARE(o.importFieldMapping.size(), size_t(81));
    QCOMPARE(o.importFieldMapping[80][4], 0);
}

void TestSettings::read_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    QTest::newRow("missing file: book Default") << QByteArray() << "UserName0" << "Default";
    QTest::newRow("missing file: FormWidth 638") << QByteArray() << "FormWidth" << "638";
    QTest::newRow("missing file: DataDir empty") << QByteArray() << "DataDir" << "";
    QTest::newRow("missing file: OwnerName empty") << QByteArray() << "OwnerName" << "";
    QTest::newRow("owner name as it stands")
        << QByteArray("[MiscOption]\nOwnerName=Kim O'Hara-Lee, Jr.\n") << "OwnerName" << "Kim O'Hara-Lee, Jr.";
    QTest::newRow("missing file: font MS Sans Serif") << QByteArray() << "TreeFontname" << "MS Sans Serif";
    QTest::newRow("missing file: font size 10") << QByteArray() << "RecViewFontSize" << "10";
    QTest::newRow("hex 0x300") << QByteArray("[MiscOption]\nFormWidth=0x300\n") << "FormWidth" << "768";
    QTest::newRow("hex 0XFF") << QByteArray("[MiscOption]\nFormWidth=0XFF\n") << "FormWidth" << "255";
    QTest::newRow("abc reads as default") << QByteArray("[MiscOption]\nFormWidth=abc\n") << "FormWidth" << "638";
    QTest::newRow("empty reads as default") << QByteArray("[MiscOption]\nFormWidth=\n") << "FormWidth" << "638";
    QTest::newRow("bare 0x reads as default") << QByteArray("[MiscOption]\nFormWidth=0x\n") << "FormWidth" << "638";
    QTest::newRow("12px reads as default") << QByteArray("[MiscOption]\nFormWidth=12px\n") << "FormWidth" << "638";
    QTest::newRow("too large reads as default") << QByteArray("[MiscOption]\nFormWidth=99999999999\n") << "FormWidth" << "638";
    QTest::newRow("negative decimal") << QByteArray("[MiscOption]\nFormWidth=-5\n") << "FormWidth" << "-5";
    QTest::newRow("colour as integer") << QByteArray("[Fonts]\nTreeFontColor=0x0000FF\n") << "TreeFontColor" << "255";
    QTest::newRow("ConfirmDeletion 2 is true") << QByteArray("[MiscOption]\nConfirmDeletion=2\n") << "ConfirmDeletion" << "true";
    QTest::newRow("ConfirmDeletion 0 is false") << QByteArray("[MiscOption]\nConfirmDeletion=0\n") << "ConfirmDeletion" << "false";
    QTest::newRow("Boolean text True is not a number") << QByteArray("[MiscOption]\nConfirmDeletion=True\nToSaveSize=False\n") << "ToSaveSize" << "true";
    QTest::newRow("keys ignore case") << QByteArray("[miscoption]\nformwidth=700\n") << "FormWidth" << "700";
    QTest::newRow("text as it stands") << QByteArray("[MiscOption]\nDataDir=/home/u/My Books/\n") << "DataDir" << "/home/u/My Books/";
    QTest::newRow("ToSaveSize 0: FormWidth 0") << QByteArray("[MiscOption]\nToSaveSize=0\nFormWidth=700\n") << "FormWidth" << "0";
    QTest::newRow("ToSaveSize 0: GridHeight 0") << QByteArray("[MiscOption]\nToSaveSize=0\nGridHeight=99\n") << "GridHeight" << "0";
    QTest::newRow("ToSaveSize 0: WindowMax false") << QByteArray("[MiscOption]\nToSaveSize=0\nWindowMax=1\n") << "WindowMax" << "false";
    QTest::newRow("utf-8 book name") << QByteArray("[DefaultAddressBook]\nUserName0=\xe9\x80\x9a\xe8\xae\xaf\xe5\xbd\x95\n") << "UserName0" << "\u901a\u8baf\u5f55";
    QTest::newRow("Encryption missing: AES-256") << QByteArray("[MiscOption]\nDataDir=/d/\n") << "Encryption" << "AES-256";
    QTest::newRow("Encryption AES256") << QByteArray("[MiscOption]\nEncryption=AES256\n") << "Encryption" << "AES-256";
    QTest::newRow("Encryption Traditional") << QByteArray("[MiscOption]\nEncryption=Traditional\n") << "Encryption" << "traditional";
    QTest::newRow("Encryption ignores case") << QByteArray("[MiscOption]\nEncryption=TRADITIONAL\n") << "Encryption" << "traditional";
    QTest::newRow("Encryption unknown: AES-256") << QByteArray("[MiscOption]\nEncryption=DES\n") << "Encryption" << "AES-256";
    QTest::newRow("Encryption empty: AES-256") << QByteArray("[MiscOption]\nEncryption=\n") << "Encryption" << "AES-256";
}

void TestSettings::read()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    if (!file.isNull())
        writeFile(iniPath(), file);
    Settings o(iniPath());
    o.readAll();
    QCOMPARE(member(o, key), expected);
}

void TestSettings::legacyCodePageOfTheLocale_data()
{
    QTest::addColumn<QLocale>("system");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("western: Windows-1252") << QLocale(QLocale::English, QLocale::UnitedStates) << QByteArray("Caf\xe9")
                                           << "Caf\u00e9";
    QTest::newRow("mainland Chinese: GBK") << QLocale(QLocale::Chinese, QLocale::China) << QByteArray("\xcd\xf5\xd0\xa1\xc3\xf7")
                                           << "\u738b\u5c0f\u660e";
}

void TestSettings::legacyCodePageOfTheLocale()
{
    QFETCH(QLocale, system);
    QFETCH(QByteArray, name);
    QFETCH(QString, expected);
    writeFile(iniPath(), "[DefaultAddressBook]\nUserName0=" + name + "\n[Fonts]\nTreeFontname=" + name + "\n");
    Settings o(iniPath(), system);
    o.readAll();
    QCOMPARE(o.defaultBookName, expected);
    // Writing the book name alone keeps the other keys, now in UTF-8.
    o.writeDefaultBook();
    QVERIFY2(readFile(iniPath()).contains("TreeFontname=" + expected.toUtf8()), readFile(iniPath()).constData());
}

void TestSettings::firstWriteOfAMissingFile()
{
    Settings o(iniPath());
    o.readAll();
    o.dataDir = "/prog/Data/";
    o.writeAll();
    const QByteArray expected =
        "[DefaultAddressBook]\nUserName0=Default\n\n"
        "[Fonts]\n"
        "SurnameGridFontname=MS Sans Serif\nSurnameGridFontColor=0\nSurnameGridFontSize=10\n"
        "TreeFontname=MS Sans Serif\nTreeFontColor=0\nTreeFontSize=10\n"
        "RecListFontname=MS Sans Serif\nRecListFontColor=0\nRecListFontSize=10\n"
        "RecViewFontname=MS Sans Serif\nRecViewFontColor=0\nRecViewFontSize=10\n\n"
        "[MiscOption]\nConfirmDeletion=1\nCheckOrgSameName=1\nQuickSearchOpen=1\nToSaveSize=1\n"
        "DataDir=/prog/Data/\nEncryption=AES256\nCsvByteOrderMark=0\nVCardVersion=2.1\nOwnerName=\nLeftPanelWidth=138\nMiddlePanelWidth=128\nRightPanelWidth=360\n"
        "FormWidth=638\nFormHeight=480\nGridHeight=144\nWindowMax=0\n";
    QCOMPARE(readFile(iniPath()), expected);
}

void TestSettings::encryptionWritten_data()
{
    QTest::addColumn<qv::archive::PackageCipher>("cipher");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("AES-256") << qv::archive::PackageCipher::Aes256 << QByteArray("\nEncryption=AES256\n");
    QTest::newRow("traditional") << qv::archive::PackageCipher::Traditional << QByteArray("\nEncryption=Traditional\n");
}

void TestSettings::encryptionWritten()
{
    QFETCH(qv::archive::PackageCipher, cipher);
    QFETCH(QByteArray, line);
    writeFile(iniPath(), "[MiscOption]\nEncryption=Traditional\n");
    Settings o(iniPath());
    o.readAll();
    o.setEncryption(cipher);
    o.writeAll();
    QVERIFY2(readFile(iniPath()).contains(line), readFile(iniPath()).constData());
    Settings again(iniPath());
    again.readAll();
    QCOMPARE(again.encryption(), cipher);
}

void TestSettings::writeKeepsWhatItDoesNotName()
{
    writeFile(iniPath(),
              "; my notes\n[User]\nUser0=old\n[FieldsList]\nName=Name\nSurName=Surname\n"
              "[MiscOption]\nConfirmDeletion=2\nExtra=keep me\n");
    Settings o(iniPath());
    o.readAll();
    o.fieldsList.removeLast(); // writing never removes a catalogue line from the file
    o.fieldsList.first().value = "Full name";
    o.writeAll();
    const QString text = QString::fromUtf8(readFile(iniPath()));
    QVERIFY(text.startsWith("; my notes\n[User]\nUser0=old\n[FieldsList]\nName=Full name\nSurName=Surname\n"));
    QVERIFY(text.contains("[MiscOption]\nConfirmDeletion=1\nExtra=keep me\nCheckOrgSameName=1\n"));
    QVERIFY(!text.contains("SearchableFieldsList"));
}

void TestSettings::sizeKeysFollowToSaveSize_data()
{
    QTest::addColumn<bool>("readWith");
    QTest::addColumn<bool>("writeWith");
    QTest::addColumn<QStringList>("expectedLines");
    QTest::addColumn<QStringList>("absentKeys");

    const QStringList sizeKeys = {"LeftPanelWidth", "MiddlePanelWidth", "RightPanelWidth", "FormWidth",
                                  "FormHeight", "GridHeight", "WindowMax"};
    QTest::newRow("off: neither read nor written") << false << false << QStringList{"ToSaveSize=0"} << sizeKeys;
    QTest::newRow("switched on after reading: zeros for the untouched")
        << false << true
        << QStringList{"ToSaveSize=1", "LeftPanelWidth=150", "MiddlePanelWidth=0", "RightPanelWidth=0",
                       "FormWidth=800", "FormHeight=600", "GridHeight=200", "WindowMax=1"}
        << QStringList();
    QTest::newRow("on: read and written") << true << true
                                          << QStringList{"MiddlePanelWidth=128", "RightPanelWidth=360", "FormWidth=800"}
                                          << QStringList();
}

void TestSettings::sizeKeysFollowToSaveSize()
{
    QFETCH(bool, readWith);
    QFETCH(bool, writeWith);
    QFETCH(QStringList, expectedLines);
    QFETCH(QStringList, absentKeys);

    writeFile(iniPath(), readWith ? "[MiscOption]\nToSaveSize=1\n" : "[MiscOption]\nToSaveSize=0\n");
    Settings o(iniPath());
    o.readAll();
    o.toSaveSize = writeWith;
    if (writeWith) { // what the window stores at close
        o.leftPanelWidth = 150;
        o.gridHeight = 200;
        o.formWidth = 800;
        o.formHeight = 600;
        o.windowMax = !readWith;
    }
    o.writeAll();
    const QStringList lines = QString::fromUtf8(readFile(iniPath())).split('\n');
    for (const QString &l : expectedLines)
        QVERIFY2(lines.contains(l), qPrintable(l));
    for (const QString &k : absentKeys) {
        for (const QString &l : lines)
            QVERIFY2(!l.startsWith(k + "="), qPrintable(l));
    }
}

void TestSettings::fieldNameForLabel_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("field");
    QTest::newRow("exact") << "Home phone" << "Phone";
    QTest::newRow("ignores case") << "HOME PHONE" << "Phone";
    QTest::newRow("label twice gives the first line") << "Phone" << "DPhone";
    QTest::newRow("unknown label") << "Fax" << "";
}

void TestSettings::fieldNameForLabel()
{
    QFETCH(QString, label);
    QFETCH(QString, field);
    writeFile(iniPath(), "[FieldsList]\nName=Name\nDPhone=Phone\nPhone=Home phone\nCPhone=Phone\n");
    Settings o(iniPath());
    o.readAll();
    QCOMPARE(o.fieldNameForLabel(label), field);
}

void TestSettings::catalogueFieldNames()
{
    writeFile(iniPath(), "[FieldsList]\nName=Name\nSurName=Surname\nCompany=Org\n");
    Settings o(iniPath());
    o.readAll();
    o.catalogueFieldNames = QStringList{"stale"};
    o.fillCatalogueFieldNames();
    QCOMPARE(o.catalogueFieldNames, (QStringList{"Name", "SurName", "Company"}));
}

void TestSettings::writeDefaultBookAlone()
{
    writeFile(iniPath(), "[DefaultAddressBook]\nUserName0=Old\n[MiscOption]\nFormWidth=abc\n");
    Settings o(iniPath());
    o.readAll();
    o.defaultBookName = "Family";
    o.writeDefaultBook();
    QCOMPARE(readFile(iniPath()), QByteArray("[DefaultAddressBook]\nUserName0=Family\n[MiscOption]\nFormWidth=abc\n"));
}

void TestSettings::unwritableFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("folder is a file") << "file";
    QTest::newRow("path is a folder") << "folder";
    QTest::newRow("read-only folder keeps the old file") << "readonly";
}

void TestSettings::unwritableFile()
{
    QFETCH(QString, kind);
    QString path;
    const QByteArray old = "[MiscOption]\nFormWidth=700\n";
    if (kind == "file") {
        writeFile(m_dir->filePath("plain"), "x");
        path = m_dir->filePath("plain/aa.ini");
    } else if (kind == "folder") {
        path = m_dir->filePath("aa.ini");
        QVERIFY(QDir().mkpath(path));
    } else {
        const QString roDir = m_dir->filePath("ro");
        QVERIFY(QDir().mkpath(roDir));
        path = roDir + "/aa.ini";
        writeFile(path, old);
        QFile::setPermissions(roDir, QFile::ReadOwner | QFile::ExeOwner);
        QFile probe(roDir + "/probe");
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            QFile::setPermissions(roDir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QSKIP("running with rights that ignore folder permissions");
        }
    }

    Settings o(path);
    o.readAll();
    o.formWidth = 900;
    QString message;
    try {
        o.writeAll();
    } catch (const qv::Error &e) {
        message = e.text();
    }
    if (kind == "readonly") {
        QFile::setPermissions(m_dir->filePath("ro"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(readFile(path), old);
    }
    QCOMPARE(message, "Unable to write to " + path);
}

void TestSettings::addressBookList()
{
    Settings o(iniPath());
    for (const char *name : {"zeta", "Alpha", "beta", "ALPHA"})
        o.addAddressBook(name);
    QCOMPARE(o.addressBooks, (QStringList{"Alpha", "beta", "zeta"}));
    o.addressBooksSorted = false;
    o.addAddressBook("Aardvark");
    o.addAddressBook("BETA");
    QCOMPARE(o.addressBooks, (QStringList{"Alpha", "beta", "zeta", "Aardvark"}));
}

void TestSettings::ownerNameWritten()
{
    Settings o(iniPath());
    o.readAll();
    o.ownerName = "Kim Lee";
    o.writeAll();
    QVERIFY(readFile(iniPath()).contains("\nOwnerName=Kim Lee\n"));
    Settings again(iniPath());
    again.readAll();
    QCOMPARE(again.ownerName, "Kim Lee");
}

void TestSettings::accountOwnerName_data()
{
    QTest::addColumn<QString>("fullNameField");
    QTest::addColumn<QString>("login");
    QTest::addColumn<QString>("expected");
    QTest::newRow("full name alone") << "Kim Lee" << "kim" << "Kim Lee";
    QTest::newRow("room and telephones after commas") << "Kim Lee,Room 4,555-1,555-2," << "kim" << "Kim Lee";
    QTest::newRow("blanks around the name") << "  Kim Lee  ,Room 4" << "kim" << "Kim Lee";
    QTest::newRow("no full name: the login") << "" << "kim" << "kim";
    QTest::newRow("commas only: the login") << ",,," << "kim" << "kim";
    QTest::newRow("blank first part: the login") << "   ,Room 4" << "kim" << "kim";
    QTest::newRow("wide characters") << "\u738b\u5c0f\u660e,," << "wang" << "\u738b\u5c0f\u660e";
}

void TestSettings::accountOwnerName()
{
    QFETCH(QString, fullNameField);
    QFETCH(QString, login);
    QFETCH(QString, expected);
    QCOMPARE(qv::accountOwnerName(fullNameField, login), expected);
}

void TestSettings::ownerNameSetOrTheAccounts()
{
    Settings o(iniPath());
    o.ownerName = "Kim Lee";
    QCOMPARE(qv::ownerName(o), "Kim Lee");
    // Unset: the account's, as the system's account database gives it.
    QProcess getent;
    getent.start("getent", {"passwd", QString::number(getuid())});
    if (!getent.waitForFinished() || getent.exitCode() != 0)
        QSKIP("getent cannot read the account");
    const QStringList fields = QString::fromLocal8Bit(getent.readAllStandardOutput()).trimmed().split(':');
    QVERIFY(fields.size() >= 5);
    const QString fullName = fields[4].split(',').first().trimmed();
    o.ownerName.clear();
    QCOMPARE(qv::ownerName(o), fullName.isEmpty() ? fields[0] : fullName);
}

QTEST_APPLESS_MAIN(TestSettings)
#include "tst_settings.moc"
