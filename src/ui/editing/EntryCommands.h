#pragma once

#include <QObject>
#include <QRect>

#include <functional>

class QAction;
class QToolBar;
class QWidget;

namespace qv {

class BookModelSet;
class CategoryTreeView;
class EntryEditor;
class Prompter;
class RecordListModel;
class RecordListView;
class RecordStore;
class SearchEngine;

// What the entry commands need of the main window.
struct EntryCommandContext {
    RecordStore &data;
    BookModelSet &models;
    RecordListModel &recordList;
    SearchEngine &search;                         // lists the entries of the same name
    Prompter &prompter;
    CategoryTreeView &tree;
    RecordListView &list;
    QWidget &detailArea;                          // the editor opens over it
    std::function<void()> listFilterChanged;      // the list shows its new rows, from the first
    std::function<void()> refreshList;            // the list shows its rows again, keeping the current one
    std::function<void()> fillInitialsGrid;
    std::function<void(bool tree)> showTreeOrGrid;
};

// The main window's commands that add and change entries: "&Add entry...",
// "&Edit entry..." with the review of entries of the same name, "Clea&r
// isolated org", "Delete from current Categor&y" and the yellow and white
// page commands, with their menu items, pop-up items and shortcuts.
class EntryCommands : public QObject {
    Q_OBJECT
public:
    explicit EntryCommands(EntryCommandContext context, QObject *parent = nullptr);
    ~EntryCommands() override;

    void addEntry();
    void editEntry();
    void clearIsolatedOrganisations();
    void deleteFromCategory();
    void makeYellowPages();
    void makeWhitePages();

    // Edit menu items.
    QAction *editMenuAction() const { return m_editMenu; }
    QAction *addMenuAction() const { return m_addMenu; }
    QAction *clearIsolatedAction() const { return m_clearIsolated; }
    // Entry list pop-up items; the page commands are never shown but their keys work in the list.
    QAction *addPopupAction() const { return m_addPopup; }
    QAction *editPopupAction() const { return m_editPopup; }
    QAction *deleteFromCategoryAction() const { return m_deleteFromCategory; }
    QAction *yellowPagesAction() const { return m_yellow; }
    QAction *whitePagesAction() const { return m_white; }
    // Enables "Delete from current Categor&y" when the list shows a user category of the tree.
    void enablePopupActions();

    EntryEditor &editor() { return *m_editor; }

private:
    QAction *action(const QString &caption, const QString &hint, void (EntryCommands::*command)());
    void reviewDuplicates();
    QRect editorArea() const;
    void withHourglass(const std::function<void()> &work);

    EntryCommandContext m_context;
    EntryEditor *m_editor;
    QAction *m_editMenu;
    QAction *m_addMenu;
    QAction *m_clearIsolated;
    QAction *m_addPopup;
    QAction *m_editPopup;
    QAction *m_deleteFromCategory;
    QAction *m_yellow;
    QAction *m_white;
};

} // namespace qv
