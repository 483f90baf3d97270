#pragma once

#include "common/QtPrompter.h"
#include "data/LifecycleShell.h"
#include "data/PackageLifecycle.h"
#include "navigation/CRecListMT.h"
#include "settings/OptionType.h"

#include <QMainWindow>

#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QProgressDialog;
class QSplitter;
class QToolButton;

namespace qv {

class DetailPane;
class LockIndicator;
class CategoryTreeView;
class InitialsGridView;
class RecordListView;
class TAboutFm;
class TCardData;
class ViewListModel;

// The main window: navigation area, entry list and detail pane, the File
// menu's book commands, the status line. It owns the settings store and the
// package lifecycle, and is the lifecycle's shell.
class TMainQVMolk : public QMainWindow, public LifecycleShell {
    Q_OBJECT
public:
    // Messages go through the given prompter, or through Qt dialogs when none is given.
    TMainQVMolk(const QString &programDir, const QString &workingDir, TCardData &data, Prompter *prompter = nullptr,
                QWidget *parent = nullptr);
    ~TMainQVMolk() override;

    // The splash that start-up shows until the show step has finished.
    void setSplash(TAboutFm *splash) { m_splash = splash; }

    const QString &programDirectory() const { return m_programDir; }
    const QString &dataDirectory() const { return m_dataDir; }
    OptionType &options() { return *m_options; }
    PackageLifecycle &lifecycle() { return *m_lifecycle; }
    Prompter &prompter() { return *m_prompter; }
    bool inNoBookState() const { return m_noBook; }
    QString countsText() const;
    CRecListMT &recordList() { return m_recList; }

    // LifecycleShell
    void setBusy(bool busy) override;
    void showProgress(const QString &caption, int maximum) override;
    void setProgress(int value) override;
    void closeProgress() override;
    void bookOpened() override;
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
    void FormCreate();
    void FormShow();
    bool FormCloseQuery();
    void createMenus();
    void createToolBar();
    void createLayout();
    void createStatusLine();
    void applyFonts();
    void setNoBookControlsEnabled(bool enabled);
    void runCommand(const std::function<void()> &command);
    void Save1Click();
    void SaveButtonClick();
    void showCurrentEntry();
    void NavgTreeChange(int number);
    void NavgTreeDragDrop(int target, bool copyMode);
    void deleteCategory(int number);
    void SurNameGridSelectCell(const QString &initial);
    void FillInitialsGrid();
    void RefreshInitials();
    void ShowTreeOrGrid(bool tree);
    void Delete1Click();
    void listFilterChanged();
    void RecPopupMenuPopup(const QPoint &pos);
    void refreshLists();

    QString m_programDir;
    QString m_dataDir;
    TCardData &m_data;
    std::unique_ptr<OptionType> m_options;
    QtPrompter m_qtPrompter;
    Prompter *m_prompter;
    std::unique_ptr<PackageLifecycle> m_lifecycle;
    CRecListMT m_recList;
    TAboutFm *m_splash = nullptr;
    bool m_shown = false;
    bool m_noBook = false;

    QMenu *m_openMenu = nullptr;
    QMenu *m_deleteMenu = nullptr;
    QMenu *m_openButtonMenu = nullptr;
    QMenu *m_editMenu = nullptr;
    QList<QAction *> m_bookActions; // disabled in the no-book state
    QToolButton *m_openButton = nullptr;
    QToolButton *m_saveButton = nullptr;

    QSplitter *m_leftSplitter = nullptr;
    QSplitter *m_mainSplitter = nullptr;
    QWidget *m_searchPanel = nullptr;
    QComboBox *m_nameLk = nullptr;
    QComboBox *m_companyLk = nullptr;
    CategoryTreeView *m_navgTree = nullptr;
    InitialsGridView *m_surNameGrid = nullptr;
    RecordListView *m_recDBGrid = nullptr;
    DetailPane *m_detail = nullptr;
    ViewListModel *m_listModel = nullptr;
    ViewListModel *m_nameLookModel = nullptr;
    ViewListModel *m_companyLookModel = nullptr;

    QLabel *m_countsPanel = nullptr;
    LockIndicator *m_lockPanel = nullptr;
    QLabel *m_hintPanel = nullptr;
    QProgressDialog *m_progress = nullptr;
};

} // namespace qv
