#include "QvTool.h"

#include "Commands.h"
#include "common/Error.h"

#include <functional>

namespace qv::tool {

namespace {

struct Command {
    QString name;
    QString usage;
    QString summary;
    std::function<int(const QStringList &, Output)> run;
};

const QList<Command> &commands()
{
    static const QList<Command> list = {
        {QStringLiteral("settings"), QStringLiteral("settings"),
         QStringLiteral("print the settings read from the program directory's aa.ini"), settingsCommand},
        {QStringLiteral("pack"), QStringLiteral("pack DIR PACKAGE [--password]"),
         QStringLiteral("pack the *.dbf and *.dff files of DIR into PACKAGE; with a password, AES-256"), packCommand},
        {QStringLiteral("unpack"), QStringLiteral("unpack PACKAGE DIR"),
         QStringLiteral("extract every member of PACKAGE into DIR"), unpackCommand},
        {QStringLiteral("info"), QStringLiteral("info PACKAGE"),
         QStringLiteral("entries, organisations, categories, format, table forms and encryption of a book"), infoCommand},
        {QStringLiteral("convert"), QStringLiteral("convert OLD NEW"),
         QStringLiteral("write the book OLD, whatever form its tables are in, as the new package NEW in the current form"),
         convertCommand},
        {QStringLiteral("list"), QStringLiteral("list PACKAGE [--filter EXPR] [--ignore-case] [--fields F1,F2,...|all]"),
         QStringLiteral("the persons passing the filter, in index order, TAB-separated"), listCommand},
        {QStringLiteral("find"),
         QStringLiteral("find PACKAGE (--content TEXT --fields LABEL[,...] [--logic and|or] | --birthday MONTH[/DAY]\n"
                        "              | --name-prefix TEXT | --organisation NAME) [--columns F1,F2,...|all] [--show-filter]"),
         QStringLiteral("the persons a search finds, as the search dialog and the lookup boxes search; columns as list's --fields"),
         findCommand},
        {QStringLiteral("tree"), QStringLiteral("tree PACKAGE"),
         QStringLiteral("the category tree: captions indented by depth, numbers in brackets"), treeCommand},
        {QStringLiteral("initials"), QStringLiteral("initials PACKAGE"),
         QStringLiteral("the surname initials of the white-page entries, one per line"), initialsCommand},
        {QStringLiteral("export-csv"), QStringLiteral("export-csv PACKAGE FILE [--filter EXPR] [--fields NAME,...] [--header]"),
         QStringLiteral("the listed entries as CSV, in index order: the ticked fields of aa.ini or the named table fields"),
         exportCsvCommand},
        {QStringLiteral("import-csv"),
         QStringLiteral("import-csv PACKAGE FILE --map \"FIELD=COLUMN[,COLUMN...];...\" [--category NUMBER] [--header]\n"
                        "              [--check-org-same-name]"),
         QStringLiteral("import a CSV file with the column mapping given (catalogue field names or labels) and save the book"),
         importCsvCommand},
        {QStringLiteral("import-wab"), QStringLiteral("import-wab PACKAGE FILE [--category NUMBER] [--check-org-same-name]"),
         QStringLiteral("import every contact of an address book (.wab) file and save the book"), importWabCommand},
        {QStringLiteral("export-vcard"), QStringLiteral("export-vcard PACKAGE FILE [--filter EXPR] [--version 2.1|3.0|4.0]"),
         QStringLiteral("the listed entries as electronic business cards, one card each, in index order"), exportVCardCommand},
        {QStringLiteral("import-vcard"), QStringLiteral("import-vcard PACKAGE FILE [--category NUMBER] [--check-org-same-name]"),
         QStringLiteral("import every card of a vCard (.vcf) file and save the book"), importVCardCommand},
        {QStringLiteral("generate"), QStringLiteral("generate --persons N --organisations M [--seed S] PACKAGE"),
         QStringLiteral("write a generated book, the same for the same seed"), generateCommand},
        {QStringLiteral("print"),
         QStringLiteral("print PACKAGE --mode cards|name|organisation|phone [--template NAME] [--filter EXPR] [--ignore-case] --pdf FILE"),
         QStringLiteral("write a report as PDF, with a template of the program directory's pt.ini"), printCommand},
    };
    return list;
}

void printHelp(QTextStream &out)
{
    out << "Usage: qvtool COMMAND [ARGUMENTS]\n\n"
           "The headless face of Quorvel. The program directory is $QUORVEL_HOME when set,\n"
           "else the per-user application folder. A package password comes from $QV_PASSWORD\n"
           "or is asked on the terminal (pack --password, or unpack of an encrypted member).\n\nCommands:\n";
    for (const Command &c : commands())
        out << "  " << c.usage << "\n      " << c.summary << '\n';
    out << "  --help\n      show this help\n";
}

} // namespace

int run(const QStringList &arguments)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (arguments.isEmpty() || arguments.first() == QLatin1String("--help") || arguments.first() == QLatin1String("-h")) {
        printHelp(out);
        return arguments.isEmpty() ? 2 : 0;
    }
    for (const Command &c : commands()) {
        if (c.name == arguments.first()) {
            try {
                return c.run(arguments.mid(1), Output{out, err});
            } catch (const Error &e) {
                out.flush();
                err << e.text() << '\n';
                return 1;
            }
        }
    }
    err << "qvtool: unknown command \"" << arguments.first() << "\"; see qvtool --help\n";
    return 2;
}

} // namespace qv::tool
