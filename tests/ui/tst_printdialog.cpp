// The print dialog and the print commands, with real widgets.
#include "PersonFixture.h"
#include "ScriptedPrompter.h"

#include "data/RecordStore.h"
#include "printing/FieldSample.h"
#include "printing/PrintCommands.h"
#include "printing/PrintDialog.h"
#include "printing/ReportPainter.h"
#include "printing/ReportPreview.h"
#include "settings/Settings.h"
#include "shell/ProgramDirectory.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <memory>

using namespace qv;
using Icon = Prompter::Icon;
using Button = Prompter::Button;

namespace {

const char *kTemplates =
    "[SelectedMode]\nSelectedMode=%1\n"
    "[CardTemplates]\ntemp0=Large Card\ntemp1=Small Card\ntemp2=Tiny Card\nSelectedTemp=Large Card\n"
    "[Large Card]\nPNameFontName=Liberation Serif\nPNameFontSize=12\nLine1=20\n"
    "[Small Card]\nPNameFontName=DejaVu Sans\nPNameFontSize=9\nLine1=14\nLinec3=0\n"
    "[Tiny Card]\nPNameFontName=DejaVu Sans\nPNameFontSize=8\n"
    "[PhoneListTemplates]\ntemp0=Phone List\ntemp1=Wall List\nSelectedTemp=Wall List\n"
    "[Phone List]\n[Wall List]\nPEmailFontName=Liberation Serif\nPNameFontSize=11\n";

struct Book {
    QTemporaryDir dir;
    Settings settings{dir.filePath("aa.ini")};
    RecordStore data;
    test::ScriptedPrompter prompter;

    explicit Book(int selectedPage = 0, bool withTemplates = true)
    {
        const auto p = [](int id, const char *name, const char *surname, int orgId) {
            return test::person({{"ClientID", qint32(id)}, {"Name", QString(name)}, {"SurName", QString(surname)},
                                 {"OrgID", qint32(orgId)}, {"Yellow", false}, {"Phone", QString("555-%1").arg(id)}});
        };
        data.personRead.appendRecord(p(1, "Ann Able", "Able", 2001));
        data.personRead.appendRecord(p(2, "Bob Baker", "Baker", 0));
        data.organisationRead.appendRecord({qint32(0), QString("Nobody Ltd")});
        data.organisationRead.appendRecord({qint32(2001), QString("Acme Ltd")});
        data.bindViews();
        if (withTemplates) {
            QFile f(path());
            f.open(QIODevice::WriteOnly);
            f.write(QString::fromLatin1(kTemplates).arg(selectedPage).toUtf8());
        }
    }
    QString home() const { return dir.path() + "/"; }
    QString path() const { return home() + "pt.ini"; }
};

struct Dialog {
    enum class Templates { Test, None, Shipped };
    Book book;
    PrintDialog dialog{book.data, book.prompter};

    explicit Dialog(int selectedPage = 0, bool withTemplates = true)
        : Dialog(withTemplates ? Templates::Test : Templates::None, selectedPage)
    {
    }
    explicit Dialog(Templates templates, int selectedPage = 0)
        : book(selectedPage, templates == Templates::Test)
    {
        if (templates == Templates::Shipped)
            installShippedFiles(book.home());
        dialog.setPrinterCheck([] { return false; });
        dialog.prepare(book.path());
        dialog.show();
    }
    QString sampleText(int page, PrintField field) const { return dialog.page(page)->sample(field)->text(); }
    void click(const char *name) { QTest::mouseClick(dialog.findChild<QAbstractButton *>(name), Qt::LeftButton); }
};

// pt.ini by sections: the name of each in file order ("" for the lines
// before the first), and its lines without the blank ones.
struct IniSections {
    QStringList names;
    QMap<QString, QStringList> lines;
};

IniSections readSections(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    IniSections sections{{QString()}, {}};
    QString current;
    for (const QString &line : QString::fromUtf8(file.readAll()).split('\n')) {
        const QString text = line.trimmed();
        if (text.startsWith('[')) {
            current = text.mid(1, text.indexOf(']') - 1);
            sections.names << current;
        } else if (!text.isEmpty()) {
            sections.lines[current] << text;
        }
    }
    return sections;
}

// Answers the next modal dialog that opens, once the event loop runs. The
// watch deletes itself after answering; a caller expecting no dialog deletes it.
QTimer *whenModal(const std::function<void(QWidget *)> &answer)
{
    auto *timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            answer(modal);
        }
    });
    timer->start(10);
    return timer;
}

} // namespace

class TestPrintDialog : public QObject {
    Q_OBJECT
private slots:
    void opensOnThePageLastSaved();
    void withoutTemplatesFile();
    void samplesShowTheCurrentEntry();
    void navigationMovesTheList();
    void choosingATemplateShowsIt();
    void switchingPagesLoadsTheirTemplates();
    void chosenFontGoesToTheClickedField();
    void cancelledFontDialogDisarms();
    void lineSwitchesAreCaptured();
    void phonePageKeepsOtherFonts();
    void saveAsFromTheDialog();
    void saveWithoutSelectionAsksForAName();
    void deleteFromTheDialog();
    void templateCommandsChangeOnlyTheShownPage_data();
    void templateCommandsChangeOnlyTheShownPage();
    void buttonsCloseWithTheirAction_data();
    void buttonsCloseWithTheirAction();
    void commands_data();
    void commands();
    void withoutPrinterTheReportIsPreviewed();
    void nothingToPrint();
    void reportsCarryTheOwnerName();
};

void TestPrintDialog::opensOnThePageLastSaved()
{
    Dialog d(3);
    QCOMPARE(d.dialog.activePage(), 3);
    QCOMPARE(d.dialog.templateBox()->count(), 2);
    QCOMPARE(d.dialog.templateBox()->currentText(), QString("Wall List"));
    QCOMPARE(d.dialog.page(3)->sample(PrintField::Name)->fieldFont().size, 11);
    QCOMPARE(d.dialog.windowTitle(), QString("Print"));
    QVERIFY(!(d.dialog.windowFlags() & Qt::WindowCloseButtonHint));
}

void TestPrintDialog::withoutTemplatesFile()
{
    Dialog d(0, false);
    QCOMPARE(d.dialog.activePage(), 0);
    QCOMPARE(d.dialog.templateBox()->count(), 0);
    const PrintSettings &s = d.dialog.capturedSettings();
    QCOMPARE(s.mode, PrintMode::Cards);
    QCOMPARE(s.font(PrintField::Name), FieldFont());
    QCOMPARE(s.lineHeight(10), 12);
}

void TestPrintDialog::samplesShowTheCurrentEntry()
{
    Dialog d;
    QCOMPARE(d.sampleText(0, PrintField::Name), QString("Ann Able"));
    QCOMPARE(d.sampleText(0, PrintField::Agent), QString("Acme Ltd"));
    QCOMPARE(d.sampleText(3, PrintField::Phone), QString("555-1"));
    QCOMPARE(d.sampleText(0, PrintField::Pager), QString("(Pager)")); // empty: its name to click on
    QCOMPARE(d.dialog.page(0)->sample(PrintField::Fax), nullptr); // never printed
}

void TestPrintDialog::navigationMovesTheList()
{
    Dialog d;
    QSignalSpy moved(&d.dialog, &PrintDialog::entryMoved);
    d.click("last");
    QCOMPARE(d.book.data.personList.recNo(), 2);
    QCOMPARE(d.sampleText(1, PrintField::Name), QString("Bob Baker"));
    QCOMPARE(d.sampleText(1, PrintField::Agent), QString("Nobody Ltd")); // the default organisation
    d.click("previous");
    QCOMPARE(d.sampleText(0, PrintField::Name), QString("Ann Able"));
    QCOMPARE(moved.count(), 2);
}

void TestPrintDialog::choosingATemplateShowsIt()
{
    Dialog d;
    SamplePage *page = d.dialog.page(0);
    QCOMPARE(page->sample(PrintField::Name)->fieldFont().name, QString("Liberation Serif"));
    QCOMPARE(page->lineHeight(1), 20);
    QTest::keyClick(d.dialog.templateBox(), Qt::Key_Down);
    QCOMPARE(d.dialog.templateBox()->currentText(), QString("Small Card"));
    QCOMPARE(page->sample(PrintField::Name)->fieldFont(), (FieldFont{"DejaVu Sans", 9, int(0x80000008u)}));
    QCOMPARE(page->lineHeight(1), 14);
    QVERIFY(!page->lineSwitch(3)->isChecked());
    QVERIFY(page->lineSwitch(2)->isChecked());
}

void TestPrintDialog::switchingPagesLoadsTheirTemplates()
{
    Dialog d;
    d.dialog.setActivePage(3);
    QCOMPARE(d.dialog.templateBox()->currentText(), QString("Wall List"));
    d.dialog.setActivePage(1); // no templates for the list by name: nothing listed, nothing loaded
    QCOMPARE(d.dialog.templateBox()->count(), 0);
    QCOMPARE(d.dialog.capturedSettings().mode, PrintMode::ByName);
}

void TestPrintDialog::chosenFontGoesToTheClickedField()
{
    Dialog d;
    const FieldFont chosen{"DejaVu Sans", 12, 255};
    bool scalableOnly = false;
    d.dialog.setFontChooser([&](const FieldFont &, bool scalable) {
        scalableOnly = scalable;
        return std::optional<FieldFont>(chosen);
    });
    FieldSample *name = d.dialog.page(0)->sample(PrintField::Name);
    QTest::mouseClick(name, Qt::LeftButton); // not armed yet: nothing happens
    QCOMPARE(name->fieldFont().name, QString("Liberation Serif"));
    d.book.prompter.expectMessage("You don't have a printer, you may select true type fonts only.", Icon::Plain,
                                  Button::Ok, Button::Ok);
    d.click("printerFonts");
    QVERIFY(scalableOnly);
    QCOMPARE(d.dialog.findChild<QLabel *>("fontSample")->font().pointSize(), 12);
    QTest::mouseClick(name, Qt::LeftButton);
    QCOMPARE(name->fieldFont(), chosen);
    const int expected = QFontMetrics(reportFont(ReportFont{"DejaVu Sans", 12})).height() + 2;
    QCOMPARE(d.dialog.page(0)->lineHeight(1), expected);
    const PrintSettings &s = d.dialog.capturedSettings();
    QCOMPARE(s.font(PrintField::Name), chosen);
    QCOMPARE(s.lineHeight(1), expected);
    QCOMPARE(s.lineHeight(2), 12);
}

void TestPrintDialog::cancelledFontDialogDisarms()
{
    Dialog d;
    d.dialog.setPrinterCheck([] { return true; });
    QList<bool> scalable;
    std::optional<FieldFont> answer = FieldFont{"DejaVu Sans", 8, 0};
    d.dialog.setFontChooser([&](const FieldFont &, bool s) {
        scalable << s;
        return answer;
    });
    d.click("printerFonts");
    answer.reset();
    d.click("printerFonts");
    QCOMPARE(scalable, (QList<bool>{false, false})); // with a printer: every font, no message
    FieldSample *phone = d.dialog.page(0)->sample(PrintField::Phone);
    QTest::mouseClick(phone, Qt::LeftButton);
    QCOMPARE(phone->fieldFont(), FieldFont());
}

void TestPrintDialog::lineSwitchesAreCaptured()
{
    Dialog d;
    QTest::mouseClick(d.dialog.page(0)->lineSwitch(10), Qt::LeftButton);
    const PrintSettings &s = d.dialog.capturedSettings();
    QVERIFY(!s.printsLine(10));
    QVERIFY(s.printsLine(9));
    QCOMPARE(d.dialog.page(0)->lineSwitch(1), nullptr); // line 1 always prints
}

void TestPrintDialog::phonePageKeepsOtherFonts()
{
    Dialog d(3);
    // The Wall List sets the Email font, which the phone list neither shows nor prints.
    const PrintSettings &s = d.dialog.capturedSettings();
    QCOMPARE(s.mode, PrintMode::PhoneList);
    QCOMPARE(s.font(PrintField::Email).name, QString("Liberation Serif"));
    QCOMPARE(s.font(PrintField::Name).size, 11);
}

void TestPrintDialog::saveAsFromTheDialog()
{
    Dialog d;
    QTest::mouseClick(d.dialog.page(0)->lineSwitch(4), Qt::LeftButton);
    d.book.prompter.expectInput("New Template Name", "Template name:", QString("Desk Card"));
    d.click("saveAs");
    QCOMPARE(d.dialog.templateBox()->currentText(), QString("Desk Card"));
    QCOMPARE(d.dialog.templateBox()->count(), 4);
    const PrintTemplates saved = PrintTemplates::load(d.book.path());
    QCOMPARE(saved.templateList(PrintMode::Cards).selected, QString("Desk Card"));
    PrintSettings read;
    saved.loadTemplate("Desk Card", read);
    QVERIFY(!read.printsLine(4));
    QCOMPARE(read.font(PrintField::Name).name, QString("Liberation Serif"));
}

void TestPrintDialog::saveWithoutSelectionAsksForAName()
{
    Dialog d(0, false);
    d.book.prompter.expectInput("New Template Name", "Template name:", QString("First"));
    d.click("save");
    QCOMPARE(d.dialog.templateBox()->currentText(), QString("First"));
    QCOMPARE(PrintTemplates::load(d.book.path()).templateList(PrintMode::Cards).names, QStringList{"First"});
}

void TestPrintDialog::deleteFromTheDialog()
{
    Dialog d;
    QTest::keyClick(d.dialog.templateBox(), Qt::Key_Down); // Small Card
    d.click("delete");
    QCOMPARE(d.dialog.templateBox()->count(), 2);
    QCOMPARE(d.dialog.templateBox()->currentText(), QString("Large Card"));
    QCOMPARE(d.dialog.page(0)->sample(PrintField::Name)->fieldFont().name, QString("Liberation Serif"));
    QVERIFY(!PrintTemplates::load(d.book.path()).hasSection("Small Card"));
}

void TestPrintDialog::templateCommandsChangeOnlyTheShownPage_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("listSection");
    QTest::addColumn<QStringList>("list");   // the list section afterwards
    QTest::addColumn<QString>("touched"); // the template deleted, saved or added

    // The shipped pt.ini; the second template of the page is chosen first.
    const struct {
        const char *caption;
        const char *section;
        const char *first;
        const char *second;
    } pages[] = {
        {"Cards", "CardTemplates", "Large Card", "Small Card"},
        {"Detail List by Name", "DetailListTemplates", "Detail List", "Compact Detail List"},
        {"Detail List by Org", "AgentDetailListTemplates", "Organisation List", "Compact Organisation List"},
        {"Phone List", "PhoneListTemplates", "Phone List", "Compact Phone List"},
    };
    for (int page = 0; page < 4; ++page) {
        const auto &p = pages[page];
        const QString first = p.first;
        const QString second = p.second;
        QTest::addRow("%s: delete", p.caption) << page << "delete" << p.section
                                               << QStringList{"temp0=" + first, "SelectedTemp=" + first} << second;
        QTest::addRow("%s: save", p.caption) << page << "save" << p.section
                                             << QStringList{"temp0=" + first, "temp1=" + second, "SelectedTemp=" + second}
                                             << second;
        QTest::addRow("%s: save as", p.caption)
            << page << "saveAs" << p.section
            << QStringList{"temp0=" + first, "temp1=" + second, "temp2=Mine", "SelectedTemp=Mine"} << "Mine";
    }
}

void TestPrintDialog::templateCommandsChangeOnlyTheShownPage()
{
    QFETCH(int, page);
    QFETCH(QString, command);
    QFETCH(QString, listSection);
    QFETCH(QStringList, list);
    QFETCH(QString, touched);
    Dialog d(Dialog::Templates::Shipped);
    const IniSections before = readSections(d.book.path());
    d.dialog.setActivePage(page);
    QTest::keyClick(d.dialog.templateBox(), Qt::Key_Down); // the page's second template
    const QString chosen = d.dialog.templateBox()->currentText();
    if (command == "save")
        QTest::mouseClick(d.dialog.page(page)->lineSwitch(2), Qt::LeftButton);
    if (command == "saveAs")
        d.book.prompter.expectInput("New Template Name", "Template name:", QString("Mine"));
    d.click(qPrintable(command));
    QVERIFY(d.book.prompter.verifyAllAnswered());

    const IniSections after = readSections(d.book.path());
    QCOMPARE(after.lines.value(listSection), list);
    QCOMPARE(after.lines.value("SelectedMode"), QStringList{QString("SelectedMode=%1").arg(page)});
    for (const QString &section : before.names) {
        if (section != listSection && section != "SelectedMode" && section != touched)
            QVERIFY2(after.lines.value(section) == before.lines.value(section), qPrintable(section));
    }
    // Sections keep their places; a new template comes last.
    QStringList names = before.names;
    if (command == "delete")
        names.removeOne(touched);
    if (command == "saveAs")
        names << touched;
    QCOMPARE(after.names, names);
    if (command == "save") {
        QStringList saved = before.lines.value(touched);
        saved.replaceInStrings(QRegularExpression("^Linec2=1$"), "Linec2=0");
        QCOMPARE(after.lines.value(touched), saved);
    }
    if (command == "saveAs")
        QCOMPARE(after.lines.value(touched), before.lines.value(chosen));
    if (command == "delete") // the first template is shown
        QCOMPARE(d.dialog.templateBox()->currentText(), list.first().mid(6));
}

void TestPrintDialog::buttonsCloseWithTheirAction_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("action");
    QTest::newRow("preview") << "preview" << int(PrintDialog::Action::Preview);
    QTest::newRow("print") << "print" << int(PrintDialog::Action::Print);
    QTest::newRow("cancel") << "cancel" << int(PrintDialog::Action::Cancel);
    QTest::newRow("Esc after a print") << "Esc" << int(PrintDialog::Action::Cancel);
    QTest::newRow("Enter prints") << "Enter" << int(PrintDialog::Action::Print);
}

void TestPrintDialog::buttonsCloseWithTheirAction()
{
    QFETCH(QString, button);
    QFETCH(int, action);
    Dialog d;
    if (button == "Esc") {
        d.click("print");
        d.dialog.show();
        QTest::keyClick(&d.dialog, Qt::Key_Escape);
    } else if (button == "Enter") {
        QTest::keyClick(&d.dialog, Qt::Key_Return);
    } else {
        d.click(qPrintable(button));
    }
    QVERIFY(!d.dialog.isVisible());
    QCOMPARE(int(d.dialog.action()), action);
}

void TestPrintDialog::commands_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<QString>("hint");
    QTest::newRow("mode") << 0 << "Print &Mode..." << "Ctrl+M" << "Select a print template";
    QTest::newRow("setup") << 1 << "Print Set&up..." << "" << "Change the printer options";
    QTest::newRow("preview") << 2 << "Print Pre&view" << "" << "Display view of address book as it will be printed";
    QTest::newRow("print") << 3 << "&Print" << "Ctrl+P" << "Print the address book";
}

void TestPrintDialog::commands()
{
    QFETCH(int, row);
    QFETCH(QString, caption);
    QFETCH(QString, shortcut);
    QFETCH(QString, hint);
    Book book;
    QWidget window;
    PrintCommands commands(book.data, book.settings, book.prompter, &window);
    const QList<QAction *> actions = commands.actions();
    QCOMPARE(actions[row]->text(), caption);
    QCOMPARE(actions[row]->shortcut().toString(), shortcut);
    QCOMPARE(actions[row]->statusTip(), hint);
}

void TestPrintDialog::withoutPrinterTheReportIsPreviewed()
{
    Book book;
    QWidget window;
    PrintCommands commands(book.data, book.settings, book.prompter, &window);
    commands.setPrinterCheck([] { return false; });
    const QString pdf = book.home() + "exported.pdf";
    book.prompter.expectMessage("You don't have a printer.", Icon::Plain, Button::Ok, Button::Ok);
    book.prompter.expectSaveFile(pdf);
    QString previewTitle;
    whenModal([&](QWidget *modal) {
        previewTitle = modal->windowTitle();
        auto *preview = qobject_cast<ReportPreview *>(modal);
        QVERIFY(preview);
        QVERIFY(!preview->findChild<QAction *>("print")->isEnabled());
        QAction *exportPdf = preview->findChild<QAction *>("exportPdf");
        QVERIFY(exportPdf);
        QCOMPARE(exportPdf->text(), QString("Export to PDF..."));
        exportPdf->trigger();
        preview->close();
    });
    commands.printAction()->trigger();
    QCOMPARE(previewTitle, QString("Print Preview"));
    QVERIFY(QFile(pdf).size() > 1000);
    QVERIFY(book.prompter.verifyAllAnswered());
}

void TestPrintDialog::nothingToPrint()
{
    Book book;
    book.data.personList.setFilter("OrgID=-1");
    QWidget window;
    PrintCommands commands(book.data, book.settings, book.prompter, &window);
    commands.setPrinterCheck([] { return true; });
    bool previewed = false;
    const std::unique_ptr<QTimer> watch(whenModal([&](QWidget *modal) {
        previewed = true;
        modal->close();
    }));
    book.prompter.expectMessage("Please specify what to print.", Icon::Plain, Button::Ok, Button::Ok);
    commands.previewAction()->trigger();
    QTest::qWait(50);
    QVERIFY(!previewed);
}

void TestPrintDialog::reportsCarryTheOwnerName()
{
    Book book;
    book.settings.ownerName = "Kim Lee";
    QWidget window;
    PrintCommands commands(book.data, book.settings, book.prompter, &window);
    commands.setPrinterCheck([] { return true; });
    QStringList texts;
    whenModal([&](QWidget *modal) {
        auto *preview = qobject_cast<ReportPreview *>(modal);
        QVERIFY(preview);
        for (const ReportText &t : preview->report().page(1).texts)
            texts << t.text;
        preview->close();
    });
    commands.previewAction()->trigger();
    QVERIFY2(texts.contains("Kim Lee's Address Book"), qPrintable(texts.join(" | ")));
    QVERIFY2(texts.contains("Quorvel printing for Kim Lee"), qPrintable(texts.join(" | ")));
}

QTEST_MAIN(TestPrintDialog)
#include "tst_printdialog.moc"
