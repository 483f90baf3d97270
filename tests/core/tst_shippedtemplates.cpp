// The print templates that ship with the program.
#include "printing/PrintTemplates.h"
#include "shell/ProgramDirectory.h"

#include <QFontDatabase>
#include <QTemporaryDir>
#include <QTest>

using namespace qv;

class TestShippedTemplates : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void everyModeHasTwoTemplates();
    void namesAreUnique();
    void fontsAreInstalled();
    void linesHoldTheirFonts();

private:
    QTemporaryDir m_dir;
    PrintTemplates m_file;
};

void TestShippedTemplates::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const QString home = m_dir.path() + "/";
    QVERIFY(installShippedFiles(home).contains("pt.ini"));
    m_file = PrintTemplates::load(home + "pt.ini");
    QCOMPARE(m_file.selectedPage(), 0);
}

void TestShippedTemplates::everyModeHasTwoTemplates()
{
    for (PrintMode mode : kModePages) {
        const TemplateList list = m_file.templateList(mode);
        QVERIFY2(list.names.size() >= 2, qPrintable(modeCaption(mode)));
        QVERIFY(list.names.contains(list.selected));
        for (const QString &name : list.names)
            QVERIFY2(m_file.hasSection(name), qPrintable(name));
    }
    QCOMPARE(m_file.templateList(PrintMode::Cards).selected, QString("Large Card"));
}

void TestShippedTemplates::namesAreUnique()
{
    QStringList all;
    for (PrintMode mode : kModePages)
        all << m_file.templateList(mode).names;
    QCOMPARE(QSet<QString>(all.begin(), all.end()).size(), all.size());
}

void TestShippedTemplates::fontsAreInstalled()
{
    for (PrintMode mode : kModePages) {
        for (const QString &name : m_file.templateList(mode).names) {
            PrintSettings settings;
            m_file.loadTemplate(name, settings);
            for (const FieldFont &font : settings.fonts) {
                QVERIFY2(QFontDatabase::hasFamily(font.name), qPrintable(name + ": " + font.name));
                QVERIFY(font.size >= 8 && font.size <= 12); // what the font dialog offers
            }
        }
    }
}

void TestShippedTemplates::linesHoldTheirFonts()
{
    // A line at least as high as the tallest font on it at 96 pixels per
    // inch, less the two pixels of spacing the print dialog adds: the texts
    // of one line never reach far into the next.
    for (PrintMode mode : kModePages) {
        for (const QString &name : m_file.templateList(mode).names) {
            PrintSettings settings;
            m_file.loadTemplate(name, settings);
            for (const FieldFont &font : settings.fonts) {
                const double pixels = font.size * 96.0 / 72.0;
                for (int line = 1; line <= modeLineCount(mode); ++line)
                    QVERIFY2(settings.lineHeight(line) >= pixels, qPrintable(QString("%1 line %2").arg(name).arg(line)));
            }
        }
    }
}

QTEST_MAIN(TestShippedTemplates)
#include "tst_shippedtemplates.moc"
