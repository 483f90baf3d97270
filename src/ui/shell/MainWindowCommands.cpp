// The main window's commands: the menus, the tool bar and the entry list's
// pop-up are built from the command table; here each command is bound to
// what carries it out.
#include "shell/MainWindow.h"

#include "editing/EntryCommands.h"
#include "navigation/RecordListView.h"
#include "printing/PrintCommands.h"
#include "settings/DataDirectoryChoice.h"
#include "shell/CommandSet.h"
#include "tools/AboutBox.h"
#include "tools/CommunicationTools.h"
#include "tools/OptionsDialog.h"

#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace qv {

namespace {

struct ToolIcon {
    const char *id;
    const char *theme;
    QStyle::StandardPixmap fallback;
};

// Theme icons where the desktop has them; different ones where it has not.
constexpr ToolIcon kToolIcons[] = {
    {"printMode", "document-properties", QStyle::SP_FileDialogDetailedView},
    {"print", "document-print", QStyle::SP_ComputerIcon},
    {"preview", "document-print-preview", QStyle::SP_FileDialogContentsView},
    {"editEntry", "document-edit", QStyle::SP_FileDialogInfoView},
    {"addEntry", "contact-new", QStyle::SP_FileIcon},
    {"deleteEntries", "edit-delete", QStyle::SP_TrashIcon},
    {"search", "edit-find", QStyle::SP_FileDialogListView},
    {"dial", "call-start", QStyle::SP_DialogYesButton},
    {"email", "mail-message-new", QStyle::SP_DirLinkIcon},
    {"goUrl", "go-jump", QStyle::SP_ArrowRight},
};

} // namespace

void MainWindow::createMenus()
{
    m_commands = new CommandSet(this);
    m_printing = new PrintCommands(m_data, *m_options, *m_prompter, this);
    connect(m_printing, &PrintCommands::entryMoved, this, &MainWindow::refreshLists);
    m_commands->provide(QStringLiteral("printMode"), m_printing->printModeAction());
    m_commands->provide(QStringLiteral("printSetup"), m_printing->printSetupAction());
    m_commands->provide(QStringLiteral("preview"), m_printing->previewAction());
    m_commands->provide(QStringLiteral("print"), m_printing->printAction());
    const QList<std::pair<const char *, QAction *>> provided = {
        {"editEntry", m_entryCommands->editMenuAction()},
        {"addEntry", m_entryCommands->addMenuAction()},
        {"clearIsolatedOrg", m_entryCommands->clearIsolatedAction()},
        {"entry.add", m_entryCommands->addPopupAction()},
        {"entry.edit", m_entryCommands->editPopupAction()},
        {"entry.deleteFromCategory", m_entryCommands->deleteFromCategoryAction()},
        {"entry.yellow", m_entryCommands->yellowPagesAction()},
        {"entry.white", m_entryCommands->whitePagesAction()},
    };
    for (const auto &[id, action] : provided)
        m_commands->provide(QString::fromLatin1(id), action);
    m_commands->buildMenuBar(menuBar());
    m_openMenu = m_commands->menu(QStringLiteral("open"));
    m_deleteMenu = m_commands->menu(QStringLiteral("deleteBook"));
    m_editMenu = m_commands->menu(QStringLiteral("edit"));
    for (const char *id : {"save", "saveAs", "deleteBook", "printMode", "printSetup", "preview", "print", "search", "exportCsv",
                           "importCsv", "importWab", "importWabFile", "copyToClipboard", "exportVCard", "importVCard"})
        m_bookActions << m_commands->action(QString::fromLatin1(id));
    bindBookCommands();
    bindToolsCommands();
    bindEntryListCommands();
}

void MainWindow::bindBookCommands()
{
    CommandSet &c = *m_commands;
    c.bind(QStringLiteral("loadFrom"), this, [this] { runCommand([this] { m_lifecycle->loadFrom(); }); });
    c.bind(QStringLiteral("new"), this, [this] { runCommand([this] { m_lifecycle->newBook(); }); });
    c.bind(QStringLiteral("save"), this, &MainWindow::saveBook);
    c.bind(QStringLiteral("saveAs"), this, [this] { runCommand([this] { m_lifecycle->saveAs(); }); });
    c.bind(QStringLiteral("exit"), this, &QWidget::close);
    c.action(QStringLiteral("exit"))->setObjectName(QStringLiteral("exit"));
    c.bind(QStringLiteral("deleteEntries"), this, &MainWindow::deleteMarkedEntries);
    c.bind(QStringLiteral("search"), this, &MainWindow::openSearchDialog);
    createExchange();
    c.bind(QStringLiteral("exportCsv"), this, &MainWindow::exportCsv);
    c.bind(QStringLiteral("importCsv"), this, &MainWindow::importCsv);
    c.bind(QStringLiteral("importWab"), this, &MainWindow::importCurrentWab);
    c.bind(QStringLiteral("importWabFile"), this, &MainWindow::importWabFile);
    c.bind(QStringLiteral("exportVCard"), this, &MainWindow::exportVCard);
    c.bind(QStringLiteral("importVCard"), this, &MainWindow::importVCard);
    c.bind(QStringLiteral("copyToClipboard"), this, &MainWindow::copyCurrentEntry);
}

void MainWindow::bindToolsCommands()
{
    CommandSet &c = *m_commands;
    c.bind(QStringLiteral("dial"), m_tools, &CommunicationTools::dial);
    c.bind(QStringLiteral("mailTo"), m_tools, [this] { m_tools->addRecipients(RecipientKind::To); });
    c.bind(QStringLiteral("mailCc"), m_tools, [this] { m_tools->addRecipients(RecipientKind::Cc); });
    c.bind(QStringLiteral("mailBcc"), m_tools, [this] { m_tools->addRecipients(RecipientKind::Bcc); });
    c.bind(QStringLiteral("launchMail"), m_tools, &CommunicationTools::launchEmail);
    c.bind(QStringLiteral("goUrl"), m_tools, &CommunicationTools::goUrl);
    c.bind(QStringLiteral("options"), this, &MainWindow::openOptions);
    c.bind(QStringLiteral("contents"), m_tools, &CommunicationTools::openManual);
    c.bind(QStringLiteral("homePage"), m_tools, &CommunicationTools::openHomePage);
    c.bind(QStringLiteral("about"), this, [this] {
        AboutBox about(this);
        about.exec();
    });
}

void MainWindow::bindEntryListCommands()
{
    m_commands->buildEntryListActions(m_entryList);
    CommandSet &c = *m_commands;
    c.bind(QStringLiteral("entry.delete"), this, &MainWindow::deleteMarkedEntries);
    c.bind(QStringLiteral("entry.mailTo"), m_tools, [this] { m_tools->addRecipients(RecipientKind::To); });
    c.bind(QStringLiteral("entry.mailCc"), m_tools, [this] { m_tools->addRecipients(RecipientKind::Cc); });
    c.bind(QStringLiteral("entry.mailBcc"), m_tools, [this] { m_tools->addRecipients(RecipientKind::Bcc); });
    c.bind(QStringLiteral("entry.launchMail"), m_tools, &CommunicationTools::launchEmail);
    c.bind(QStringLiteral("entry.selectAll"), m_entryList, &RecordListView::markAll);
    c.bind(QStringLiteral("entry.unselectAll"), m_entryList, &RecordListView::unmarkAll);
}

void MainWindow::showEntryPopup(const QPoint &pos)
{
    QMenu menu(this);
    m_entryCommands->enablePopupActions();
    m_commands->fillEntryListMenu(&menu);
    menu.exec(m_entryList->viewport()->mapToGlobal(pos));
}

void MainWindow::createToolBar()
{
    m_toolBar = addToolBar(QStringLiteral("Tools"));
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setMovable(false);
    // Pictures with their hints: thirteen captions would not fit the window's width.
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const QString &id : toolBarCommands()) {
        if (id.isEmpty())
            m_toolBar->addSeparator();
        else if (id == QLatin1String("open"))
            m_toolBar->addWidget(createOpenButton());
        else if (id == QLatin1String("save"))
            m_toolBar->addWidget(createSaveButton());
        else
            addToolButton(id);
    }
}

QToolButton *MainWindow::createOpenButton()
{
    QAction *open = m_commands->action(QStringLiteral("open"));
    m_openButton = new QToolButton(m_toolBar);
    m_openButton->setText(open->text());
    m_openButton->setToolTip(open->statusTip());
    m_openButton->setStatusTip(open->statusTip());
    m_openButton->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    m_openButtonMenu = new QMenu(m_openButton);
    m_openButton->setMenu(m_openButtonMenu);
    m_openButton->setPopupMode(QToolButton::InstantPopup); // a click drops the list of books
    return m_openButton;
}

QToolButton *MainWindow::createSaveButton()
{
    // Its own button, not the menu's action: it shows itself pressed while it saves.
    QAction *save = m_commands->action(QStringLiteral("save"));
    m_saveButton = new QToolButton(m_toolBar);
    m_saveButton->setText(save->text());
    m_saveButton->setToolTip(save->statusTip());
    m_saveButton->setStatusTip(save->statusTip());
    m_saveButton->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    connect(m_saveButton, &QToolButton::clicked, this, &MainWindow::saveFromToolButton);
    return m_saveButton;
}

void MainWindow::addToolButton(const QString &id)
{
    QAction *action = m_commands->action(id);
    for (const ToolIcon &icon : kToolIcons) {
        if (id == QLatin1String(icon.id))
            action->setIcon(QIcon::fromTheme(QString::fromLatin1(icon.theme), style()->standardIcon(icon.fallback)));
    }
    m_toolBar->addAction(action);
    m_toolBar->widgetForAction(action)->setObjectName(id + QLatin1String("Button"));
    if (action->menu()) // E-mail drops its submenu
        static_cast<QToolButton *>(m_toolBar->widgetForAction(action))->setPopupMode(QToolButton::InstantPopup);
}

void MainWindow::openOptions()
{
    if (!m_optionsDialog->ask())
        return;
    m_lifecycle->saveWithPassword = m_optionsDialog->saveWithPassword();
    takeDataDirectory(*m_options, m_optionsDialog->confirmedDataDirectory(), m_programDir);
    applyFonts();
    fillInitialsGrid();
    refreshTitle(); // the owner's name may have changed
}

} // namespace qv
