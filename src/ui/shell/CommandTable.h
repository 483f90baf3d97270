#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

namespace qv {

// One row of the main window's menus or pop-ups: a command as the user sees
// it. The rows of a submenu follow its Submenu row up to its End row. The
// window binds what a command does by its id; the menus, the tool bar and
// the pop-ups are built from these rows, so a caption, shortcut or hint is
// written in one place only.
struct CommandRow {
    enum class Kind { Item, Submenu, End, Separator };
    Kind kind = Kind::Item;
    QString id;
    QString caption;
    QKeySequence shortcut;
    QString hint;
    bool visible = true;
};

// The menu bar: "&File", "&Edit", "&Tools" and "&Help", each a Submenu row.
const QList<CommandRow> &menuBarCommands();
// The entry list's pop-up menu; its shortcuts work while the list has the focus.
const QList<CommandRow> &entryListCommands();
// The tool bar, left to right: ids of menu-bar commands, empty for a divider.
const QStringList &toolBarCommands();

} // namespace qv
