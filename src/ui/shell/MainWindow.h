#pragma once

#include "common/QtPrompter.h"
#include "data/LifecycleShell.h"
#include "data/PackageLifecycle.h"
#include "navigation/RecordListModel.h"
#include "search/SearchEngine.h"
#include "settings/Settings.h"
#include "settings/StoredBookSettings.h"
#include "shell/BookModelSet.h"

#include <QMainWindow>

#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QProgressDialog;
class QSplitter;
class QToolBar;
class QToolButton;

namespace qv {

class DetailPane;
class HintPanel;
class EntryCommands;
class FieldCatalogue;
class SearchDialog;
class LockIndicator;
class CategoryTreeView;
class InitialsGridView;
class RecordListView;
class AboutBox;
class PrintCommands;
class CommandSet;
class CommunicationTools;
class OptionsDialog;
class RecordStore;
class ViewListModel;
class ExchangeEngine;
class FieldSelectionDialog;
class ImportDialog;
class OrganisationCompareDialog;

// The main window: navigation area, entry list and detail pane, the File
// menu's book commands, the status line. It owns the settings store and the
// package lifecycle, and is the lifecycle's shell.
class MainWindow : public QMainWindow, public LifecycleShell {
    Q_OBJECT
public:
    // Messages go through the given prompter, or through Qt dialogs when none is given.
    MainWindow(const QString &programDir, const QString &workingDir, RecordStore &data, Prompter *prompter = nullptr,
                QWidget *parent = nullptr);
    ~MainWindow() override;

    // The splash that start-up shows until the show step has finished.
    void setSplash(AboutBox *splash) { m_splash = splash; }
    // A package to open at start in place of the default book (the command line's).
    void setStartupPackage(const QString &path) { m_startupPackage = path; }

    const QString &programDirectory() const { return m_programDir; }
    const QString &dataDirectory() const { return m_dataDir; }
    Settings &options() { return *m_options; }
    PackageLifecycle &lifecycle() { return *m_lifecycle; }
    BookModelSet &models() { return m_models; }
    Prompter &prompter() { return *m_prompter; }
    bool inNoBookState() const { return m_noBook; }
    QString countsText() const;
    RecordListModel &recordList() { return m_recList; }
    SearchEngine &search() { return m_search; }

    void setVisible(bool visible) override;
    // Asked for by a second start: the window, restored when minimised, on top and active.
    void comeForward();

    // LifecycleShell
    void setBusy(bool busy) override;
    void showProgress(const QString &caption, int maximum) override;
    void setProgress(int value) override;
    void closeProgress() override;
    void bookOpened() override;
    void focusCategoryTree() override;
    void enterNoBookState() override;
    void refreshTitle() override;
    void bookListChanged() override;
    void repaintLock() override;
    void closeMainWindow() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

private:
    void createModels();
    void placeWindow();
    int defaultLeftColumnWidth() const;
    void openStartupBook();
    bool confirmClose();
    // The commands: MainWindowCommands.cpp
    void createMenus();
    void bindBookCommands();
    void bindToolsCommands();
    void bindEntryListCommands();
    void createToolBar();
    QToolButton *createOpenButton();
    QToolButton *createSaveButton();
    void addToolButton(const QString &id);
    void showEntryPopup(const QPoint &pos);
    void openOptions();

    void createLayout();
    void createStatusLine();
    void applyFonts();
    void setNoBookControlsEnabled(bool enabled);
    void runCommand(const std::function<void()> &command);
    void saveBook();
    void saveFromToolButton();
    void showCurrentEntry();
    void listCategory(int number);
    void fileDroppedEntries(int target, bool copyMode);
    void deleteCategory(int number);
    void listInitial(const QString &initial);
    void fillInitialsGrid();
    void refreshInitials();
    void showTreeOrGrid(bool tree);
    void deleteMarkedEntries();
    void listFilterChanged();
    void refreshLists();
    void openSearchDialog();
    void createExchange();
    void exportCsv();
    void copyCurrentEntry();
    void importCsv();
    void listImported(int pickedCategory);
    // The system address book import (MainWindowWab.cpp).
    void importWabFile();
    void importCurrentWab();
    void runWabImport(bool chooseFile);
    // The vCard export and import (MainWindowVCard.cpp).
    void exportVCard();
    void importVCard();

    QString m_programDir;
    QString m_dataDir;
    RecordStore &m_data;
    std::unique_ptr<Settings> m_options;
    QtPrompter m_qtPrompter;
    Prompter *m_prompter;
    std::unique_ptr<StoredBookSettings> m_bookSettings;
    BookModelSet m_models;
    std::unique_ptr<PackageLifecycle> m_lifecycle;
    RecordListModel m_recList;
    SearchEngine m_search;
    std::unique_ptr<FieldCatalogue> m_catalogue;
    SearchDialog *m_searchDialog = nullptr;
    AboutBox *m_splash = nullptr;
    QString m_startupPackage;
    std::unique_ptr<ExchangeEngine> m_exchange;
    FieldSelectionDialog *m_fieldSelection = nullptr;
    ImportDialog *m_importDialog = nullptr;
    OrganisationCompareDialog *m_organisationCompare = nullptr;
    bool m_placed = false;
    bool m_shown = false;
    bool m_noBook = false;

    QMenu *m_openMenu = nullptr;
    QMenu *m_deleteMenu = nullptr;
    QMenu *m_openButtonMenu = nullptr;
    QMenu *m_editMenu = nullptr;
    EntryCommands *m_entryCommands = nullptr;
    QList<QAction *> m_bookActions; // disabled in the no-book state
    QToolButton *m_openButton = nullptr;
    QToolButton *m_saveButton = nullptr;
    PrintCommands *m_printing = nullptr;
    CommunicationTools *m_tools = nullptr;
    OptionsDialog *m_optionsDialog = nullptr;
    CommandSet *m_commands = nullptr;
    QToolBar *m_toolBar = nullptr;

    QSplitter *m_leftSplitter = nullptr;
    QSplitter *m_mainSplitter = nullptr;
    QWidget *m_searchPanel = nullptr;
    QComboBox *m_nameLookup = nullptr;
    QComboBox *m_organisationLookup = nullptr;
    CategoryTreeView *m_categoryTree = nullptr;
    InitialsGridView *m_initialsGrid = nullptr;
    RecordListView *m_entryList = nullptr;
    DetailPane *m_detail = nullptr;
    ViewListModel *m_listModel = nullptr;
    ViewListModel *m_nameLookModel = nullptr;
    ViewListModel *m_companyLookModel = nullptr;

    QLabel *m_countsPanel = nullptr;
    LockIndicator *m_lockPanel = nullptr;
    HintPanel *m_hintPanel = nullptr;
    QProgressDialog *m_progress = nullptr;
};

} // namespace qv
