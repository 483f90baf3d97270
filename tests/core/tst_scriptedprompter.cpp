#include "ScriptedPrompter.h"

#include <QTest>

using qv::Prompter;
using qv::test::ScriptedPrompter;
using Icon = Prompter::Icon;
using Button = Prompter::Button;

class TestScriptedPrompter : public QObject {
    Q_OBJECT
private slots:
    void answersInOrder();
    void mismatches_data();
    void mismatches();
    void unusedAnswerIsReported();
};

void TestScriptedPrompter::answersInOrder()
{
    ScriptedPrompter p;
    p.expectMessage("Are you going to save Family?", Icon::Warning, Button::Yes | Button::No | Button::Cancel, Button::No);
    p.expectPassword("Enter Password for addressbook Family", QString("secret"));
    p.expectInput("New", "Name of the new addressbook", std::nullopt);
    p.expectSaveFile(QString("/tmp/x.qvp"));

    QCOMPARE(p.message("Are you going to save Family?", Icon::Warning, Button::Yes | Button::No | Button::Cancel), Button::No);
    QCOMPARE(p.password("Enter Password for addressbook Family"), std::optional<QString>("secret"));
    QCOMPARE(p.input("New", "Name of the new addressbook", "Default"), std::nullopt);
    Prompter::SaveRequest save;
    save.filter = "QV Package (*.qvp)|*.qvp";
    save.defaultExtension = "qvp";
    QCOMPARE(p.saveFile(save), std::optional<QString>("/tmp/x.qvp"));

    QVERIFY(p.verifyAllAnswered());
    QCOMPARE(p.calls().size(), 4);
    QCOMPARE(p.calls()[2].initialText, QString("Default"));
    QCOMPARE(p.calls()[3].save.filter, QString("QV Package (*.qvp)|*.qvp"));
    QCOMPARE(p.messages(), QStringList{"Are you going to save Family?"});
}

void TestScriptedPrompter::mismatches_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<bool>("scripted");
    QTest::addColumn<QString>("failure");

    const int ok = int(Button::Ok);
    const int info = int(Icon::Information);
    QTest::newRow("unexpected message") << "Saved." << info << ok << false << "unexpected prompt: message";
    QTest::newRow("wrong text, one space more") << "Saved  ." << info << ok << true << "prompt shown: message";
    QTest::newRow("wrong icon") << "Saved." << int(Icon::Warning) << ok << true << "prompt shown: message [warning";
    QTest::newRow("wrong buttons") << "Saved." << info << int(Button::Ok | Button::Abort) << true << "OK/Abort";
}

void TestScriptedPrompter::mismatches()
{
    QFETCH(QString, text);
    QFETCH(int, icon);
    QFETCH(int, buttons);
    QFETCH(bool, scripted);
    QFETCH(QString, failure);

    QStringList failures;
    ScriptedPrompter p;
    p.setFailureHandler([&](const QString &why) { failures << why; });
    if (scripted)
        p.expectMessage("Saved.", Icon::Information, Button::Ok, Button::Ok);
    p.message(text, Icon(icon), Prompter::Buttons(buttons));
    QCOMPARE(failures.size(), 1);
    QVERIFY2(failures.first().contains(failure), qPrintable(failures.first()));
    QCOMPARE(p.calls().size(), 1);
    QCOMPARE(p.calls().first().text, text);
}

void TestScriptedPrompter::unusedAnswerIsReported()
{
    QStringList failures;
    {
        ScriptedPrompter p;
        p.setFailureHandler([&](const QString &why) { failures << why; });
        p.expectPassword("Enter Password for addressbook Work", QString("x"));
    }
    QCOMPARE(failures, QStringList{"expected prompt never shown: password \"Enter Password for addressbook Work\""});
}

QTEST_APPLESS_MAIN(TestScriptedPrompter)
#include "tst_scriptedprompter.moc"
