#include "PersonFixture.h"
#include "ScriptedPrompter.h"

#include "data/RecordStore.h"
#include "tools/DialCommand.h"
#include "tools/FieldPiece.h"
#include "tools/GoUrlCommand.h"
#include "tools/LinkUrls.h"
#include "tools/MailtoUrl.h"
#include "tools/RecipientGathering.h"

#include <QTest>

using namespace qv;
using test::person;
using Icon = Prompter::Icon;
using Button = Prompter::Button;

namespace {

// "|" marks the caret, "[" and "]" the selection; they are not part of the text.
TextFieldState field(QString marked, bool multiLine = false)
{
    TextFieldState f;
    f.multiLine = multiLine;
    const int open = marked.indexOf('[');
    if (open >= 0) {
        const int close = marked.indexOf(']');
        f.selectionStart = open;
        f.selectionLength = close - open - 1;
        marked.remove(close, 1);
        marked.remove(open, 1);
        f.caret = close - 1;
    } else {
        f.caret = marked.indexOf('|');
        marked.remove(f.caret, 1);
    }
    f.text = marked;
    return f;
}

std::vector<Value> organisation(qint32 id, const QString &company, const QString &email)
{
    std::vector<Value> row(size_t(organisationFields().size()));
    row[size_t(fieldIndex(organisationFields(), "CoID"))] = id;
    row[size_t(fieldIndex(organisationFields(), "Company"))] = company;
    row[size_t(fieldIndex(organisationFields(), "CEMail"))] = email;
    return row;
}

// Five people: Ann has two addresses, Bob none but his organisation has one,
// Cy and Di have none at all (their organisation neither), Ed one.
struct Book {
    RecordStore data;
    Book()
    {
        auto p = [](qint32 id, const QString &name, const QString &email, qint32 org) {
            return person({{"ClientID", id}, {"Name", name}, {"EMail", email}, {"OrgID", org}});
        };
        data.personRead.appendRecord(p(1, "Ann", "ann@a.example, ann@b.example", 0));
        data.personRead.appendRecord(p(2, "Bob", "", 2001));
        data.personRead.appendRecord(p(3, "Cy", "", 0));
        data.personRead.appendRecord(p(4, "Di", " ; ", 0));
        data.personRead.appendRecord(p(5, "Ed", "ed@e.example", 0));
        data.organisationRead.appendRecord(organisation(0, "", ""));
        data.organisationRead.appendRecord(organisation(2001, "ACME", "office@acme.example;sales@acme.example"));
        data.bindViews();
        data.personList.first();
    }
};

QStringList entries(const RecipientList &list)
{
    QStringList out;
    for (const Recipient &r : list.entries())
        out << r.entry();
    return out;
}

} // namespace

class TestTools : public QObject {
    Q_OBJECT
private slots:
    void pieceAroundCaret_data();
    void pieceAroundCaret();
    void areaCodePrefix_data();
    void areaCodePrefix();
    void dialNumber_data();
    void dialNumber();
    void addressInField_data();
    void addressInField();
    void telephoneUrl_data();
    void telephoneUrl();
    void webUrl_data();
    void webUrl();
    void mailtoUrl_data();
    void mailtoUrl();
    void recipientListOrder();
    void sameRecipientOnceEachKind();
    void addRecipientsOfMarkedRows();
    void addRecipientFromCurrentEntry_data();
    void addRecipientFromCurrentEntry();
    void addRecipientWithEmptyList();
    void dialCommand();
    void goUrlCommand_data();
    void goUrlCommand();
};

void TestTools::pieceAroundCaret_data()
{
    QTest::addColumn<QString>("marked");
    QTest::addColumn<QString>("piece");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("separatorBefore");
    QTest::newRow("single value") << "12|34" << "1234" << 0 << -1;
    QTest::newRow("caret in the first of two") << "a@x|.org, b@y.org" << "a@x.org" << 0 << -1;
    QTest::newRow("caret right before the comma") << "a@x.org|, b@y.org" << "a@x.org" << 0 << -1;
    QTest::newRow("caret right after the comma") << "a@x.org,| b@y.org" << " b@y.org" << 8 << 7;
    QTest::newRow("caret in the second") << "a@x.org, b@y|.org" << " b@y.org" << 8 << 7;
    QTest::newRow("semicolon separates too") << "1;2|;3" << "2" << 2 << 1;
    QTest::newRow("caret at the end") << "1, 2|" << " 2" << 2 << 1;
    QTest::newRow("caret at the start") << "|1, 2" << "1" << 0 << -1;
    QTest::newRow("between two separators") << "1,|,2" << "" << 2 << 1;
    QTest::newRow("selection wins") << "0[12]34, 5|" << "12" << 1 << -1;
}

void TestTools::pieceAroundCaret()
{
    QFETCH(QString, marked);
    QFETCH(QString, piece);
    QFETCH(int, start);
    QFETCH(int, separatorBefore);
    const FieldPiece result = qv::pieceAroundCaret(field(marked));
    QCOMPARE(result.text, piece);
    QCOMPARE(result.start, start);
    QCOMPARE(result.length, piece.size());
    QCOMPARE(result.separatorBefore, separatorBefore);
}

void TestTools::areaCodePrefix_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("area code and two numbers") << "(010) 1234, 5678" << "(010)";
    QTest::newRow("surrounding spaces") << "  (021)88 " << "(021)";
    QTest::newRow("no parenthesis") << "1234, 5678" << "";
    QTest::newRow("leading closing parentheses skipped") << "))(0755)1" << "(0755)";
    QTest::newRow("only closing parentheses") << ")))" << "";
    QTest::newRow("empty") << "" << "";
}

void TestTools::areaCodePrefix()
{
    QFETCH(QString, text);
    QFETCH(QString, prefix);
    QCOMPARE(qv::areaCodePrefix(text), prefix);
}

void TestTools::dialNumber_data()
{
    QTest::addColumn<QString>("marked");
    QTest::addColumn<QString>("number");
    QTest::newRow("first number keeps its own area code") << "(010) 12|34, 5678" << "(010) 1234";
    QTest::newRow("second number gets the area code") << "(010) 1234, 56|78" << "(010)5678";
    QTest::newRow("third number too") << "(010) 1234; 5678;9|9" << "(010)99";
    QTest::newRow("no area code") << "1234, 56|78" << "5678";
    QTest::newRow("selection alone, trimmed") << "(010) 1234, [ 5678 ]" << "5678";
    QTest::newRow("separator first: no prefix") << ",(010) 1|2" << "(010) 12";
    QTest::newRow("first value untrimmed") << " 1|2 , 3" << " 12 ";
}

void TestTools::dialNumber()
{
    QFETCH(QString, marked);
    QFETCH(QString, number);
    QCOMPARE(qv::dialNumber(field(marked)), number);
}

void TestTools::addressInField_data()
{
    QTest::addColumn<QString>("marked");
    QTest::addColumn<bool>("multiLine");
    QTest::addColumn<QString>("address");
    QTest::newRow("single line, whole text trimmed") << "  www.a.example/x|  " << false << "www.a.example/x";
    QTest::newRow("single line ignores separators") << "a.example, b|.example" << false << "a.example, b.example";
    QTest::newRow("selection") << "see [ www.a.example ] now|" << false << "www.a.example";
    QTest::newRow("memo: the caret's line") << "Home page:\nwww.a.|example \nend" << true << "www.a.example";
    QTest::newRow("memo: caret at the very start") << "|first\nsecond" << true << "first";
    QTest::newRow("memo: caret at the very end") << "first\nsecond|" << true << "second";
    QTest::newRow("memo: caret at a line's end") << "first|\nsecond" << true << "first";
}

void TestTools::addressInField()
{
    QFETCH(QString, marked);
    QFETCH(bool, multiLine);
    QFETCH(QString, address);
    QCOMPARE(qv::addressInField(field(marked, multiLine)), address);
}

void TestTools::telephoneUrl_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("url"); // empty: refused
    QTest::newRow("area code and spaces") << "(010) 1234 5678" << "tel:(010)12345678";
    QTest::newRow("international with dashes") << "+49 30-1234.56" << "tel:+4930-1234.56";
    QTest::newRow("hash is escaped") << "*21#" << "tel:*21%23";
    QTest::newRow("wide digits") << QString::fromUtf8("０１０ ８８") << "tel:01088";
    QTest::newRow("slash dropped") << "030/1234" << "tel:0301234";
    QTest::newRow("letters refused") << "call me" << "";
    QTest::newRow("scheme refused") << "javascript:1" << "";
    QTest::newRow("no digit") << "()-" << "";
    QTest::newRow("empty") << "" << "";
}

void TestTools::telephoneUrl()
{
    QFETCH(QString, number);
    QFETCH(QString, url);
    const std::optional<QUrl> result = qv::telephoneUrl(number);
    QCOMPARE(result ? QString::fromLatin1(result->toEncoded()) : QString(), url);
}

void TestTools::webUrl_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("url"); // empty: refused
    QTest::newRow("no scheme means http") << "www.a.example/x?y=1" << "http://www.a.example/x?y=1";
    QTest::newRow("host with a port") << "intranet:8080/wiki" << "http://intranet:8080/wiki";
    QTest::newRow("https kept") << " https://a.example " << "https://a.example";
    QTest::newRow("scheme in capitals") << "HTTP://A.example/" << "http://a.example/";
    QTest::newRow("mailto") << "mailto:ann@a.example" << "mailto:ann@a.example";
    QTest::newRow("bare e-mail address") << "ann@a.example" << "mailto:ann@a.example";
    QTest::newRow("user name in a web address") << "ann@a.example/page" << "http://ann@a.example/page";
    QTest::newRow("file refused") << "file:///etc/passwd" << "";
    QTest::newRow("javascript refused") << "javascript:alert(1)" << "";
    QTest::newRow("other scheme refused") << "smb://server/share" << "";
    QTest::newRow("absolute path refused") << "/etc/passwd" << "";
    QTest::newRow("home path refused") << "~/notes.txt" << "";
    QTest::newRow("relative path refused") << "./run.sh" << "";
    QTest::newRow("http without host") << "http://" << "";
    QTest::newRow("sentence") << "call me back" << "";
    QTest::newRow("empty") << "   " << "";
}

void TestTools::webUrl()
{
    QFETCH(QString, address);
    QFETCH(QString, url);
    const std::optional<QUrl> result = qv::webUrl(address);
    QCOMPARE(result ? QString::fromLatin1(result->toEncoded()) : QString(), url);
}

void TestTools::mailtoUrl_data()
{
    QTest::addColumn<QList<Recipient>>("recipients");
    QTest::addColumn<QString>("url");
    const auto to = RecipientKind::To;
    QTest::newRow("plain name") << QList<Recipient>{{to, "Ann Lee", "ann@a.example"}}
                                << "mailto:?to=Ann%20Lee%20%3Cann@a.example%3E";
    QTest::newRow("ampersand, question mark, percent and equals")
        << QList<Recipient>{{to, "Tom & Jerry? 100% =", "tj@a.example"}}
        << "mailto:?to=Tom%20%26%20Jerry%3F%20100%25%20%3D%20%3Ctj@a.example%3E";
    QTest::newRow("comma in the name is quoted")
        << QList<Recipient>{{to, "Lee, Ann", "ann@a.example"}}
        << "mailto:?to=%22Lee%2C%20Ann%22%20%3Cann@a.example%3E";
    QTest::newRow("quote and backslash in a quoted name")
        << QList<Recipient>{{to, "A \"B\" C\\D", "x@a.example"}}
        << "mailto:?to=%22A%20%5C%22B%5C%22%20C%5C%5CD%22%20%3Cx@a.example%3E";
    QTest::newRow("no name: the address alone") << QList<Recipient>{{to, "  ", "x@a.example"}}
                                                << "mailto:?to=x@a.example";
    QTest::newRow("wide characters as UTF-8") << QList<Recipient>{{to, QString::fromUtf8("王小明"), "w@a.example"}}
                                              << "mailto:?to=%E7%8E%8B%E5%B0%8F%E6%98%8E%20%3Cw@a.example%3E";
    QTest::newRow("kinds grouped in dialog order")
        << QList<Recipient>{{to, "A", "a@x"}, {RecipientKind::Cc, "B", "b@x"}, {RecipientKind::Bcc, "C", "c@x"},
                            {to, "D", "d@x"}}
        << "mailto:?to=A%20%3Ca@x%3E,D%20%3Cd@x%3E&cc=B%20%3Cb@x%3E&bcc=C%20%3Cc@x%3E";
    QTest::newRow("only copies") << QList<Recipient>{{RecipientKind::Bcc, "C", "c@x"}} << "mailto:?bcc=C%20%3Cc@x%3E";
}

void TestTools::mailtoUrl()
{
    QFETCH(QList<Recipient>, recipients);
    QFETCH(QString, url);
    QCOMPARE(qv::mailtoUrl(recipients), url);
    // The desktop gets it through QUrl, which must hand it on unchanged.
    QCOMPARE(QString::fromLatin1(QUrl(url, QUrl::StrictMode).toEncoded()), url);
}

void TestTools::recipientListOrder()
{
    RecipientList list;
    list.add({RecipientKind::Bcc, "zed", "z@x"});
    list.add({RecipientKind::To, "bob", "b@x"});
    list.add({RecipientKind::Cc, "Carl", "c@x"});
    list.add({RecipientKind::To, "Al", "a@x"});
    list.add({RecipientKind::Cc, "adam", "ad@x"});
    QCOMPARE(entries(list), QStringList({"BCC=zed <z@x>", "CC=adam <ad@x>", "CC=Carl <c@x>", "To=Al <a@x>",
                                         "To=bob <b@x>"}));
    QStringList rows;
    for (const Recipient &r : list.byKind())
        rows << r.entry();
    QCOMPARE(rows, QStringList({"To=Al <a@x>", "To=bob <b@x>", "CC=adam <ad@x>", "CC=Carl <c@x>", "BCC=zed <z@x>"}));
}

void TestTools::sameRecipientOnceEachKind()
{
    RecipientList list;
    QVERIFY(list.add({RecipientKind::To, "Ann", "ann@a.example"}));
    QVERIFY(!list.add({RecipientKind::To, "ANN", "Ann@A.example"}));
    QVERIFY(list.add({RecipientKind::Cc, "Ann", "ann@a.example"}));
    QCOMPARE(entries(list), QStringList({"CC=Ann <ann@a.example>", "To=Ann <ann@a.example>"}));
}

void TestTools::addRecipientsOfMarkedRows()
{
    Book book;
    book.data.personList.setRecNo(3);
    test::ScriptedPrompter prompter;
    prompter.expectMessage("Please specify an E-mail address. ? Cy", Icon::Plain, Button::Ok, Button::Ok);
    prompter.expectMessage("Please specify an E-mail address. ? Di", Icon::Plain, Button::Ok, Button::Ok);
    RecipientList list;
    addRecipients(RecipientKind::To, book.data, {0, 1, 2, 3, 4}, std::nullopt, prompter, list);
    QCOMPARE(entries(list), QStringList({"To=Ann <ann@a.example>", "To=Bob <office@acme.example>", "To=Ed <ed@e.example>"}));
    QVERIFY(prompter.verifyAllAnswered());
    QCOMPARE(book.data.personList.recNo(), 3);
    QCOMPARE(book.data.organisationList.text("CoID"), "0"); // Cy's
}

void TestTools::addRecipientFromCurrentEntry_data()
{
    QTest::addColumn<int>("recNo");
    QTest::addColumn<std::optional<QString>>("piece");
    QTest::addColumn<QString>("entry"); // empty: none added
    QTest::addColumn<QString>("message");
    QTest::newRow("first of the person's addresses") << 1 << std::optional<QString>() << "CC=Ann <ann@a.example>" << "";
    QTest::newRow("the organisation's first address") << 2 << std::optional<QString>() << "CC=Bob <office@acme.example>"
                                                      << "";
    QTest::newRow("focused field wins") << 1 << std::optional<QString>(" ann@b.example ") << "CC=Ann <ann@b.example>"
                                        << "";
    QTest::newRow("focused field without address") << 1 << std::optional<QString>(" ") << ""
                                                   << "Please specify an E-mail address. ? Ann";
    QTest::newRow("no address anywhere") << 4 << std::optional<QString>() << ""
                                         << "Please specify an E-mail address. ? Di";
}

void TestTools::addRecipientFromCurrentEntry()
{
    QFETCH(int, recNo);
    QFETCH(std::optional<QString>, piece);
    QFETCH(QString, entry);
    QFETCH(QString, message);
    Book book;
    book.data.personList.setRecNo(recNo);
    test::ScriptedPrompter prompter;
    if (!message.isEmpty())
        prompter.expectMessage(message, Icon::Plain, Button::Ok, Button::Ok);
    RecipientList list;
    addRecipients(RecipientKind::Cc, book.data, {}, piece, prompter, list);
    QCOMPARE(entries(list), entry.isEmpty() ? QStringList() : QStringList{entry});
    QVERIFY(prompter.verifyAllAnswered());
}

void TestTools::addRecipientWithEmptyList()
{
    Book book;
    book.data.personList.setFilter("OrgID=-1");
    test::ScriptedPrompter prompter;
    prompter.expectMessage("Please select an entry.", Icon::Plain, Button::Ok, Button::Ok);
    RecipientList list;
    addRecipients(RecipientKind::To, book.data, {}, std::nullopt, prompter, list);
    QVERIFY(list.isEmpty());
    QVERIFY(prompter.verifyAllAnswered());
}

void TestTools::dialCommand()
{
    test::ScriptedPrompter prompter;
    // Nothing focused, or an empty field.
    prompter.expectMessage("Please specify a phone number.", Icon::Plain, Button::Ok, Button::Ok);
    prompter.expectMessage("Please specify a phone number.", Icon::Plain, Button::Ok, Button::Ok);
    QVERIFY(!askNumberToDial(std::nullopt, prompter));
    QVERIFY(!askNumberToDial(field("|"), prompter));
    // The offered number, edited; then cancelled.
    prompter.expectInput("Quorvel", "Dial", QString("0 9876"));
    prompter.expectInput("Quorvel", "Dial", std::nullopt);
    QCOMPARE(askNumberToDial(field("(0) 1, 98|76"), prompter), QString("0 9876"));
    QCOMPARE(prompter.calls().last().initialText, "(0)9876");
    QVERIFY(!askNumberToDial(field("98|76"), prompter));
    // The call, or the message when the focus left the field or the text is no number.
    QCOMPARE(callUrl("0 9876", true, prompter), QUrl("tel:09876"));
    prompter.expectMessage("Please specify a phone number.", Icon::Plain, Button::Ok, Button::Ok);
    prompter.expectMessage("Please specify a phone number.", Icon::Plain, Button::Ok, Button::Ok);
    QVERIFY(!callUrl("0 9876", false, prompter));
    QVERIFY(!callUrl("file:/x", true, prompter));
    QVERIFY(prompter.verifyAllAnswered());
}

void TestTools::goUrlCommand_data()
{
    QTest::addColumn<std::optional<TextFieldState>>("focused");
    QTest::addColumn<QString>("url"); // empty: refused with the message
    QTest::newRow("nothing focused") << std::optional<TextFieldState>() << "";
    QTest::newRow("empty field") << std::optional<TextFieldState>(field("|")) << "";
    QTest::newRow("web address") << std::optional<TextFieldState>(field(" www.a.example| ")) << "http://www.a.example";
    QTest::newRow("file refused") << std::optional<TextFieldState>(field("file:///etc/passwd|")) << "";
}

void TestTools::goUrlCommand()
{
    QFETCH(std::optional<TextFieldState>, focused);
    QFETCH(QString, url);
    test::ScriptedPrompter prompter;
    if (url.isEmpty())
        prompter.expectMessage("Please specify a valid URL.", Icon::Plain, Button::Ok, Button::Ok);
    const std::optional<QUrl> result = urlToOpen(focused, prompter);
    QCOMPARE(result ? result->toString() : QString(), url);
    QVERIFY(prompter.verifyAllAnswered());
}

QTEST_GUILESS_MAIN(TestTools)
#include "tst_tools.moc"
