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
    action->setVisible(row.visible);
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
        else
            menu->addAction(action(row.id));
    }
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
