#include "ScriptedPrompter.h"

#include "settings/DataDirectoryChoice.h"
#include "settings/PasswordChange.h"
#include "settings/Settings.h"

#include <QTest>

using namespace qv;
using Icon = Prompter::Icon;
using Button = Prompter::Button;

namespace {

const QString kOld = "Enter the old password";
const QString kNew = "Enter Password for addressbook ";
const QString kAgain = "Re-enter password";

using Answer = std::optional<QString>;

} // namespace

class TestPasswordChange : public QObject {
    Q_OBJECT
private slots:
    void change_data();
    void change();
    void dataDirectory_data();
    void dataDirectory();
};

void TestPasswordChange::change_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QList<Answer>>("answers"); // old (when there is one), new, again
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("after");
    QTest::newRow("first password") << "" << QList<Answer>{"s3cret", "s3cret"} << "" << "s3cret";
    QTest::newRow("changed") << "old" << QList<Answer>{"old", "new", "new"} << "" << "new";
    QTest::newRow("removed by an empty one") << "old" << QList<Answer>{"old", "", ""} << "" << "";
    QTest::newRow("wrong old password") << "old" << QList<Answer>{"Old"} << "The old password is not correct." << "old";
    QTest::newRow("confirmation differs") << "old" << QList<Answer>{"old", "new", "neW"}
                                          << "Confirmation of the new password is invalid." << "old";
    QTest::newRow("cancel at the old one") << "old" << QList<Answer>{std::nullopt} << "" << "old";
    QTest::newRow("cancel at the new one") << "" << QList<Answer>{std::nullopt} << "" << "";
    QTest::newRow("cancel at the confirmation") << "old" << QList<Answer>{"old", "new", std::nullopt} << "" << "old";
}

void TestPasswordChange::change()
{
    QFETCH(QString, before);
    QFETCH(QList<Answer>, answers);
    QFETCH(QString, message);
    QFETCH(QString, after);
    test::ScriptedPrompter prompter;
    QStringList prompts = {kNew, kAgain};
    if (!before.isEmpty())
        prompts.prepend(kOld);
    for (int i = 0; i < answers.size(); ++i)
        prompter.expectPassword(prompts[i], answers[i]);
    if (message.startsWith("The old"))
        prompter.expectMessage(message, Icon::Warning, Button::Ok, Button::Ok);
    else if (!message.isEmpty())
        prompter.expectMessage(message, Icon::Plain, Button::Ok, Button::Ok);
    QString password = before;
    QCOMPARE(changePackagePassword(password, prompter), after != before);
    QCOMPARE(password, after);
    QVERIFY(prompter.verifyAllAnswered());
}

void TestPasswordChange::dataDirectory_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("dataDir");
    QTest::newRow("another folder") << "/srv/books/" << "/srv/books/";
    QTest::newRow("the program directory") << "/home/u/.local/share/quorvel/" << "/old/";
    QTest::newRow("the program directory in other case") << "/HOME/u/.local/share/Quorvel/" << "/old/";
}

void TestPasswordChange::dataDirectory()
{
    QFETCH(QString, chosen);
    QFETCH(QString, dataDir);
    Settings settings("/nowhere/aa.ini");
    settings.dataDir = "/old/";
    takeDataDirectory(settings, chosen, "/home/u/.local/share/quorvel/");
    QCOMPARE(settings.dataDir, dataDir);
}

QTEST_GUILESS_MAIN(TestPasswordChange)
#include "tst_passwordchange.moc"
