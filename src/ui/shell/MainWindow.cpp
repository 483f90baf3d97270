#include "shell/MainWindow.h"

#include "common/AreaFontStyle.h"
#include "common/Error.h"
#include "common/Hint.h"
#include "common/LayoutScale.h"
#include "common/ScreenPlacement.h"
#include "data/RecordStore.h"
#include "editing/CategoryAssignment.h"
#include "editing/DeleteEntries.h"
#include "editing/EntryCommands.h"
#include "editing/EntryEditor.h"
#include "editing/OrganisationCompareDialog.h"
#include "exchange/FieldCatalogue.h"
#include "exchange/ComparingSameNameCheck.h"
#include "exchange/CsvCommands.h"
#include "exchange/ExchangeEngine.h"
#include "exchange/FieldSelectionDialog.h"
#include "exchange/ImportDialog.h"
#include "navigation/CategoryTreeView.h"
#include "navigation/InitialsGridView.h"
#include "navigation/RecordListView.h"
#include "navigation/ViewListModel.h"
#include "shell/CommandSet.h"
#include "printing/PrintCommands.h"
#include "search/QuickLookup.h"
#include "search/SearchDialog.h"
#include "shell/DetailPane.h"
#include "shell/HintPanel.h"
#include "shell/LockIndicator.h"
#include "shell/OwnerName.h"
#include "shell/ProgramDirectory.h"
#include "tools/AboutBox.h"
#include "tools/CommunicationTools.h"
#include "tools/OptionsDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyledItemDelegate>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWindow>

namespace qv {

namespace {

void applyArea(QWidget *widget, const AreaFont &f)
{
    widget->setFont(areaQFont(f));
    QPalette p = widget->palette();
    p.setColor(QPalette::Text, areaColour(f.color));
    p.setColor(QPalette::WindowText, areaColour(f.color));
    widget->setPalette(p);
}

const int kSearchNode = 101; // the category tree's node of the last search results

} // namespace

MainWindow::MainWindow(const QString &programDir, const QString &workingDir, RecordStore &data, Prompter *prompter,
                         QWidget *parent)
    : QMainWindow(parent)
    , m_programDir(programDir)
    , m_data(data)
    , m_qtPrompter(this)
    , m_prompter(prompter ? prompter : &m_qtPrompter)
    , m_search(data.personList, data.organisationLookup)
{
    setObjectName(QStringLiteral("MainWindow"));
    createModels();
    m_bookSettings = std::make_unique<StoredBookSettings>(*m_options);
    m_models.setRecordList(&m_recList);
    m_lifecycle = std::make_unique<PackageLifecycle>(m_data, m_models, *m_bookSettings, *m_prompter, *this,
                                                     PackageLifecycle::Directories{m_programDir, m_dataDir, workingDir});
    m_tools = new CommunicationTools(this, m_data, *m_prompter, [this] { return m_entryList->marks().rows(); }, m_programDir);
    m_optionsDialog = new OptionsDialog(*m_options, *m_prompter, this);
    connect(m_optionsDialog, &OptionsDialog::passwordChanged, this, &MainWindow::repaintLock);
    createLayout();
    createMenus();
    createToolBar();
    createStatusLine();
    m_searchDialog = new SearchDialog(*m_options, this);
    m_commands->disableUnbound();
}

void MainWindow::createExchange()
{
    m_exchange = std::make_unique<ExchangeEngine>(*m_options, m_models.editModel(), m_data);
    m_fieldSelection = new FieldSelectionDialog(this);
    m_importDialog = new ImportDialog(*m_options, m_models.tree(), *m_prompter, this);
    m_organisationCompare = new OrganisationCompareDialog(this);
}

void MainWindow::exportCsv()
{
    runCommand([this] { exportCsvCommand(*m_exchange, *m_options, *m_prompter, *m_fieldSelection, [this](bool busy) { setBusy(busy); }); });
}

void MainWindow::copyCurrentEntry()
{
    runCommand([this] {
        if (const auto text = copyCurrentCommand(*m_exchange, *m_options, *m_prompter, *m_fieldSelection))
            QGuiApplication::clipboard()->setText(*text);
    });
}

void MainWindow::importCsv()
{
    ComparingSameNameCheck sameName(m_models.editModel(), *m_prompter, *m_organisationCompare);
    std::optional<int> picked;
    runCommand([&] {
        picked = importCsvCommand(*m_exchange, *m_options, *m_prompter, *m_importDialog, sameName,
                                  [this](int k) { return m_models.tree().numberAt(k); }, [this](bool busy) { setBusy(busy); });
    });
    if (picked)
        listImported(*picked);
}

// After an import: the initials may have grown, and the category the entries went to is listed.
void MainWindow::listImported(int pickedCategory)
{
    m_models.editModel().scanInitials();
    fillInitialsGrid();
    showTreeOrGrid(true);
    m_categoryTree->selectNumber(m_models.tree().numberAt(pickedCategory));
    m_entryList->setFocus();
}

MainWindow::~MainWindow()
{
    // The list loses the focus while the window's children are destroyed: its
    // signals must not reach this half-destroyed window.
    m_entryList->disconnect(this);
    m_entryList->selectionModel()->disconnect(this);
    m_categoryTree->disconnect(this);
    m_initialsGrid->disconnect(this);
    disconnect(qApp, nullptr, this, nullptr);
}

void MainWindow::createModels()
{
    setWindowTitle(QStringLiteral("Quorvel"));
    m_dataDir = defaultDataDirectory(m_programDir);
    m_options = std::make_unique<Settings>(m_programDir + QStringLiteral("aa.ini"));
    m_options->readAll();
    if (!m_options->dataDir.isEmpty())
        m_dataDir = m_options->dataDir.endsWith(QLatin1Char('/')) ? m_options->dataDir : m_options->dataDir + QLatin1Char('/');
    else
        m_options->dataDir = m_dataDir; // so that it is written at exit
    m_options->packagePassword.clear();
    m_catalogue = std::make_unique<FieldCatalogue>(*m_options);
    m_data.personList.setLogChanges(true);
    m_data.organisationList.setLogChanges(true);
}

void MainWindow::createLayout()
{
    m_searchPanel = new QWidget(this);
    m_searchPanel->setObjectName(QStringLiteral("navigationArea"));
    m_searchPanel->setAutoFillBackground(true);
    QPalette pal = m_searchPanel->palette();
    pal.setColor(QPalette::Window, QColor(240, 251, 255));
    m_searchPanel->setPalette(pal);
    const LayoutScale px = LayoutScale::ofApplication();
    m_searchPanel->setMinimumHeight(px(68));
    m_searchPanel->setMaximumHeight(px(320));

    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(QStringLiteral("Name"), m_searchPanel));
    m_nameLookup = new QComboBox(m_searchPanel);
    m_nameLookup->setObjectName(QStringLiteral("nameLookup"));
    m_nameLookup->setEditable(true);
    setHint(m_nameLookup, QStringLiteral("Searh by name"));
    m_nameLookup->setMaxVisibleItems(11);
    m_nameLookModel = new ViewListModel(m_data.personNameLookup, QStringLiteral("Name"), this);
    m_nameLookup->setModel(m_nameLookModel);
    m_nameLookup->installEventFilter(this); // its focus brings up the initials
    nameRow->addWidget(m_nameLookup, 1);
    auto *nameButton = new QToolButton(m_searchPanel);
    nameButton->setObjectName(QStringLiteral("nameLookupButton"));
    nameButton->setText(QStringLiteral("..."));
    nameRow->addWidget(nameButton);

    m_categoryTree = new CategoryTreeView(m_searchPanel);
    m_categoryTree->setModel(&m_models.tree());
    connect(m_categoryTree, &CategoryTreeView::nodeSelected, this, &MainWindow::listCategory);
    connect(m_categoryTree, &CategoryTreeView::structureChanged, this, [this] { m_lifecycle->markStructureChanged(); });
    connect(m_categoryTree, &CategoryTreeView::deleteRequested, this, &MainWindow::deleteCategory);
    connect(m_categoryTree, &CategoryTreeView::entriesDropped, this, &MainWindow::fileDroppedEntries);
    connect(m_categoryTree, &CategoryTreeView::entered, this, [this] {
        m_recList.setSource(NavigationSource::Tree);
        listCategory(m_categoryTree->selectedNumber());
    });
    m_initialsGrid = new InitialsGridView(m_searchPanel);
    m_initialsGrid->hide(); // the tree is shown first
    connect(m_initialsGrid, &InitialsGridView::initialSelected, this, &MainWindow::listInitial);
    connect(m_initialsGrid, &InitialsGridView::backToTree, this, [this](bool focusTree) {
        showTreeOrGrid(true);
        if (focusTree)
            m_categoryTree->setFocus();
    });
    connect(m_initialsGrid, &InitialsGridView::refreshRequested, this, &MainWindow::refreshInitials);
    connect(m_initialsGrid, &InitialsGridView::entered, this, [this] { m_recList.setSource(NavigationSource::InitialsGrid); });

    auto *orgRow = new QHBoxLayout;
    auto *orgButton = new QToolButton(m_searchPanel);
    orgButton->setObjectName(QStringLiteral("organisationBoxButton"));
    orgButton->setText(QStringLiteral("Org"));
    orgButton->setAutoRaise(true);
    setHint(orgButton, QStringLiteral("Click to show a larger input box"));
    orgRow->addWidget(orgButton);
    m_organisationLookup = new QComboBox(m_searchPanel);
    m_organisationLookup->setObjectName(QStringLiteral("organisationLookup"));
    m_organisationLookup->setEditable(true);
    setHint(m_organisationLookup, QStringLiteral("Search by org."));
    m_organisationLookup->setMaxVisibleItems(11);
    m_companyLookModel = new ViewListModel(m_data.organisationLookup, QStringLiteral("Company"), this);
    m_organisationLookup->setModel(m_companyLookModel);
    m_organisationLookup->installEventFilter(this);
    orgRow->addWidget(m_organisationLookup, 1);
    auto *orgMore = new QToolButton(m_searchPanel);
    orgMore->setObjectName(QStringLiteral("organisationLookupButton"));
    orgMore->setText(QStringLiteral("..."));
    orgRow->addWidget(orgMore);
    auto *lookup = new QuickLookup({m_nameLookup, nameButton, m_organisationLookup, orgMore, orgButton}, m_data, m_search,
                                   m_recList, this);
    connect(lookup, &QuickLookup::listChanged, this, &MainWindow::listFilterChanged);
    connect(lookup, &QuickLookup::initialsGridWanted, this, [this] { showTreeOrGrid(false); });
    connect(lookup, &QuickLookup::initialsRefreshRequested, this, &MainWindow::refreshInitials);

    auto *navigation = new QVBoxLayout(m_searchPanel);
    navigation->setContentsMargins(4, 4, 4, 4);
    navigation->addLayout(nameRow);
    navigation->addWidget(m_categoryTree, 1);
    navigation->addWidget(m_initialsGrid, 1);
    navigation->addLayout(orgRow);

    m_entryList = new RecordListView(this);
    m_entryList->setMinimumHeight(px(68));
    m_listModel = new ViewListModel(m_data.personList, QStringLiteral("Name"), this);
    m_entryList->setListModel(m_listModel);
    connect(m_entryList->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex &current) {
        if (current.isValid())
            m_data.personList.setRecNo(current.row() + 1);
        showCurrentEntry();
    });
    connect(m_entryList, &RecordListView::marksChanged, this, &MainWindow::showCurrentEntry);
    m_entryList->installEventFilter(this);
    m_entryList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_entryList, &QWidget::customContextMenuRequested, this, &MainWindow::showEntryPopup);

    m_leftSplitter = new QSplitter(Qt::Vertical, this);
    m_leftSplitter->setObjectName(QStringLiteral("leftColumn"));
    m_leftSplitter->addWidget(m_searchPanel);
    m_leftSplitter->addWidget(m_entryList);
    m_leftSplitter->setMinimumWidth(px(68));
    m_leftSplitter->setMaximumWidth(px(388));
    m_leftSplitter->setMinimumHeight(px(388));
    m_leftSplitter->setStretchFactor(1, 1);

    m_detail = new DetailPane(this);
    connect(m_detail, &DetailPane::memoDoubleClicked, m_tools, &CommunicationTools::showMemo);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (now && m_detail->isAncestorOf(now) && !m_noBook)
            showTreeOrGrid(true);
    });
    // In a small window the detail pane scrolls instead of squeezing its fields.
    auto *detailScroll = new QScrollArea(this);
    detailScroll->setWidget(m_detail);
    detailScroll->setWidgetResizable(true);
    detailScroll->setFrameShape(QFrame::NoFrame);
    detailScroll->setMinimumSize(px(418, 388));
    m_mainSplitter = new QSplitter(Qt::Horizontal, this);
    m_mainSplitter->addWidget(m_leftSplitter);
    m_mainSplitter->addWidget(detailScroll);
    m_mainSplitter->setStretchFactor(1, 1);
    // A resized left column holds another number of initials per row.
    connect(m_mainSplitter, &QSplitter::splitterMoved, this, [this] {
        if (isActiveWindow())
            fillInitialsGrid();
    });
    setCentralWidget(m_mainSplitter);
    m_entryCommands = new EntryCommands({m_data, m_models, m_recList, m_search, *m_prompter, *m_categoryTree, *m_entryList,
                                         *detailScroll, [this] { listFilterChanged(); }, [this] { refreshLists(); },
                                         [this] { fillInitialsGrid(); },
                                         [this](bool tree) { showTreeOrGrid(tree); }},
                                        this);
    // Enter in a field of the detail pane edits the entry.
    for (QLineEdit *field : m_detail->findChildren<QLineEdit *>())
        connect(field, &QLineEdit::returnPressed, m_entryCommands, &EntryCommands::editEntry);
}

void MainWindow::createStatusLine()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("statusLine"));
    // The window manager's frame resizes the window; the hints get the room of a size grip.
    bar->setSizeGripEnabled(false);
    const LayoutScale px = LayoutScale::ofApplication();
    // The counts panel grows beyond its width when its text needs more.
    m_countsPanel = new QLabel(bar);
    m_countsPanel->setObjectName(QStringLiteral("countsPanel"));
    m_countsPanel->setMinimumWidth(px(228));
    m_lockPanel = new LockIndicator(bar);
    m_hintPanel = new HintPanel(bar);
    m_hintPanel->setObjectName(QStringLiteral("hintPanel"));
    m_hintPanel->setMinimumWidth(px(50));
    bar->addWidget(m_countsPanel);
    bar->addWidget(m_lockPanel);
    bar->addWidget(m_hintPanel, 1);
}

bool MainWindow::event(QEvent *event)
{
    // Hints go to the third panel instead of covering the status line.
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent *>(event)->tip();
        m_hintPanel->showHint(tip.mid(tip.indexOf(QLatin1Char('|')) + 1));
        return true;
    }
    return QMainWindow::event(event);
}

void MainWindow::applyFonts()
{
    applyArea(m_initialsGrid, m_options->surnameGridFont);
    applyArea(m_categoryTree, m_options->treeFont);
    applyArea(m_entryList, m_options->recListFont);
    applyArea(m_detail, m_options->recViewFont);
    // The navigation area's labels and lookup boxes follow the entry list.
    for (QWidget *w : {static_cast<QWidget *>(m_nameLookup), static_cast<QWidget *>(m_organisationLookup)})
        w->setFont(areaQFont(m_options->recListFont));
    // The entry editor takes the viewer's font name and size; its labels keep their navy.
    m_entryCommands->editor().setFont(areaQFont(m_options->recViewFont));
}

void MainWindow::setVisible(bool visible)
{
    // Fonts and sizes are settled before the window first appears, so that it
    // opens in its place at its size instead of jumping there.
    if (visible && !m_placed) {
        m_placed = true;
        applyFonts();
        placeWindow();
    }
    QMainWindow::setVisible(visible);
}

void MainWindow::comeForward()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    // A dialog the user left open stays in front of the window it belongs to.
    if (QWidget *dialog = QApplication::activeModalWidget()) {
        dialog->raise();
        dialog->activateWindow();
    }
}

void MainWindow::placeWindow()
{
    // Stored sizes are the window's own from an earlier run and are taken as
    // they are; the designed ones grow with the font.
    const LayoutScale px = LayoutScale::ofApplication();
    const bool stored = m_options->toSaveSize && m_options->sizesStored;
    const QSize size = stored ? QSize(m_options->formWidth, m_options->formHeight) : px(640, 480);
    create(); // its frame is known from here on
    const QMargins frame = windowHandle()->frameMargins();
    setGeometry(centredWithin(size.grownBy(frame), screen()->availableGeometry()).marginsRemoved(frame));
    layout()->activate(); // the splitters get their sizes now, so the parts below are exact
    const int left = stored ? m_options->leftPanelWidth : defaultLeftColumnWidth();
    const int grid = stored ? m_options->gridHeight : px(144);
    m_mainSplitter->setSizes({left, m_mainSplitter->width() - m_mainSplitter->handleWidth() - left});
    m_leftSplitter->setSizes({grid, m_leftSplitter->height() - m_leftSplitter->handleWidth() - grid});
}

int MainWindow::defaultLeftColumnWidth() const
{
    // Room for a category caption of 20 characters one level below the top;
    // digits are as wide as most capitals.
    const QFontMetrics metrics(m_categoryTree->font());
    const int scrollBar = m_categoryTree->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int caption = 2 * m_categoryTree->indentation() + metrics.horizontalAdvance(QString(20, QLatin1Char('0'))) + scrollBar;
    const int margins = 2 * m_categoryTree->frameWidth() + 16;
    const LayoutScale px = LayoutScale::ofApplication();
    return std::clamp(caption + margins, px(138), px(388));
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        openStartupBook();
    }
}

void MainWindow::openStartupBook()
{
    if (m_options->hasLegacyUserSection())
        runCommand([this] { m_lifecycle->upgradeLegacyUserDirectories(); });
    // A first start finds no data directory of its own yet; a folder named
    // in the settings is never made up.
    if (m_dataDir == defaultDataDirectory(m_programDir))
        QDir().mkpath(m_dataDir);
    if (!m_lifecycle->openAtStart(m_startupPackage)) {
        if (m_splash)
            m_splash->close(); // else it would keep the program running
        return;
    }
    refreshLists();
    if (m_splash) {
        m_splash->setOkVisible(true);
        m_splash->close();
    }
    refreshTitle();
}

void MainWindow::runCommand(const std::function<void()> &command)
{
    // The general error display: the error's text, then the program goes on.
    try {
        command();
    } catch (const Error &e) {
        m_prompter->message(e.text(), Prompter::Icon::Warning, Prompter::Button::Ok);
    }
    refreshLists();
}

void MainWindow::saveBook()
{
    runCommand([this] { m_lifecycle->save(); });
}

void MainWindow::saveFromToolButton()
{
    if (m_lifecycle->saving())
        return;
    m_saveButton->setDown(true);
    saveBook();
    m_saveButton->setDown(false);
}

void MainWindow::refreshLists()
{
    m_listModel->reload();
    m_nameLookModel->reload();
    m_companyLookModel->reload();
    m_nameLookup->setCurrentIndex(-1); // the lookup boxes start empty
    m_organisationLookup->setCurrentIndex(-1);
    const int row = m_data.personList.recNo() - 1;
    if (row >= 0) // the current row, not a mark
        m_entryList->selectionModel()->setCurrentIndex(m_listModel->index(row), QItemSelectionModel::NoUpdate);
    showCurrentEntry();
}

QString MainWindow::countsText() const
{
    return RecordListModel::countsText(m_data.personLookup.recordCount(), m_data.personList.recordCount(),
                                  m_entryList->marks().count());
}

void MainWindow::listCategory(int number)
{
    m_recList.setSource(NavigationSource::Tree);
    if (number == kSearchNode) {
        setBusy(true);
        m_search.applyLastSearch();
        setBusy(false);
        listFilterChanged();
    } else if (m_recList.showNode(number)) {
        listFilterChanged();
    }
}

void MainWindow::openSearchDialog()
{
    // Over the detail pane, 65 pixels below the window's top edge.
    const QPoint detail = m_mainSplitter->widget(1)->mapTo(this, QPoint(0, 0));
    const std::optional<SearchChoice> choice = m_searchDialog->ask(
        QPoint(frameGeometry().left() + detail.x(), frameGeometry().top() + LayoutScale::ofApplication()(65)));
    if (!choice)
        return;
    // The last results first, under the search node; then the new search.
    showTreeOrGrid(true);
    m_categoryTree->setFocus();
    if (m_models.tree().indexOfNumber(kSearchNode) >= 0)
        m_categoryTree->selectNumber(kSearchNode);
    setBusy(true);
    runCommand([&] { searchAsChosen(m_search, *m_catalogue, *choice); });
    setBusy(false);
    listFilterChanged();
    m_entryList->setFocus();
    m_recList.setSource(NavigationSource::Search);
}

void MainWindow::fileDroppedEntries(int target, bool copyMode)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    fileEntriesIntoCategory(m_models.editModel(), m_data.personList, *m_prompter, target, m_categoryTree->selectedNumber(),
                            !copyMode, m_entryList->marks().rows());
    m_recList.reapply();
    QApplication::restoreOverrideCursor();
    listFilterChanged();
}

void MainWindow::deleteCategory(int number)
{
    if (!m_models.editModel().deleteCategoryIfEmpty(m_models.tree().nodeOfNumber(number))) {
        m_prompter->message(QStringLiteral("Please delete items below first."), Prompter::Icon::Information, Prompter::Button::Ok);
        return;
    }
    m_categoryTree->rebuild();
    m_lifecycle->markStructureChanged();
    listCategory(m_categoryTree->selectedNumber());
}

void MainWindow::listInitial(const QString &initial)
{
    if (!initial.isEmpty())
        m_recList.showInitial(initial, false);
    listFilterChanged();
}

void MainWindow::fillInitialsGrid()
{
    m_initialsGrid->fill(m_models.editModel().initials(), m_leftSplitter->width());
}

void MainWindow::refreshInitials()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_models.editModel().scanInitials();
    fillInitialsGrid();
    QApplication::restoreOverrideCursor();
    // Then the name lookup's step: every white-page entry, with the grid shown.
    m_recList.showInitial(QString(), false);
    showTreeOrGrid(false);
    listFilterChanged();
}

void MainWindow::showTreeOrGrid(bool tree)
{
    m_categoryTree->setVisible(tree);
    m_initialsGrid->setVisible(!tree);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // The name lookup brings up the initials; the list, the detail pane and the
    // organisation row bring back the tree.
    if (event->type() == QEvent::FocusIn && !m_noBook)
        showTreeOrGrid(watched != m_nameLookup);
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::deleteMarkedEntries()
{
    if (m_noBook)
        return;
    const std::vector<int> marks = m_entryList->marks().rows();
    runCommand([&] { deleteEntries(m_models.editModel(), *m_options, *m_prompter, marks, [this](bool busy) { setBusy(busy); }); });
    listFilterChanged();
}

void MainWindow::listFilterChanged()
{
    m_entryList->resetMarks();
    m_listModel->reload();
    m_data.personList.first();
    if (m_listModel->rowCount() > 0)
        m_entryList->selectionModel()->setCurrentIndex(m_listModel->index(0), QItemSelectionModel::NoUpdate);
    showCurrentEntry();
}

void MainWindow::showCurrentEntry()
{
    m_detail->refresh(m_data.personList, m_data.organisationList);
    m_countsPanel->setText(countsText());
}

void MainWindow::setBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void MainWindow::showProgress(const QString &caption, int maximum)
{
    m_progress = new QProgressDialog(caption, QString(), 0, maximum, this, Qt::WindowStaysOnTopHint);
    m_progress->setWindowTitle(caption);
    m_progress->setCancelButton(nullptr);
    m_progress->setMinimumDuration(0);
    m_progress->show();
}

void MainWindow::setProgress(int value)
{
    if (m_progress && value % 256 == 0) {
        m_progress->setValue(value);
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

void MainWindow::closeProgress()
{
    delete m_progress;
    m_progress = nullptr;
}

void MainWindow::bookOpened()
{
    if (m_noBook) {
        m_noBook = false;
        setNoBookControlsEnabled(true);
    }
    // The category tree with its top category expanded and selected, in place of the grid.
    m_categoryTree->rebuild();
    if (QTreeWidgetItem *top = m_categoryTree->topLevelItem(0)) {
        top->setExpanded(true);
        m_categoryTree->selectNumber(top->data(0, Qt::UserRole).toInt()); // lists every entry
    }
    fillInitialsGrid();
    showTreeOrGrid(true);
    m_entryList->resetMarks();
    refreshLists();
}

void MainWindow::focusCategoryTree()
{
    m_categoryTree->setFocus();
}

void MainWindow::setNoBookControlsEnabled(bool enabled)
{
    for (QWidget *w : {static_cast<QWidget *>(m_initialsGrid), static_cast<QWidget *>(m_categoryTree),
                       static_cast<QWidget *>(m_entryList), static_cast<QWidget *>(m_toolBar)})
        w->setEnabled(enabled);
    m_detail->setBoxesEnabled(enabled);
    m_editMenu->setEnabled(enabled);
    for (QAction *a : std::as_const(m_bookActions))
        a->setEnabled(enabled);
}

void MainWindow::enterNoBookState()
{
    m_noBook = true;
    setNoBookControlsEnabled(false); // opening a book stays possible from the File menu
}

void MainWindow::refreshTitle()
{
    setWindowTitle(m_lifecycle->title(ownerName(*m_options)));
}

void MainWindow::bookListChanged()
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

void MainWindow::repaintLock()
{
    // A password set since the last open or save protects the book from its next save on.
    const archive::PackageCipher next = m_options->encryption();
    m_lockPanel->setLocked(!m_options->packagePassword.isEmpty(), m_lifecycle->packageCipher().value_or(next), next,
                           m_lifecycle->passwordPending());
}

void MainWindow::closeMainWindow()
{
    // Queued: during start-up the event loop is not running yet, and a close
    // then would leave the program running without a window.
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (confirmClose())
        event->accept();
    else
        event->ignore();
}

bool MainWindow::confirmClose()
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
