#include "ScriptedPrompter.h"

#include "data/RecordStore.h"
#include "settings/Settings.h"
#include "shell/MainWindow.h"
#include "shell/ProgramDirectory.h"
#include "tools/OptionsDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontComboBox>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

using namespace qv;
using Icon = Prompter::Icon;
using Button = Prompter::Button;

namespace {

const QString kMoveBooks = "After exiting the program, please move the address book files (*.qvp) to the new location.";

// Runs f on the modal dialog as soon as it is shown; a dialog that f left
// open (a failed check) is closed, so that the test ends.
void onModal(std::function<void(QDialog *)> f)
{
    QTimer::singleShot(0, [f] {
        auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        QVERIFY(modal);
        f(modal);
        if (modal->isVisible())
            modal->reject();
    });
}

template<class T>
T *child(QWidget *dialog, const char *name)
{
    T *w = dialog->findChild<T *>(name);
    Q_ASSERT(w);
    return w;
}

void click(QWidget *dialog, const char *name)
{
    child<QAbstractButton>(dialog, name)->click();
}

// In the font dialog: chooses the size and colour and confirms.
void chooseFont(QDialog *options, int size, const QString &colour)
{
    onModal([=](QDialog *fonts) {
        auto *sizes = child<QComboBox>(fonts, "size");
        sizes->setCurrentIndex(sizes->findText(QString::number(size)));
        auto *colours = child<QComboBox>(fonts, "colour");
        colours->setCurrentIndex(colours->findText(colour));
        fonts->accept();
    });
    click(options, "font");
}

// The main window over an empty program directory with the shipped files: it
// says there is no book and shows the template.
struct WindowWithoutBooks {
    QTemporaryDir dir;
    const QString home = dir.path() + "/";
    RecordStore data;
    test::ScriptedPrompter prompter;
    std::unique_ptr<MainWindow> window;

    WindowWithoutBooks()
    {
        installShippedFiles(home);
        prompter.expectMessage("There may not be any addressbook in the default location.", Icon::Plain, Button::Ok, Button::Ok);
        prompter.expectMessage("Loading addressbook of Default fail, You may select another addressbook from the 'File' menu.",
                               Icon::Warning, Button::Ok, Button::Ok);
        window = std::make_unique<MainWindow>(home, home + "work/", data, &prompter);
        window->show();
    }
};

} // namespace

class TestOptionsDialog : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void opensWithTheSettings();
    void okStoresBoxesAndTheChosenAreasFont();
    void fontWithoutAreaChangesNoArea();
    void fontDialogOffersEightToTwelvePoints();
    void cancelRestoresSwitchAndDirectory();
    void browseAppendsSlashAndTellsToMoveBooks();
    void passwordHoldsAfterCancel();
    void encryption();
    void ownerName();
    void mainWindowConfirm_data();
    void mainWindowConfirm();
    void entryViewerFontReachesTheEditor();

private:
    std::unique_ptr<Settings> m_settings;
    std::unique_ptr<test::ScriptedPrompter> m_prompter;
    std::unique_ptr<OptionsDialog> m_dialog;
};

void TestOptionsDialog::init()
{
    m_settings = std::make_unique<Settings>("/nowhere/aa.ini");
    m_settings->dataDir = "/home/u/books/";
    m_settings->recListFont = {"Serif", 0x000000, 10};
    m_prompter = std::make_unique<test::ScriptedPrompter>();
    m_dialog = std::make_unique<OptionsDialog>(*m_settings, *m_prompter);
}

void TestOptionsDialog::cleanup()
{
    QVERIFY(m_prompter->verifyAllAnswered());
    m_dialog.reset();
}

void TestOptionsDialog::opensWithTheSettings()
{
    m_settings->confirmDeletion = false;
    m_settings->toSaveSize = false;
    onModal([](QDialog *d) {
        QCOMPARE(d->windowTitle(), "Options");
        QVERIFY(!child<QCheckBox>(d, "confirmDeletion")->isChecked());
        QVERIFY(child<QCheckBox>(d, "checkOrgSameName")->isChecked());
        QVERIFY(!child<QCheckBox>(d, "keepSizes")->isChecked());
        QVERIFY(child<QCheckBox>(d, "saveWithPassword")->isChecked());
        QCOMPARE(child<QLineEdit>(d, "dataDirectory")->text(), "/home/u/books/");
        QCOMPARE(child<QLineEdit>(d, "sample")->text(), "Sample Here");
        for (const char *area : {"area0", "area1", "area2", "area3"})
            QVERIFY(!child<QRadioButton>(d, area)->isChecked());
        QVERIFY(!(d->windowFlags() & Qt::WindowCloseButtonHint));
    });
    QVERIFY(!m_dialog->ask());
}

void TestOptionsDialog::okStoresBoxesAndTheChosenAreasFont()
{
    onModal([](QDialog *d) {
        click(d, "confirmDeletion");
        click(d, "keepSizes");
        click(d, "area2"); // "Entry &List"
        QCOMPARE(child<QLineEdit>(d, "sample")->font().family(), QFont("Serif").family());
        chooseFont(d, 12, "Red");
        QCOMPARE(child<QLineEdit>(d, "sample")->font().pointSize(), 12);
        click(d, "ok");
    });
    QVERIFY(m_dialog->ask());
    QVERIFY(!m_settings->confirmDeletion);
    QVERIFY(m_settings->checkOrgSameName);
    QVERIFY(!m_settings->toSaveSize);
    QCOMPARE(m_settings->recListFont.size, 12);
    QCOMPARE(m_settings->recListFont.color, 0x0000FF); // red in the settings' BGR order
    QCOMPARE(m_settings->treeFont, AreaFont());
    QCOMPARE(m_dialog->confirmedDataDirectory(), "/home/u/books/");
}

void TestOptionsDialog::fontWithoutAreaChangesNoArea()
{
    const Settings before = *m_settings;
    onModal([](QDialog *d) {
        chooseFont(d, 8, "Navy");
        QCOMPARE(child<QLineEdit>(d, "sample")->font().pointSize(), 8);
        click(d, "ok");
    });
    QVERIFY(m_dialog->ask());
    QCOMPARE(m_settings->surnameGridFont, before.surnameGridFont);
    QCOMPARE(m_settings->treeFont, before.treeFont);
    QCOMPARE(m_settings->recListFont, before.recListFont);
    QCOMPARE(m_settings->recViewFont, before.recViewFont);
}

void TestOptionsDialog::fontDialogOffersEightToTwelvePoints()
{
    QStringList sizes;
    QString caption;
    onModal([&](QDialog *d) {
        onModal([&](QDialog *fonts) {
            caption = fonts->windowTitle();
            auto *box = child<QComboBox>(fonts, "size");
            for (int i = 0; i < box->count(); ++i)
                sizes << box->itemText(i);
            fonts->reject();
        });
        click(d, "font");
    });
    m_dialog->ask();
    QCOMPARE(caption, "Font");
    QCOMPARE(sizes, QStringList({"8", "9", "10", "11", "12"}));
}

void TestOptionsDialog::cancelRestoresSwitchAndDirectory()
{
    m_prompter->expectFolder(QString("/srv/books"));
    m_prompter->expectMessage(kMoveBooks, Icon::Information, Button::Ok, Button::Ok);
    onModal([](QDialog *d) {
        click(d, "saveWithPassword");
        click(d, "browse");
        click(d, "area1");
        chooseFont(d, 11, "Red");
        click(d, "cancel");
    });
    QVERIFY(!m_dialog->ask());
    QVERIFY(m_dialog->saveWithPassword());
    QCOMPARE(m_settings->treeFont, AreaFont());
    QCOMPARE(m_dialog->findChild<QLineEdit *>("dataDirectory")->text(), "/home/u/books/");
    // The switch stays as the last OK left it.
    onModal([](QDialog *d) {
        click(d, "saveWithPassword");
        click(d, "ok");
    });
    QVERIFY(m_dialog->ask());
    QVERIFY(!m_dialog->saveWithPassword());
    onModal([](QDialog *d) { click(d, "cancel"); });
    m_dialog->ask();
    QVERIFY(!m_dialog->saveWithPassword());
}

void TestOptionsDialog::browseAppendsSlashAndTellsToMoveBooks()
{
    m_prompter->expectFolder(QString("/srv/books"));
    m_prompter->expectMessage(kMoveBooks, Icon::Information, Button::Ok, Button::Ok);
    m_prompter->expectFolder(std::nullopt);
    onModal([](QDialog *d) {
        click(d, "browse");
        QCOMPARE(child<QLineEdit>(d, "dataDirectory")->text(), "/srv/books/");
        click(d, "browse"); // cancelled: nothing changes
        QCOMPARE(child<QLineEdit>(d, "dataDirectory")->text(), "/srv/books/");
        click(d, "ok");
    });
    QVERIFY(m_dialog->ask());
    QCOMPARE(m_dialog->confirmedDataDirectory(), "/srv/books/");
    QCOMPARE(m_prompter->calls().first().caption, "Default path of address books");
    QCOMPARE(m_prompter->calls().first().initialText, "/home/u/books/");
}

void TestOptionsDialog::passwordHoldsAfterCancel()
{
    QSignalSpy changed(m_dialog.get(), &OptionsDialog::passwordChanged);
    m_prompter->expectPassword("Enter Password for addressbook ", QString("pw"));
    m_prompter->expectPassword("Re-enter password", QString("pw"));
    onModal([](QDialog *d) {
        click(d, "setPassword");
        click(d, "cancel");
    });
    QVERIFY(!m_dialog->ask());
    QCOMPARE(m_settings->packagePassword, "pw");
    QCOMPARE(changed.count(), 1);
}

void TestOptionsDialog::encryption()
{
    QStringList offered;
    onModal([&](QDialog *d) {
        auto *box = child<QComboBox>(d, "encryption");
        for (int i = 0; i < box->count(); ++i)
            offered << box->itemText(i);
        QCOMPARE(box->currentText(), "AES-256 (recommended)");
        box->setCurrentIndex(1);
        click(d, "cancel");
    });
    m_dialog->ask();
    QCOMPARE(offered, QStringList({"AES-256 (recommended)", "Traditional, for old archivers"}));
    QCOMPARE(m_settings->encryption(), archive::PackageCipher::Aes256);
    onModal([](QDialog *d) {
        child<QComboBox>(d, "encryption")->setCurrentIndex(1);
        click(d, "ok");
    });
    QVERIFY(m_dialog->ask());
    QCOMPARE(m_settings->encryption(), archive::PackageCipher::Traditional);
    onModal([](QDialog *d) {
        QCOMPARE(child<QComboBox>(d, "encryption")->currentText(), "Traditional, for old archivers");
        click(d, "cancel");
    });
    m_dialog->ask();
}

void TestOptionsDialog::ownerName()
{
    m_settings->ownerName = "Kim";
    onModal([](QDialog *d) {
        auto *owner = child<QLineEdit>(d, "ownerName");
        QCOMPARE(owner->text(), "Kim");
        owner->setText("Somebody else");
        click(d, "cancel");
    });
    QVERIFY(!m_dialog->ask());
    QCOMPARE(m_settings->ownerName, "Kim");
    onModal([](QDialog *d) {
        auto *owner = child<QLineEdit>(d, "ownerName");
        QCOMPARE(owner->text(), "Kim"); // not what the cancelled one held
        owner->setText("  Kim Lee ");
        click(d, "ok");
    });
    QVERIFY(m_dialog->ask());
    QCOMPARE(m_settings->ownerName, "Kim Lee");
    // Emptied: the account's name stands again.
    onModal([](QDialog *d) {
        child<QLineEdit>(d, "ownerName")->clear();
        click(d, "ok");
    });
    QVERIFY(m_dialog->ask());
    QCOMPARE(m_settings->ownerName, "");
}

void TestOptionsDialog::mainWindowConfirm_data()
{
    QTest::addColumn<bool>("programDirectory");
    QTest::newRow("another folder becomes DataDir") << false;
    QTest::newRow("the program directory leaves DataDir") << true;
}

void TestOptionsDialog::mainWindowConfirm()
{
    QFETCH(bool, programDirectory);
    WindowWithoutBooks w;
    const QTemporaryDir &dir = w.dir;
    const QString &home = w.home;
    test::ScriptedPrompter &prompter = w.prompter;
    MainWindow &window = *w.window;
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QString chosen = programDirectory ? home.chopped(1) : dir.path() + "/Books";
    prompter.expectFolder(chosen);
    prompter.expectMessage(kMoveBooks, Icon::Information, Button::Ok, Button::Ok);
    onModal([](QDialog *d) {
        click(d, "saveWithPassword");
        click(d, "browse");
        click(d, "area2");
        chooseFont(d, 12, "Black");
        child<QLineEdit>(d, "ownerName")->setText("Kim Lee");
        click(d, "ok");
    });
    QMenu *tools = window.menuBar()->actions().at(2)->menu();
    QCOMPARE(tools->title(), "&Tools");
    tools->actions().last()->trigger(); // "&Options..."
    QVERIFY(!window.lifecycle().saveWithPassword);
    QCOMPARE(window.options().dataDir, programDirectory ? home + "Data/" : dir.path() + "/Books/");
    QCOMPARE(window.dataDirectory(), home + "Data/"); // in use until the next start
    QCOMPARE(window.findChild<QListView *>("entryList")->font().pointSize(), 12);
    QCOMPARE(window.windowTitle(), "Quorvel  - Kim Lee (Default)");
    QVERIFY(prompter.verifyAllAnswered());
}

void TestOptionsDialog::entryViewerFontReachesTheEditor()
{
    WindowWithoutBooks w;
    test::ScriptedPrompter &prompter = w.prompter;
    MainWindow &window = *w.window;
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *editor = window.findChild<QDialog *>("entryEditor");
    QVERIFY(editor);
    QCOMPARE(editor->font().pointSize(), window.options().recViewFont.size);
    onModal([](QDialog *d) {
        click(d, "area3"); // "Entry &Viewer"
        chooseFont(d, 11, "Red");
        click(d, "ok");
    });
    QMenu *tools = window.menuBar()->actions().at(2)->menu();
    tools->actions().last()->trigger(); // "&Options..."
    QCOMPARE(window.findChild<QWidget *>("detailPane")->font().pointSize(), 11);
    QCOMPARE(editor->font().pointSize(), 11);
    QCOMPARE(editor->font().family(), window.findChild<QWidget *>("detailPane")->font().family());
    QVERIFY(prompter.verifyAllAnswered());
}

QTEST_MAIN(TestOptionsDialog)
#include "tst_optionsdialog.moc"
