// The field selection dialog of the CSV export and the copy: ticks read by
// position from the ticked lines, Select All as a toggle, the choice handed
// back on OK only.
#include "exchange/FieldSelectionDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace qv;

namespace {

const QList<IniLine> kCatalogue = {{"Name", "Name"}, {"Phone", "Home phone"}, {"Memo", "Memo"}, {"Company", "Company"}};

// The field items, in catalogue order.
QList<QCheckBox *> items(QDialog &dialog)
{
    QList<QCheckBox *> boxes;
    for (QCheckBox *box : dialog.findChildren<QCheckBox *>()) {
        if (box->objectName().isEmpty())
            boxes << box;
    }
    return boxes;
}

QStringList tickedTexts(QDialog &dialog)
{
    QStringList texts;
    for (QCheckBox *box : items(dialog))
        texts << (box->isChecked() ? "[x] " : "[ ] ") + box->text();
    return texts;
}

// Runs the dialog, doing `act` while it is shown.
std::optional<ExportFieldChooser::Choice> run(FieldSelectionDialog &dialog, const QList<IniLine> &ticked, bool mark,
                                              const std::function<void()> &act)
{
    QTimer::singleShot(0, &dialog, act);
    return dialog.choose(kCatalogue, ticked, mark);
}

QPushButton *button(QDialog &dialog, const QString &text)
{
    for (QPushButton *b : dialog.findChildren<QPushButton *>()) {
        if (b->text() == text)
            return b;
    }
    return nullptr;
}

} // namespace

class TestFieldSelection : public QObject {
    Q_OBJECT
private slots:
    void loadsTicksByPosition();
    void selectAllToggles();
    void okStoresByPosition();
    void cancelChangesNothing();
};

void TestFieldSelection::loadsTicksByPosition()
{
    FieldSelectionDialog dialog;
    QStringList shown;
    bool titles = true, mark = false;
    QString caption, prompt;
    run(dialog, {{"Name", "true"}, {"Phone", "False"}, {"Memo", "yes"}, {"Company", "TRUE"}}, true, [&] {
        caption = dialog.windowTitle();
        prompt = dialog.findChild<QLabel *>()->text();
        shown = tickedTexts(dialog);
        titles = dialog.findChild<QCheckBox *>("writeTitles")->isChecked();
        mark = dialog.findChild<QCheckBox *>("writeByteOrderMark")->isChecked();
        dialog.reject();
    });
    QCOMPARE(caption, "QV Fields Selection");
    QCOMPARE(prompt, "Please select fields:");
    QCOMPARE(shown, (QStringList{"[x] Name", "[ ] Home phone", "[ ] Memo", "[x] Company"}));
    QVERIFY(!titles); // column titles are off unless asked for
    QVERIFY(mark);
}

void TestFieldSelection::selectAllToggles()
{
    FieldSelectionDialog dialog;
    QStringList captions, afterFirst, afterSecond;
    run(dialog, {{"Name", "True"}}, false, [&] {
        QPushButton *all = dialog.findChild<QPushButton *>("selectAll");
        captions << all->text();
        all->click();
        captions << all->text();
        afterFirst = tickedTexts(dialog);
        all->click();
        captions << all->text();
        afterSecond = tickedTexts(dialog);
        dialog.reject();
    });
    QCOMPARE(captions, (QStringList{"Select &All", "Unselect &All", "Select &All"}));
    QCOMPARE(afterFirst, (QStringList{"[x] Name", "[x] Home phone", "[x] Memo", "[x] Company"}));
    QCOMPARE(afterSecond, (QStringList{"[ ] Name", "[ ] Home phone", "[ ] Memo", "[ ] Company"}));
}

void TestFieldSelection::okStoresByPosition()
{
    FieldSelectionDialog dialog;
    // The ticked lines are paired with the catalogue by position; a line beyond it stays as it was.
    const QList<IniLine> ticked = {{"Name", "True"}, {"Phone", "False"}, {"Memo", "x"}, {"Company", "True"}, {"Extra", "True"}};
    const auto choice = run(dialog, ticked, false, [&] {
        const QList<QCheckBox *> boxes = items(dialog);
        boxes[0]->setChecked(false);
        boxes[1]->setChecked(true);
        dialog.findChild<QCheckBox *>("writeTitles")->setChecked(true);
        button(dialog, "&OK")->click();
    });
    QVERIFY(choice);
    QCOMPARE(choice->ticked,
             (QList<IniLine>{{"Name", "False"}, {"Phone", "True"}, {"Memo", "False"}, {"Company", "True"}, {"Extra", "True"}}));
    QVERIFY(choice->columnTitles);
    QVERIFY(!choice->byteOrderMark);
}

void TestFieldSelection::cancelChangesNothing()
{
    FieldSelectionDialog dialog;
    const auto choice = run(dialog, {{"Name", "True"}}, false, [&] {
        items(dialog)[1]->setChecked(true);
        button(dialog, "&Cancel")->click();
    });
    QVERIFY(!choice);
}

QTEST_MAIN(TestFieldSelection)
#include "tst_fieldselection.moc"
