// The CSV import through the main window: the import dialog with its grid
// filled from the column titles, the category picker of "Categorize to",
// and the compare window when an imported company is already stored.
#include "ScriptedPrompter.h"

#include "data/RecordStore.h"
#include "data/RecordTable.h"
#include "editing/CategoryPicker.h"
#include "navigation/CategoryTreeView.h"
#include "shell/MainWindow.h"
#include "shell/ProgramDirectory.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <deque>
#include <functional>

using namespace qv;
using Icon = Prompter::Icon;
using Button = Prompter::Button;

namespace {

// Steps carried out one after the other as the windows they wait for come
// up; polled, so that they also act inside the modal loops of the import.
class WindowSteps {
public:
    using Step = std::function<bool()>; // true when done
    WindowSteps()
    {
        m_poll.setInterval(10);
        QObject::connect(&m_poll, &QTimer::timeout, [this] {
            if (!m_steps.empty() && m_steps.front()())
                m_steps.pop_front();
            if (m_steps.empty())
                m_poll.stop();
        });
    }
    void add(Step step) { m_steps.push_back(std::move(step)); }
    void start() { m_poll.start(); }
    void clear()
    {
        m_poll.stop();
        m_steps.clear();
    }
    bool done() const { return m_steps.empty(); }

private:
    std::deque<Step> m_steps;
    QTimer m_poll;
};

template<typename Window>
Window *shownModal(const QString &name)
{
    auto *w = qobject_cast<Window *>(QApplication::activeModalWidget());
    return w && w->isVisible() && w->objectName() == name ? w : nullptr;
}

QPushButton *button(QWidget *window, const QString &caption)
{
    for (QPushButton *b : window->findChildren<QPushButton *>()) {
        if (b->text() == caption)
            return b;
    }
    return nullptr;
}

} // namespace

class TestCsvImport : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void sameNameAsked_data();
    void sameNameAsked();
    void categorizeTo();

private:
    QString writeCsv(const QString &company);
    void importThroughMenu();
    QString storedCompany() const;

    QTemporaryDir m_dir;
    std::unique_ptr<RecordStore> m_data;
    std::unique_ptr<test::ScriptedPrompter> m_prompter;
    std::unique_ptr<MainWindow> m_window;
    WindowSteps m_steps;
};

void TestCsvImport::initTestCase()
{
    installShippedFiles(m_dir.path() + "/");
    QDir().mkpath(m_dir.path() + "/Data");
    QProcess p;
    p.start(QStringLiteral(QVTOOL_PATH),
            {"generate", "--persons", "20", "--organisations", "3", "--seed", "4", m_dir.path() + "/Data/Default.qvp"});
    QVERIFY(p.waitForFinished(60000) && p.exitCode() == 0);
}

void TestCsvImport::init()
{
    m_data = std::make_unique<RecordStore>();
    m_prompter = std::make_unique<test::ScriptedPrompter>();
    m_window = std::make_unique<MainWindow>(m_dir.path() + "/", m_dir.path() + "/work/", *m_data, m_prompter.get());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestCsvImport::cleanup()
{
    m_steps.clear();
    if (m_prompter)
        QVERIFY(m_prompter->verifyAllAnswered());
    m_window.reset();
    m_prompter.reset();
    m_data.reset();
}

QString TestCsvImport::writeCsv(const QString &company)
{
    const QString path = m_dir.filePath("contacts.csv");
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    f.write(("First Name,Last Name,Company,Business Phone\r\nAnn,Lee," + company + ",555-0199\r\n").toUtf8());
    return path;
}

void TestCsvImport::importThroughMenu()
{
    for (QAction *top : m_window->menuBar()->actions()) {
        for (QAction *a : top->menu()->actions()) {
            if (a->text() != "&Import from")
                continue;
            for (QAction *item : a->menu()->actions()) {
                if (item->text() == "CSV file...") {
                    m_steps.start();
                    item->trigger();
                    return;
                }
            }
        }
    }
    QFAIL("no CSV file... under &Import from");
}

// An organisation of the book other than the default one.
QString TestCsvImport::storedCompany() const
{
    const RecordTable &orgs = *m_data->organisationList.table();
    for (int row = 0; row < orgs.rowSlots(); ++row) {
        if (orgs.isAlive(row) && valueText(orgs.value(row, 0)) != "0")
            return valueText(orgs.value(row, 1));
    }
    return {};
}

void TestCsvImport::sameNameAsked_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("renamedTo");
    QTest::addColumn<bool>("phoneReplaced");
    QTest::newRow("Yes replaces") << "&Yes" << QString() << true;
    QTest::newRow("No keeps") << "&No" << QString() << false;
    QTest::newRow("Change Org Name imports under the new name") << "&Change Org Name" << "Lee Consulting" << true;
}

void TestCsvImport::sameNameAsked()
{
    QFETCH(QString, answer);
    QFETCH(QString, renamedTo);
    QFETCH(bool, phoneReplaced);
    const QString company = storedCompany();
    QVERIFY(!company.isEmpty());
    const int organisations = m_data->organisationList.recordCount();
    m_prompter->expectOpenFile(writeCsv(company.toUpper()));
    if (!renamedTo.isEmpty())
        m_prompter->expectInput("Rename the Imported Org", "", renamedTo);
    m_prompter->expectMessage("1 entries got imported.", Icon::Information, Button::Ok, Button::Ok);
    bool gridFilled = false;
    QString heading;
    m_steps.add([&] {
        auto *dialog = shownModal<QDialog>("importDialog");
        if (!dialog)
            return false;
        gridFilled = dialog->findChild<QCheckBox *>("titlesLine")->isChecked();
        button(dialog, "&OK")->click();
        return true;
    });
    m_steps.add([&] {
        auto *compare = shownModal<QDialog>("organisationCompareDialog");
        if (!compare)
            return false;
        heading = compare->findChild<QLabel *>("Label1")->text();
        button(compare, answer)->click();
        return true;
    });
    importThroughMenu();
    QVERIFY(m_steps.done());
    QVERIFY(gridFilled);
    QCOMPARE(heading, company + " --- Ann Lee");
    TableView &orgs = m_data->organisationList;
    QCOMPARE(orgs.recordCount(), organisations + (renamedTo.isEmpty() ? 0 : 1));
    QVERIFY(orgs.locate("Company", renamedTo.isEmpty() ? company : renamedTo));
    QCOMPARE(orgs.text("CPhone") == "555-0199", phoneReplaced);
    const Value coId = orgs.value("CoID");
    QVERIFY(m_data->personLookup.locate("Name", QString("Ann Lee")));
    QCOMPARE(m_data->personLookup.value("OrgID"), coId);
}

void TestCsvImport::categorizeTo()
{
    m_prompter->expectOpenFile(writeCsv("Brand New Works"));
    m_prompter->expectMessage("1 entries got imported.", Icon::Information, Button::Ok, Button::Ok);
    QDialog *dialog = nullptr;
    QString picked, shown;
    m_steps.add([&] {
        if (!(dialog = shownModal<QDialog>("importDialog")))
            return false;
        dialog->findChild<QToolButton *>("categoryPickerButton")->click();
        return true;
    });
    m_steps.add([&] {
        auto *picker = qobject_cast<CategoryPicker *>(QApplication::activePopupWidget());
        if (!picker)
            return false;
        // The first category under All Entries, chosen with the keys as the user may.
        QTreeWidget *tree = picker->tree();
        tree->setCurrentItem(tree->topLevelItem(1));
        picked = tree->currentItem()->text(0);
        QTest::keyClick(tree, Qt::Key_Return);
        return true;
    });
    m_steps.add([&] {
        if (QApplication::activePopupWidget())
            return false;
        shown = dialog->findChild<QLineEdit *>("categoryEdit")->text();
        button(dialog, "&OK")->click();
        return true;
    });
    importThroughMenu();
    QVERIFY(m_steps.done());
    QVERIFY(!picked.isEmpty());
    QCOMPARE(shown, picked + '/'); // the category's path
    QVERIFY(m_data->personLookup.locate("Name", QString("Ann Lee")));
    const int group = std::get<qint32>(m_data->personLookup.value("Group1"));
    QVERIFY(group > 1000);
    // The tree shows the chosen category, which lists the new entry.
    auto *tree = m_window->findChild<CategoryTreeView *>("categoryTree");
    QCOMPARE(tree->selectedNumber(), group);
    QCOMPARE(tree->currentItem()->text(0), picked);
    QVERIFY(m_data->personList.locate("Name", QString("Ann Lee")));
}

QTEST_MAIN(TestCsvImport)
#include "tst_csvimport.moc"
