#include "common/QtPrompter.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using qv::Prompter;
using qv::QtPrompter;

class TestQtPrompter : public QObject {
    Q_OBJECT
private slots:
    void filter_data();
    void filter();
    void messageReturnsThePressedButton_data();
    void messageReturnsThePressedButton();
};

void TestQtPrompter::filter_data()
{
    QTest::addColumn<QString>("ours");
    QTest::addColumn<QString>("qt");
    QTest::newRow("one") << "QV Package (*.qvp)|*.qvp" << "QV Package (*.qvp)";
    QTest::newRow("two") << "CSV file (*.csv)|*.csv|All files (*.*)|*.*" << "CSV file (*.csv);;All files (*.*)";
    QTest::newRow("patterns taken from the second part, space-separated")
        << "Comma Separated Values (*.csv,*.txt)|*.csv;*.txt|Any file (*.*)|*.*" << "Comma Separated Values (*.csv *.txt);;Any file (*.*)";
    QTest::newRow("description without parentheses") << "Text|*.txt" << "Text (*.txt)";
}

void TestQtPrompter::filter()
{
    QFETCH(QString, ours);
    QFETCH(QString, qt);
    QCOMPARE(QtPrompter::toQtFilter(ours), qt);
}

void TestQtPrompter::messageReturnsThePressedButton_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expected");
    const auto ync = int(Prompter::Button::Yes | Prompter::Button::No | Prompter::Button::Cancel);
    QTest::newRow("Esc is Cancel when offered") << ync << int(Qt::Key_Escape) << int(Prompter::Button::Cancel);
    QTest::newRow("Esc is the last button otherwise")
        << int(Prompter::Button::Ok | Prompter::Button::Abort) << int(Qt::Key_Escape) << int(Prompter::Button::Abort);
    QTest::newRow("Enter on OK") << int(Prompter::Button::Ok) << int(Qt::Key_Return) << int(Prompter::Button::Ok);
}

void TestQtPrompter::messageReturnsThePressedButton()
{
    QFETCH(int, buttons);
    QFETCH(int, key);
    QFETCH(int, expected);
    QtPrompter prompter;
    QTimer::singleShot(0, [key] {
        QWidget *box = QApplication::activeModalWidget();
        QVERIFY(box);
        QTest::keyClick(box, Qt::Key(key));
    });
    QCOMPARE(int(prompter.message("Text", Prompter::Icon::Confirmation, Prompter::Buttons(buttons))), expected);
}

QTEST_MAIN(TestQtPrompter)
#include "tst_qtprompter.moc"
