// "Import from" > "WAB" and "WAB file..." in the main window over a generated
// book: the file, the import dialog reduced to its category, the import, its
// messages and the category listed afterwards.
#include "ScriptedPrompter.h"
#include "WabWriter.h"

#include "data/RecordStore.h"
#include "editing/CategoryPicker.h"
#include "navigation/CategoryTreeView.h"
#include "shell/MainWindow.h"
#include "shell/ProgramDirectory.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWidget>

using namespace qv;
using test::WabWriter;
using Icon = Prompter::Icon;
using Button = Prompter::Button;

Q_DECLARE_METATYPE(qv::Prompter::Icon)

namespace {

using namespace test::mapi;

// The position in the category picker the tests choose: a category, not "none".
constexpr int kPickedPosition = 2;

QByteArray threeContacts()
{
    WabWriter w;
    w.addRecord({1, {WabWriter::unicode(DisplayName, "Wab Alpha"), WabWriter::unicode(CompanyName, "Wabco One")}});
    w.addRecord({0, {WabWriter::unicode(DisplayName, "Wab Deleted")}});
    w.addRecord({1, {WabWriter::unicode(DisplayName, "Wab Beta"), WabWriter::unicode(Department, "Sales")}});
    w.addRecord({1, {WabWriter::string8(DisplayName, "Wab Gamma"), WabWriter::string8(CompanyName, "Wabco Two")}});
    return w.bytes();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// What the reduced import dialog looked like, and what was chosen in it.
struct Question {
    bool shown = false;
    bool mappingHidden = false;
    QPoint offset; // from the main window's top-left corner
    QString category;
};

} // namespace

class TestWabMenu : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void importFromMenu_data();
    void importFromMenu();

private:
    QAction *action(const QString &caption) const;
    void answerQuestion(Question &question, const QString &answer);
    int personCount();

    QTemporaryDir m_dir;
    std::unique_ptr<RecordStore> m_data;
    std::unique_ptr<test::ScriptedPrompter> m_prompter;
    std::unique_ptr<MainWindow> m_window;
    QTimer m_poll;
};

void TestWabMenu::initTestCase()
{
    installShippedFiles(m_dir.path() + "/");
    QDir().mkpath(m_dir.path() + "/Data");
    QProcess p;
    p.start(QStringLiteral(QVTOOL_PATH), {"generate", "--persons", "20", "--organisations", "4", "--seed", "7",
                                          m_dir.path() + "/Data/Default.qvp"});
    QVERIFY(p.waitForFinished(60000) && p.exitCode() == 0);
}

void TestWabMenu::init()
{
    m_data = std::make_unique<RecordStore>();
    m_prompter = std::make_unique<test::ScriptedPrompter>();
    m_window = std::make_unique<MainWindow>(m_dir.path() + "/", m_dir.path() + "/work/", *m_data, m_prompter.get());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestWabMenu::cleanup()
{
    m_poll.stop();
    if (m_prompter)
        QVERIFY(m_prompter->verifyAllAnswered());
    m_window.reset();
    m_prompter.reset();
    m_data.reset();
    qunsetenv("WINEPREFIX");
}

QAction *TestWabMenu::action(const QString &caption) const
{
    for (QAction *a : m_window->findChildren<QAction *>()) {
        if (a->text() == caption)
            return a;
    }
    return nullptr;
}

int TestWabMenu::personCount()
{
    return m_data->personLookup.recordCount();
}

// Answers the import dialog when it shows: "cancel", "ok" (no category) or
// "pick" (the category at kPickedPosition, then OK).
void TestWabMenu::answerQuestion(Question &question, const QString &answer)
{
    m_poll.setInterval(10);
    QObject::disconnect(&m_poll, nullptr, nullptr, nullptr);
    QObject::connect(&m_poll, &QTimer::timeout, this, [this, &question, answer] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible() || dialog->objectName() != "importDialog")
            return;
        m_poll.stop();
        question.shown = true;
        question.mappingHidden = !dialog->findChild<QWidget *>("mappingGrid")->isVisibleTo(dialog);
        question.offset = dialog->pos() - m_window->geometry().topLeft();
        if (answer == "pick") {
            dialog->findChild<QToolButton *>("categoryPickerButton")->click();
            // The picker lists the categories in pre-order, "------" first.
            if (auto *picker = qobject_cast<CategoryPicker *>(QApplication::activePopupWidget())) {
                QTreeWidgetItemIterator row(picker->tree());
                for (int k = 0; k < kPickedPosition && *row; ++k)
                    ++row;
                if (*row) {
                    picker->tree()->setCurrentItem(*row);
                    QTest::keyClick(picker->tree(), Qt::Key_Return);
                }
            }
        }
        question.category = dialog->findChild<QLineEdit *>("categoryEdit")->text();
        auto *buttons = dialog->findChild<QDialogButtonBox *>();
        for (QAbstractButton *b : buttons->buttons()) {
            if (b->text() == (answer == "cancel" ? "&Cancel" : "&OK"))
                b->click();
        }
    });
    m_poll.start();
}

void TestWabMenu::importFromMenu_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("file");     // where the .wab file lies, or "" for none
    QTest::addColumn<QByteArray>("bytes"); // its content
    QTest::addColumn<QString>("chosen");   // what the file dialog answers ("" for Cancel)
    QTest::addColumn<QString>("answer");   // at the category question ("" when it must not show)
    QTest::addColumn<QString>("message");  // the closing message ("" for none; %1 the file)
    QTest::addColumn<Icon>("icon");
    QTest::addColumn<int>("added");

    const QByteArray book = threeContacts();
    const QString chosenFile = "chosen/Friends.wab";
    QTest::newRow("file, a category picked") << "WAB file..." << chosenFile << book << chosenFile << "pick"
                                             << "3 entries got imported." << Icon::Information << 3;
    QTest::newRow("file, no category") << "WAB file..." << chosenFile << book << chosenFile << "ok"
                                       << "3 entries got imported." << Icon::Information << 3;
    QTest::newRow("file, question cancelled") << "WAB file..." << chosenFile << book << chosenFile << "cancel" << ""
                                              << Icon::Plain << 0;
    QTest::newRow("file dialog cancelled") << "WAB file..." << chosenFile << book << "" << "" << "" << Icon::Plain << 0;
    QTest::newRow("file, not an address book")
        << "WAB file..." << chosenFile << QByteArray("name,phone\r\n") << chosenFile << "ok"
        << "The file \"%1\" is not an address book (.wab) file." << Icon::Plain << 0;
    QTest::newRow("current, none") << "WAB" << "" << QByteArray() << "" << "ok" << "Error loading WAB API!" << Icon::Plain << 0;
    QTest::newRow("current, newer folder")
        << "WAB" << "wine/drive_c/users/someone/AppData/Roaming/Microsoft/Address Book/someone.wab" << book << "" << "pick"
        << "3 entries got imported." << Icon::Information << 3;
    QTest::newRow("current, older folder")
        << "WAB" << "wine/drive_c/users/someone/Application Data/Microsoft/Address Book/someone.wab" << book << "" << "ok"
        << "3 entries got imported." << Icon::Information << 3;
    QTest::newRow("current, question cancelled")
        << "WAB" << "wine/drive_c/users/someone/AppData/Roaming/Microsoft/Address Book/someone.wab" << book << "" << "cancel"
        << "" << Icon::Plain << 0;
}

void TestWabMenu::importFromMenu()
{
    QFETCH(QString, command);
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, chosen);
    QFETCH(QString, answer);
    QFETCH(QString, message);
    QFETCH(Icon, icon);
    QFETCH(int, added);

    QTemporaryDir scratch;
    const QString path = scratch.filePath(file);
    if (!file.isEmpty())
        writeFile(path, bytes);
    qputenv("WINEPREFIX", scratch.filePath("wine").toLocal8Bit());
    if (command == "WAB file...")
        m_prompter->expectOpenFile(chosen.isEmpty() ? std::nullopt : std::optional<QString>(scratch.filePath(chosen)));
    if (!message.isEmpty())
        m_prompter->expectMessage(message.contains("%1") ? message.arg(path) : message, icon, Button::Ok, Button::Ok);

    const int before = personCount();
    auto *tree = m_window->findChild<CategoryTreeView *>("categoryTree");
    QVERIFY(tree);
    const int listedBefore = tree->selectedNumber();
    Question question;
    answerQuestion(question, answer);
    QAction *a = action(command);
    QVERIFY2(a && a->isEnabled(), qPrintable(command));
    a->trigger();
    m_poll.stop();

    QCOMPARE(question.shown, !answer.isEmpty());
    if (question.shown) {
        QVERIFY(question.mappingHidden);
        QCOMPARE(question.offset, QPoint(40, 40));
        // The whole dialog again for the CSV import.
        auto *dialog = m_window->findChild<QDialog *>("importDialog");
        QVERIFY(dialog->findChild<QWidget *>("mappingGrid")->isVisibleTo(dialog));
    }
    QCOMPARE(personCount(), before + added);
    if (answer == "pick") {
        // The picked category is listed, and the new entries are filed in it.
        QVERIFY(!question.category.isEmpty());
        const int number = tree->selectedNumber();
        QVERIFY(number > 1000);
        QVERIFY(question.category.endsWith(tree->currentIndex().data().toString() + "/"));
        TableView &persons = m_data->personLookup;
        for (const QString name : {"Wab Alpha", "Wab Beta", "Wab Gamma"}) {
            QVERIFY2(persons.locate("Name", name), qPrintable(name));
            QCOMPARE(persons.value("Group1"), Value(qint32(number)));
        }
    } else if (added > 0) {
        QCOMPARE(tree->selectedNumber(), 1000);
        QVERIFY(m_data->personLookup.locate("Name", QString("Wab Beta")));
        QCOMPARE(m_data->personLookup.value("Group1"), Value(qint32(1000)));
    } else {
        QCOMPARE(tree->selectedNumber(), listedBefore);
    }
}

QTEST_MAIN(TestWabMenu)
#include "tst_wabmenu.moc"
