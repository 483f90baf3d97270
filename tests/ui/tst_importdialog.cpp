// The mapping part of the import dialog: picking a column of the example
// into the current field's row, clearing one row or all, stepping through
// the examples, and the grid handed to the import on OK.
#include "ScriptedPrompter.h"

#include "data/RecordStore.h"
#include "editing/EditModel.h"
#include "exchange/ExchangeEngine.h"
#include "exchange/ImportDialog.h"
#include "navigation/CategoryTreeModel.h"
#include "settings/Settings.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace qv;

namespace {

struct Book {
    QTemporaryDir dir;
    RecordStore data;
    CategoryTreeModel tree;
    EditModel edit{tree};
    Settings settings{dir.filePath("aa.ini")};
    ExchangeEngine engine{settings, edit, data};
    test::ScriptedPrompter prompter;

    Book()
    {
        data.bindViews();
        tree.loadTree("All\r\n\tFriends\r\nSearch\r\n", "1000\r\n1001\r\n101\r\n");
        settings.fieldsList = {{"Name", "Name"}, {"SurName", "Surname"}, {"MidName", "Middle name"}, {"GivenName", "Given name"},
                               {"Phone", "Home phone"}, {"Company", "Company"}};
    }

    QString write(const QByteArray &bytes)
    {
        const QString path = dir.filePath("in.csv");
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }
};

QPushButton *button(QDialog &dialog, const QString &text)
{
    for (QPushButton *b : dialog.findChildren<QPushButton *>()) {
        if (b->text() == text)
            return b;
    }
    return nullptr;
}

// A grid row's assigned columns, as shown.
QString row(QDialog &dialog, int r)
{
    auto *grid = dialog.findChild<QTableWidget *>("mappingGrid");
    QStringList cells;
    for (int c = 1; c < 6; ++c)
        cells << grid->item(r, c)->text();
    return cells.join('|');
}

QStringList examples(QDialog &dialog)
{
    QStringList lines;
    auto *list = dialog.findChild<QListWidget *>("sampleList");
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

// Picks example line `line` (0-based) into grid row `r`.
void pick(QDialog &dialog, int r, int line)
{
    dialog.findChild<QTableWidget *>("mappingGrid")->selectRow(r);
    dialog.findChild<QListWidget *>("sampleList")->setCurrentRow(line);
    button(dialog, "<-")->click();
}

} // namespace

class TestImportDialog : public QObject {
    Q_OBJECT
private slots:
    void pickAndClear();
    void examplesWrapAround();
    void unreadableExampleReported();
};

void TestImportDialog::pickAndClear()
{
    Book book;
    book.engine.openImportFile(book.write("a,b,c,d,e,f,g\r\n"));
    ImportDialog dialog(book.settings, book.tree, book.prompter);
    QStringList rows;
    QString caption;
    QTimer::singleShot(0, &dialog, [&] {
        caption = dialog.windowTitle();
        pick(dialog, 0, 1);
        pick(dialog, 0, 1); // the same column again: no change
        rows << row(dialog, 0);
        for (int line = 0; line < 6; ++line) // the sixth does not fit
            pick(dialog, 4, line);
        rows << row(dialog, 4);
        button(dialog, "x ->")->click(); // the current row, Home phone
        rows << row(dialog, 4) + " / " + row(dialog, 0);
        pick(dialog, 4, 2);
        button(dialog, "xx ->")->click();
        rows << row(dialog, 4) + " / " + row(dialog, 0);
        pick(dialog, 0, 6);
        pick(dialog, 5, 2);
        button(dialog, "&OK")->click();
    });
    QVERIFY(dialog.choose(book.engine));
    QCOMPARE(caption, "Import Dialog");
    QCOMPARE(rows, (QStringList{"2||||", "1|2|3|4|5", "|||| / 2||||", "|||| / ||||"}));
    QCOMPARE(book.settings.importFieldMapping[0], (std::array<int, 5>{7, 0, 0, 0, 0}));
    QCOMPARE(book.settings.importFieldMapping[5], (std::array<int, 5>{3, 0, 0, 0, 0}));
    QCOMPARE(book.settings.importFieldMapping[4], (std::array<int, 5>{}));
}

void TestImportDialog::examplesWrapAround()
{
    Book book;
    book.engine.openImportFile(book.write("a,b\r\nc\r\n"));
    ImportDialog dialog(book.settings, book.tree, book.prompter);
    QList<QStringList> shown;
    QTimer::singleShot(0, &dialog, [&] {
        shown << examples(dialog);
        for (int i = 0; i < 3; ++i) {
            button(dialog, "&Next Example")->click();
            shown << examples(dialog);
        }
        button(dialog, "&Cancel")->click();
    });
    QVERIFY(!dialog.choose(book.engine));
    // At the end of the file the list stays; the next press starts again.
    QCOMPARE(shown, (QList<QStringList>{{"1  a", "2  b"}, {"1  c"}, {"1  c"}, {"1  a", "2  b"}}));
}

// A record the reader refuses while stepping through the examples is
// reported as a warning, and the dialog stays open.
void TestImportDialog::unreadableExampleReported()
{
    Book book;
    const QString path = book.write("a,b\r\n" + QByteArray(10001, ',') + "x\r\n");
    book.engine.openImportFile(path);
    book.prompter.expectMessage("Line 2 of " + QDir::toNativeSeparators(path) + " holds more than 10,000 values",
                                Prompter::Icon::Warning, Prompter::Button::Ok, Prompter::Button::Ok);
    ImportDialog dialog(book.settings, book.tree, book.prompter);
    bool stillOpen = false;
    QTimer::singleShot(0, &dialog, [&] {
        button(dialog, "&Next Example")->click();
        stillOpen = dialog.isVisible();
        button(dialog, "&Cancel")->click();
    });
    QVERIFY(!dialog.choose(book.engine));
    QVERIFY(stillOpen);
    QVERIFY(book.prompter.verifyAllAnswered());
}

QTEST_MAIN(TestImportDialog)
#include "tst_importdialog.moc"
