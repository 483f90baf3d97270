#include "Commands.h"

#include "settings/Settings.h"
#include "shell/ProgramDirectory.h"

namespace qv::tool {

int settingsCommand(const QStringList &arguments, Output io)
{
    if (!arguments.isEmpty()) {
        io.err << "Usage: qvtool settings\n";
        return 2;
    }
    Settings options(programDirectory() + QStringLiteral("aa.ini"));
    options.readAll();

    // The values as the program holds them, in the form it writes them;
    // the searchable labels, which are never written, follow.
    IniDocument doc;
    options.writeTo(doc);
    for (const IniLine &line : std::as_const(options.searchableFieldsList))
        doc.setValue(QStringLiteral("SearchableFieldsList"), line.key, line.value);
    io.out << "; read from " << options.settingsPath() << '\n' << doc.toText();
    return 0;
}

} // namespace qv::tool
