// Times what the user does in the left pane and the entry list of a
// 100,000-entry book: choosing a category, an initial or every entry, Select
// All, rebuilding the initials, deleting 1,000 marked entries, and painting
// screenfuls of the entry list at scattered places into an image, the way the
// window paints them (row colours, marks and all); and in the entry editor:
// opening it on an entry, OK after a change, and Add Next with a new name and
// organisation (the duplicate-name question and the organisation link look
// their names up).
#include "BenchTiming.h"

#include "data/BookGenerator.h"
#include "data/RecordStore.h"
#include "editing/EditModel.h"
#include "navigation/RecordListModel.h"
#include "navigation/CategoryTreeModel.h"
#include "navigation/RowMarks.h"
#include "navigation/ViewListModel.h"
#include "navigation/RecordListView.h"
#include "common/Prompter.h"
#include "editing/EntryEditor.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <QApplication>
#include <QImage>

#include <cstdio>
#include <functional>

using namespace qv;

int main(int argc, char *argv[])
{
    // The list paints the same without a display; a desktop run may name its own platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const GeneratedBook book = generateBook(100000, 10000, 1);
    RecordStore data;
    data.personRead.loadTable(book.persons);
    data.organisationRead.loadTable(book.organisations);
    data.bindViews();
    data.personList.setLogChanges(true);
    data.organisationList.setLogChanges(true);
    RecordListModel list;
    list.attachTables(data.personList, data.organisationList);
    CategoryTreeModel tree;
    EditModel edit(tree);
    edit.scanPersonTable(data.personList);
    edit.scanOrganisationTable(data.organisationList);
    ViewListModel model(data.personList, QStringLiteral("Name"));

    // Times the work, then counts what it left: the count is read after the timing.
    auto report = [](const char *what, double ms, const std::function<long long()> &count) {
        std::printf("%-44s %9.2f ms  (%lld)\n", what, ms, count());
    };
    auto listed = [&] { return (long long)data.personList.recordCount(); };
    const int runs = 7;
    report("select a category", bench::medianMs(runs, [&] { list.showCategory(1005); model.reload(); }), listed);
    report("select an initial", bench::medianMs(runs, [&] { list.showInitial(QStringLiteral("M"), false); model.reload(); }), listed);
    report("select all entries", bench::medianMs(runs, [&] { list.showAll(); model.reload(); }), listed);
    RowMarks marks;
    report("Select All", bench::medianMs(runs, [&] { marks.markAll(model.rowCount()); }), [&] { return (long long)marks.count(); });
    report("ScanInitials", bench::medianMs(runs, [&] { edit.scanInitials(); }), [&] { return (long long)edit.initials().size(); });
    RecordListView view;
    view.setListModel(&model);
    view.resize(300, 30 * view.sizeHintForRow(0) + 2 * view.frameWidth());
    view.show();
    QImage screen(view.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    long long painted = 0; // rows on the screens painted, over all runs
    int screens = 0;
    report("paint 100 screenfuls of the entry list", bench::medianMs(runs, [&] {
        for (int s = 0; s < 100; ++s) {
            const QModelIndex top = model.index((s * 7919) % model.rowCount());
            view.scrollTo(top, QAbstractItemView::PositionAtTop);
            view.viewport()->render(&screen);
            const QModelIndex bottom = view.indexAt(QPoint(1, view.viewport()->height() - 1));
            painted += (bottom.isValid() ? bottom.row() : model.rowCount() - 1) - view.indexAt(QPoint(1, 1)).row() + 1;
            ++screens;
        }
    }), [&] { return painted / std::max(1, screens); });
    // The editor, driven as the user would once it is shown.
    struct NoQuestions : Prompter {
        Button message(const QString &, Icon, Buttons) override { return Button::No; }
        std::optional<QString> input(const QString &, const QString &, const QString &) override { return {}; }
        std::optional<QString> password(const QString &) override { return {}; }
        std::optional<QString> openFile(const OpenRequest &) override { return {}; }
        std::optional<QString> saveFile(const SaveRequest &) override { return {}; }
        std::optional<QString> chooseFolder(const QString &, const QString &) override { return {}; }
    } noQuestions;
    EntryEditor editor(edit, data, noQuestions);
    const QRect over(0, 0, 480, 600);
    auto whenShown = [&](std::function<void()> steps) { QTimer::singleShot(0, &editor, std::move(steps)); };
    list.showAll();
    int entry = 0;
    report("open the editor on an entry, Cancel", bench::medianMs(runs, [&] {
        edit.editPerson(1 + (entry++ * 7919) % data.personList.recordCount());
        whenShown([&] { editor.reject(); });
        editor.run(QStringLiteral("Edit"), over);
    }), listed);
    report("OK on an edit (phone changed)", bench::medianMs(runs, [&] {
        edit.editPerson(1 + (entry++ * 7919) % data.personList.recordCount());
        whenShown([&] {
            auto *phone = editor.findChild<QLineEdit *>(QStringLiteral("Phone"));
            phone->setText(QStringLiteral("555 0100"));
            emit phone->textEdited(phone->text());
            editor.findChild<QPushButton *>(QStringLiteral("ok"))->click();
        });
        editor.run(QStringLiteral("Edit"), over);
        list.reapply(); // as the Edit entry command does
    }), listed);
    report("Add Next with a new name", bench::medianMs(runs, [&] {
        edit.addPerson();
        whenShown([&] {
            auto *name = editor.findChild<QLineEdit *>(QStringLiteral("Name"));
            name->setText(QStringLiteral("Bench Person %1").arg(entry++));
            emit name->textEdited(name->text());
            editor.findChild<QPushButton *>(QStringLiteral("addNext"))->click();
        });
        editor.run(QStringLiteral("Add"), over);
    }), listed);
    report("link a new organisation by name, then Cancel", bench::medianMs(runs, [&] {
        edit.addPerson();
        edit.setOrganisationByName(QStringLiteral("Bench Org %1").arg(entry++));
        edit.rollBack();
    }), [&] { return (long long)data.organisationLookup.recordCount(); });
    std::vector<int> thousand;
    for (int i = 0; i < 1000; ++i)
        thousand.push_back(i * 97);
    report("delete 1,000 marked entries", bench::medianMs(1, [&] { edit.deleteSelected(thousand); }), listed);
    return painted == 0;
}
