#include "data/Schema.h"
#include "settings/Settings.h"
#include "shell/ProgramDirectory.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using qv::Settings;

class TestShippedSettings : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void catalogueNamesTableFields();
    void personFieldsComeFirst();
    void nameFieldsLead();
    void companyIsAnOrganisationField();
    void atMost81Lines();
    void tickedFieldsPairWithCatalogue();
    void labelsAreUnique();
    void searchableLabelsNameFields();
    void quickSearchPositions_data();
    void quickSearchPositions();
    void installNeverReplaces();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Settings> m_options;
};

void TestShippedSettings::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const QString home = m_dir.path() + "/";
    QVERIFY(qv::installShippedFiles(home).contains("aa.ini"));
    m_options = std::make_unique<Settings>(home + "aa.ini");
    m_options->readAll();
    QVERIFY(!m_options->fieldsList.isEmpty());
}

void TestShippedSettings::catalogueNamesTableFields()
{
    for (const auto &line : m_options->fieldsList) {
        const bool known = qv::fieldIndex(qv::personFields(), line.key) >= 0
            || qv::fieldIndex(qv::organisationFields(), line.key) >= 0;
        QVERIFY2(known, qPrintable(line.key));
    }
}

void TestShippedSettings::personFieldsComeFirst()
{
    bool inOrganisation = false;
    for (const auto &line : m_options->fieldsList) {
        const bool isPerson = qv::fieldIndex(qv::personFields(), line.key) >= 0;
        if (!isPerson)
            inOrganisation = true;
        QVERIFY2(!(isPerson && inOrganisation), qPrintable(line.key));
    }
}

void TestShippedSettings::nameFieldsLead()
{
    const QStringList expected = {"Name", "SurName", "MidName", "GivenName"};
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(m_options->fieldsList.at(i).key, expected[i]);
}

void TestShippedSettings::companyIsAnOrganisationField()
{
    m_options->fillCatalogueFieldNames();
    QVERIFY(m_options->catalogueFieldNames.contains("Company"));
}

void TestShippedSettings::atMost81Lines()
{
    QVERIFY(m_options->fieldsList.size() <= 81);
}

void TestShippedSettings::tickedFieldsPairWithCatalogue()
{
    const auto &fields = m_options->fieldsList;
    const auto &ticked = m_options->checkedFieldsList;
    QVERIFY(ticked.size() >= fields.size());
    for (int i = 0; i < fields.size(); ++i) {
        QCOMPARE(ticked[i].key, fields[i].key);
        QVERIFY(ticked[i].value == "True" || ticked[i].value == "False");
    }
}

void TestShippedSettings::labelsAreUnique()
{
    QSet<QString> seen;
    for (const auto &line : m_options->fieldsList) {
        QVERIFY2(!seen.contains(line.value.toLower()), qPrintable(line.value));
        seen.insert(line.value.toLower());
    }
}

void TestShippedSettings::searchableLabelsNameFields()
{
    QVERIFY(m_options->searchableFieldsList.size() >= 19);
    for (const auto &line : m_options->searchableFieldsList)
        QVERIFY2(!m_options->fieldNameForLabel(line.key).isEmpty(), qPrintable(line.key));
}

void TestShippedSettings::quickSearchPositions_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QStringList>("allowed");
    const QStringList address = {"Address", "Zip", "CAddress", "CZip"};
    const QStringList phone = {"Phone", "Fax", "Mobile", "Pager", "DPhone", "CPhone", "CFax"};
    for (int p : {5, 14, 15})
        QTest::addRow("address search, item %d", p) << p << address;
    for (int p : {8, 9, 10, 11, 13, 17, 18})
        QTest::addRow("phone search, item %d", p) << p << phone;
}

void TestShippedSettings::quickSearchPositions()
{
    QFETCH(int, position);
    QFETCH(QStringList, allowed);
    const QString label = m_options->searchableFieldsList.at(position).key;
    QVERIFY2(allowed.contains(m_options->fieldNameForLabel(label)), qPrintable(label));
}

void TestShippedSettings::installNeverReplaces()
{
    QTemporaryDir dir;
    const QString home = dir.path() + "/";
    QFile own(home + "aa.ini");
    QVERIFY(own.open(QIODevice::WriteOnly));
    own.write("[MiscOption]\nFormWidth=1\n");
    own.close();
    QVERIFY(!qv::installShippedFiles(home).contains("aa.ini"));
    QVERIFY(own.open(QIODevice::ReadOnly));
    QCOMPARE(own.readAll(), QByteArray("[MiscOption]\nFormWidth=1\n"));
}

QTEST_APPLESS_MAIN(TestShippedSettings)
#include "tst_shippedsettings.moc"
