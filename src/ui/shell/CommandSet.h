#pragma once

#include "shell/CommandTable.h"

#include <QAction>
#include <QHash>
#include <QObject>
#include <QSet>

class QMenu;
class QMenuBar;
class QToolBar;
class QWidget;

namespace qv {

// The main window's commands, made from the command tables: one action per
// command id, placed in the menu bar, the tool bar and the pop-ups. A
// command whose work is not bound (a subsystem still to come) stays disabled.
class CommandSet : public QObject {
    Q_OBJECT
public:
    explicit CommandSet(QWidget *window);

    // An action made by a subsystem stands for the command; the table gives
    // it its caption, shortcut and hint. Call before building.
    void provide(const QString &id, QAction *action);
    void buildMenuBar(QMenuBar *bar);
    // The pop-up's actions, with shortcuts while the widget has the focus.
    void buildEntryListActions(QWidget *list);
    // The entry list's pop-up, filled with its actions.
    void fillEntryListMenu(QMenu *menu) const;

    QAction *action(const QString &id) const;
    QMenu *menu(const QString &id) const;

    // What the command does: a member of the receiver, or a functor run in its context.
    template<class Receiver, class Functor>
    void bind(const QString &id, const Receiver *receiver, Functor &&work)
    {
        connect(action(id), &QAction::triggered, receiver, std::forward<Functor>(work));
        m_bound.insert(id);
    }
    // Disables every command nothing was bound to or provided for.
    void disableUnbound();

private:
    static QAction *hiddenStandIn(const QAction *command, QMenu *menu);
    QAction *makeAction(const CommandRow &row, QObject *parent);

    QWidget *m_window;
    QHash<QString, QAction *> m_actions;
    QHash<QString, QMenu *> m_menus;
    QSet<QString> m_bound;
};

} // namespace qv
