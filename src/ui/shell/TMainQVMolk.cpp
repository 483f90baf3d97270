#include "shell/TMainQVMolk.h"

#include "common/Error.h"
#include "data/CardData.h"
#include "editing/CategoryAssignment.h"
#include "editing/DeleteEntries.h"
#include "navigation/CategoryTreeView.h"
#include "navigation/InitialsGridView.h"
#include "navigation/RecordListView.h"
#include "navigation/ViewListModel.h"
#include "shell/DetailPane.h"
#include "shell/LockIndicator.h"
#include "shell/ProgramDirectory.h"
#include "tools/TAboutFm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyledItemDelegate>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qv {

namespace {

QFont areaFont(const AreaFont &f)
{
    QFont font(f.name);
    font.setPointSize(f.size > 0 ? f.size : 10);
    return font;
}

QColor areaColor(const AreaFont &f)
{
    // 0x00BBGGRR, as the settings store colours.
    return QColor(f.color & 0xFF, (f.color >> 8) & 0xFF, (f.color >> 16) & 0xFF);
}

void applyArea(QWidget *widget, const AreaFont &f)
{
    widget->setFont(areaFont(f));
    QPalette p = widget->palette();
    p.setColor(QPalette::Text, areaColor(f));
    p.setColor(QPalette::WindowText, areaColor(f));
    widget->setPalette(p);
}

QString ownerName()
{
    return qEnvironmentVariable("USER");
}

} // namespace

TMainQVMolk::TMainQVMolk(const QString &programDir, const QString &workingDir, TCardData &data, Prompter *prompter,
                         QWidget *parent)
    : QMainWindow(parent)
    , m_programDir(programDir)
    , m_data(data)
    , m_qtPrompter(this)
    , m_prompter(prompter ? prompter : &m_qtPrompter)
{
    setObjectName(QStringLiteral("TMainQVMolk"));
    FormCreate();
    m_lifecycle = std::make_unique<PackageLifecycle>(m_data, *m_options, *m_prompter, *this,
                                                     PackageLifecycle::Directories{m_programDir, m_dataDir, workingDir});
    m_lifecycle->setRecordList(&m_recList);
    createMenus();
    createToolBar();
    createLayout();
    createStatusLine();
}

TMainQVMolk::~TMainQVMolk()
{
    // The list loses the focus while the window's children are destroyed: its
    // signals must not reach this half-destroyed window.
    m_recDBGrid->disconnect(this);
    m_recDBGrid->selectionModel()->disconnect(this);
    m_navgTree->disconnect(this);
    m_surNameGrid->disconnect(this);
    disconnect(qApp, nullptr, this, nullptr);
}

void TMainQVMolk::FormCreate()
{
    setWindowTitle(QStringLiteral("Quorvel"));
    resize(640, 480);
    m_dataDir = defaultDataDirectory(m_programDir);
    m_options = std::make_unique<OptionType>(m_programDir + QStringLiteral("aa.ini"));
    m_options->readAll();
    if (!m_options->dataDir.isEmpty())
        m_dataDir = m_options->dataDir.endsWith(QLatin1Char('/')) ? m_options->dataDir : m_options->dataDir + QLatin1Char('/');
    else
        m_options->dataDir = m_dataDir; // so that it is written at exit
    m_options->packagePassword.clear();
    m_data.NameDataSet.setLogChanges(true);
    m_data.AgentDataSet.setLogChanges(true);
}

void TMainQVMolk::createMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    m_openMenu = file->addMenu(QStringLiteral("&Open"));
    m_openMenu->setStatusTip(QStringLiteral("Open an address book"));
    file->addAction(QStringLiteral("Load &from..."), this, [this] { runCommand([this] { m_lifecycle->loadFrom(); }); })
        ->setStatusTip(QStringLiteral("Load an address book elsewhere"));
    file->addAction(QStringLiteral("&New..."), this, [this] { runCommand([this] { m_lifecycle->newBook(); }); })
        ->setStatusTip(QStringLiteral("Create a new address book"));
    QAction *save = file->addAction(QStringLiteral("&Save"), this, &TMainQVMolk::Save1Click);
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    save->setStatusTip(QStringLiteral("Save the address book"));
    QAction *saveAs = file->addAction(QStringLiteral("Save &As..."), this, [this] { runCommand([this] { m_lifecycle->saveAs(); }); });
    saveAs->setShortcut(QKeySequence(Qt::Key_F12));
    saveAs->setStatusTip(QStringLiteral("Save the address book with a new path"));
    m_deleteMenu = file->addMenu(QStringLiteral("&Delete"));
    m_deleteMenu->setStatusTip(QStringLiteral("Delete an address book"));
    m_bookActions << save << saveAs << m_deleteMenu->menuAction();
    file->addSeparator();
    // Commands of later subsystems stand in their places, disabled until they come.
    for (const char *caption : {"&Export to", "&Import from"})
        file->addMenu(QString::fromLatin1(caption))->menuAction()->setEnabled(false);
    file->addSeparator();
    for (const char *caption : {"Print &Mode...", "Print Set&up...", "Print Pre&view", "&Print"}) {
        QAction *a = file->addAction(QString::fromLatin1(caption));
        a->setEnabled(false);
    }
    file->addSeparator();
    QAction *exit = file->addAction(QStringLiteral("E&xit"), this, &QWidget::close);
    exit->setObjectName(QStringLiteral("Exit1"));
    exit->setShortcut(QKeySequence::Quit);

    m_editMenu = menuBar()->addMenu(QStringLiteral("&Edit"));
    // Commands of later subsystems stand in their places, disabled until they come.
    for (const char *caption : {"&Search...", "&Edit entry...", "&Add entry..."})
        m_editMenu->addAction(QString::fromLatin1(caption))->setEnabled(false);
    m_editMenu->addAction(QStringLiteral("&Delete"), this, &TMainQVMolk::Delete1Click)->setStatusTip(QStringLiteral("Delete entries"));
    for (const char *caption : {"Clea&r isolated org", "&Copy Current to Clipboard"})
        m_editMenu->addAction(QString::fromLatin1(caption))->setEnabled(false);
    QMenu *tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    tools->addAction(QStringLiteral("&Options..."))->setEnabled(false);
    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("&About..."), this, [this] {
        TAboutFm about(this);
        about.exec();
    });
}

void TMainQVMolk::createToolBar()
{
    QToolBar *bar = addToolBar(QStringLiteral("Tools"));
    bar->setObjectName(QStringLiteral("ToolBar"));
    bar->setMovable(false);
    m_openButton = new QToolButton(bar);
    m_openButton->setText(QStringLiteral("&Open"));
    m_openButton->setToolTip(QStringLiteral("Open an address book"));
    m_openButton->setStatusTip(QStringLiteral("Open an address book"));
    m_openButton->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    m_openButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_openButtonMenu = new QMenu(m_openButton);
    m_openButton->setMenu(m_openButtonMenu);
    m_openButton->setPopupMode(QToolButton::InstantPopup); // a click drops the list of books
    bar->addWidget(m_openButton);
    m_saveButton = new QToolButton(bar);
    m_saveButton->setText(QStringLiteral("&Save"));
    m_saveButton->setToolTip(QStringLiteral("Save the address book"));
    m_saveButton->setStatusTip(QStringLiteral("Save the address book"));
    m_saveButton->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    m_saveButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    connect(m_saveButton, &QToolButton::clicked, this, &TMainQVMolk::SaveButtonClick);
    bar->addWidget(m_saveButton);
}

void TMainQVMolk::createLayout()
{
    m_searchPanel = new QWidget(this);
    m_searchPanel->setObjectName(QStringLiteral("SearchPanel"));
    m_searchPanel->setAutoFillBackground(true);
    QPalette pal = m_searchPanel->palette();
    pal.setColor(QPalette::Window, QColor(240, 251, 255));
    m_searchPanel->setPalette(pal);
    m_searchPanel->setMinimumHeight(68);
    m_searchPanel->setMaximumHeight(320);

    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(QStringLiteral("Name"), m_searchPanel));
    m_nameLk = new QComboBox(m_searchPanel);
    m_nameLk->setObjectName(QStringLiteral("NameLk"));
    m_nameLk->setEditable(true);
    m_nameLk->setToolTip(QStringLiteral("Searh by name"));
    m_nameLk->setMaxVisibleItems(11);
    m_nameLookModel = new ViewListModel(m_data.NameLookDataSet2, QStringLiteral("Name"), this);
    m_nameLk->setModel(m_nameLookModel);
    m_nameLk->installEventFilter(this); // its focus brings up the initials
    nameRow->addWidget(m_nameLk, 1);
    auto *nameButton = new QToolButton(m_searchPanel);
    nameButton->setText(QStringLiteral("..."));
    nameRow->addWidget(nameButton);

    m_navgTree = new CategoryTreeView(m_searchPanel);
    m_navgTree->setModel(&m_lifecycle->tree());
    connect(m_navgTree, &CategoryTreeView::nodeSelected, this, &TMainQVMolk::NavgTreeChange);
    connect(m_navgTree, &CategoryTreeView::structureChanged, this, [this] { m_lifecycle->markStructureChanged(); });
    connect(m_navgTree, &CategoryTreeView::deleteRequested, this, &TMainQVMolk::deleteCategory);
    connect(m_navgTree, &CategoryTreeView::entriesDropped, this, &TMainQVMolk::NavgTreeDragDrop);
    connect(m_navgTree, &CategoryTreeView::entered, this, [this] {
        m_recList.source = NavigationSource::Tree;
        NavgTreeChange(m_navgTree->selectedNumber());
    });
    m_surNameGrid = new InitialsGridView(m_searchPanel);
    m_surNameGrid->hide(); // the tree is shown first
    connect(m_surNameGrid, &InitialsGridView::initialSelected, this, &TMainQVMolk::SurNameGridSelectCell);
    connect(m_surNameGrid, &InitialsGridView::backToTree, this, [this](bool focusTree) {
        ShowTreeOrGrid(true);
        if (focusTree)
            m_navgTree->setFocus();
    });
    connect(m_surNameGrid, &InitialsGridView::refreshRequested, this, &TMainQVMolk::RefreshInitials);
    connect(m_surNameGrid, &InitialsGridView::entered, this, [this] { m_recList.source = NavigationSource::InitialsGrid; });

    auto *orgRow = new QHBoxLayout;
    auto *orgButton = new QToolButton(m_searchPanel);
    orgButton->setText(QStringLiteral("Org"));
    orgButton->setAutoRaise(true);
    orgButton->setToolTip(QStringLiteral("Click to show a larger input box"));
    orgRow->addWidget(orgButton);
    m_companyLk = new QComboBox(m_searchPanel);
    m_companyLk->setObjectName(QStringLiteral("CompanyLk"));
    m_companyLk->setEditable(true);
    m_companyLk->setToolTip(QStringLiteral("Search by org."));
    m_companyLk->setMaxVisibleItems(11);
    m_companyLookModel = new ViewListModel(m_data.AgentLookDataSet, QStringLiteral("Company"), this);
    m_companyLk->setModel(m_companyLookModel);
    m_companyLk->installEventFilter(this);
    orgRow->addWidget(m_companyLk, 1);
    auto *orgMore = new QToolButton(m_searchPanel);
    orgMore->setText(QStringLiteral("..."));
    orgRow->addWidget(orgMore);

    auto *navigation = new QVBoxLayout(m_searchPanel);
    navigation->setContentsMargins(4, 4, 4, 4);
    navigation->addLayout(nameRow);
    navigation->addWidget(m_navgTree, 1);
    navigation->addWidget(m_surNameGrid, 1);
    navigation->addLayout(orgRow);

    m_recDBGrid = new RecordListView(this);
    m_recDBGrid->setMinimumHeight(68);
    m_listModel = new ViewListModel(m_data.NameDataSet, QStringLiteral("Name"), this);
    m_recDBGrid->setListModel(m_listModel);
    connect(m_recDBGrid->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex &current) {
        if (current.isValid())
            m_data.NameDataSet.setRecNo(current.row() + 1);
        showCurrentEntry();
    });
    connect(m_recDBGrid, &RecordListView::marksChanged, this, &TMainQVMolk::showCurrentEntry);
    m_recDBGrid->installEventFilter(this);
    m_recDBGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_recDBGrid, &QWidget::customContextMenuRequested, this, &TMainQVMolk::RecPopupMenuPopup);
    auto *selectAll = new QAction(QStringLiteral("&Select All"), m_recDBGrid);
    selectAll->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    selectAll->setShortcutContext(Qt::WidgetShortcut);
    connect(selectAll, &QAction::triggered, m_recDBGrid, &RecordListView::SelectAllDeselectAll1Click);
    auto *unselectAll = new QAction(QStringLiteral("&UnSelect All"), m_recDBGrid);
    unselectAll->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    unselectAll->setShortcutContext(Qt::WidgetShortcut);
    connect(unselectAll, &QAction::triggered, m_recDBGrid, &RecordListView::UnSelectAll1Click);
    auto *deleteEntriesAction = new QAction(QStringLiteral("&Delete"), m_recDBGrid);
    deleteEntriesAction->setShortcut(QKeySequence(Qt::Key_Delete));
    deleteEntriesAction->setShortcutContext(Qt::WidgetShortcut);
    deleteEntriesAction->setStatusTip(QStringLiteral("Delete entries"));
    connect(deleteEntriesAction, &QAction::triggered, this, &TMainQVMolk::Delete1Click);
    m_recDBGrid->addActions({deleteEntriesAction, selectAll, unselectAll});

    m_leftSplitter = new QSplitter(Qt::Vertical, this);
    m_leftSplitter->setObjectName(QStringLiteral("LeftPanel"));
    m_leftSplitter->addWidget(m_searchPanel);
    m_leftSplitter->addWidget(m_recDBGrid);
    m_leftSplitter->setMinimumWidth(68);
    m_leftSplitter->setMaximumWidth(388);
    m_leftSplitter->setMinimumHeight(388);
    m_leftSplitter->setStretchFactor(1, 1);
    m_leftSplitter->setSizes({144, 300});

    m_detail = new DetailPane(this);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (now && m_detail->isAncestorOf(now) && !m_noBook)
            ShowTreeOrGrid(true);
    });
    // In a small window the detail pane scrolls instead of squeezing its fields.
    auto *detailScroll = new QScrollArea(this);
    detailScroll->setWidget(m_detail);
    detailScroll->setWidgetResizable(true);
    detailScroll->setFrameShape(QFrame::NoFrame);
    detailScroll->setMinimumWidth(418);
    m_mainSplitter = new QSplitter(Qt::Horizontal, this);
    m_mainSplitter->addWidget(m_leftSplitter);
    m_mainSplitter->addWidget(detailScroll);
    m_mainSplitter->setStretchFactor(1, 1);
    m_mainSplitter->setSizes({138, 500});
    // A resized left column holds another number of initials per row.
    connect(m_mainSplitter, &QSplitter::splitterMoved, this, [this] {
        if (isActiveWindow())
            FillInitialsGrid();
    });
    setCentralWidget(m_mainSplitter);
}

void TMainQVMolk::createStatusLine()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("MainStatusBar"));
    bar->setSizeGripEnabled(true);
    m_countsPanel = new QLabel(bar);
    m_countsPanel->setFixedWidth(228);
    m_lockPanel = new LockIndicator(bar);
    m_hintPanel = new QLabel(bar);
    m_hintPanel->setMinimumWidth(50);
    bar->addWidget(m_countsPanel);
    bar->addWidget(m_lockPanel);
    bar->addWidget(m_hintPanel, 1);
}

bool TMainQVMolk::event(QEvent *event)
{
    // Hints go to the third panel instead of covering the status line.
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent *>(event)->tip();
        m_hintPanel->setText(tip.section(QLatin1Char('|'), -1));
        return true;
    }
    return QMainWindow::event(event);
}

void TMainQVMolk::applyFonts()
{
    applyArea(m_surNameGrid, m_options->surnameGridFont);
    applyArea(m_navgTree, m_options->treeFont);
    applyArea(m_recDBGrid, m_options->recListFont);
    applyArea(m_detail, m_options->recViewFont);
    // The navigation area's labels and lookup boxes follow the entry list.
    for (QWidget *w : {static_cast<QWidget *>(m_nameLk), static_cast<QWidget *>(m_companyLk)})
        w->setFont(areaFont(m_options->recListFont));
}

void TMainQVMolk::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TMainQVMolk::FormShow()
{
    applyFonts();
    if (m_options->hasLegacyUserSection())
        runCommand([this] { m_lifecycle->upgradeLegacyUserDirectories(); });
    QDir().mkpath(m_dataDir);
    m_lifecycle->listDataDirectory();
    if (m_options->toSaveSize) {
        m_leftSplitter->setSizes({m_options->gridHeight, std::max(68, m_options->formHeight - m_options->gridHeight)});
        resize(m_options->formWidth, m_options->formHeight);
        m_mainSplitter->setSizes({m_options->leftPanelWidth, std::max(418, m_options->formWidth - m_options->leftPanelWidth)});
    }
    m_lifecycle->openDefaultBook();
    refreshLists();
    if (m_splash) {
        m_splash->setOkVisible(true);
        m_splash->close();
    }
    refreshTitle();
}

void TMainQVMolk::runCommand(const std::function<void()> &command)
{
    // The general error display: the error's text, then the program goes on.
    try {
        command();
    } catch (const Error &e) {
        m_prompter->message(e.text(), Prompter::Icon::Warning, Prompter::Button::Ok);
    }
    refreshLists();
}

void TMainQVMolk::Save1Click()
{
    runCommand([this] { m_lifecycle->save(); });
}

void TMainQVMolk::SaveButtonClick()
{
    if (m_lifecycle->saving())
        return;
    m_saveButton->setDown(true);
    Save1Click();
    m_saveButton->setDown(false);
}

void TMainQVMolk::refreshLists()
{
    m_listModel->reload();
    m_nameLookModel->reload();
    m_companyLookModel->reload();
    m_nameLk->setCurrentIndex(-1); // the lookup boxes start empty
    m_companyLk->setCurrentIndex(-1);
    const int row = m_data.NameDataSet.recNo() - 1;
    if (row >= 0) // the current row, not a mark
        m_recDBGrid->selectionModel()->setCurrentIndex(m_listModel->index(row), QItemSelectionModel::NoUpdate);
    showCurrentEntry();
}

QString TMainQVMolk::countsText() const
{
    return CRecListMT::countsText(m_data.NameLookDataset.recordCount(), m_data.NameDataSet.recordCount(),
                                  m_recDBGrid->marks().count());
}

void TMainQVMolk::NavgTreeChange(int number)
{
    m_recList.source = NavigationSource::Tree;
    if (m_recList.ShowNode(number))
        listFilterChanged();
}

void TMainQVMolk::NavgTreeDragDrop(int target, bool copyMode)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    fileEntriesIntoCategory(m_lifecycle->editModel(), m_data.NameDataSet, *m_prompter, target, m_navgTree->selectedNumber(),
                            !copyMode, m_recDBGrid->marks().rows());
    m_recList.Reapply();
    QApplication::restoreOverrideCursor();
    listFilterChanged();
}

void TMainQVMolk::deleteCategory(int number)
{
    if (!m_lifecycle->editModel().DeleteCategoryIfEmpty(m_lifecycle->tree().nodeOfNumber(number))) {
        m_prompter->message(QStringLiteral("Please delete items below first."), Prompter::Icon::Information, Prompter::Button::Ok);
        return;
    }
    m_navgTree->rebuild();
    m_lifecycle->markStructureChanged();
    NavgTreeChange(m_navgTree->selectedNumber());
}

void TMainQVMolk::SurNameGridSelectCell(const QString &initial)
{
    if (!initial.isEmpty())
        m_recList.ShowInitial(initial, false);
    listFilterChanged();
}

void TMainQVMolk::FillInitialsGrid()
{
    m_surNameGrid->fill(m_lifecycle->editModel().initials(), m_leftSplitter->width());
}

void TMainQVMolk::RefreshInitials()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_lifecycle->editModel().ScanInitials();
    FillInitialsGrid();
    QApplication::restoreOverrideCursor();
    // Then the name lookup's step: every white-page entry, with the grid shown.
    m_recList.ShowInitial(QString(), false);
    ShowTreeOrGrid(false);
    listFilterChanged();
}

void TMainQVMolk::ShowTreeOrGrid(bool tree)
{
    m_navgTree->setVisible(tree);
    m_surNameGrid->setVisible(!tree);
}

bool TMainQVMolk::eventFilter(QObject *watched, QEvent *event)
{
    // The name lookup brings up the initials; the list, the detail pane and the
    // organisation row bring back the tree.
    if (event->type() == QEvent::FocusIn && !m_noBook)
        ShowTreeOrGrid(watched != m_nameLk);
    return QMainWindow::eventFilter(watched, event);
}

void TMainQVMolk::Delete1Click()
{
    if (m_noBook || m_data.NameDataSet.isEmpty())
        return;
    const std::vector<int> marks = m_recDBGrid->marks().rows();
    runCommand([&] { deleteEntries(m_lifecycle->editModel(), *m_options, *m_prompter, marks); });
    listFilterChanged();
}

void TMainQVMolk::listFilterChanged()
{
    m_recDBGrid->resetMarks();
    m_listModel->reload();
    m_data.NameDataSet.first();
    if (m_listModel->rowCount() > 0)
        m_recDBGrid->selectionModel()->setCurrentIndex(m_listModel->index(0), QItemSelectionModel::NoUpdate);
    showCurrentEntry();
}

void TMainQVMolk::RecPopupMenuPopup(const QPoint &pos)
{
    QMenu menu(this);
    // Entry, category and e-mail commands come with the editor, the category
    // commands and the communication tools; until then they stay disabled.
    for (const char *caption : {"&Add Entry...", "&Edit Entry..."})
        menu.addAction(QString::fromLatin1(caption))->setEnabled(false);
    menu.addAction(m_recDBGrid->actions().first()); // "&Delete"
    menu.addAction(QStringLiteral("Delete from current Categor&y"))->setEnabled(false);
    menu.addSeparator();
    for (const char *caption : {"Email? &To:", "Email? &CC:", "Email? &BCC:", "&Launch Email..."})
        menu.addAction(QString::fromLatin1(caption))->setEnabled(false);
    menu.addSeparator();
    menu.addActions(m_recDBGrid->actions().mid(1));
    menu.exec(m_recDBGrid->viewport()->mapToGlobal(pos));
}

void TMainQVMolk::showCurrentEntry()
{
    m_detail->refresh(m_data.NameDataSet, m_data.AgentDataSet);
    m_countsPanel->setText(countsText());
}

void TMainQVMolk::setBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TMainQVMolk::showProgress(const QString &caption, int maximum)
{
    m_progress = new QProgressDialog(caption, QString(), 0, maximum, this, Qt::WindowStaysOnTopHint);
    m_progress->setWindowTitle(caption);
    m_progress->setCancelButton(nullptr);
    m_progress->setMinimumDuration(0);
    m_progress->show();
}

void TMainQVMolk::setProgress(int value)
{
    if (m_progress && value % 256 == 0) {
        m_progress->setValue(value);
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

void TMainQVMolk::closeProgress()
{
    delete m_progress;
    m_progress = nullptr;
}

void TMainQVMolk::bookOpened()
{
    if (m_noBook) {
        m_noBook = false;
        setNoBookControlsEnabled(true);
    }
    // The category tree with its top category expanded and selected, in place of the grid.
    m_navgTree->rebuild();
    if (QTreeWidgetItem *top = m_navgTree->topLevelItem(0)) {
        top->setExpanded(true);
        m_navgTree->selectNumber(top->data(0, Qt::UserRole).toInt()); // lists every entry
    }
    FillInitialsGrid();
    ShowTreeOrGrid(true);
    m_recDBGrid->resetMarks();
    refreshLists();
}

void TMainQVMolk::setNoBookControlsEnabled(bool enabled)
{
    for (QWidget *w : {static_cast<QWidget *>(m_surNameGrid), static_cast<QWidget *>(m_navgTree),
                       static_cast<QWidget *>(m_recDBGrid), static_cast<QWidget *>(m_openButton),
                       static_cast<QWidget *>(m_saveButton)})
        w->setEnabled(enabled);
    m_detail->setBoxesEnabled(enabled);
    m_editMenu->setEnabled(enabled);
    for (QAction *a : std::as_const(m_bookActions))
        a->setEnabled(enabled);
}

void TMainQVMolk::enterNoBookState()
{
    m_noBook = true;
    setNoBookControlsEnabled(false);
    // Opening a book stays possible from the File menu.
    m_openButton->setEnabled(false);
}

void TMainQVMolk::refreshTitle()
{
    setWindowTitle(m_lifecycle->title(ownerName()));
}

void TMainQVMolk::bookListChanged()
{
    m_openMenu->clear();
    m_deleteMenu->clear();
    m_openButtonMenu->clear();
    for (int i = 0; i < m_options->addressBooks.size(); ++i) {
        const QString name = m_options->addressBooks[i];
        auto open = [this, i] { runCommand([this, i] { m_lifecycle->openByName(i); }); };
        m_openMenu->addAction(name, this, open);
        m_openButtonMenu->addAction(name, this, open);
        m_deleteMenu->addAction(name, this, [this, i] { runCommand([this, i] { m_lifecycle->deleteBook(i); }); });
    }
}

void TMainQVMolk::repaintLock()
{
    m_lockPanel->setLocked(!m_options->packagePassword.isEmpty());
}

void TMainQVMolk::closeMainWindow()
{
    close();
}

void TMainQVMolk::closeEvent(QCloseEvent *event)
{
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

bool TMainQVMolk::FormCloseQuery()
{
    if (!m_lifecycle->close())
        return false;
    if (m_options->toSaveSize) {
        m_options->windowMax = isMaximized();
        const QRect normal = isMaximized() ? normalGeometry() : geometry();
        m_options->leftPanelWidth = m_leftSplitter->width();
        m_options->gridHeight = m_searchPanel->height();
        m_options->formWidth = normal.width();
        m_options->formHeight = normal.height();
    }
    try {
        m_options->writeAll();
    } catch (const Error &e) {
        // The settings would be lost: keep the window open so the user can act.
        m_prompter->message(e.text(), Prompter::Icon::Warning, Prompter::Button::Ok);
        return false;
    }
    return true;
}

} // namespace qv
