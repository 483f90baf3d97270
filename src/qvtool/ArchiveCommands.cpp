#include "Commands.h"
#include "TerminalPassword.h"

#include "data/archive/PackageReader.h"
#include "data/archive/PackageWriter.h"

#include <QFileInfo>

namespace qv::tool {

using namespace qv::archive;

int packCommand(const QStringList &arguments, Output io)
{
    const bool ask = arguments.contains(QStringLiteral("--password"));
    QStringList paths = arguments;
    paths.removeAll(QStringLiteral("--password"));
    if (paths.size() != 2) {
        io.err << "Usage: qvtool pack DIR PACKAGE [--password]\n";
        return 2;
    }
    QString password = environmentPassword().value_or(QString());
    if (ask) {
        const auto typed = askPassword(QStringLiteral("Password for ") + QFileInfo(paths[1]).fileName());
        if (!typed)
            return 1;
        password = *typed;
    }
    pack(paths[1], paths[0], password);
    io.out << packageMemberFiles(paths[0]).size() << " members packed into " << paths[1] << '\n';
    return 0;
}

int unpackCommand(const QStringList &arguments, Output io)
{
    if (arguments.size() != 2) {
        io.err << "Usage: qvtool unpack PACKAGE DIR\n";
        return 2;
    }
    const QString package = arguments[0];
    const QString bookName = QFileInfo(package).fileName().chopped(std::min<qsizetype>(4, QFileInfo(package).fileName().size()));
    const auto fromEnvironment = environmentPassword();
    QString askedFor;

    UnpackSinks sinks;
    sinks.password = [&](const QString &member) -> PasswordAnswer {
        if (fromEnvironment) { // one answer per member: asking again would give the same
            const bool first = askedFor != member;
            askedFor = member;
            return {*fromEnvironment, first};
        }
        const auto typed = askPassword(QStringLiteral("Enter Password for addressbook ") + bookName);
        return {typed.value_or(QString()), typed.has_value()};
    };
    bool failed = false;
    sinks.error = [&](ArchiveCode code, const QString &text) {
        io.out.flush();
        io.err << archiveMessage(code, text) << '\n';
        io.err.flush();
        failed = true;
    };
    KnownPasswords known;
    const int written = unpackFile(package, arguments[1], known, sinks);
    io.out << written << " members written to " << arguments[1] << '\n';
    return failed ? 1 : 0;
}

} // namespace qv::tool
