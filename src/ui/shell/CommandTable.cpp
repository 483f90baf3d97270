#include "shell/CommandTable.h"

namespace qv {

namespace {

using Kind = CommandRow::Kind;

CommandRow item(const char *id, const char *caption, const QKeySequence &shortcut = {}, const char *hint = "")
{
    return {Kind::Item, QString::fromLatin1(id), QString::fromLatin1(caption), shortcut, QString::fromLatin1(hint), true};
}

CommandRow submenu(const char *id, const char *caption, const char *hint = "")
{
    return {Kind::Submenu, QString::fromLatin1(id), QString::fromLatin1(caption), {}, QString::fromLatin1(hint), true};
}

CommandRow hidden(CommandRow row)
{
    row.visible = false;
    return row;
}

const CommandRow end{Kind::End, {}, {}, {}, {}, true};
const CommandRow separator{Kind::Separator, {}, {}, {}, {}, true};

} // namespace

const QList<CommandRow> &menuBarCommands()
{
    static const QList<CommandRow> rows = {
        submenu("file", "&File"),
        submenu("open", "&Open", "Open an address book"), end,
        item("loadFrom", "Load &from...", {}, "Load an address book elsewhere"),
        item("new", "&New...", {}, "Create a new address book"),
        item("save", "&Save", QKeySequence(Qt::CTRL | Qt::Key_S), "Save the address book"),
        item("saveAs", "Save &As...", QKeySequence(Qt::Key_F12), "Save the address book with a new path"),
        submenu("deleteBook", "&Delete", "Delete an address book"), end,
        separator,
        submenu("exportTo", "&Export to"),
        item("exportCsv", "CSV File...", {}, "Export the listed entries to a Comma Delimited File"),
        item("exportVCard", "vCard...", {}, "Export the current entry to an electronic business card file"),
        end,
        submenu("importFrom", "&Import from"),
        item("importWab", "WAB", {}, "Import from the current WAB (MS Outlook Express address book)"),
        item("importWabFile", "WAB file...", {}, "Import from a WAB file"),
        item("importCsv", "CSV file...", {}, "Import from a Comma Delimited File"),
        item("importVCard", "vCard...", {}, "Import an electronic business card file"),
        end,
        separator,
        item("printMode", "Print &Mode...", QKeySequence(Qt::CTRL | Qt::Key_M), "Select a print template"),
        item("printSetup", "Print Set&up...", {}, "Change the printer options"),
        item("preview", "Print Pre&view", {}, "Display view of address book as it will be printed"),
        item("print", "&Print", QKeySequence(Qt::CTRL | Qt::Key_P), "Print the address book"),
        separator,
        // Ctrl+Q as in every other desktop program.
        item("exit", "E&xit", QKeySequence(Qt::CTRL | Qt::Key_Q)),
        end,

        submenu("edit", "&Edit"),
        item("search", "&Search...", QKeySequence(Qt::CTRL | Qt::Key_F), "Search entries with specified conditions"),
        separator,
        item("editEntry", "&Edit entry...", QKeySequence(Qt::ALT | Qt::Key_Return), "Edit current entry"),
        item("addEntry", "&Add entry...", QKeySequence(Qt::CTRL | Qt::Key_N), "Add an entry"),
        item("deleteEntries", "&Delete", {}, "Delete entries"),
        separator,
        item("clearIsolatedOrg", "Clea&r isolated org", {}, "Clear isolated organizations without associated entries"),
        separator,
        item("copyToClipboard", "&Copy Current to Clipboard", {}, "Copy current entry to the clipboard"),
        end,

        submenu("tools", "&Tools"),
        item("dial", "D&ial...", {}, "Dial with the selected number"),
        submenu("email", "E-&mail", "E-mail to the selected addresses"),
        item("mailTo", "&To:", {}, "Add the selected E-mail address to the 'To' field"),
        item("mailCc", "&CC:", {}, "Add the selected E-mail address to the 'CC' field"),
        item("mailBcc", "&BCC:", {}, "Add the selected E-mail address to the 'BCC' field"),
        separator,
        item("launchMail", "&Launch...", {}, "Launch the default emailer"),
        end,
        item("goUrl", "Go &URL", {}, "Call the default browser for the selected URL"),
        separator,
        item("options", "&Options..."),
        end,

        submenu("help", "&Help"),
        item("contents", "&Contents"),
        item("homePage", "Quorvel &Project Home Page"),
        item("about", "&About..."),
        end,
    };
    return rows;
}

const QList<CommandRow> &entryListCommands()
{
    static const QList<CommandRow> rows = {
        item("entry.add", "&Add Entry..."),
        item("entry.edit", "&Edit Entry..."),
        item("entry.delete", "&Delete", QKeySequence(Qt::Key_Delete), "Delete entries"),
        item("entry.deleteFromCategory", "Delete from current Categor&y", QKeySequence(Qt::SHIFT | Qt::Key_Delete),
             "Delete the selected entries from current category while keeping the entries"),
        separator,
        hidden(item("entry.yellow", "Become &yellow page entries", QKeySequence(Qt::CTRL | Qt::Key_Y),
                    "Make the selected entries be yellow page entries")),
        hidden(item("entry.white", "Become &white page entries", QKeySequence(Qt::CTRL | Qt::Key_W),
                    "Make the selected entries be white page entries")),
        item("entry.mailTo", "Email? &To:", QKeySequence(Qt::CTRL | Qt::Key_T)),
        item("entry.mailCc", "Email? &CC:", QKeySequence(Qt::CTRL | Qt::Key_C)),
        item("entry.mailBcc", "Email? &BCC:", QKeySequence(Qt::CTRL | Qt::Key_B)),
        item("entry.launchMail", "&Launch Email...", QKeySequence(Qt::CTRL | Qt::Key_L)),
        separator,
        item("entry.selectAll", "&Select All", QKeySequence(Qt::CTRL | Qt::Key_A)),
        item("entry.unselectAll", "&UnSelect All", QKeySequence(Qt::CTRL | Qt::Key_Z)),
    };
    return rows;
}

const QStringList &toolBarCommands()
{
    static const QStringList ids = {
        QStringLiteral("open"),     QStringLiteral("save"),      QString(),
        QStringLiteral("printMode"), QStringLiteral("print"),    QStringLiteral("preview"),
        QString(),                  QStringLiteral("editEntry"), QStringLiteral("addEntry"),
        QStringLiteral("deleteEntries"), QStringLiteral("search"), QString(),
        QStringLiteral("dial"),     QStringLiteral("email"),     QStringLiteral("goUrl"),
    };
    return ids;
}

} // namespace qv
