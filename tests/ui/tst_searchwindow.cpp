// Searching as the user does it: the search dialog on its own, then Ctrl+F,
// the quick searches, the search node and the lookup boxes in the main window.
#include "PersonFixture.h"
#include "ScriptedPrompter.h"

#include "common/MemberLines.h"
#include "data/RecordStore.h"
#include "data/RecordTable.h"
#include "data/TableFile.h"
#include "data/archive/PackageWriter.h"
#include "navigation/CategoryTreeView.h"
#include "navigation/InitialsGridView.h"
#include "navigation/RecordListView.h"
#include "search/OrganisationLookupPopup.h"
#include "search/SearchDialog.h"
#include "settings/Settings.h"
#include "shell/MainWindow.h"
#include "shell/ProgramDirectory.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QCompleter>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace qv;

namespace {

// The persons of the filter fixture; organisations 2001 Acme Ltd in Berlin
// and 2002 Globex in Paris; a tree with the all-entries node, a category and
// the search node.
void writeBook(const QString &path)
{
    RecordTable persons(personFields());
    for (const auto &row : test::filterFixture())
        persons.insertRow(row);
    RecordTable organisations(organisationFields());
    organisations.insertRow({qint32(0), QString("(No organisation)")});
    organisations.insertRow({qint32(2001), QString("Acme Ltd"), QString("1 Main Street, Berlin")});
    organisations.insertRow({qint32(2002), QString("Globex"), QString("Paris")});
    const QDateTime t(QDate(2025, 1, 1), QTime(0, 0));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(archive::buildArchive({{"Names.dbf", writeTableBytes(persons), t},
                                   {"Agents.dbf", writeTableBytes(organisations), t},
                                   {"tree.dff", "All Entries\r\n\tFriends\r\nSearch Results\r\n", t},
                                   {"treeno.dff", "1000\r\n1005\r\n101\r\n", t},
                                   {"surname.dff", "", t}},
                                  QString()));
}

QList<IniLine> searchable(int count)
{
    QList<IniLine> lines;
    for (int i = 0; i < count; ++i)
        lines << IniLine{QString("Field %1").arg(i), QString::number(i)};
    return lines;
}

// Runs the dialog, doing the steps once it is shown.
std::optional<SearchChoice> runDialog(SearchDialog &dialog, const std::function<void()> &steps)
{
    QTimer::singleShot(0, &dialog, [&] {
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        steps();
        if (dialog.isVisible())
            dialog.reject(); // a step that did not close it
    });
    return dialog.ask(QPoint(10, 10));
}

void selectFields(SearchDialog &dialog, const QList<int> &rows)
{
    auto *list = dialog.findChild<QListWidget *>("fieldList");
    for (int row : rows)
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

QPushButton *button(QWidget &parent, const QString &text)
{
    for (QPushButton *b : parent.findChildren<QPushButton *>()) {
        if (b->text() == text)
            return b;
    }
    return nullptr;
}

QList<int> listedIds(RecordStore &data)
{
    QList<int> ids;
    for (int row : data.personList.rows())
        ids << std::get<qint32>(data.personList.table()->value(row, 0));
    std::sort(ids.begin(), ids.end());
    return ids;
}

} // namespace

Q_DECLARE_METATYPE(std::optional<SearchChoice>)

class TestSearchWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    // The dialog on its own
    void dialogTexts();
    void buttonEnabling_data();
    void buttonEnabling();
    void quickSearches_data();
    void quickSearches();
    void shorterFieldList_data();
    void shorterFieldList();
    void enterStartsTheQuickSearch_data();
    void enterStartsTheQuickSearch();
    void cancelAndReuse();
    void quickSearchShownFromSettings();
    // In the main window
    void searchFromTheMenu();
    void searchButtonAndNoBook();
    void quickBirthdaySearch_data();
    void quickBirthdaySearch();
    void cancelChangesNothing();
    void searchNodeShowsTheLastResults();
    void addressQuickSearchIgnoresCase();
    void nameLookup();
    void nameLookupCandidates();
    void organisationLookup_data();
    void organisationLookup();
    void widerOrganisationBox();

private:
    void startWindow();
    SearchDialog *openDialog(const std::function<void(SearchDialog &)> &steps);

    std::unique_ptr<Settings> m_settings;
    QTemporaryDir m_dir;
    std::unique_ptr<RecordStore> m_data;
    std::unique_ptr<test::ScriptedPrompter> m_prompter;
    std::unique_ptr<MainWindow> m_window;
};

void TestSearchWindow::init()
{
    m_settings = std::make_unique<Settings>(m_dir.filePath("none/aa.ini"));
    m_settings->searchableFieldsList = searchable(24);
}

void TestSearchWindow::cleanup()
{
    m_window.reset();
    m_prompter.reset();
    m_data.reset();
}

void TestSearchWindow::dialogTexts()
{
    SearchDialog dialog(*m_settings);
    runDialog(dialog, [&] {
        QCOMPARE(dialog.windowTitle(), QString("Search"));
        QVERIFY(!(dialog.windowFlags() & Qt::WindowCloseButtonHint));
        QStringList labels;
        for (QLabel *label : dialog.findChildren<QLabel *>())
            labels << label->text();
        for (const char *text : {"Content to search", "Which field to search:", "For people  born on the same day or in same month",
                                 "Month", "Day", "To find people living or working in the same place", "To find whose phone it is"})
            QVERIFY2(labels.contains(text), text);
        QCOMPARE(button(dialog, "&Start Search")->toolTip(), QString("Search with new conditions"));
        QCOMPARE(button(dialog, "Contin&ue to Search")->toolTip(), QString("Continue to search with previous results"));
        QVERIFY(button(dialog, "&Cancel"));
        QCOMPARE(dialog.findChild<QToolButton *>("quickSearchToggle")->toolTip(), QString("Quick Searchs"));
        auto *month = dialog.findChild<QComboBox *>("month");
        QCOMPARE(month->count(), 12);
        QCOMPARE(month->itemText(0), QLocale::system().monthName(1, QLocale::ShortFormat));
        QCOMPARE(month->currentIndex(), 0);
        auto *day = dialog.findChild<QComboBox *>("day");
        QCOMPARE(day->count(), 32);
        QCOMPARE(day->itemText(31), QString("31"));
        QCOMPARE(day->currentText(), QString("0"));
        QCOMPARE(day->toolTip(), QString("Select zero to find people born in the same month"));
        QCOMPARE(dialog.findChild<QLineEdit *>("addressPortion")->toolTip(), QString("Input a portion of the address"));
        QCOMPARE(dialog.findChild<QLineEdit *>("phonePortion")->toolTip(), QString("Input a portion of the phone number"));
        QCOMPARE(QApplication::focusWidget(), dialog.findChild<QLineEdit *>("content"));
        auto *list = dialog.findChild<QListWidget *>("fieldList");
        QCOMPARE(list->count(), 24);
        // Three columns of eight, none cut.
        QCOMPARE(list->visualItemRect(list->item(8)).top(), list->visualItemRect(list->item(0)).top());
        QCOMPARE(list->visualItemRect(list->item(16)).top(), list->visualItemRect(list->item(0)).top());
        QVERIFY(list->viewport()->rect().contains(list->visualItemRect(list->item(23))));
        // The whole dialog on the screen.
        QVERIFY(dialog.screen()->availableGeometry().contains(dialog.frameGeometry()));
    });
}

void TestSearchWindow::buttonEnabling_data()
{
    QTest::addColumn<QList<int>>("clicks"); // field rows clicked, a second click unselects
    QTest::addColumn<bool>("startEnabled");
    QTest::addColumn<bool>("continueEnabled");
    QTest::addColumn<bool>("orShown");
    QTest::newRow("no field") << QList<int>{} << false << false << false;
    QTest::newRow("one field") << QList<int>{3} << true << true << false;
    QTest::newRow("two fields switch to OR") << QList<int>{3, 12} << true << false << true;
    QTest::newRow("back to one field") << QList<int>{3, 12, 12} << true << true << true;
    QTest::newRow("none again") << QList<int>{3, 3} << false << false << false;
}

void TestSearchWindow::buttonEnabling()
{
    QFETCH(QList<int>, clicks);
    QFETCH(bool, startEnabled);
    QFETCH(bool, continueEnabled);
    QFETCH(bool, orShown);
    SearchDialog dialog(*m_settings);
    runDialog(dialog, [&] {
        QVERIFY(dialog.findChild<QRadioButton *>()->isChecked()); // AND first
        selectFields(dialog, clicks);
        QCOMPARE(button(dialog, "&Start Search")->isEnabled(), startEnabled);
        QCOMPARE(button(dialog, "Contin&ue to Search")->isEnabled(), continueEnabled);
        QCOMPARE(dialog.findChildren<QRadioButton *>().at(1)->isChecked(), orShown);
    });
}

void TestSearchWindow::quickSearches_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<int>("logic");
    QTest::addColumn<QString>("content");
    const int orLogic = int(SearchLogic::Or), andLogic = int(SearchLogic::And);
    QTest::newRow("start with one field and AND") << "start" << QStringList{"Field 2"} << andLogic << "smith";
    QTest::newRow("continue") << "continue" << QStringList{"Field 2"} << andLogic << "smith";
    QTest::newRow("address, with a field already chosen") << "address"
        << QStringList{"Field 2", "Field 5", "Field 14", "Field 15"} << orLogic << "High Street";
    QTest::newRow("phone") << "phone"
        << QStringList{"Field 2", "Field 8", "Field 9", "Field 10", "Field 11", "Field 13", "Field 17", "Field 18"} << orLogic
        << "0171";
}

void TestSearchWindow::quickSearches()
{
    QFETCH(QString, how);
    QFETCH(QStringList, labels);
    QFETCH(int, logic);
    QFETCH(QString, content);
    SearchDialog dialog(*m_settings);
    const auto choice = runDialog(dialog, [&] {
        QTest::keyClicks(dialog.findChild<QLineEdit *>("content"), "  smith ");
        QTest::keyClicks(dialog.findChild<QLineEdit *>("addressPortion"), "High Street");
        QTest::keyClicks(dialog.findChild<QLineEdit *>("phonePortion"), " 0171");
        selectFields(dialog, {2});
        if (how == "start")
            button(dialog, "&Start Search")->click();
        else if (how == "continue")
            button(dialog, "Contin&ue to Search")->click();
        else
            dialog.findChild<QToolButton *>(how + "SearchButton")->click();
    });
    QVERIFY(choice);
    QCOMPARE(int(choice->kind), how == "continue" ? int(SearchChoice::Kind::Continue) : int(SearchChoice::Kind::Start));
    QCOMPARE(choice->labels, labels);
    QCOMPARE(int(choice->logic), logic);
    QCOMPARE(choice->content, content);
    // The content box keeps what the user typed.
    QCOMPARE(dialog.findChild<QLineEdit *>("content")->text(), QString("  smith "));
}

void TestSearchWindow::shorterFieldList_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QStringList>("labels"); // empty: the button is off
    QTest::newRow("address fields beyond the end are left out") << 10 << "address" << QStringList{"Field 5"};
    QTest::newRow("phone fields beyond the end are left out") << 10 << "phone" << QStringList{"Field 8", "Field 9"};
    QTest::newRow("no address field at all") << 5 << "address" << QStringList{};
    QTest::newRow("no phone field at all") << 8 << "phone" << QStringList{};
    QTest::newRow("the shortest list with every position") << 19 << "phone"
        << QStringList{"Field 8", "Field 9", "Field 10", "Field 11", "Field 13", "Field 17", "Field 18"};
}

void TestSearchWindow::shorterFieldList()
{
    QFETCH(int, count);
    QFETCH(QString, how);
    QFETCH(QStringList, labels);
    m_settings->searchableFieldsList = searchable(count);
    SearchDialog dialog(*m_settings);
    const auto choice = runDialog(dialog, [&] {
        auto *start = dialog.findChild<QToolButton *>(how + "SearchButton");
        QCOMPARE(start->isEnabled(), !labels.isEmpty());
        QTest::keyClick(dialog.findChild<QLineEdit *>(how == "phone" ? "phonePortion" : "addressPortion"), Qt::Key_Return);
    });
    QCOMPARE(choice.has_value(), !labels.isEmpty());
    if (choice)
        QCOMPARE(choice->labels, labels);
}

void TestSearchWindow::enterStartsTheQuickSearch_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::newRow("Enter in the month list") << "month" << 3 << 14;
    QTest::newRow("Enter in the day list, day 0") << "day" << 12 << 0;
}

void TestSearchWindow::enterStartsTheQuickSearch()
{
    QFETCH(QString, box);
    QFETCH(int, month);
    QFETCH(int, day);
    SearchDialog dialog(*m_settings);
    const auto choice = runDialog(dialog, [&] {
        dialog.findChild<QComboBox *>("month")->setCurrentIndex(month - 1);
        dialog.findChild<QComboBox *>("day")->setCurrentIndex(day);
        QTest::keyClick(dialog.findChild<QComboBox *>(box), Qt::Key_Enter);
    });
    QVERIFY(choice);
    QCOMPARE(int(choice->kind), int(SearchChoice::Kind::Quick));
    QCOMPARE(choice->month, month);
    QCOMPARE(choice->day, day);
}

void TestSearchWindow::cancelAndReuse()
{
    SearchDialog dialog(*m_settings);
    auto choice = runDialog(dialog, [&] {
        QTest::keyClicks(dialog.findChild<QLineEdit *>("content"), "lee");
        selectFields(dialog, {1});
        dialog.findChildren<QRadioButton *>().at(1)->setChecked(true);
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    QVERIFY(!choice);
    choice = runDialog(dialog, [&] {
        // The list starts without a selection; content and logic stay.
        QVERIFY(dialog.findChild<QListWidget *>("fieldList")->selectedItems().isEmpty());
        QVERIFY(!button(dialog, "&Start Search")->isEnabled());
        QCOMPARE(dialog.findChild<QLineEdit *>("content")->text(), QString("lee"));
        QVERIFY(dialog.findChildren<QRadioButton *>().at(1)->isChecked());
        button(dialog, "&Cancel")->click();
    });
    QVERIFY(!choice);
}

void TestSearchWindow::quickSearchShownFromSettings()
{
    m_settings->quickSearchOpen = false;
    SearchDialog dialog(*m_settings);
    runDialog(dialog, [&] {
        auto *group = dialog.findChild<QGroupBox *>();
        for (QGroupBox *g : dialog.findChildren<QGroupBox *>())
            if (g->title() == "Quick Search")
                group = g;
        QVERIFY(!group->isVisible());
        const int closedHeight = dialog.height();
        dialog.findChild<QToolButton *>("quickSearchToggle")->click();
        QVERIFY(group->isVisible());
        QVERIFY(m_settings->quickSearchOpen);
        QCoreApplication::processEvents();
        QVERIFY(dialog.height() > closedHeight); // the dialog grows to hold it
        dialog.findChild<QToolButton *>("quickSearchToggle")->click();
        QVERIFY(!m_settings->quickSearchOpen);
    });
}

void TestSearchWindow::startWindow()
{
    const QString home = m_dir.filePath("home") + "/";
    QDir().mkpath(home + "Data");
    installShippedFiles(home);
    writeBook(home + "Data/Default.qvp");
    m_data = std::make_unique<RecordStore>();
    m_prompter = std::make_unique<test::ScriptedPrompter>();
    m_window = std::make_unique<MainWindow>(home, m_dir.filePath("work") + "/", *m_data, m_prompter.get());
    m_window->resize(800, 600);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QCOMPARE(m_data->personLookup.recordCount(), 6);
}

SearchDialog *TestSearchWindow::openDialog(const std::function<void(SearchDialog &)> &steps)
{
    // The shortcut needs the active window.
    m_window->activateWindow();
    if (!QTest::qWaitForWindowActive(m_window.get()))
        return nullptr;
    auto *dialog = m_window->findChild<SearchDialog *>();
    QTimer::singleShot(0, dialog, [dialog, steps] {
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        steps(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    QTest::keyClick(m_window.get(), Qt::Key_F, Qt::ControlModifier);
    return dialog;
}

void TestSearchWindow::searchFromTheMenu()
{
    startWindow();
    auto *tree = m_window->findChild<CategoryTreeView *>("categoryTree");
    QPoint place;
    openDialog([&](SearchDialog &dialog) {
        place = dialog.frameGeometry().topLeft();
        QTest::keyClicks(dialog.findChild<QLineEdit *>("content"), "0171");
        // Home phone and Mobile in the shipped list.
        selectFields(dialog, {8, 9});
        QVERIFY(!button(dialog, "Contin&ue to Search")->isEnabled());
        button(dialog, "&Start Search")->click();
    });
    QCOMPARE(m_data->personList.filter(), QString("Phone LIKE '%0171%' OR Mobile LIKE '%0171%'"));
    QCOMPARE(listedIds(*m_data), (QList<int>{1, 3}));
    QCOMPARE(tree->selectedNumber(), 101);
    QCOMPARE(m_window->recordList().source(), NavigationSource::Search);
    QCOMPARE(m_window->focusWidget(), m_window->findChild<RecordListView *>("entryList"));
    QCOMPARE(m_window->countsText(), QString("6 Entries; 2 Listed; 0 Selected"));
    // Over the detail pane, below the window's top edge.
    QVERIFY(place.x() > m_window->frameGeometry().left() + m_window->findChild<QWidget *>("leftColumn")->width() / 2);
    QVERIFY(place.y() > m_window->frameGeometry().top());
}

void TestSearchWindow::searchButtonAndNoBook()
{
    startWindow();
    auto *search = m_window->findChild<QToolButton *>("searchButton");
    QVERIFY(search->isEnabled());
    QCOMPARE(search->toolTip(), QString("Search entries with specified conditions"));
    QCOMPARE(search->defaultAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
    QCOMPARE(search->defaultAction()->text(), QString("&Search..."));
    QCOMPARE(m_window->menuBar()->actions().at(1)->menu()->actions().first(), search->defaultAction());
    m_window->enterNoBookState();
    QVERIFY(!search->isEnabled());
}

void TestSearchWindow::quickBirthdaySearch_data()
{
    QTest::addColumn<int>("day");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QList<int>>("listed");
    QTest::newRow("day 0: everybody born in March") << 0 << "Month(Birthday)=3" << QList<int>{1, 2};
    QTest::newRow("born on 14 March") << 14 << "Month(Birthday)=3 AND Day(Birthday)=14" << QList<int>{1};
}

void TestSearchWindow::quickBirthdaySearch()
{
    QFETCH(int, day);
    QFETCH(QString, filter);
    QFETCH(QList<int>, listed);
    startWindow();
    openDialog([&](SearchDialog &dialog) {
        dialog.findChild<QComboBox *>("month")->setCurrentIndex(2);
        dialog.findChild<QComboBox *>("day")->setCurrentIndex(day);
        dialog.findChild<QToolButton *>("birthdaySearchButton")->click();
    });
    QCOMPARE(m_data->personList.filter(), filter);
    QCOMPARE(listedIds(*m_data), listed);
    QCOMPARE(m_window->findChild<CategoryTreeView *>("categoryTree")->selectedNumber(), 101);
}

void TestSearchWindow::cancelChangesNothing()
{
    startWindow();
    m_window->search().findByOrg(2002);
    m_window->findChild<CategoryTreeView *>("categoryTree")->selectNumber(1005);
    const QString category = m_data->personList.filter();
    openDialog([&](SearchDialog &dialog) {
        QTest::keyClicks(dialog.findChild<QLineEdit *>("content"), "x");
        selectFields(dialog, {0});
        button(dialog, "&Cancel")->click();
    });
    QCOMPARE(m_data->personList.filter(), category);
    QCOMPARE(m_window->findChild<CategoryTreeView *>("categoryTree")->selectedNumber(), 1005);
    QCOMPARE(m_window->search().searchText(), QString("OrgID=2002"));
}

void TestSearchWindow::searchNodeShowsTheLastResults()
{
    startWindow();
    auto *tree = m_window->findChild<CategoryTreeView *>("categoryTree");
    tree->selectNumber(101);
    QCOMPARE(m_data->personList.filter(), QString("OrgID=-1")); // no search yet: nothing
    QCOMPARE(m_window->countsText(), QString("6 Entries; 0 Listed; 0 Selected"));
    openDialog([&](SearchDialog &dialog) {
        QTest::keyClicks(dialog.findChild<QLineEdit *>("content"), "PARIS");
        selectFields(dialog, {0, 14}); // Name and Work address
        button(dialog, "&Start Search")->click();
    });
    QCOMPARE(m_data->personList.filter(), QString("Name LIKE '%PARIS%' OR (OrgID=2002)"));
    tree->selectNumber(1000);
    QCOMPARE(m_data->personList.recordCount(), 6);
    tree->selectNumber(101);
    QCOMPARE(m_data->personList.filter(), QString("Name LIKE '%PARIS%' OR (OrgID=2002)"));
    QCOMPARE(listedIds(*m_data), (QList<int>{3, 4}));
    // Continuing an OR search with one more field widens the results.
    openDialog([&](SearchDialog &dialog) {
        dialog.findChild<QLineEdit *>("content")->setText("mary");
        selectFields(dialog, {0});
        button(dialog, "Contin&ue to Search")->click();
    });
    QCOMPARE(listedIds(*m_data), (QList<int>{1, 3, 4}));
}

// The address quick search searches several fields; like a search of one,
// it ignores letter case, whatever the list did before.
void TestSearchWindow::addressQuickSearchIgnoresCase()
{
    startWindow();
    openDialog([&](SearchDialog &dialog) {
        QTest::keyClicks(dialog.findChild<QLineEdit *>("addressPortion"), "high STREET");
        dialog.findChild<QToolButton *>("addressSearchButton")->click();
    });
    QCOMPARE(m_data->personList.filter(), QString("Address LIKE '%high STREET%'")); // no work address holds it
    QCOMPARE(listedIds(*m_data), (QList<int>{1}));
}

void TestSearchWindow::nameLookup()
{
    startWindow();
    auto *box = m_window->findChild<QComboBox *>("nameLookup");
    auto *grid = m_window->findChild<InitialsGridView *>("initialsGrid");
    m_window->findChild<CategoryTreeView *>("categoryTree")->selectNumber(1005);
    box->setFocus();
    // Every white-page entry, the initials in the tree's place.
    QCOMPARE(m_data->personList.filter(), QString("not (Yellow=true)"));
    QCOMPARE(m_data->personList.recordCount(), 5);
    QVERIFY(grid->isVisible());
    QCOMPARE(m_window->recordList().source(), NavigationSource::Search);
    QTest::keyClicks(box, "mc");
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(m_data->personList.filter(), QString("Name='mc*' and (not (Yellow=true))"));
    QCOMPARE(listedIds(*m_data), QList<int>{});
    QCOMPARE(box->currentText(), QString());
    QTest::keyClicks(box, "PAT O'");
    m_window->findChild<QToolButton *>("nameLookupButton")->click();
    QCOMPARE(listedIds(*m_data), QList<int>{3});
    QCOMPARE(m_window->countsText(), QString("6 Entries; 1 Listed; 0 Selected"));
    // Enter in the empty box: every white-page entry again.
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(m_data->personList.recordCount(), 5);
    // Leaving the box clears what was typed.
    QTest::keyClicks(box, "Tom");
    QTest::keyClick(box->lineEdit()->completer()->popup(), Qt::Key_Escape);
    m_window->findChild<RecordListView *>("entryList")->setFocus();
    QCOMPARE(box->currentText(), QString());
}

void TestSearchWindow::nameLookupCandidates()
{
    startWindow();
    auto *box = m_window->findChild<QComboBox *>("nameLookup");
    box->setFocus();
    QTest::keyClicks(box, "m");
    QCompleter *completer = box->lineEdit()->completer();
    QVERIFY(completer->popup()->isVisible());
    QCOMPARE(completer->popup()->font(), box->font());
    QCOMPARE(completer->completionCount(), 1); // Mary McDonald; Tom mcneil begins with T
    QCOMPARE(completer->currentCompletion(), QString("Mary McDonald"));
    QTest::keyClick(completer->popup(), Qt::Key_Escape);
    box->clearEditText();
    QTest::keyClicks(box, "a");
    QCOMPARE(completer->completionCount(), 1); // Ann Null; the yellow Acme Ltd is not offered
    QTest::keyClick(completer->popup(), Qt::Key_Down);
    QTest::keyClick(completer->popup(), Qt::Key_Return);
    // Picking a candidate confirms it.
    QCOMPARE(m_data->personList.filter(), QString("Name='Ann Null*' and (not (Yellow=true))"));
    QCOMPARE(listedIds(*m_data), QList<int>{6});
    QTRY_COMPARE(box->currentText(), QString());
    // F5: the initials again, and every white-page entry.
    QTest::keyClick(box, Qt::Key_F5);
    QCOMPARE(m_data->personList.filter(), QString("not (Yellow=true)"));
    QVERIFY(m_window->findChild<InitialsGridView *>("initialsGrid")->isVisible());
}

void TestSearchWindow::organisationLookup_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QList<int>>("listed");
    QTest::newRow("a name in another case") << "GLOBEX" << "OrgID=2002" << QList<int>{3, 4};
    QTest::newRow("a name no organisation has") << "Glob" << "OrgID=-1" << QList<int>{};
}

void TestSearchWindow::organisationLookup()
{
    QFETCH(QString, text);
    QFETCH(QString, filter);
    QFETCH(QList<int>, listed);
    startWindow();
    auto *box = m_window->findChild<QComboBox *>("organisationLookup");
    box->setFocus();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Enter);
    QCOMPARE(m_data->personList.filter(), filter);
    QCOMPARE(listedIds(*m_data), listed);
    QCOMPARE(box->currentText(), QString());
    QCOMPARE(m_window->recordList().source(), NavigationSource::Search);
    // Leaving the box clears what was typed; its list still holds every organisation.
    QTest::keyClicks(box, "Acme");
    QTest::keyClick(box->lineEdit()->completer()->popup(), Qt::Key_Escape);
    m_window->findChild<RecordListView *>("entryList")->setFocus();
    QCOMPARE(box->currentText(), QString());
    QCOMPARE(box->count(), 3);
}

void TestSearchWindow::widerOrganisationBox()
{
    startWindow();
    auto *box = m_window->findChild<QComboBox *>("organisationLookup");
    m_window->findChild<CategoryTreeView *>("categoryTree")->setFocus();
    QCOMPARE(m_window->recordList().source(), NavigationSource::Tree);
    m_window->findChild<QToolButton *>("organisationBoxButton")->click();
    auto *popup = m_window->findChild<OrganisationLookupPopup *>();
    QVERIFY(QTest::qWaitForWindowActive(popup));
    QCOMPARE(popup->geometry().topLeft(), box->mapToGlobal(QPoint(0, -2)));
    QVERIFY(popup->width() >= 428);
    auto *wide = popup->findChild<QComboBox *>("wideOrganisationLookup");
    QTRY_COMPARE(QApplication::focusWidget(), wide);
    QTest::keyClicks(wide, "acme ltd");
    QTest::keyClick(wide, Qt::Key_Return);
    QVERIFY(!popup->isVisible());
    QCOMPARE(m_data->personList.filter(), QString("OrgID=2001"));
    QCOMPARE(m_window->countsText(), QString("6 Entries; 1 Listed; 0 Selected"));
    // The wider box leaves the navigation source as it was.
    QCOMPARE(m_window->recordList().source(), NavigationSource::Tree);
    // Esc closes it without a search; so does another window becoming active.
    m_window->findChild<QToolButton *>("organisationBoxButton")->click();
    QVERIFY(QTest::qWaitForWindowActive(popup));
    QCOMPARE(wide->currentText(), QString());
    QTest::keyClick(wide, Qt::Key_Escape);
    QVERIFY(!popup->isVisible());
    m_window->findChild<QToolButton *>("organisationBoxButton")->click();
    QVERIFY(QTest::qWaitForWindowActive(popup));
    m_window->activateWindow();
    QTRY_VERIFY(!popup->isVisible());
    QCOMPARE(m_data->personList.filter(), QString("OrgID=2001"));
}

QTEST_MAIN(TestSearchWindow)
#include "tst_searchwindow.moc"
