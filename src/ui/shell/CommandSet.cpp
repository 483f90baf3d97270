#include "shell/CommandSet.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace qv {

CommandSet::CommandSet(QWidget *window)
    : QObject(window)
    , m_window(window)
{
}

void CommandSet::provide(const QString &id, QAction *action)
{
    m_actions.insert(id, action);
    m_bound.insert(id);
}

QAction *CommandSet::makeAction(const CommandRow &row, QObject *parent)
{
    QAction *action = m_actions.value(row.id);
    if (!action) {
        action = new QAction(parent);
        m_actions.insert(row.id, action);
    }
    action->setText(row.caption);
    action->setShortcut(row.shortcut);
    action->setStatusTip(row.hint);
    if (!row.hint.isEmpty())
        action->setToolTip(row.hint); // what a tool button shows
    return action;
}

void CommandSet::buildMenuBar(QMenuBar *bar)
{
    QList<QMenu *> open; // the submenus being filled, innermost last
    for (const CommandRow &row : menuBarCommands()) {
        switch (row.kind) {
        case CommandRow::Kind::Submenu: {
            QMenu *menu = open.isEmpty() ? bar->addMenu(row.caption) : open.last()->addMenu(row.caption);
            menu->menuAction()->setStatusTip(row.hint);
            if (!row.hint.isEmpty())
                menu->menuAction()->setToolTip(row.hint);
            m_menus.insert(row.id, menu);
            m_actions.insert(row.id, menu->menuAction());
            open << menu;
            break;
        }
        case CommandRow::Kind::End:
            open.removeLast();
            break;
        case CommandRow::Kind::Separator:
            open.last()->addSeparator();
            break;
        case CommandRow::Kind::Item:
            open.last()->addAction(makeAction(row, m_window));
            break;
        }
    }
}

void CommandSet::buildEntryListActions(QWidget *list)
{
    for (const CommandRow &row : entryListCommands()) {
        if (row.kind != CommandRow::Kind::Item)
            continue;
        QAction *action = makeAction(row, list);
        action->setShortcutContext(Qt::WidgetShortcut);
        list->addAction(action);
    }
}

void CommandSet::fillEntryListMenu(QMenu *menu) const
{
    for (const CommandRow &row : entryListCommands()) {
        if (row.kind == CommandRow::Kind::Separator)
            menu->addSeparator();
        else if (row.visible)
            menu->addAction(action(row.id));
        else
            menu->addAction(hiddenStandIn(action(row.id), menu));
    }
}

QAction *CommandSet::hiddenStandIn(const QAction *command, QMenu *menu)
{
    // An invisible action's key does nothing: the command itself stays
    // visible, so that its key works in the list, and the menu holds a
    // hidden item in its place.
    auto *standIn = new QAction(command->text(), menu);
    standIn->setShortcut(command->shortcut());
    standIn->setShortcutContext(Qt::WidgetShortcut);
    standIn->setStatusTip(command->statusTip());
    standIn->setVisible(false);
    return standIn;
}

QAction *CommandSet::action(const QString &id) const
{
    QAction *action = m_actions.value(id);
    Q_ASSERT_X(action, "CommandSet::action", qPrintable(id));
    return action;
}

QMenu *CommandSet::menu(const QString &id) const
{
    return m_menus.value(id);
}

void CommandSet::disableUnbound()
{
    // Submenus are whole when their items are; empty book lists are filled later.
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
        if (!it.value()->menu() && !m_bound.contains(it.key()))
            it.value()->setEnabled(false);
    }
}

} // namespace qv
