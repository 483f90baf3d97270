// "Export to" > "vCard..." and "Import from" > "vCard..." in the main window
// over a generated book: the entries marked in the list (or the current one)
// written to the file the save dialog names; the cards of a file imported
// after the category question, the summary shown and the category listed.
#include "ScriptedPrompter.h"

#include "data/RecordStore.h"
#include "editing/CategoryPicker.h"
#include "exchange/vcard/VCardReader.h"
#include "navigation/CategoryTreeView.h"
#include "navigation/RecordListView.h"
#include "shell/MainWindow.h"
#include "shell/ProgramDirectory.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

using namespace qv;
using Icon = Prompter::Icon;
using Button = Prompter::Button;

namespace {

// The position in the category picker a test chooses: a category, not "none".
constexpr int kPickedPosition = 2;

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The FN values of a file, in file order, decoded: a name that is not
// plain ASCII is written quoted-printable with its character set.
QStringList formattedNames(const QByteArray &text)
{
    QStringList names;
    for (const vcard::ReadCard &read : vcard::readVCards(text, QLocale(QLocale::English, QLocale::UnitedStates))) {
        for (const vcard::VCardObject &property : read.card.children()) {
            if (property.name() == u"FN")
                names << property.value();
        }
    }
    return names;
}

} // namespace

class TestVCardMenu : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void exportFromMenu_data();
    void exportFromMenu();
    void importFromMenu_data();
    void importFromMenu();

private:
    QAction *action(const QString &menu, const QString &caption) const;
    void answerQuestion(const QString &answer);

    QTemporaryDir m_dir;
    std::unique_ptr<RecordStore> m_data;
    std::unique_ptr<test::ScriptedPrompter> m_prompter;
    std::unique_ptr<MainWindow> m_window;
    QTimer m_poll;
};

void TestVCardMenu::initTestCase()
{
    installShippedFiles(m_dir.path() + "/");
    QDir().mkpath(m_dir.path() + "/Data");
    QProcess p;
    p.start(QStringLiteral(QVTOOL_PATH), {"generate", "--persons", "20", "--organisations", "4", "--seed", "7",
                                          m_dir.path() + "/Data/Default.qvp"});
    QVERIFY(p.waitForFinished(60000) && p.exitCode() == 0);
}

void TestVCardMenu::init()
{
    m_data = std::make_unique<RecordStore>();
    m_prompter = std::make_unique<test::ScriptedPrompter>();
    m_window = std::make_unique<MainWindow>(m_dir.path() + "/", m_dir.path() + "/work/", *m_data, m_prompter.get());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestVCardMenu::cleanup()
{
    m_poll.stop();
    if (m_prompter)
        QVERIFY(m_prompter->verifyAllAnswered());
    m_window.reset();
    m_prompter.reset();
    m_data.reset();
}

// Both submenus hold a "vCard...": the one under the named submenu.
QAction *TestVCardMenu::action(const QString &menu, const QString &caption) const
{
    for (QMenu *m : m_window->findChildren<QMenu *>()) {
        if (m->title() != menu)
            continue;
        for (QAction *a : m->actions()) {
            if (a->text() == caption)
                return a;
        }
    }
    return nullptr;
}

// Answers the import dialog when it shows: "ok" (no category) or "pick"
// (the category at kPickedPosition, then OK).
void TestVCardMenu::answerQuestion(const QString &answer)
{
    m_poll.setInterval(10);
    QObject::disconnect(&m_poll, nullptr, nullptr, nullptr);
    QObject::connect(&m_poll, &QTimer::timeout, this, [this, answer] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible() || dialog->objectName() != "importDialog")
            return;
        m_poll.stop();
        if (answer == "pick") {
            dialog->findChild<QToolButton *>("categoryPickerButton")->click();
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
        for (QAbstractButton *b : dialog->findChild<QDialogButtonBox *>()->buttons()) {
            if (b->text() == "&OK")
                b->click();
        }
    });
    m_poll.start();
}

void TestVCardMenu::exportFromMenu_data()
{
    QTest::addColumn<QList<int>>("marked"); // list positions clicked with Ctrl
    QTest::addColumn<int>("current");       // the position made current first
    QTest::addColumn<QList<int>>("written"); // the positions whose entries the file holds
    QTest::addColumn<bool>("namedAsALot");   // the save dialog offers "contacts", not an entry's name
    QTest::newRow("no marks: the current entry") << QList<int>{} << 4 << QList<int>{4} << false;
    QTest::newRow("three marked, in list order") << QList<int>{5, 1, 3} << 0 << QList<int>{1, 3, 5} << true;
}

void TestVCardMenu::exportFromMenu()
{
    QFETCH(QList<int>, marked);
    QFETCH(int, current);
    QFETCH(QList<int>, written);
    QFETCH(bool, namedAsALot);
    auto *list = m_window->findChild<RecordListView *>();
    QVERIFY(list && list->model()->rowCount() > 6);
    list->setCurrentIndex(list->model()->index(current, 0));
    for (int row : marked) {
        const QRect rect = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, rect.center());
    }
    QCOMPARE(list->marks().count(), int(marked.size()));
    QStringList expected;
    for (int row : written)
        expected << list->model()->index(row, 0).data().toString();

    QTemporaryDir scratch;
    const QString path = scratch.filePath("out.vcf");
    m_prompter->expectSaveFile(path);
    QAction *a = action("&Export to", "vCard...");
    QVERIFY(a && a->isEnabled());
    a->trigger();
    QVERIFY(m_prompter->verifyAllAnswered());
    QCOMPARE(m_prompter->calls().constLast().save.proposedName, namedAsALot ? QString("contacts") : expected.first());
    QCOMPARE(formattedNames(readFile(path)), expected);
}

void TestVCardMenu::importFromMenu_data()
{
    QTest::addColumn<QString>("answer");
    QTest::newRow("no category") << "ok";
    QTest::newRow("a category picked") << "pick";
}

void TestVCardMenu::importFromMenu()
{
    QFETCH(QString, answer);
    QTemporaryDir scratch;
    const QString path = scratch.filePath("cards.vcf");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:\xe7\x8e\x8b\xe5\xb0\x8f\xe6\x98\x8e\r\nN:\xe7\x8e\x8b;\xe5\xb0\x8f\xe6\x98\x8e;;;\r\n"
            "END:VCARD\r\nBEGIN:VCARD\r\nVERSION:3.0\r\nFN:Card Beta\r\nEND:VCARD\r\n");
    f.close();
    m_prompter->expectOpenFile(path);
    m_prompter->expectMessage("2 entries got imported.", Icon::Information, Button::Ok, Button::Ok);
    const int before = m_data->personLookup.recordCount();
    auto *tree = m_window->findChild<CategoryTreeView *>("categoryTree");
    QVERIFY(tree);
    answerQuestion(answer);
    QAction *a = action("&Import from", "vCard...");
    QVERIFY(a && a->isEnabled());
    a->trigger();
    m_poll.stop();

    QCOMPARE(m_data->personLookup.recordCount(), before + 2);
    const int listed = tree->selectedNumber();
    QCOMPARE(listed > 1000, answer == "pick");
    if (answer == "ok")
        QCOMPARE(listed, 1000);
    TableView &persons = m_data->personLookup;
    for (const QString &name : {QString::fromUtf8("\xe7\x8e\x8b\xe5\xb0\x8f\xe6\x98\x8e"), QString("Card Beta")}) {
        QVERIFY2(persons.locate("Name", name), qPrintable(name));
        QCOMPARE(persons.value("Group1"), Value(qint32(listed)));
    }
    QCOMPARE(m_window->focusWidget(), m_window->findChild<RecordListView *>());
}

QTEST_MAIN(TestVCardMenu)
#include "tst_vcardmenu.moc"
