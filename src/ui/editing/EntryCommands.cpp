#include "editing/EntryCommands.h"

#include "common/Prompter.h"
#include "data/RecordStore.h"
#include "editing/EntryEditor.h"
#include "editing/IsolatedOrganisations.h"
#include "editing/NameCut.h"
#include "editing/CategoryRemoval.h"
#include "editing/PageKind.h"
#include "navigation/CategoryTreeView.h"
#include "navigation/RecordListModel.h"
#include "navigation/RecordListView.h"
#include "search/SearchEngine.h"
#include "shell/BookModelSet.h"

#include <QAction>
#include <QApplication>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace qv {

EntryCommands::EntryCommands(EntryCommandContext context, QObject *parent)
    : QObject(parent)
    , m_context(std::move(context))
    , m_editor(new EntryEditor(m_context.models.editModel(), m_context.data, m_context.prompter, m_context.list.window()))
{
    m_editMenu = action(QStringLiteral("&Edit entry..."), QStringLiteral("Edit current entry"), &EntryCommands::editEntry);
    m_editMenu->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Return));
    m_addMenu = action(QStringLiteral("&Add entry..."), QStringLiteral("Add an entry"), &EntryCommands::addEntry);
    m_addMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    m_clearIsolated = action(QStringLiteral("Clea&r isolated org"), QStringLiteral("Clear isolated organizations without associated entries"),
                             &EntryCommands::clearIsolatedOrganisations);
    m_addPopup = action(QStringLiteral("&Add Entry..."), QString(), &EntryCommands::addEntry);
    m_editPopup = action(QStringLiteral("&Edit Entry..."), QString(), &EntryCommands::editEntry);
    m_deleteFromCategory = action(QStringLiteral("Delete from current Categor&y"),
                                  QStringLiteral("Delete the selected entries from current category while keeping the entries"),
                                  &EntryCommands::deleteFromCategory);
    m_yellow = action(QStringLiteral("Become &yellow page entries"), QStringLiteral("Make the selected entries be yellow page entries"),
                      &EntryCommands::makeYellowPages);
    m_white = action(QStringLiteral("Become &white page entries"), QStringLiteral("Make the selected entries be white page entries"),
                     &EntryCommands::makeWhitePages);
    connect(&m_context.list, &RecordListView::doubleClicked, this, &EntryCommands::editEntry);
}

EntryCommands::~EntryCommands() = default;

QAction *EntryCommands::action(const QString &caption, const QString &hint, void (EntryCommands::*command)())
{
    auto *a = new QAction(caption, this);
    if (!hint.isEmpty())
        a->setStatusTip(hint);
    connect(a, &QAction::triggered, this, command);
    return a;
}

void EntryCommands::enablePopupActions()
{
    m_deleteFromCategory->setEnabled(m_context.recordList.source() == NavigationSource::Tree && m_context.tree.selectedNumber() > 1000);
}

QRect EntryCommands::editorArea() const
{
    // Over the detail pane, from the window's top.
    const QRect window = m_context.detailArea.window()->frameGeometry();
    const int width = m_context.detailArea.width();
    return {window.left() + window.width() - width - 20, window.top(), width, window.height()};
}

void EntryCommands::withHourglass(const std::function<void()> &work)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    work();
    QApplication::restoreOverrideCursor();
}

void EntryCommands::addEntry()
{
    m_context.list.unmarkAll();
    // Every entry listed, so that the new one is seen.
    m_context.showTreeOrGrid(true);
    m_context.tree.setFocus();
    if (QTreeWidgetItem *top = m_context.tree.itemAt(0, 0))
        m_context.tree.selectNumber(top->data(0, Qt::UserRole).toInt());
    EditModel &edit = m_context.models.editModel();
    const qsizetype initials = edit.initials().size();
    do {
        edit.addPerson();
        m_editor->run(QStringLiteral("Add"), editorArea());
    } while (edit.editState() == EditModel::AddNext);
    if (!m_context.data.personList.isEmpty() && edit.initials().size() > initials)
        m_context.fillInitialsGrid();
    if (ensureOrgContactsNode(edit, m_context.models.tree()))
        m_context.tree.rebuild();
    if (edit.editState() == EditModel::ReviewDuplicates)
        reviewDuplicates();
    else
        m_context.refreshList();
}

void EntryCommands::editEntry()
{
    if (m_context.data.personList.isEmpty()) {
        m_context.prompter.message(QStringLiteral("No record to be edited here."), Prompter::Icon::Information, Prompter::Button::Ok);
        return;
    }
    m_context.list.unmarkAll();
    EditModel &edit = m_context.models.editModel();
    const qsizetype initials = edit.initials().size();
    edit.editPerson(m_context.data.personList.recNo());
    m_editor->run(QStringLiteral("Edit"), editorArea());
    if (!m_context.data.personList.isEmpty() && edit.initials().size() > initials)
        m_context.fillInitialsGrid();
    if (edit.editState() == EditModel::ReviewDuplicates) {
        reviewDuplicates();
        return;
    }
    m_context.recordList.reapply(); // commits the edited row
    m_context.listFilterChanged();
}

void EntryCommands::reviewDuplicates()
{
    if (m_context.models.tree().indexOfNumber(101) >= 0)
        m_context.tree.selectNumber(101);
    m_context.recordList.setSource(NavigationSource::Search);
    // Found by the search, so that the search node lists them again and a further search may go on from them.
    m_context.search.findByName(m_context.models.editModel().lastComposedName());
    m_context.listFilterChanged();
}

void EntryCommands::clearIsolatedOrganisations()
{
    qv::clearIsolatedOrganisations(m_context.models.editModel(), m_context.prompter);
    if (QTreeWidgetItem *first = m_context.tree.topLevelItem(0))
        m_context.tree.selectNumber(first->data(0, Qt::UserRole).toInt());
    m_context.list.setFocus();
}

void EntryCommands::deleteFromCategory()
{
    enablePopupActions(); // its key works only where its item would
    if (!m_deleteFromCategory->isEnabled())
        return;
    const std::vector<int> marks = m_context.list.marks().rows();
    withHourglass([&] {
        removeEntriesFromCategory(m_context.models.editModel(), m_context.prompter, m_context.tree.selectedNumber(), marks);
        m_context.recordList.reapply();
    });
    m_context.listFilterChanged();
}

void EntryCommands::makeYellowPages()
{
    const std::vector<int> marks = m_context.list.marks().rows();
    const bool hadOrgContacts = m_context.models.tree().indexOfNumber(110) >= 0;
    withHourglass([&] {
        makeYellowPageEntries(m_context.models.editModel(), marks);
        if (!hadOrgContacts && m_context.models.tree().indexOfNumber(110) >= 0)
            m_context.tree.rebuild();
        m_context.recordList.reapply();
    });
    m_context.listFilterChanged();
}

void EntryCommands::makeWhitePages()
{
    const std::vector<int> marks = m_context.list.marks().rows();
    int cutNames = 0;
    withHourglass([&] {
        cutNames = makeWhitePageEntries(m_context.models.editModel(), marks);
        m_context.recordList.reapply();
    });
    m_context.listFilterChanged();
    if (cutNames > 0)
        m_context.prompter.message(cutNamesSentence(cutNames), Prompter::Icon::Warning, Prompter::Button::Ok);
}

} // namespace qv
