#include "PersonFixture.h"
#include "ScriptedPrompter.h"

#include "data/RecordStore.h"
#include "shell/ProgramDirectory.h"
#include "tools/CommunicationTools.h"
#include "tools/TextViewer.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace qv;
using Icon = Prompter::Icon;
using Button = Prompter::Button;

namespace {

// Takes the URLs the commands hand to the desktop.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QStringList urls;
    UrlRecorder()
    {
        for (const char *scheme : {"tel", "mailto", "http", "https", "file"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
    }
    ~UrlRecorder() override
    {
        for (const char *scheme : {"tel", "mailto", "http", "https", "file"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
public slots:
    void open(const QUrl &url) { urls << QString::fromLatin1(url.toEncoded()); }
};

// A prompter that moves the focus while the "Dial" box is up, as a user
// clicking elsewhere would.
// With activateOnInput, the box's own window keeps the application's focus
// after it is closed, as it does until the window manager hands it back.
class FocusMovingPrompter : public test::ScriptedPrompter {
public:
    QWidget *focusOnInput = nullptr;
    QWidget *activateOnInput = nullptr;
    std::optional<QString> input(const QString &caption, const QString &prompt, const QString &initialText) override
    {
        if (focusOnInput)
            focusOnInput->setFocus();
        if (activateOnInput) {
            activateOnInput->show();
            QApplication::setActiveWindow(activateOnInput);
            activateOnInput->setFocus();
        }
        return ScriptedPrompter::input(caption, prompt, initialText);
    }
};

std::vector<Value> organisation(qint32 id, const QString &email)
{
    std::vector<Value> row(size_t(organisationFields().size()));
    row[size_t(fieldIndex(organisationFields(), "CoID"))] = id;
    row[size_t(fieldIndex(organisationFields(), "CEMail"))] = email;
    return row;
}

// Runs f on the modal dialog as soon as it is shown; a dialog that f left
// open (a failed check) is closed, so that the test ends.
void onModal(std::function<void(QWidget *)> f)
{
    QTimer::singleShot(0, [f] {
        auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        QVERIFY(modal);
        f(modal);
        if (modal->isVisible())
            modal->reject();
    });
}

QStringList rowsOf(QWidget *dialog)
{
    auto *list = dialog->findChild<QTreeWidget *>("recipients");
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        rows << list->topLevelItem(i)->text(0) + " " + list->topLevelItem(i)->text(1);
    return rows;
}

void press(QWidget *dialog, const char *button)
{
    dialog->findChild<QPushButton *>(button)->click();
}

} // namespace

// A window with a one-line field, a memo and a list, over four people:
// Ann (two addresses), Bob (his organisation's), Cy (none), Di "Lee, Di & Co".
class TestCommunication : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void dialOffersThePieceAroundTheCaret();
    void dialWithoutTextField();
    void dialAfterTheFocusLeft();
    void dialWhileTheBoxStillHasTheFocus();
    void emailToMarkedEntriesAndLaunch();
    void launchDeleteAndMore();
    void launchCancelled();
    void launchWithoutAnyAddress();
    void emailFieldPiece();
    void goUrl_data();
    void goUrl();
    void missingBrowserIsNamed();
    void memoViewer();
    void manual_data();
    void manual();
    void shippedManual();
    void manualSaysWhatTheProgramDoes_data();
    void manualSaysWhatTheProgramDoes();

private:
    std::unique_ptr<UrlRecorder> m_urls;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<RecordStore> m_data;
    std::unique_ptr<FocusMovingPrompter> m_prompter;
    std::unique_ptr<QWidget> m_window;
    std::vector<int> m_marks;
    CommunicationTools *m_tools = nullptr;
    QLineEdit *m_field = nullptr;
    QPlainTextEdit *m_memo = nullptr;
    QListView *m_list = nullptr;
};

void TestCommunication::init()
{
    m_urls.reset(); // its handlers go before the new ones come
    m_urls = std::make_unique<UrlRecorder>();
    m_dir = std::make_unique<QTemporaryDir>();
    m_data = std::make_unique<RecordStore>();
    auto p = [](qint32 id, const QString &name, const QString &email, qint32 org) {
        return test::person({{"ClientID", id}, {"Name", name}, {"EMail", email}, {"OrgID", org}});
    };
    m_data->personRead.appendRecord(p(1, "Ann", "ann@a.example; ann@b.example", 0));
    m_data->personRead.appendRecord(p(2, "Bob", "", 2001));
    m_data->personRead.appendRecord(p(3, "Cy", "", 0));
    m_data->personRead.appendRecord(p(4, "Lee, Di & Co", "di@d.example", 0));
    m_data->organisationRead.appendRecord(organisation(0, ""));
    m_data->organisationRead.appendRecord(organisation(2001, "office@acme.example"));
    m_data->bindViews();
    m_data->personList.first();
    m_prompter = std::make_unique<FocusMovingPrompter>();
    m_window = std::make_unique<QWidget>();
    m_field = new QLineEdit(m_window.get());
    m_memo = new QPlainTextEdit(m_window.get());
    m_list = new QListView(m_window.get());
    auto *layout = new QVBoxLayout(m_window.get());
    for (QWidget *w : {static_cast<QWidget *>(m_field), static_cast<QWidget *>(m_memo), static_cast<QWidget *>(m_list)})
        layout->addWidget(w);
    m_marks.clear();
    m_tools = new CommunicationTools(m_window.get(), *m_data, *m_prompter, [this] { return m_marks; }, m_dir->path() + "/");
    m_window->show();
    QApplication::setActiveWindow(m_window.get());
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestCommunication::cleanup()
{
    QVERIFY(m_prompter->verifyAllAnswered());
    m_window.reset();
    m_prompter.reset();
    m_data.reset();
    m_urls.reset();
}

void TestCommunication::dialOffersThePieceAroundTheCaret()
{
    m_field->setText("(010) 1234, 5678");
    m_field->setFocus();
    m_field->setCursorPosition(14);
    m_prompter->expectInput("Quorvel", "Dial", QString("(010) 5678"));
    m_tools->dial();
    QCOMPARE(m_prompter->calls().last().initialText, "(010)5678");
    QCOMPARE(m_field->selectedText(), " 5678"); // the user sees which number was taken
    QCOMPARE(m_urls->urls, QStringList{"tel:(010)5678"});
}

void TestCommunication::dialWithoutTextField()
{
    m_field->setText("1234");
    m_list->setFocus();
    m_prompter->expectMessage("Please specify a phone number.", Icon::Plain, Button::Ok, Button::Ok);
    m_tools->dial();
    QVERIFY(m_urls->urls.isEmpty());
}

void TestCommunication::dialAfterTheFocusLeft()
{
    m_field->setText("1234");
    m_field->setFocus();
    m_prompter->focusOnInput = m_list;
    m_prompter->expectInput("Quorvel", "Dial", QString("1234"));
    m_prompter->expectMessage("Please specify a phone number.", Icon::Plain, Button::Ok, Button::Ok);
    m_tools->dial();
    QVERIFY(m_urls->urls.isEmpty());
}

void TestCommunication::dialWhileTheBoxStillHasTheFocus()
{
    m_field->setText("1234");
    m_field->setFocus();
    QPushButton box("OK");
    m_prompter->activateOnInput = &box;
    m_prompter->expectInput("Quorvel", "Dial", QString("1234"));
    m_tools->dial();
    QCOMPARE(QApplication::focusWidget(), &box); // not a text field
    QCOMPARE(m_urls->urls, QStringList{"tel:1234"});
}

void TestCommunication::emailToMarkedEntriesAndLaunch()
{
    m_list->setFocus();
    m_marks = {0, 1, 2, 3};
    m_prompter->expectMessage("Please specify an E-mail address. ? Cy", Icon::Plain, Button::Ok, Button::Ok);
    m_tools->addRecipients(RecipientKind::To);
    m_marks = {0};
    m_tools->addRecipients(RecipientKind::Bcc);
    m_tools->addRecipients(RecipientKind::To); // Ann is there already
    m_marks = {3};
    m_tools->addRecipients(RecipientKind::Cc);
    QStringList shown;
    onModal([&](QWidget *dialog) {
        QCOMPARE(dialog->windowTitle(), "Recipients");
        shown = rowsOf(dialog);
        press(dialog, "ok");
    });
    m_tools->launchEmail();
    QCOMPARE(shown, QStringList({"To Ann <ann@a.example>", "To Bob <office@acme.example>",
                                 "To Lee, Di & Co <di@d.example>", "CC Lee, Di & Co <di@d.example>",
                                 "BCC Ann <ann@a.example>"}));
    QCOMPARE(m_urls->urls, QStringList{"mailto:?to=Ann%20%3Cann@a.example%3E,Bob%20%3Coffice@acme.example%3E,"
                                       "%22Lee%2C%20Di%20%26%20Co%22%20%3Cdi@d.example%3E"
                                       "&cc=%22Lee%2C%20Di%20%26%20Co%22%20%3Cdi@d.example%3E"
                                       "&bcc=Ann%20%3Cann@a.example%3E"});
    QVERIFY(m_tools->recipients().isEmpty());
}

void TestCommunication::launchDeleteAndMore()
{
    m_list->setFocus();
    m_marks = {0, 1};
    m_tools->addRecipients(RecipientKind::To);
    onModal([&](QWidget *dialog) {
        auto *list = dialog->findChild<QTreeWidget *>("recipients");
        list->topLevelItem(0)->setSelected(true);
        press(dialog, "delete");
        QCOMPARE(rowsOf(dialog), QStringList{"To Bob <office@acme.example>"});
        press(dialog, "more");
    });
    m_tools->launchEmail();
    QVERIFY(m_urls->urls.isEmpty());
    QCOMPARE(m_tools->recipients().entries().size(), 1);
    QCOMPARE(m_tools->recipients().entries().first().entry(), "To=Bob <office@acme.example>");
    // Deleting every row and pressing OK starts nothing.
    onModal([&](QWidget *dialog) {
        dialog->findChild<QTreeWidget *>("recipients")->selectAll();
        press(dialog, "delete");
        press(dialog, "ok");
    });
    m_tools->launchEmail();
    QVERIFY(m_urls->urls.isEmpty());
}

void TestCommunication::launchCancelled()
{
    m_list->setFocus();
    m_tools->addRecipients(RecipientKind::Cc);
    onModal([](QWidget *dialog) { press(dialog, "cancel"); });
    m_tools->launchEmail();
    QVERIFY(m_urls->urls.isEmpty());
    QVERIFY(m_tools->recipients().isEmpty());
}

void TestCommunication::launchWithoutAnyAddress()
{
    m_list->setFocus();
    m_data->personList.setRecNo(3); // Cy
    m_prompter->expectMessage("Please specify an E-mail address. ? Cy", Icon::Plain, Button::Ok, Button::Ok);
    m_tools->launchEmail(); // no dialog: the test would hang on it
    QVERIFY(m_urls->urls.isEmpty());
}

void TestCommunication::emailFieldPiece()
{
    m_field->setText("ann@a.example, ann@b.example");
    m_field->setFocus();
    m_field->setCursorPosition(14); // right after the comma
    m_tools->addRecipients(RecipientKind::To);
    QCOMPARE(m_tools->recipients().entries().first().entry(), "To=Ann <ann@b.example>");
    QCOMPARE(m_field->selectedText(), " ann@b.example");
}

void TestCommunication::goUrl_data()
{
    QTest::addColumn<QString>("memo");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("url"); // empty: refused
    QTest::newRow("the caret's line of a memo") << "Web:\nwww.a.example/x y\nend" << 7 << "http://www.a.example/x%20y";
    QTest::newRow("https") << "https://b.example/?q=1&r=2" << 3 << "https://b.example/?q=1&r=2";
    QTest::newRow("file refused") << "file:///etc/passwd" << 3 << "";
    QTest::newRow("javascript refused") << "javascript:alert(1)" << 3 << "";
    QTest::newRow("empty memo") << "" << 0 << "";
}

void TestCommunication::goUrl()
{
    QFETCH(QString, memo);
    QFETCH(int, caret);
    QFETCH(QString, url);
    m_memo->setPlainText(memo);
    m_memo->setFocus();
    QTextCursor cursor = m_memo->textCursor();
    cursor.setPosition(caret);
    m_memo->setTextCursor(cursor);
    if (url.isEmpty())
        m_prompter->expectMessage("Please specify a valid URL.", Icon::Plain, Button::Ok, Button::Ok);
    m_tools->goUrl();
    QCOMPARE(m_urls->urls, url.isEmpty() ? QStringList() : QStringList{url});
}

void TestCommunication::missingBrowserIsNamed()
{
    m_urls.reset(); // the desktop's own handling, with nothing to start
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", m_dir->path().toLocal8Bit());
    qunsetenv("BROWSER");
    qunsetenv("DEFAULT_BROWSER");
    m_field->setText("www.a.example");
    m_field->setFocus();
    m_prompter->expectMessage("No web browser is installed. Please install one to open web pages.", Icon::Warning,
                              Button::Ok, Button::Ok);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(".*"));
    m_tools->goUrl();
    qputenv("PATH", path);
}

void TestCommunication::memoViewer()
{
    m_memo->setPlainText("line 1\nline 2");
    QFont font("Serif", 11);
    m_memo->setFont(font);
    QString title, text;
    QFont shownFont;
    onModal([&](QWidget *viewer) {
        title = viewer->windowTitle();
        auto *memo = viewer->findChild<QPlainTextEdit *>("text");
        text = memo->toPlainText();
        shownFont = memo->font();
        QVERIFY(memo->isReadOnly());
        press(viewer, "ok");
    });
    m_tools->showMemo(m_memo);
    QCOMPARE(title, "Text");
    QCOMPARE(text, "line 1\nline 2");
    QCOMPARE(shownFont.pointSize(), 11);
}

void TestCommunication::manual_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("opened"); // empty: the message
    QTest::newRow("the manual") << QStringList{"qvhelp.html", "qvhelp.rtf"} << "qvhelp.html";
    QTest::newRow("the text version when the manual is missing") << QStringList{"qvhelp.rtf"} << "qvhelp.rtf";
    QTest::newRow("neither") << QStringList{} << "";
}

void TestCommunication::manual()
{
    QFETCH(QStringList, files);
    QFETCH(QString, opened);
    for (const QString &name : files) {
        QFile f(m_dir->path() + "/" + name);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    if (opened.isEmpty())
        m_prompter->expectMessage("The manual qvhelp.html is missing from " + m_dir->path() + "/.", Icon::Warning,
                                  Button::Ok, Button::Ok);
    m_tools->openManual();
    QCOMPARE(m_urls->urls,
             opened.isEmpty() ? QStringList() : QStringList{QUrl::fromLocalFile(m_dir->path() + "/" + opened).toString()});
}

void TestCommunication::shippedManual()
{
    QVERIFY(installShippedFiles(m_dir->path() + "/").contains("qvhelp.html"));
    QFile manual(m_dir->path() + "/qvhelp.html");
    QVERIFY(manual.open(QIODevice::ReadOnly));
    QVERIFY(manual.readAll().contains("<title>Quorvel \xE2\x80\x94 User Manual</title>"));
    m_tools->openManual();
    QCOMPARE(m_urls->urls, QStringList{QUrl::fromLocalFile(manual.fileName()).toString()});
}

void TestCommunication::manualSaysWhatTheProgramDoes_data()
{
    // The manual's list item or table row that holds the key, and what it must and must not say.
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("says");
    QTest::addColumn<QStringList>("never");
    QTest::newRow("the name box lists on Enter, names that begin with the text")
        << "<b>Name box</b>" << QStringList{"<kbd>Enter</kbd>", "begins with"} << QStringList{"list follows"};
    QTest::newRow("the overview's name box lists on Enter")
        << "The <i>Name</i> box" << QStringList{"<kbd>Enter</kbd>"} << QStringList{"as you type"};
    QTest::newRow("the organisation box needs the whole name")
        << "<b>Org box</b>" << QStringList{"<kbd>Enter</kbd>", "whole name"} << QStringList{"beginning"};
    QTest::newRow("the vCard export writes the marked entries")
        << "Export to \u203A vCard..." << QStringList{"current entry", "marked"} << QStringList{};
}

void TestCommunication::manualSaysWhatTheProgramDoes()
{
    QFETCH(QString, key);
    QFETCH(QStringList, says);
    QFETCH(QStringList, never);
    installShippedFiles(m_dir->path() + "/");
    QFile manual(m_dir->path() + "/qvhelp.html");
    QVERIFY(manual.open(QIODevice::ReadOnly));
    QString item;
    static const QRegularExpression items("<(li|tr)>.*?</\\1>", QRegularExpression::DotMatchesEverythingOption);
    for (const QRegularExpressionMatch &match : items.globalMatch(QString::fromUtf8(manual.readAll()))) {
        if (match.captured().contains(key))
            item = match.captured();
    }
    QVERIFY2(!item.isEmpty(), qPrintable(key));
    for (const QString &phrase : says)
        QVERIFY2(item.contains(phrase), qPrintable(phrase + " missing from: " + item));
    for (const QString &phrase : never)
        QVERIFY2(!item.contains(phrase), qPrintable(phrase + " in: " + item));
}

QTEST_MAIN(TestCommunication)
#include "tst_communication.moc"
