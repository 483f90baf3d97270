// The print templates file pt.ini, and what Save, Save As and Delete do to it.
#include "ScriptedPrompter.h"

#include "common/Error.h"
#include "printing/PrintTemplates.h"
#include "printing/TemplateCommands.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace qv;
using Icon = Prompter::Icon;
using Button = Prompter::Button;

namespace {

PrintTemplates fromText(const char *text)
{
    return PrintTemplates(IniDocument(QString::fromUtf8(text)));
}

// The key lines of a section, "key=value" each, in file order.
QStringList sectionLines(const PrintTemplates &file, const QString &section)
{
    QStringList lines;
    for (const IniLine &line : file.document().lines(section))
        lines << line.key + QLatin1Char('=') + line.value;
    return lines;
}

// Three card templates whose name fonts tell them apart.
const char *kThreeCards =
    "[CardTemplates]\ntemp0=Large Card\ntemp1=Small Card\ntemp2=Tiny Card\nSelectedTemp=Small Card\n"
    "[Large Card]\nPNameFontName=Liberation Serif\nPNameFontSize=12\n"
    "[Small Card]\nPNameFontName=DejaVu Sans\nPNameFontSize=9\n"
    "[Tiny Card]\nPNameFontName=DejaVu Sans\nPNameFontSize=8\n"
    "[PhoneListTemplates]\ntemp0=Phone List\nSelectedTemp=Phone List\n[Phone List]\nLine1=14\n";

} // namespace

Q_DECLARE_METATYPE(qv::PrintMode)

class TestPrintTemplates : public QObject {
    Q_OBJECT
private slots:
    void templateList_data();
    void templateList();
    void listIsRewrittenDensely();
    void selectedPage_data();
    void selectedPage();
    void loadTemplate_data();
    void loadTemplate();
    void writeTemplateWritesEveryKey();
    void writtenTemplateReadsBack();
    void fileRoundTrip();
    void unwritableFile();

    void saveWritesTemplateListAndPage();
    void saveAs_data();
    void saveAs();
    void saveAsAddsAndSelects();
    void deleteKeepsOne();
    void deleteSelectedOfThree();
    void commandsWriteTheListOfTheModeGiven();
};

void TestPrintTemplates::templateList_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<PrintMode>("mode");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("selected");

    QTest::newRow("no file: none, Large Card selected") << "" << PrintMode::Cards << QStringList() << "Large Card";
    QTest::newRow("dense list") << "[CardTemplates]\ntemp0=A\ntemp1=B\nSelectedTemp=B\n" << PrintMode::Cards
                                << QStringList{"A", "B"} << "B";
    QTest::newRow("gaps and ---- are skipped")
        << "[DetailListTemplates]\ntemp0=A\ntemp3=----\ntemp5=B\n" << PrintMode::ByName << QStringList{"A", "B"} << "Large Card";
    QTest::newRow("keys read in number order, not file order")
        << "[AgentDetailListTemplates]\ntemp7=Late\ntemp2=Early\n" << PrintMode::ByOrganisation << QStringList{"Early", "Late"} << "Large Card";
    QTest::newRow("temp100 is the last one read")
        << "[PhoneListTemplates]\ntemp100=Last\ntemp101=Beyond\n" << PrintMode::PhoneList << QStringList{"Last"} << "Large Card";
    QTest::newRow("another mode's list is not this one's")
        << "[CardTemplates]\ntemp0=A\n" << PrintMode::PhoneList << QStringList() << "Large Card";
    QTest::newRow("section and keys ignore case")
        << "[cardtemplates]\nTEMP0=A\nselectedtemp=A\n" << PrintMode::Cards << QStringList{"A"} << "A";
}

void TestPrintTemplates::templateList()
{
    QFETCH(QString, text);
    QFETCH(PrintMode, mode);
    QFETCH(QStringList, names);
    QFETCH(QString, selected);
    const TemplateList list = PrintTemplates(IniDocument(text)).templateList(mode);
    QCOMPARE(list.names, names);
    QCOMPARE(list.selected, selected);
}

void TestPrintTemplates::listIsRewrittenDensely()
{
    PrintTemplates file = fromText("[CardTemplates]\ntemp0=A\ntemp5=B\nSelectedTemp=A\n[A]\nLine1=12\n");
    TemplateList list = file.templateList(PrintMode::Cards);
    file.writeTemplateList(PrintMode::Cards, list);
    QCOMPARE(sectionLines(file, "CardTemplates"), (QStringList{"temp0=A", "temp1=B", "SelectedTemp=A"}));
    QCOMPARE(sectionLines(file, "A"), QStringList{"Line1=12"});
    QVERIFY(!file.document().hasSection("SelectedMode")); // written on its own
}

void TestPrintTemplates::selectedPage_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("page");
    QTest::newRow("missing") << "" << 0;
    QTest::newRow("phone list page") << "[SelectedMode]\nSelectedMode=3\n" << 3;
    QTest::newRow("beyond the pages") << "[SelectedMode]\nSelectedMode=4\n" << 0;
    QTest::newRow("negative") << "[SelectedMode]\nSelectedMode=-1\n" << 0;
    QTest::newRow("not a number") << "[SelectedMode]\nSelectedMode=two\n" << 0;
}

void TestPrintTemplates::selectedPage()
{
    QFETCH(QString, text);
    QFETCH(int, page);
    QCOMPARE(PrintTemplates(IniDocument(text)).selectedPage(), page);
}

void TestPrintTemplates::loadTemplate_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("fontName");
    QTest::addColumn<int>("fontSize");
    QTest::addColumn<int>("fontColor");
    QTest::addColumn<int>("line3");
    QTest::addColumn<bool>("line2Printed");
    QTest::addColumn<bool>("line3Printed");

    const int windowText = int(0x80000008u);
    QTest::newRow("missing section: defaults") << "" << "Verdana" << 10 << windowText << 12 << true << true;
    QTest::newRow("every key given")
        << "PPhoneFontName=Liberation Sans\nPPhoneFontSize=12\nPPhoneFontColor=255\nLine3=20\nLinec2=0\nLinec3=1\n"
        << "Liberation Sans" << 12 << 255 << 20 << false << true;
    QTest::newRow("system colour as a signed decimal")
        << "PPhoneFontColor=-2147483640\n" << "Verdana" << 10 << windowText << 12 << true << true;
    QTest::newRow("damaged values read as defaults")
        << "PPhoneFontName=\nPPhoneFontSize=big\nPPhoneFontColor=red\nLine3=tall\nLinec2=\nLinec3=yes\n"
        << "Verdana" << 10 << windowText << 12 << true << true;
    QTest::newRow("sizes out of range read as defaults")
        << "PPhoneFontSize=0\nLine3=-4\n" << "Verdana" << 10 << windowText << 12 << true << true;
    QTest::newRow("absurd sizes read as defaults")
        << "PPhoneFontSize=5000\nLine3=100000\n" << "Verdana" << 10 << windowText << 12 << true << true;
    QTest::newRow("a line of no height is kept")
        << "Line3=0\nLinec3=0\n" << "Verdana" << 10 << windowText << 0 << true << false;
    QTest::newRow("any non-zero switch prints") << "Linec2=2\n" << "Verdana" << 10 << windowText << 12 << true << true;
}

void TestPrintTemplates::loadTemplate()
{
    QFETCH(QString, section);
    QFETCH(QString, fontName);
    QFETCH(int, fontSize);
    QFETCH(int, fontColor);
    QFETCH(int, line3);
    QFETCH(bool, line2Printed);
    QFETCH(bool, line3Printed);
    const PrintTemplates file(IniDocument(section.isEmpty() ? QString() : "[T]\n" + section));
    PrintSettings settings;
    // What a template does not set must not survive from the one loaded before.
    settings.font(PrintField::Phone) = {"Old", 8, 0};
    settings.lineHeights[2] = 30;
    settings.setLinePrinted(2, false);
    file.loadTemplate("T", settings);
    QCOMPARE(settings.font(PrintField::Phone).name, fontName);
    QCOMPARE(settings.font(PrintField::Phone).size, fontSize);
    QCOMPARE(settings.font(PrintField::Phone).color, fontColor);
    QCOMPARE(settings.lineHeight(3), line3);
    QCOMPARE(settings.printsLine(2), line2Printed);
    QCOMPARE(settings.printsLine(3), line3Printed);
    QVERIFY(settings.printsLine(1));
}

void TestPrintTemplates::writeTemplateWritesEveryKey()
{
    PrintTemplates file;
    PrintSettings settings;
    settings.font(PrintField::CEmail) = {"Liberation Serif", 11, 0x0000FF};
    settings.lineHeights[9] = 17;
    settings.setLinePrinted(10, false);
    file.writeTemplate("Mine", settings);
    const QStringList lines = sectionLines(file, "Mine");
    QCOMPARE(lines.size(), 48 + 10 + 9);
    QCOMPARE(lines.mid(0, 3), (QStringList{"PNameFontName=Verdana", "PNameFontSize=10", "PNameFontColor=-2147483640"}));
    QCOMPARE(lines.mid(45, 3), (QStringList{"PCEmailFontName=Liberation Serif", "PCEmailFontSize=11", "PCEmailFontColor=255"}));
    QVERIFY(lines.contains("PAgentFontName=Verdana"));
    QCOMPARE(lines.mid(48, 2), (QStringList{"Line1=12", "Line2=12"}));
    QCOMPARE(lines[57], QString("Line10=17"));
    QCOMPARE(lines[58], QString("Linec2=1"));
    QCOMPARE(lines.last(), QString("Linec10=0"));
}

void TestPrintTemplates::writtenTemplateReadsBack()
{
    PrintSettings written;
    for (PrintField f : allPrintFields())
        written.font(f) = {QString("Font %1").arg(int(f)), 8 + int(f) % 5, int(f) * 0x010203};
    for (int line = 1; line <= 10; ++line) {
        written.lineHeights[size_t(line - 1)] = 10 + line;
        written.setLinePrinted(line, line % 3 != 0);
    }
    PrintTemplates file;
    file.writeTemplate("Round", written);
    PrintSettings read;
    PrintTemplates(IniDocument(file.document().toText())).loadTemplate("Round", read);
    QCOMPARE(read.fonts, written.fonts);
    QCOMPARE(read.lineHeights, written.lineHeights);
    QCOMPARE(read.lineSwitches, written.lineSwitches);
}

void TestPrintTemplates::fileRoundTrip()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("pt.ini");
    QVERIFY(PrintTemplates::load(path).templateList(PrintMode::Cards).names.isEmpty()); // missing file
    PrintTemplates file = PrintTemplates::load(path);
    file.writeTemplateList(PrintMode::Cards, {{"Name with 中文"}, "Name with 中文"});
    file.save();
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QVERIFY(written.readAll().contains("temp0=Name with \xe4\xb8\xad\xe6\x96\x87\n")); // UTF-8
    QCOMPARE(PrintTemplates::load(path).templateList(PrintMode::Cards).names, QStringList{"Name with 中文"});
}

void TestPrintTemplates::unwritableFile()
{
    const PrintTemplates file({}, "/nonexistent-dir/pt.ini");
    try {
        file.save();
        QFAIL("no error");
    } catch (const Error &e) {
        QCOMPARE(e.text(), QString("Unable to write to /nonexistent-dir/pt.ini"));
    }
}

void TestPrintTemplates::saveWritesTemplateListAndPage()
{
    QTemporaryDir dir;
    PrintTemplates file = PrintTemplates(IniDocument(QString::fromUtf8(kThreeCards)), dir.filePath("pt.ini"));
    TemplateList list = file.templateList(PrintMode::PhoneList);
    PrintSettings settings;
    settings.mode = PrintMode::PhoneList;
    settings.lineHeights[0] = 22;
    templates::save(file, PrintMode::PhoneList, list, "Phone List", settings);
    const PrintTemplates saved = PrintTemplates::load(dir.filePath("pt.ini"));
    PrintSettings read;
    saved.loadTemplate("Phone List", read);
    QCOMPARE(read.lineHeight(1), 22);
    QCOMPARE(saved.templateList(PrintMode::PhoneList), (TemplateList{{"Phone List"}, "Phone List"}));
    QCOMPARE(saved.selectedPage(), 3);
    QCOMPARE(saved.templateList(PrintMode::Cards).names.size(), 3); // other modes untouched
}

void TestPrintTemplates::saveAs_data()
{
    QTest::addColumn<std::optional<QString>>("answer");
    QTest::addColumn<QString>("message");

    QTest::newRow("cancelled") << std::optional<QString>() << "";
    QTest::newRow("blanks only") << std::optional<QString>("   ") << "";
    QTest::newRow("name of this mode") << std::optional<QString>("Small Card") << "The same name exists.";
    QTest::newRow("name of another mode") << std::optional<QString>("Phone List") << "The same name exists.";
    QTest::newRow("same name in other case") << std::optional<QString>("small card") << "The same name exists.";
    QTest::newRow("name of a list section") << std::optional<QString>("DetailListTemplates") << "The same name exists.";
    QTest::newRow("name of the page section") << std::optional<QString>("SelectedMode") << "The same name exists.";
    QTest::newRow("the skipped name") << std::optional<QString>("----") << "The same name exists.";
    QTest::newRow("bracket") << std::optional<QString>("Big]Card") << "A template name cannot contain \"]\" or \"=\".";
    QTest::newRow("equals sign") << std::optional<QString>("A=B") << "A template name cannot contain \"]\" or \"=\".";
}

void TestPrintTemplates::saveAs()
{
    QFETCH(std::optional<QString>, answer);
    QFETCH(QString, message);
    QTemporaryDir dir;
    PrintTemplates file(IniDocument(QString::fromUtf8(kThreeCards)), dir.filePath("pt.ini"));
    const QString before = file.document().toText();
    TemplateList list = file.templateList(PrintMode::Cards);
    test::ScriptedPrompter prompter;
    prompter.expectInput("New Template Name", "Template name:", answer);
    if (!message.isEmpty())
        prompter.expectMessage(message, Icon::Plain, Button::Ok, Button::Ok);
    QCOMPARE(templates::saveAs(file, PrintMode::Cards, list, PrintSettings(), prompter), std::nullopt);
    QCOMPARE(file.document().toText(), before);
    QCOMPARE(list.names.size(), 3);
    QVERIFY(!QFile::exists(dir.filePath("pt.ini")));
}

void TestPrintTemplates::saveAsAddsAndSelects()
{
    QTemporaryDir dir;
    PrintTemplates file(IniDocument(QString::fromUtf8(kThreeCards)), dir.filePath("pt.ini"));
    TemplateList list = file.templateList(PrintMode::Cards);
    PrintSettings settings;
    settings.font(PrintField::Name).size = 12;
    test::ScriptedPrompter prompter;
    prompter.expectInput("New Template Name", "Template name:", QString("  Desk Card "));
    QCOMPARE(templates::saveAs(file, PrintMode::Cards, list, settings, prompter), QString("Desk Card"));
    const PrintTemplates saved = PrintTemplates::load(dir.filePath("pt.ini"));
    QCOMPARE(saved.templateList(PrintMode::Cards),
             (TemplateList{{"Large Card", "Small Card", "Tiny Card", "Desk Card"}, "Desk Card"}));
    PrintSettings read;
    saved.loadTemplate("Desk Card", read);
    QCOMPARE(read.font(PrintField::Name).size, 12);
    QCOMPARE(saved.selectedPage(), 0);
}

void TestPrintTemplates::deleteKeepsOne()
{
    QTemporaryDir dir;
    PrintTemplates file(IniDocument(QString::fromUtf8(kThreeCards)), dir.filePath("pt.ini"));
    TemplateList list = file.templateList(PrintMode::PhoneList);
    PrintSettings settings;
    test::ScriptedPrompter prompter;
    prompter.expectMessage("You'd better leave one template at least.", Icon::Plain, Button::Ok, Button::Ok);
    QVERIFY(!templates::remove(file, PrintMode::PhoneList, list, settings, prompter));
    QCOMPARE(list.names, QStringList{"Phone List"});
    QVERIFY(file.hasSection("Phone List"));
}

void TestPrintTemplates::deleteSelectedOfThree()
{
    QTemporaryDir dir;
    PrintTemplates file(IniDocument(QString::fromUtf8(kThreeCards)), dir.filePath("pt.ini"));
    TemplateList list = file.templateList(PrintMode::Cards);
    PrintSettings settings;
    settings.mode = PrintMode::Cards;
    file.loadTemplate(list.selected, settings);
    QCOMPARE(settings.font(PrintField::Name).size, 9);
    test::ScriptedPrompter prompter;
    QVERIFY(templates::remove(file, PrintMode::Cards, list, settings, prompter));
    QCOMPARE(list, (TemplateList{{"Large Card", "Tiny Card"}, "Large Card"}));
    QCOMPARE(settings.font(PrintField::Name), (FieldFont{"Liberation Serif", 12, int(0x80000008u)}));
    const PrintTemplates saved = PrintTemplates::load(dir.filePath("pt.ini"));
    QVERIFY(!saved.hasSection("Small Card"));
    QCOMPARE(saved.templateList(PrintMode::Cards), list);
    QCOMPARE(saved.selectedPage(), 0);
}

void TestPrintTemplates::commandsWriteTheListOfTheModeGiven()
{
    QTemporaryDir dir;
    PrintTemplates file(IniDocument(QString::fromUtf8(kThreeCards)), dir.filePath("pt.ini"));
    PrintSettings settings; // last captured on the cards page
    settings.mode = PrintMode::Cards;
    TemplateList list = file.templateList(PrintMode::PhoneList);
    test::ScriptedPrompter prompter;
    prompter.expectInput("New Template Name", "Template name:", QString("Wall List"));
    QCOMPARE(templates::saveAs(file, PrintMode::PhoneList, list, settings, prompter), QString("Wall List"));
    QVERIFY(templates::remove(file, PrintMode::PhoneList, list, settings, prompter));
    const PrintTemplates saved = PrintTemplates::load(dir.filePath("pt.ini"));
    QCOMPARE(saved.templateList(PrintMode::PhoneList), (TemplateList{{"Phone List"}, "Phone List"}));
    QVERIFY(!saved.hasSection("Wall List"));
    QCOMPARE(sectionLines(saved, "CardTemplates"),
             (QStringList{"temp0=Large Card", "temp1=Small Card", "temp2=Tiny Card", "SelectedTemp=Small Card"}));
    QCOMPARE(saved.selectedPage(), 3);
}

QTEST_GUILESS_MAIN(TestPrintTemplates)
#include "tst_printtemplates.moc"
